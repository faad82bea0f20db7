#include "strategies/viewer_functionality.h"

#include "columns/field_catalogue_fixture.h"
#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/error_reporter.h"
#include "outside/scripted_services.h"
#include "outside/text_util.h"
#include "state/viewer_elements.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

constexpr const char* kLabel = "Viewer:ReFillParams";

// The viewer facade's field-catalogue call: records its arguments and answers with a set value,
// or fails when told to.
class FakeViewerFacade : public DispatchObject {
  public:
    Variant Invoke(std::string_view p_sName, InvokeKind, std::span<Variant> p_args) override {
        if (!EqualsIgnoreCase(p_sName, "GetCustomFieldList")) {
            RaiseMemberNotFound(*this, p_sName);
        }
        Calls.emplace_back(p_args.begin(), p_args.end());
        if (Fail) {
            throw AutomationError(-2147467259, "QorvantOnlineFacade", "server unavailable");
        }
        return Answer;
    }
    std::vector<std::vector<Variant>> Calls;
    Variant Answer;
    bool Fail = false;
};

class ViewerFunctionalityTest : public ::testing::Test {
  protected:
    ViewerFunctionalityTest() {
        m_facade->Answer = Variant(std::shared_ptr<DispatchObject>(m_catalogue));
        m_platform.Components().Register("QorvantOnlineFacade.ViewerFNTR",
                                         [this] { return m_facade; });
    }

    ScopedTestPlatform m_platform;
    std::shared_ptr<FakeViewerFacade> m_facade = std::make_shared<FakeViewerFacade>();
    std::shared_ptr<Recordset> m_catalogue = testing::MakeCatalogue();
    ViewerFunctionality m_base;
};

// The histories ask for the fields of the rows they list, every other list for its result type.
TEST_F(ViewerFunctionalityTest, ReFillParamsAsksForTheFieldsOfTheRowsListed) {
    const std::pair<ViewerType, int16_t> cases[] = {
        {vt_StockHistory, 0}, {vt_IndustryHistory, 1}, {vt_SectorHistory, 2}, {vt_Portfolio, 7}};
    m_base.ViewerElements()->SetFinderResultsType(4);
    m_base.ViewerElements()->SetOwnerId(31);
    for (const auto& [type, expected] : cases) {
        m_base.ViewerElements()->SetViewerType(type);
        m_facade->Calls.clear();
        m_base.ReFillParams();
        EXPECT_EQ(m_facade->Calls,
                  (std::vector<std::vector<Variant>>{{Variant(31), Variant(expected)}}))
            << type;
        EXPECT_EQ(m_base.ViewerElements()->ParameterList(), m_catalogue);
    }
    EXPECT_EQ(m_platform.Reporter().CountReports(kLabel), 0u);
}

TEST_F(ViewerFunctionalityTest, ReFillParamsReportsFailuresAndKeepsTheCatalogueButTakesNothing) {
    const auto previous = testing::MakeCatalogue();
    m_base.ViewerElements()->SetParameterList(previous);
    m_facade->Fail = true;
    m_base.ReFillParams();
    m_facade->Fail = false;
    m_facade->Answer = "not a recordset";
    m_base.ReFillParams();
    m_platform.Components().Unregister("QorvantOnlineFacade.ViewerFNtr");
    m_base.ReFillParams();
    EXPECT_EQ(m_base.ViewerElements()->ParameterList(), previous);
    const auto& reports = m_platform.Reporter().Reports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].Description, "server unavailable");
    EXPECT_EQ(reports[1].Number, errors::kTypeMismatch);
    EXPECT_EQ(reports[2].Number, errors::kCannotCreateObject);
    EXPECT_EQ(m_platform.Reporter().CountReports(kLabel), 3u);
    // Nothing is an answer, not a failure: no catalogue.
    m_platform.Components().Register("QorvantOnlineFacade.ViewerFNTR", [this] { return m_facade; });
    m_facade->Answer = Variant::Nothing();
    m_base.ReFillParams();
    EXPECT_EQ(m_base.ViewerElements()->ParameterList(), nullptr);
    EXPECT_EQ(m_platform.Reporter().CountReports(kLabel), 3u);
}

}  // namespace
}  // namespace qv
