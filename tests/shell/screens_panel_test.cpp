// The Screens panel and the screen editor against a scripted screens component: the calls they
// make, what they show of the component's answers and refusals, and the check that waits for
// typing to pause. The rows of the editor and the criteria text, as a table.
#include "shell/screens_panel.h"

#include "outside/component_factory.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/scripted_host.h"
#include "outside/scripted_services.h"
#include "shell/panel_events.h"
#include "shell/screen_conditions.h"
#include "shell/screen_editor.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace qv::test {
namespace {

namespace protocol = facade_protocol;

constexpr int32_t kOwner = 5;
constexpr int32_t kDay = 46356;

std::shared_ptr<Recordset> NewRows(
    const std::vector<std::pair<const char*, DataTypeEnum>>& p_fields,
    const std::vector<std::vector<Variant>>& p_rows) {
    auto rows = std::make_shared<Recordset>();
    rows->SetCursorLocation(adUseClient);
    for (const auto& [name, type] : p_fields) {
        rows->Fields().Append(name, type, type == adVarChar ? 200 : 0);
    }
    rows->Open();
    for (const auto& row : p_rows) {
        rows->AddNew(row);
    }
    return rows;
}

Variant AsValue(std::shared_ptr<Recordset> p_oRows) {
    return Variant(std::static_pointer_cast<DispatchObject>(std::move(p_oRows)));
}

class ScreensPanelTest : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_oPlatform.Components().Register(protocol::prog_id::kScreens,
                                          [this] { return m_screens; });
        m_oPlatform.Components().Register(protocol::prog_id::kViewerReader,
                                          [this] { return m_reader; });
        m_screens->OnCall("GetScreens", [](std::span<Variant>) {
            return AsValue(NewRows({{"Screen_ID", adInteger},
                                    {"Owner_ID", adInteger},
                                    {"Name", adVarChar},
                                    {"ResultType", adInteger},
                                    {"Criteria", adVarChar},
                                    {"Description", adVarChar}},
                                   {{Variant(7), Variant(kOwner), Variant("Momentum"), Variant(0),
                                     Variant("RSRank >= 80"), Variant("RS Rank >= 80")},
                                    {Variant(1), Variant(0), Variant("Rated Buy"), Variant(0),
                                     Variant("REC = 'B'"), Variant("Rec = B")}}));
        });
        m_reader->OnCall("GetCustomFieldList", [](std::span<Variant>) {
            return AsValue(NewRows({{"Column_Name", adVarChar}, {"Caption", adVarChar}},
                                   {{Variant("RSRank"), Variant("RS Rank")},
                                    {Variant("Price"), Variant("Price")},
                                    {Variant("MA200"), Variant("200 Day Avg")}}));
        });
        m_panel.Init(kOwner, kDay);
        m_log->Clear();
    }

    size_t CallsOf(const std::string& p_sPrefix) const {
        const auto lines = m_log->Lines();
        return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
            return line.rfind(p_sPrefix, 0) == 0;
        }));
    }

    ScreenEditor& OpenNew() {
        m_panel.NewScreen();
        EXPECT_NE(m_panel.Editor(), nullptr);
        return *m_panel.Editor();
    }

    ScopedTestPlatform m_oPlatform;
    std::shared_ptr<CallLog> m_log = std::make_shared<CallLog>();
    std::shared_ptr<RecordingObject> m_screens =
        std::make_shared<RecordingObject>("screens", m_log);
    std::shared_ptr<RecordingObject> m_reader = std::make_shared<RecordingObject>("reader", m_log);
    QWidget m_window;
    ScreensPanel m_panel{&m_window};
    PanelEvents m_events{m_panel};
};

