// The recording stand-in notes every call it passes on, with the arguments before and after.
#include "facade/recording_facade.h"

#include <gtest/gtest.h>

#include "facade/component_test_support.h"
#include "facade/facade_components.h"
#include "outside/automation_error.h"
#include "outside/component_factory.h"

namespace qv::facade {
namespace {

using testing::ComponentTest;
using testing::RecordsetOf;

class RecordingFacadeTest : public ComponentTest {
  protected:
    RecordingFacadeTest() {
        auto oReal = std::make_shared<ComponentFactory>();
        RegisterFacadeComponents(*oReal,
                                 std::shared_ptr<FacadeBackend>(&Backend(), [](FacadeBackend*) {}));
        RegisterRecordingComponents(m_oPlatform.Components(), oReal, kFacadeProgIds, m_oLog);
    }

    std::shared_ptr<FacadeCallLog> m_oLog = std::make_shared<FacadeCallLog>();
};

TEST_F(RecordingFacadeTest, CallsAreNotedWithTheirArgumentsBeforeAndAfter) {
    std::vector<Variant> aArgs{7, Variant(), Variant(), 0};
    EXPECT_EQ(Call("QorvantOnlineFacade.ViewerFNTr", "GetDefaultMaxRows", aArgs), Variant(500));
    std::vector<Variant> aLayout{0, 3};
    Call(prog_id::kViewerReader, "GetLayout", aLayout);

    ASSERT_EQ(m_oLog->Calls().size(), 2u);
    const FacadeCall& oCall = m_oLog->Calls()[0];
    EXPECT_EQ(oCall.m_sProgId, "QorvantOnlineFacade.ViewerFNtr");
    EXPECT_EQ(oCall.m_sMember, "GetDefaultMaxRows");
    EXPECT_TRUE(oCall.m_aArgumentsBefore[1].IsEmpty());
    EXPECT_EQ(oCall.m_aArgumentsAfter[1], Variant(500));
    EXPECT_EQ(oCall.m_aArgumentsAfter[2], Variant(false));
    EXPECT_EQ(oCall.m_vResult, Variant(500));
    EXPECT_EQ(m_oLog->CallsTo("getlayout").size(), 1u);
    EXPECT_TRUE(m_oLog->CallsTo("getlayout")[0].m_vResult.IsArray());
}

TEST_F(RecordingFacadeTest, AFailingCallIsNotedAndStillFails) {
    const AutomationError oError =
        CallError(prog_id::kWatchListWriter, "AddWatchListItems", {999999, Variant("X"), 0});
    ASSERT_EQ(m_oLog->Calls().size(), 1u);
    EXPECT_TRUE(m_oLog->Calls()[0].m_bFailed);
    EXPECT_EQ(m_oLog->Calls()[0].m_lErrorNumber, oError.Number());
    EXPECT_EQ(m_oLog->Calls()[0].m_sErrorDescription, oError.Description());
    m_oLog->Clear();
    EXPECT_TRUE(m_oLog->Calls().empty());
}

}  // namespace
}  // namespace qv::facade
