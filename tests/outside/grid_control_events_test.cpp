#include "outside/grid_control.h"

#include "outside/automation_error.h"
#include "outside/grid_control_split_columns.h"
#include "outside/recordset.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

// Symbol, Price, Rec; prices 1 to 5, on the first row.
std::shared_ptr<Recordset> NumberedPrices() {
    auto recordset = std::make_shared<Recordset>();
    recordset->Fields().Append("Symbol", adVarChar, 10);
    recordset->Fields().Append("Price", adDouble);
    recordset->Fields().Append("Rec", adVarChar, 1);
    recordset->Open();
    for (int32_t i = 1; i <= 5; ++i) {
        recordset->AddNew({Variant("S" + std::to_string(i)), Variant(double(i)), Variant("B")});
    }
    recordset->MoveFirst();
    return recordset;
}

using Heard = std::vector<std::string>;

std::string Text(const Variant& p_vValue) {
    return p_vValue.IsNull() ? "Null" : p_vValue.ToString();
}

// Writes each event or notification it hears as one line of text, after its name if it has one,
// and runs a test's action inside any of them.
class Recorder : public GridControlEvents, public GridControlObserver {
  public:
    Recorder(std::vector<std::string>& p_log, std::string p_sName = "")
        : m_log(p_log), m_sName(std::move(p_sName)) {}

    std::function<void()> OnEvent;

    void Click() override { Hear("Click"); }
    void DblClick() override { Hear("DblClick"); }
    void HeadClick(int16_t p_iCol) override { Hear("HeadClick", {p_iCol}); }
    void RowColChange(const Variant& p_vLastRow, int16_t p_iLastCol) override {
        Hear("RowColChange " + Text(p_vLastRow), {p_iLastCol});
    }
    void MouseDown(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) override {
        Hear("MouseDown", {p_iButton, p_iShift, p_lX, p_lY});
    }
    void KeyDown(int16_t& p_iKeyCode, int16_t p_iShift) override {
        Hear("KeyDown", {p_iKeyCode, p_iShift});
        p_iKeyCode = p_iKeyCode == 46 ? 0 : p_iKeyCode;  // the viewer eats the Delete key
    }
    void ColMove(int16_t p_iPosition, bool& p_bCancel) override {
        Hear("ColMove", {p_iPosition});
        p_bCancel = m_bCancelMoves;
    }

    void ModelAboutToBeReset() override { Hear("AboutToBeReset"); }
    void ModelReset() override { Hear("Reset"); }
    void RowsInserted(int32_t p_lFirst, int32_t p_lLast) override {
        Hear("RowsInserted", {p_lFirst, p_lLast});
    }
    void RowsRemoved(int32_t p_lFirst, int32_t p_lLast) override {
        Hear("RowsRemoved", {p_lFirst, p_lLast});
    }
    void DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t p_lFirstCol,
                     int32_t p_lLastCol) override {
        Hear("DataChanged", {p_lFirstRow, p_lLastRow, p_lFirstCol, p_lLastCol});
    }
    void LayoutChanged() override { Hear("LayoutChanged"); }
    void ColumnsChanged() override { Hear("ColumnsChanged"); }
    void SelectionChanged() override { Hear("SelectionChanged"); }
    void CurrentChanged(int32_t p_lPreviousRow, int32_t p_lRow) override {
        Hear("CurrentChanged", {p_lPreviousRow, p_lRow});
    }
    void TopRowChanged() override { Hear("TopRowChanged"); }

    bool m_bCancelMoves = false;

  private:
    void Hear(std::string p_sEvent, std::initializer_list<int32_t> p_args = {}) {
        for (int32_t arg : p_args) {
            p_sEvent += " " + std::to_string(arg);
        }
        m_log.push_back((m_sName.empty() ? "" : m_sName + ": ") + p_sEvent);
        if (OnEvent) {
            OnEvent();
        }
    }

    std::vector<std::string>& m_log;
    std::string m_sName;
};