TEST_F(ScreensPanelTest, ShippedScreensAreMarkedAndOnlyCopiedOrRun) {
    ASSERT_EQ(m_panel.List().count(), 2);
    EXPECT_EQ(m_panel.List().item(1)->text(), QStringLiteral("Rated Buy  (shipped)"));
    ASSERT_TRUE(m_panel.SetCurrentScreen(QStringLiteral("rated buy")));
    const auto enabled = [this](const char* p_sButton) {
        return m_panel.findChild<QPushButton*>(QLatin1String(p_sButton))->isEnabled();
    };
    EXPECT_FALSE(enabled("editScreen"));
    EXPECT_FALSE(enabled("deleteScreen"));
    EXPECT_TRUE(enabled("copyScreen"));
    m_panel.DeleteScreen();
    EXPECT_EQ(CallsOf("screens.DeleteScreen"), 0u);
    m_panel.CopyScreen();
    ASSERT_NE(m_panel.Editor(), nullptr);
    EXPECT_EQ(m_panel.Editor()->Screen().m_lScreenId, 0);
    EXPECT_EQ(m_panel.Editor()->NameEdit().text(), QStringLiteral("Rated Buy copy"));
}

TEST_F(ScreensPanelTest, DeleteAsksFirstAndSaysARefusal) {
    ASSERT_TRUE(m_panel.SetCurrentScreen(QStringLiteral("Momentum")));
    m_oPlatform.Messages().QueueAnswer(vbNo);
    m_panel.DeleteScreen();
    EXPECT_EQ(CallsOf("screens.DeleteScreen"), 0u);
    EXPECT_EQ(m_panel.StatusText(), QStringLiteral("Kept Momentum"));

    m_oPlatform.Messages().QueueAnswer(vbYes);
    m_panel.DeleteScreen();
    EXPECT_EQ(m_log->LinesOf("screens").front(), "screens.DeleteScreen(5, 7)");
    EXPECT_EQ(CallsOf("screens.GetScreens"), 1u);

    m_screens->Fail("DeleteScreen", AutomationError(5, "DeleteScreen", "not your screen"));
    m_panel.SetCurrentScreen(QStringLiteral("Momentum"));
    m_oPlatform.Messages().QueueAnswer(vbYes);
    m_panel.DeleteScreen();
    EXPECT_EQ(m_panel.StatusText(), QStringLiteral("Not deleted: not your screen"));
}

TEST_F(ScreensPanelTest, RunRaisesTheScreenForTheWindow) {
    m_panel.SetCurrentScreen(QStringLiteral("Momentum"));
    m_panel.findChild<QPushButton*>(QStringLiteral("runScreen"))->click();
    EXPECT_EQ(m_events.Take(), "RUNSCREEN(\"Momentum\",\"RSRank >= 80\",0&)");
}

TEST_F(ScreensPanelTest, TypingIsCheckedOnceItPausesAndTheFacadesReasonShows) {
    m_screens->OnCall("CheckScreen", [](std::span<Variant> p_args) {
        p_args[protocol::check_screen::kDescription.Position] = Variant("RS Rank >= 80");
        return Variant(12);
    });
    ScreenEditor& editor = OpenNew();
    editor.CheckNow();
    m_log->Clear();
    editor.CriteriaEdit().setFocus();
    QTest::keyClicks(&editor.CriteriaEdit(), QStringLiteral("RSRank >= 80"));
    EXPECT_EQ(CallsOf("screens.CheckScreen"), 0u);
    EXPECT_TRUE(editor.CheckTimer().isActive());
    QTRY_COMPARE(CallsOf("screens.CheckScreen"), size_t{1});
    EXPECT_FALSE(editor.CheckTimer().isActive());
    EXPECT_EQ(m_log->LinesOf("screens").back(),
              "screens.CheckScreen(5, 0, \"RSRank >= 80\", #11/30/2026#, \"\")");
    EXPECT_TRUE(editor.CountText().startsWith(QStringLiteral("12 stocks meet")));
    EXPECT_EQ(editor.DescriptionText(), QStringLiteral("RS Rank >= 80"));
    // The rows follow the text typed.
    const std::vector<ScreenCondition> rows{{"", "RSRank", ">=", "80"}};
    EXPECT_EQ(editor.Conditions(), rows);

    const std::string reason = "Criteria: unknown field 'Pirce' at position 1 in 'Pirce > 10'";
    m_screens->Fail("CheckScreen", AutomationError(5, "CheckScreen", reason));
    editor.CriteriaEdit().setPlainText(QStringLiteral("Pirce > 10"));
    editor.CheckNow();
    EXPECT_EQ(editor.ErrorText().toStdString(), reason);
    EXPECT_TRUE(editor.CountText().isEmpty());
    EXPECT_FALSE(editor.RowsInStep());
}

