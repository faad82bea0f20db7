#include "outside/grid_control.h"

#include "outside/automation_error.h"
#include "outside/recordset.h"
#include "outside/vb_format.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {
namespace {

std::shared_ptr<Recordset> Prices() {
    auto recordset = std::make_shared<Recordset>();
    recordset->Fields().Append("Symbol", adVarChar, 10);
    recordset->Fields().Append("Change", adVarChar, 10);
    recordset->Open();
    for (const char* change : {"-3", "(5)", "2", "5-3"}) {
        recordset->AddNew({Variant(std::string("S") + change), Variant(change)});
    }
    recordset->MoveFirst();
    return recordset;
}

using Heard = std::vector<std::string>;

std::string Text(const Variant& p_vValue) {
    return p_vValue.IsNull() ? "Null" : p_vValue.ToString();
}

// Writes each event it hears as one line of text, and runs a test's action inside any event.
class Recorder : public GridControlEvents {
  public:
    Recorder(std::vector<std::string>& p_log, std::string p_sName)
        : m_log(p_log), m_sName(std::move(p_sName)) {}

    std::function<void()> OnEvent;

    void Click() override { Hear("Click"); }
    void DblClick() override { Hear("DblClick"); }
    void HeadClick(int16_t p_iCol) override { Hear("HeadClick", {p_iCol}); }
    void RowColChange(const Variant& p_vLastRow, int16_t p_iLastCol) override {
        Hear("RowColChange " + Text(p_vLastRow), {p_iLastCol});
    }
    void MouseMove(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) override {
        Hear("MouseMove", {p_iButton, p_iShift, p_lX, p_lY});
    }
    void MouseDown(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) override {
        Hear("MouseDown", {p_iButton, p_iShift, p_lX, p_lY});
    }
    void MouseUp(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) override {
        Hear("MouseUp", {p_iButton, p_iShift, p_lX, p_lY});
    }
    void KeyDown(int16_t& p_iKeyCode, int16_t p_iShift) override {
        Hear("KeyDown", {p_iKeyCode, p_iShift});
        p_iKeyCode = p_iKeyCode == 46 ? 0 : p_iKeyCode;  // the viewer eats the Delete key
    }
    void ColMove(int16_t p_iPosition, bool& p_bCancel) override {
        Hear("ColMove", {p_iPosition});
        p_bCancel = m_bCancelMoves;
    }

    bool m_bCancelMoves = false;

  private:
    void Hear(std::string p_sEvent, std::initializer_list<int32_t> p_args = {}) {
        for (int32_t arg : p_args) {
            p_sEvent += " " + std::to_string(arg);
        }
        m_log.push_back(m_sName + ": " + p_sEvent);
        if (OnEvent) {
            OnEvent();
        }
    }

    std::vector<std::string>& m_log;
    std::string m_sName;
};

// The viewer's cell-style rule: numeric text with a sign or parentheses in red.
class RedNegatives : public GridControlEvents {
  public:
    void FetchCellStyle(int16_t p_iCondition, int16_t p_iSplit, const Variant& p_vBookmark,
                        int16_t p_iCol, std::string_view p_sText, GridStyle& p_oStyle) override {
        Requests.push_back(std::to_string(p_iSplit) + " " + Text(p_vBookmark) + " " +
                           std::to_string(p_iCol) + " " + std::string(p_sText));
        if (IsNumeric(Variant(p_sText)) && p_sText.find_first_of("()-") != p_sText.npos) {
            p_oStyle.SetForeColor(grid_colors::kRed);
        }
        if (OnRequest) {
            OnRequest();
        }
    }

    std::vector<std::string> Requests;
    std::function<void()> OnRequest;
};

class GridControlEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_grid->SetDataSource(m_prices);
        m_grid->RetrieveFields();
        m_grid->AddSink(&m_first);
        m_grid->AddSink(&m_second);
    }

    std::shared_ptr<Recordset> m_prices = Prices();
    std::unique_ptr<GridControl> m_grid = std::make_unique<GridControl>();
    std::vector<std::string> m_log;
    Recorder m_first{m_log, "first"};
    Recorder m_second{m_log, "second"};
};

