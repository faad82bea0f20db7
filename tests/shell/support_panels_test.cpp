// The helper strip and the portfolio, search and history panels as the control master and a
// person use them: members by name change what the panel shows, and each edit raises the
// framework's event command with its parameters.
#include "outside/automation_error.h"
#include "shell/helper_strip.h"
#include "shell/history_helper_panel.h"
#include "shell/market_session.h"
#include "shell/panel_events.h"
#include "shell/panel_parts.h"
#include "shell/portfolio_panel.h"
#include "shell/search_panel.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <array>
#include <functional>

namespace qv::test {
namespace {

constexpr double kDay = kMarketLastDay;

void Click(const QWidget& p_oPanel, const char* p_sName) {
    p_oPanel.findChild<QAbstractButton*>(QLatin1String(p_sName))->click();
}

void EnterRows(const RowLimitsEditor& p_oLimits, int p_iRows) {
    p_oLimits.Rows().setValue(p_iRows);
    QTest::keyClick(&p_oLimits.Rows(), Qt::Key_Return);
}

template <class Panel>
struct Edit {
    const char* m_sWhat;
    std::function<void(Panel&)> m_fnDo;
    std::string m_sRaised;
};

TEST(HelperStrip, ShowsWhatTheMasterLetsAndRaisesEachEditAsTheFrameworksCommand) {
    Application();
    for (const bool history : {false, true}) {
        SCOPED_TRACE(history ? "history strip" : "standard strip");
        HelperStrip strip(history ? "QORVANTOSUPPORT.ctlHistorySupport" : "anything", nullptr);
        EXPECT_EQ(strip.IsHistory(), history);
        PanelEvents events(strip);
        const std::shared_ptr<DispatchObject> object = strip.Object();
        LetProperty(*object, "SetSort", Variant("Symbol ascending"));
        LetProperty(*object, "SetBSH", Variant("BSH: 3 buy"));
        std::array<Variant, 6> init{
            Variant::Date(kDay - 9),  Variant::Date(kDay), Variant(int16_t{6}),
            Variant::Date(kDay - 30), Variant(250),        Variant(false)};
        CallMethod(*object, "Init", init);
        EXPECT_EQ(strip.SortCaption(), QStringLiteral("Symbol ascending"));
        EXPECT_EQ(strip.BSHCaption(), QStringLiteral("BSH: 3 buy"));
        EXPECT_EQ(strip.Limits().MaxRows(), 250);
        EXPECT_FALSE(strip.Limits().ReturnAll());
        const Variant shown = GetProperty(*object, "CurrentDate");
        EXPECT_TRUE(shown.IsDate());
        EXPECT_EQ(shown.ToDate(), kDay);
        for (const auto& [code, caption] :
             {std::pair{13, "Stock watch list"}, {14, "Industry watch list"}, {2, ""}}) {
            std::array<Variant, 1> args{Variant(static_cast<int16_t>(code))};
            CallMethod(*object, "SetupControl", args);
            EXPECT_EQ(strip.KindCaption(), QLatin1String(caption)) << code;
        }
        EXPECT_EQ(events.Take(), "") << "the master's calls raise nothing";

        const std::string limits =
            history ? "REFRESHHISTORY(\"\",100&,False)" : "DATECHANGED(\"\",#46355#,100&,False)";
        const std::string all =
            history ? "REFRESHHISTORY(\"\",100&,True)" : "DATECHANGED(\"\",#46355#,100&,True)";
        const std::vector<Edit<HelperStrip>> edits{
            {"a new day, Enter",
             [](HelperStrip& s) {
                 s.DateEdit().setDate(QDateOfSerial(kDay - 1));
                 QTest::keyClick(&s.DateEdit(), Qt::Key_Return);
             },
             "DATECHANGED(\"\",#46355#,250&,False)"},
            {"Enter on the same day",
             [](HelperStrip& s) { QTest::keyClick(&s.DateEdit(), Qt::Key_Return); }, ""},
            {"Apply", [](HelperStrip& s) { Click(s, "applyDate"); },
             "DATECHANGED(\"\",#46355#,250&,False)"},
            {"new rows", [](HelperStrip& s) { EnterRows(s.Limits(), 100); }, limits},
            {"the same rows", [](HelperStrip& s) { EnterRows(s.Limits(), 100); }, ""},
            {"Return all", [](HelperStrip& s) { s.Limits().All().click(); }, all},
            {"Sort…", [](HelperStrip& s) { Click(s, "editSort"); }, "EDITSORT"},
            {"Find…", [](HelperStrip& s) { Click(s, "find"); }, "FIND"},
        };
        for (const Edit<HelperStrip>& edit : edits) {
            edit.m_fnDo(strip);
            EXPECT_EQ(events.Take(), edit.m_sRaised) << edit.m_sWhat;
        }
        EXPECT_FALSE(strip.Limits().Rows().isEnabled()) << "no rows to ask for while all are";
    }
}

TEST(HistoryHelperPanel, ShowsTheHistoryAndItsLimitsAndRaisesAChangeOfThem) {
    Application();
    HistoryHelperPanel panel(nullptr);
    PanelEvents events(panel);
    for (const auto& [code, caption] :
         {std::pair{16, "Stock history"}, {17, "Industry history"}, {18, "Sector history"}}) {
        std::array<Variant, 3> args{Variant(static_cast<int16_t>(code)), Variant(500),
                                    Variant(true)};
        CallMethod(*panel.Object(), "Init", args);
        EXPECT_EQ(panel.Caption(), QLatin1String(caption));
        EXPECT_EQ(panel.Limits().MaxRows(), 500);
        EXPECT_TRUE(panel.Limits().ReturnAll());
    }
    const std::vector<Edit<HistoryHelperPanel>> edits{
        {"All rows off", [](HistoryHelperPanel& p) { p.Limits().All().click(); },
         "REFRESHHISTORY(\"\",500&,False)"},
        {"new rows", [](HistoryHelperPanel& p) { EnterRows(p.Limits(), 40); },
         "REFRESHHISTORY(\"\",40&,False)"},
        {"Enter on the same rows", [](HistoryHelperPanel& p) { EnterRows(p.Limits(), 40); }, ""},
    };
    for (const Edit<HistoryHelperPanel>& edit : edits) {
        edit.m_fnDo(panel);
        EXPECT_EQ(events.Take(), edit.m_sRaised) << edit.m_sWhat;
    }
}

TEST(PortfolioPanel, ListsTheOwnersPortfoliosAndRaisesTheOneChosen) {
    Application();
    MarketPlatform platform;
    const std::vector<NamedCode> portfolios = SharedMarket().Portfolios();
    ASSERT_FALSE(portfolios.empty());
    PortfolioPanel panel(SharedMarket(), nullptr);
    PanelEvents events(panel);
    ASSERT_EQ(panel.List().count(), static_cast<int>(portfolios.size()));
    EXPECT_EQ(panel.List().item(0)->text(), QString::fromStdString(portfolios[0].m_sName));
    const std::shared_ptr<DispatchObject> object = panel.Object();
    const std::string first = "ITEMSELECTED(" + std::to_string(portfolios[0].m_lCode) + "&)";

    const std::vector<Edit<PortfolioPanel>> edits{
        {"CurrentItem let",
         [&](PortfolioPanel&) { LetProperty(*object, "CurrentItem", portfolios[0].m_lCode); },
         first},
        {"RaiseHoldings False, then CurrentItem",
         [&](PortfolioPanel&) {
             LetProperty(*object, "RaiseHoldings", Variant(false));
             LetProperty(*object, "CurrentItem", portfolios[0].m_lCode);
         },
         first},
        {"CurrentItem not the owner's",
         [&](PortfolioPanel&) { LetProperty(*object, "CurrentItem", Variant(987654)); }, ""},
        {"Enter on a portfolio",
         [](PortfolioPanel& p) {
             p.List().setCurrentRow(0);
             QTest::keyClick(&p.List(), Qt::Key_Return);
         },
         first},
        {"Show", [](PortfolioPanel& p) { Click(p, "showPortfolio"); }, first},
        {"the close button", [](PortfolioPanel& p) { Click(p, "closePanel"); }, "CLOSECLICKED"},
    };
    for (const Edit<PortfolioPanel>& edit : edits) {
        edit.m_fnDo(panel);
        EXPECT_EQ(events.Take(), edit.m_sRaised) << edit.m_sWhat;
    }
    EXPECT_FALSE(GetProperty(*object, "RaiseHoldings").ToBool());
    EXPECT_EQ(GetProperty(*object, "CurrentItem").ToLong(), portfolios[0].m_lCode);
    EXPECT_TRUE(panel.StatusText().startsWith(QStringLiteral("Showing ")));
}

TEST(SearchPanel, AsksForTheListWhenShownAndFindsBySymbolOrByIndustry) {
    Application();
    SearchPanel panel(nullptr);
    PanelEvents events(panel);
    panel.show();
    EXPECT_EQ(events.Take(), "GETINFO");
    const std::shared_ptr<DispatchObject> object = panel.Object();
    const std::array<std::pair<const char*, Variant>, 6> info{{{"WatchListId", Variant(12)},
                                                               {"ViewerType", Variant(1)},
                                                               {"IsWin32", Variant(true)},
                                                               {"CurrentDate", Variant::Date(kDay)},
                                                               {"IndCode", Variant(301)},
                                                               {"SectorCode", Variant(7)}}};
    for (const auto& [name, value] : info) {
        LetProperty(*object, name, value);
        EXPECT_EQ(GetProperty(*object, name).ToString(), value.ToString()) << name;
    }
    EXPECT_EQ(events.Take(), "");

    panel.Text().setText(QStringLiteral(" ab "));
    for (const auto& [type, command] : {std::pair{0, "FINDSYMBOL"},
                                        {1, "FINDINDUSTRIES"},
                                        {2, "FINDINDUSTRIES"},
                                        {3, "FINDSYMBOL"},
                                        {4, "FINDINDUSTRIES"},
                                        {5, "FINDINDUSTRIES"},
                                        {6, "FINDSYMBOL"},
                                        {7, "FINDSYMBOL"}}) {
        LetProperty(*object, "ViewerType", Variant(type));
        Click(panel, "findNow");
        QTest::keyClick(&panel.Text(), Qt::Key_Return);
        const std::string raised = std::string(command) + "(\"ab\")";
        EXPECT_EQ(events.Take(), raised + " " + raised) << type;
    }
    LetProperty(*object, "ViewerType", Variant(2));
    EXPECT_EQ(panel.ScopeText(), QStringLiteral("Find a sector by name"));
    Click(panel, "closePanel");
    EXPECT_EQ(events.Take(), "CLOSECLICKED");
}

TEST(SupportPanels, AMemberCalledAfterThePanelIsGoneIsError91) {
    Application();
    MarketPlatform platform;
    const auto let = [](const char* p_sMember) {
        return [p_sMember](DispatchObject& p_oObject) {
            LetProperty(p_oObject, p_sMember, Variant(1));
        };
    };
    const std::vector<
        std::pair<std::function<SupportPanel*()>, std::function<void(DispatchObject&)>>>
        panels{
            {[] { return new HelperStrip(nullptr); }, let("SetSort")},
            {[] { return new HistoryHelperPanel(nullptr); },
             [](DispatchObject& p_oObject) {
                 std::array<Variant, 3> args{Variant(int16_t{16}), Variant(1), Variant(true)};
                 CallMethod(p_oObject, "Init", args);
             }},
            {[] { return new PortfolioPanel(SharedMarket(), nullptr); }, let("CurrentItem")},
            {[] { return new SearchPanel(nullptr); }, let("IndCode")},
        };
    for (const auto& [make, call] : panels) {
        SupportPanel* panel = make();
        const std::shared_ptr<DispatchObject> object = panel->Object();
        delete panel;
        try {
            call(*object);
            ADD_FAILURE() << object->DispatchClassName() << " reached a panel that is gone";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.Number(), errors::kObjectVariableNotSet) << object->DispatchClassName();
        }
    }
}

}  // namespace
}  // namespace qv::test