TEST_F(ScreensPanelTest, ARefusedSaveKeepsTheEditorAndARunSavesFirst) {
    ScreenEditor& editor = OpenNew();
    editor.NameEdit().setText(QStringLiteral("Leaders"));
    editor.CriteriaEdit().setPlainText(QStringLiteral("Price > 1.5 * [200 Day Avg]"));
    EXPECT_EQ(editor.Conditions().at(0).m_sOtherField, "MA200");
    m_screens->Fail("SaveScreen", AutomationError(5, "SaveScreen", "the name is taken"));
    EXPECT_FALSE(editor.Save(false));
    EXPECT_EQ(editor.ErrorText(), QStringLiteral("Not saved: the name is taken"));
    EXPECT_EQ(editor.CriteriaEdit().toPlainText(), QStringLiteral("Price > 1.5 * [200 Day Avg]"));
    EXPECT_EQ(editor.result(), QDialog::Rejected);

    m_screens = std::make_shared<RecordingObject>("screens", m_log);
    m_screens->OnCall("SaveScreen", [](std::span<Variant> p_args) {
        p_args[protocol::save_screen::kScreenId.Position] = Variant(9);
        return Variant(true);
    });
    m_log->Clear();
    EXPECT_TRUE(editor.Save(true));
    EXPECT_EQ(m_log->LinesOf("screens").front(),
              "screens.SaveScreen(5, 0, \"Leaders\", 0, \"Price > 1.5 * [200 Day Avg]\")");
    EXPECT_EQ(m_events.Take(), "RUNSCREEN(\"Leaders\",\"Price > 1.5 * [200 Day Avg]\",0&)");
}

TEST(ScreenConditionsTest, RowsSayTheCriteriaTheyCanAndNoOthers) {
    struct Case {
        const char* m_sText;
        // The text the rows write back; nullptr where the rows cannot say the criteria.
        const char* m_sRows;
    };
    const Case cases[] = {
        {"RSRank >= 80 AND Price > MA200", "RSRank >= 80 AND Price > MA200"},
        {"rsrank>=80 or [200 Day Avg] < 2.5*Price", "rsrank >= 80 OR [200 Day Avg] < 2.5 * Price"},
        {"SectorName = 'Energy' AND Price <> -3.5", "SectorName = 'Energy' AND Price <> -3.5"},
        {"Name = \"O'Neil\"", "Name = \"O'Neil\""},
        {"", ""},
        {"(RSRank > 80)", nullptr},
        {"NOT REC = 'S'", nullptr},
        {"Volume >= 2 * AvgVolume + 1", nullptr},
        {"Price != 3", nullptr},
        {"RSRank >= 80 AND", nullptr},
        {"RSRank 80", nullptr},
    };
    for (const Case& c : cases) {
        const auto rows = ConditionsOf(c.m_sText);
        ASSERT_EQ(rows.has_value(), c.m_sRows != nullptr) << c.m_sText;
        if (rows) {
            EXPECT_EQ(ConditionsText(*rows), c.m_sRows) << c.m_sText;
        }
    }
    // A row still being filled in is left out of the text.
    EXPECT_EQ(ConditionsText({{"", "RSRank", ">=", "80"}, {"AND", "Price", ">", ""}}),
              "RSRank >= 80");
}

}  // namespace
}  // namespace qv::test