TEST_F(GridControlEventsTest, ClickMovesTheCurrentCellThenReportsTheClick) {
    m_grid->RemoveSink(&m_second);
    m_grid->Click(2, 1);
    m_grid->Click(2, 1);
    m_grid->Click(3, -1, gssCtrl);
    m_grid->Click(0, -1, gssShift);
    m_grid->Click(9, 0);  // past the rows: a click, nothing moves
    EXPECT_EQ(m_log, (Heard{"first: RowColChange 1 -1", "first: Click", "first: Click",
                            "first: RowColChange 3 1", "first: Click", "first: RowColChange 4 -1",
                            "first: Click", "first: Click"}));
    EXPECT_EQ(m_grid->SelBookmarks()->Count(), 4);
    m_grid->Click(2, -1, gssCtrl);
    EXPECT_FALSE(m_grid->SelBookmarks()->Contains(Variant(3.0)));
    EXPECT_EQ(m_grid->Row(), 2);
}

TEST_F(GridControlEventsTest, UserActionsRaiseTheirEventsWithTheirArguments) {
    m_grid->RemoveSink(&m_second);
    m_grid->DoubleClick();
    m_grid->HeaderClick(1);
    m_grid->MouseMove(0, 0, 400, 100);
    m_grid->MouseDown(gmbRight, gssShift, 500, 700);
    m_grid->MouseUp(gmbRight, gssShift, 500, 700);
    EXPECT_EQ(m_grid->KeyDown(46, 0), 0);
    EXPECT_EQ(m_grid->KeyDown(70, gssCtrl), 70);
    m_grid->SetCurrentColumn(1);
    EXPECT_EQ(m_log,
              (Heard{"first: DblClick", "first: HeadClick 1", "first: MouseMove 0 0 400 100",
                     "first: MouseDown 2 1 500 700", "first: MouseUp 2 1 500 700",
                     "first: KeyDown 46 0", "first: KeyDown 70 2", "first: RowColChange 1 -1"}));
    m_log.clear();
    m_grid->SetEnabled(false);
    m_grid->Click(0, 0);
    m_grid->DoubleClick();
    m_grid->KeyDown(46, 0);
    EXPECT_FALSE(m_grid->MoveColumns(0, 0, 1));
    EXPECT_TRUE(m_log.empty());
}

TEST_F(GridControlEventsTest, CellStyleRequestsColourNumericNegativesOnly) {
    RedNegatives painter;
    m_grid->AddSink(&painter);
    m_grid->RemoveSink(&m_first);
    m_grid->RemoveSink(&m_second);
    m_grid->Columns()->Item(0)->SetSplitWidth(0, 735);
    m_grid->Columns()->Item(1)->SetSplitWidth(0, 630);
    EXPECT_EQ(m_grid->RenderText(0, 4),
              "  Symbol  Change\n"
              "> S-3     -3  {Change: red}\n"
              "  S(5)    (5)  {Change: red}\n"
              "  S2      2\n"
              "  S5-3    5-3\n");
    ASSERT_EQ(painter.Requests.size(), 8u);
    EXPECT_EQ(painter.Requests[3], "0 2 1 (5)");
}

// The sink list is changed from inside its own raises: sinks removed, added, destroyed, and a
// raise nested in another.
TEST_F(GridControlEventsTest, SinksChangedDuringAnEventKeepTheListWhole) {
    Recorder third(m_log, "third");
    auto doomed = std::make_unique<Recorder>(m_log, "doomed");
    m_grid->AddSink(doomed.get());
    m_first.OnEvent = [&] {
        m_grid->RemoveSink(&m_first);
        m_grid->AddSink(&third);
        doomed.reset();
    };
    m_grid->DoubleClick();
    m_grid->DoubleClick();
    EXPECT_EQ(m_log, (Heard{"first: DblClick", "second: DblClick", "second: DblClick",
                            "third: DblClick"}));

    m_log.clear();
    m_second.OnEvent = [&] {
        m_second.OnEvent = nullptr;
        m_grid->RemoveSink(&third);
        m_grid->SetCurrentRow(1);  // raised inside the click
        m_grid->AddSink(&third);
    };
    m_grid->Click(0, -1);
    m_grid->DoubleClick();
    EXPECT_EQ(m_log, (Heard{"second: Click", "second: RowColChange 1 -1", "second: DblClick",
                            "third: DblClick"}));
}

