// The recording stand-in notes every call it passes on, with the arguments before and after.
#include "support/recording_facade.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace qv::facade {
namespace {

constexpr std::string_view kProgId = "Scripted.Facade";

// Answers "GetDefaultMaxRows" by writing 500 and false into its by-reference arguments, as the
// viewer facade does; every other member is unknown (error 438).
class ScriptedFacade : public DispatchObject {
  public:
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override {
        if (p_sName != "GetDefaultMaxRows") {
            RaiseMemberNotFound(*this, p_sName);
        }
        p_args[1] = 500;
        p_args[2] = false;
        return 500;
    }
};

class RecordingFacadeTest : public ::testing::Test {
  protected:
    RecordingFacadeTest() {
        auto real = std::make_shared<ComponentFactory>();
        real->Register(kProgId, [] { return std::make_shared<ScriptedFacade>(); });
        const std::array<std::string_view, 1> progIds{kProgId};
        RegisterRecordingComponents(m_oRecorded, real, progIds, m_oLog);
    }

    ComponentFactory m_oRecorded;
    std::shared_ptr<FacadeCallLog> m_oLog = std::make_shared<FacadeCallLog>();
};

TEST_F(RecordingFacadeTest, CallsAreNotedWithTheirArgumentsBeforeAndAfter) {
    std::array<Variant, 4> aArgs{7, Variant(), Variant(), 0};
    EXPECT_EQ(CallMethod(*m_oRecorded.CreateObject("SCRIPTED.facade"), "GetDefaultMaxRows", aArgs),
              Variant(500));
    std::array<Variant, 1> aById{3};
    EXPECT_THROW(CallMethodById(*m_oRecorded.CreateObject(kProgId), 12, aById), AutomationError);

    ASSERT_EQ(m_oLog->Calls().size(), 2u);
    const FacadeCall& oCall = m_oLog->Calls()[0];
    EXPECT_EQ(oCall.m_sProgId, kProgId);
    EXPECT_EQ(oCall.m_sMember, "GetDefaultMaxRows");
    EXPECT_TRUE(oCall.m_aArgumentsBefore[1].IsEmpty());
    EXPECT_EQ(oCall.m_aArgumentsAfter[1], Variant(500));
    EXPECT_EQ(oCall.m_aArgumentsAfter[2], Variant(false));
    EXPECT_EQ(oCall.m_vResult, Variant(500));
    EXPECT_EQ(m_oLog->CallsTo("getdefaultmaxrows").size(), 1u);
    EXPECT_EQ(m_oLog->Calls()[1].m_sMember, "#12");
}

TEST_F(RecordingFacadeTest, AFailingCallIsNotedAndStillFails) {
    std::array<Variant, 1> aArgs{999999};
    AutomationError oError(0, "", "");
    try {
        CallMethod(*m_oRecorded.CreateObject(kProgId), "AddWatchListItems", aArgs);
        ADD_FAILURE() << "the failure was swallowed";
    } catch (const AutomationError& oRaised) {
        oError = oRaised;
    }
    ASSERT_EQ(m_oLog->Calls().size(), 1u);
    EXPECT_TRUE(m_oLog->Calls()[0].m_bFailed);
    EXPECT_EQ(m_oLog->Calls()[0].m_lErrorNumber, oError.Number());
    EXPECT_EQ(m_oLog->Calls()[0].m_sErrorDescription, oError.Description());
    m_oLog->Clear();
    EXPECT_TRUE(m_oLog->Calls().empty());
}

}  // namespace
}  // namespace qv::facade
