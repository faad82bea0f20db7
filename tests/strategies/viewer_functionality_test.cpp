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
    struct Shared {
        std::vector<std::vector<Variant>> Calls;
        Variant Answer;
        bool Fail = false;
    };

    explicit FakeViewerFacade(Shared& p_shared) : m_shared(p_shared) {}

    Variant Invoke(std::string_view p_sName, InvokeKind, std::span<Variant> p_args) override {
        if (!EqualsIgnoreCase(p_sName, "GetCustomFieldList")) {
            RaiseMemberNotFound(*this, p_sName);
        }
        m_shared.Calls.emplace_back(p_args.begin(), p_args.end());
        if (m_shared.Fail) {
            throw AutomationError(-2147467259, "QorvantOnlineFacade", "server unavailable");
        }
        return m_shared.Answer;
    }

  private:
    Shared& m_shared;
};

class ViewerFunctionalityTest : public ::testing::Test {
  protected:
    ViewerFunctionalityTest() {
        m_facade.Answer = Variant(std::shared_ptr<DispatchObject>(m_catalogue));
        m_platform.Components().Register("QorvantOnlineFacade.ViewerFNTR", [this] {
            return std::make_shared<FakeViewerFacade>(m_facade);
        });
    }

    ScopedTestPlatform m_platform;
    FakeViewerFacade::Shared m_facade;
    std::shared_ptr<Recordset> m_catalogue = testing::MakeCatalogue();
};

struct ResultTypeCase {
    ViewerType Type;
    int32_t FinderResultsType;
    int16_t Expected;
};

TEST_F(ViewerFunctionalityTest, ReFillParamsAsksForTheFieldsOfTheRowsListed) {
    const ResultTypeCase cases[] = {{vt_StockHistory, 4, 0},  {vt_IndustryHistory, 4, 1},
                                    {vt_SectorHistory, 4, 2}, {vt_Stocks, 4, 0},
                                    {vt_Sectors, 4, 2},       {vt_FinderResults, 4, 4},
                                    {vt_Portfolio, 4, 7}};
    for (const ResultTypeCase& c : cases) {
        ViewerFunctionality base;
        base.ViewerElements()->SetViewerType(c.Type);
        base.ViewerElements()->SetFinderResultsType(c.FinderResultsType);
        base.ViewerElements()->SetOwnerId(31);
        m_facade.Calls.clear();

        base.ReFillParams();

        ASSERT_EQ(m_facade.Calls.size(), 1u) << "viewer type " << c.Type;
        EXPECT_EQ(m_facade.Calls[0], (std::vector<Variant>{Variant(31), Variant(c.Expected)}))
            << "viewer type " << c.Type;
        EXPECT_EQ(base.ViewerElements()->ParameterList(), m_catalogue) << "viewer type " << c.Type;
    }
    EXPECT_EQ(m_platform.Reporter().CountCalls(kLabel), std::size(cases));
    EXPECT_EQ(m_platform.Reporter().CountReports(kLabel), 0u);
}

TEST_F(ViewerFunctionalityTest, ReFillParamsReportsFailuresAndKeepsTheCatalogue) {
    ViewerFunctionality base;
    const auto previous = testing::MakeCatalogue();
    base.ViewerElements()->SetParameterList(previous);

    m_facade.Fail = true;
    base.ReFillParams();
    m_facade.Fail = false;
    m_facade.Answer = "not a recordset";
    base.ReFillParams();
    m_platform.Components().Unregister("QorvantOnlineFacade.ViewerFNtr");
    base.ReFillParams();

    EXPECT_EQ(base.ViewerElements()->ParameterList(), previous);
    const auto& reports = m_platform.Reporter().Reports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].Description, "server unavailable");
    EXPECT_EQ(reports[1].Number, errors::kTypeMismatch);
    EXPECT_EQ(reports[2].Number, errors::kCannotCreateObject);
    for (const auto& report : reports) {
        EXPECT_EQ(report.Label, kLabel);
    }
}

TEST_F(ViewerFunctionalityTest, ReFillParamsTakesNothingAsNoCatalogue) {
    ViewerFunctionality base;
    base.ViewerElements()->SetParameterList(testing::MakeCatalogue());
    m_facade.Answer = Variant::Nothing();

    base.ReFillParams();

    EXPECT_EQ(base.ViewerElements()->ParameterList(), nullptr);
    EXPECT_EQ(m_platform.Reporter().CountReports(kLabel), 0u);
}

}  // namespace
}  // namespace qv