TEST_F(GridControlEventsTest, AHandlerMayDestroyTheGrid) {
    m_first.OnEvent = [&] { m_grid.reset(); };
    m_grid->Click(1, 0);
    EXPECT_EQ(m_log, (Heard{"first: RowColChange 1 -1"}));

    m_log.clear();
    m_grid = std::make_unique<GridControl>();
    m_grid->AddSink(&m_first);
    m_grid->RetrieveFields();
    GridControl* grid = m_grid.get();
    EXPECT_FALSE(grid->MoveColumns(0, 0, 2));
    EXPECT_EQ(m_log, (Heard{"first: ColMove 2"}));

    RedNegatives painter;
    m_grid = std::make_unique<GridControl>();
    m_grid->SetDataSource(Prices());
    m_grid->RetrieveFields();
    m_grid->AddSink(&painter);
    painter.OnRequest = [&] { m_grid.reset(); };
    grid = m_grid.get();
    EXPECT_EQ(grid->RenderText(0, 2), "  Symbol     Change\n> S-3        -3\n  S(5)       (5)\n");
    EXPECT_EQ(painter.Requests.size(), 1u);
}

// Columns captioned A, B, C, ... in their display order.
void LetteredColumns(GridControl& p_oGrid, int32_t p_lCount) {
    p_oGrid.Columns()->Clear();
    for (int32_t i = 0; i < p_lCount; ++i) {
        p_oGrid.Columns()->Add(i)->SetCaption(std::string(1, static_cast<char>('A' + i)));
    }
}

std::string DisplayCaptions(const GridControl& p_oGrid) {
    std::string captions;
    for (const auto& column : p_oGrid.Columns()->DisplayOrder()) {
        captions += column->Caption();
    }
    return captions;
}

TEST_F(GridControlEventsTest, ColumnMoveCanBeCancelled) {
    LetteredColumns(*m_grid, 5);
    m_grid->RemoveSink(&m_second);
    m_first.m_bCancelMoves = true;
    EXPECT_FALSE(m_grid->MoveColumns(3, 4, 1));
    EXPECT_EQ(DisplayCaptions(*m_grid), "ABCDE");
    EXPECT_EQ(m_grid->SelStartCol(), 3);
    EXPECT_EQ(m_grid->SelEndCol(), 4);
    m_first.m_bCancelMoves = false;
    EXPECT_TRUE(m_grid->MoveColumns(3, 4, 1));
    EXPECT_EQ(DisplayCaptions(*m_grid), "ADEBC");
    EXPECT_TRUE(m_grid->MoveColumns(0, 1, 5));
    EXPECT_EQ(DisplayCaptions(*m_grid), "EBCAD");
    EXPECT_EQ(m_log, (Heard{"first: ColMove 1", "first: ColMove 1", "first: ColMove 5"}));
    m_grid->SetAllowColMove(false);
    EXPECT_FALSE(m_grid->MoveColumns(0, 0, 2));
    EXPECT_EQ(m_log.size(), 3u);
    m_grid->SetAllowColMove(true);
    EXPECT_THROW(m_grid->MoveColumns(2, 1, 0), AutomationError);
    EXPECT_THROW(m_grid->MoveColumns(0, 0, 6), AutomationError);
}

// The viewer's handler puts the columns in their new order itself before the grid moves them;
// the grid's own move must then change nothing more.
TEST_F(GridControlEventsTest, ColumnMoveAfterAHandlerReorderedIsTheSameMove) {
    LetteredColumns(*m_grid, 5);
    auto& columns = *m_grid->Columns();
    m_first.OnEvent = [&] {
        columns.Item(1)->SetOrder(3);  // B before E, as the move will leave it
        columns.Item(0)->SetOrder(2);  // A, B before E
    };
    EXPECT_TRUE(m_grid->MoveColumns(0, 1, 4));
    EXPECT_EQ(DisplayCaptions(*m_grid), "CDABE");
}

}  // namespace
}  // namespace qv