// Writes down each cell-style request and runs a test's action inside it.
class Painter : public GridControlEvents {
  public:
    void FetchCellStyle(int16_t, int16_t p_iSplit, const Variant& p_vBookmark, int16_t p_iCol,
                        std::string_view p_sText, GridStyle&) override {
        Requests.push_back(std::to_string(p_iSplit) + " " + Text(p_vBookmark) + " " +
                           std::to_string(p_iCol) + " " + std::string(p_sText));
        OnRequest();
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

    std::shared_ptr<Recordset> m_prices = NumberedPrices();
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

// What each action raises, with its arguments, is followed from a person's action through the
// view by the shell's tests; a disabled grid raises nothing.
TEST_F(GridControlEventsTest, ACurrentColumnSetInCodeIsAMoveAndADisabledGridRaisesNothing) {
    m_grid->RemoveSink(&m_second);
    m_grid->SetCurrentColumn(1);
    EXPECT_EQ(m_log, Heard{"first: RowColChange 1 -1"});
    m_log.clear();
    m_grid->SetEnabled(false);
    m_grid->Click(0, 0);
    m_grid->DoubleClick();
    m_grid->HeaderClick(0);
    m_grid->KeyDown(46, 0);
    EXPECT_FALSE(m_grid->MoveColumns(0, 0, 1));
    EXPECT_TRUE(m_log.empty());
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

    Painter painter;
    m_grid = std::make_unique<GridControl>();
    m_grid->SetDataSource(NumberedPrices());
    m_grid->RetrieveFields();
    m_grid->AddSink(&painter);
    painter.OnRequest = [&] { m_grid.reset(); };
    grid = m_grid.get();
    EXPECT_EQ(
        grid->RenderText(0, 2),
        "  Symbol          Price Rec\n> S1                  1 B\n  S2                  2 B\n");
    EXPECT_EQ(painter.Requests, Heard{"0 1 0 S1"});  // split, bookmark, column, text
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
    m_first.m_bCancelMoves = false;
    EXPECT_TRUE(m_grid->MoveColumns(3, 4, 1));
    EXPECT_TRUE(m_grid->MoveColumns(0, 1, 5));  // to the end
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

// A grid bound to numbered prices with a column per field, and a recording observer that joins
// last.
struct Bound {
    Bound() {
        grid->SetDataSource(rows);
        grid->RetrieveFields();
        grid->AddObserver(&log);
    }
    // Runs a preparation whose notifications are not the point.
    void Before(const std::function<void()>& p_fnPrepare) {
        p_fnPrepare();
        lines.clear();
    }

    std::shared_ptr<Recordset> rows = NumberedPrices();
    std::shared_ptr<Recordset> clone = rows->Clone();
    std::shared_ptr<GridControl> grid = std::make_shared<GridControl>();
    Heard lines;
    Recorder log{lines};
};

// Each row: the operation, the notifications it gives (joined by ", "), the operation itself.
TEST(GridControlNotifyTest, EachOperationTellsTheViewsOnceWhatChanged) {
    const char* reset = "AboutToBeReset, Reset";
    const std::tuple<const char*, const char*, std::function<void(Bound&)>> cases[] = {
        {"filter the bound recordset", reset, [](Bound& b) { b.rows->SetFilter("Price > 2"); }},
        {"sort the bound recordset", "LayoutChanged",
         [](Bound& b) { b.rows->SetSort("Price DESC"); }},
        {"sort after a row was appended under a filter", reset,
         [](Bound& b) {
             b.Before([&] {
                 b.rows->SetFilter("Price > 2");
                 b.rows->AddNew({Variant("LOW"), Variant(0.5)});
             });
             b.rows->SetSort("Price DESC");
         }},
        {"edit a value of the current row", "DataChanged 0 0 1 1",
         [](Bound& b) { b.rows->SetValue("Price", 9.5); }},
        {"edit in a sorted view", "DataChanged 4 4 0 0",
         [](Bound& b) {
             b.Before([&] { b.rows->SetSort("Price DESC"); });
             b.clone->SetValue("Symbol", Variant("X"));
         }},
        {"edit a field no column shows", "DataChanged 0 0 0 1",
         [](Bound& b) {
             b.Before([&] { b.grid->Columns()->Remove(2); });
             b.rows->SetValue("Rec", Variant("H"));
         }},
        {"edit a row the filter hides", "",
         [](Bound& b) {
             b.Before([&] { b.rows->SetFilter("Price > 2"); });
             b.clone->SetValue("Rec", Variant("H"));
         }},
        {"fail to convert an edit", "",
         [](Bound& b) { EXPECT_ANY_THROW(b.rows->SetValue(1, "x")); }},
        {"append a row", "RowsInserted 5 5, CurrentChanged 0 5",
         [](Bound& b) { b.rows->AddNew({Variant("NEW")}); }},
        {"delete the current row", "RowsRemoved 2 2, CurrentChanged 2 -1",
         [](Bound& b) {
             b.Before([&] { b.rows->SetAbsolutePosition(3); });
             b.rows->Delete();
         }},
        {"delete a row above the current one through a clone", "RowsRemoved 1 1",
         [](Bound& b) {
             b.Before([&] { b.rows->SetAbsolutePosition(4); });
             b.clone->SetAbsolutePosition(2);
             b.clone->Delete();
         }},
        {"move the bound recordset", "CurrentChanged 0 1", [](Bound& b) { b.rows->MoveNext(); }},
        {"move it where it is", "", [](Bound& b) { b.rows->MoveFirst(); }},
        {"move after the observer left", "",
         [](Bound& b) {
             b.grid->RemoveObserver(&b.log);
             b.rows->MoveNext();
         }},
        {"click a row and a column", "SelectionChanged, CurrentChanged 0 2",
         [](Bound& b) { b.grid->Click(2, 1); }},
        {"caption a column", "ColumnsChanged",
         [](Bound& b) { b.grid->Columns()->Item(0)->SetCaption("Sym"); }},
        {"select a row in code", "SelectionChanged",
         [](Bound& b) { b.grid->SelBookmarks()->Add(Variant(3.0)); }},
        {"select a selected row", "",
         [](Bound& b) {
             b.Before([&] { b.grid->SelBookmarks()->Add(Variant(3.0)); });
             b.grid->SelBookmarks()->Add(Variant(3.0));
         }},
        {"scroll the rows", "TopRowChanged", [](Bound& b) { b.grid->SetTopRow(2); }},
    };
    for (const auto& [operation, expected, act] : cases) {
        SCOPED_TRACE(operation);
        Bound bound;
        act(bound);
        std::string heard;
        for (const std::string& line : bound.lines) {
            heard += (heard.empty() ? "" : ", ") + line;
        }
        EXPECT_EQ(heard, expected);
    }
}

// The grid's test holds the only references to the grid and its recordset, so that dropping
// the grid in a notification takes the recordset and its rows with it, in the middle of the
// operation that raised. The sanitizer build catches any touch of them afterwards.
TEST(GridControlNotifyTest, AnObserverMayDestroyTheGridWhileNotified) {
    const std::pair<const char*, std::function<void(GridControl&)>> drops[] = {
        {"click", [](GridControl& grid) { grid.Click(2, 1); }},
        {"append to the bound recordset",
         [](GridControl& grid) { grid.DataSource()->AddNew({Variant("NEW")}); }},
        {"delete from the bound recordset", [](GridControl& grid) { grid.DataSource()->Delete(); }},
        {"caption a column", [](GridControl& grid) { grid.Columns()->Item(0)->SetCaption("X"); }},
    };
    for (const auto& [operation, act] : drops) {
        SCOPED_TRACE(operation);
        auto grid = std::make_shared<GridControl>();
        grid->SetDataSource(NumberedPrices());
        grid->RetrieveFields();
        const std::shared_ptr<GridControlColumn> kept = grid->Columns()->Item(1);
        Heard lines;
        Recorder log(lines);
        log.OnEvent = [&] { grid.reset(); };
        grid->AddObserver(&log);
        act(*grid);
        EXPECT_EQ(grid, nullptr);
        // A column that outlives its grid tells no one.
        kept->SetCaption("Kept");
        EXPECT_EQ(lines.size(), 1u);
    }
}

}  // namespace
}  // namespace qv
