#include "outside/grid_control.h"

#include "outside/grid_control_split_columns.h"
#include "outside/recordset.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {
namespace {

using Heard = std::vector<std::string>;

// Symbol, Price, Rec; prices 1 to 5, on the first row.
std::shared_ptr<Recordset> Prices() {
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

// Writes down each notification as a line, and runs a test's action inside any of them.
class Recording : public GridControlObserver {
  public:
    Heard Lines;
    std::function<void()> OnNotified;

    void ModelAboutToBeReset() override { Hear("AboutToBeReset"); }
    void ModelReset() override { Hear("Reset"); }
    void RowsInserted(int32_t p_lFirst, int32_t p_lLast) override {
        Hear("RowsInserted " + Pair(p_lFirst, p_lLast));
    }
    void RowsRemoved(int32_t p_lFirst, int32_t p_lLast) override {
        Hear("RowsRemoved " + Pair(p_lFirst, p_lLast));
    }
    void DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t p_lFirstCol,
                     int32_t p_lLastCol) override {
        Hear("DataChanged " + Pair(p_lFirstRow, p_lLastRow) + " " + Pair(p_lFirstCol, p_lLastCol));
    }
    void LayoutChanged() override { Hear("LayoutChanged"); }
    void ColumnsChanged() override { Hear("ColumnsChanged"); }
    void SelectionChanged() override { Hear("SelectionChanged"); }
    void CurrentChanged(int32_t p_lPreviousRow, int32_t p_lRow) override {
        Hear("CurrentChanged " + Pair(p_lPreviousRow, p_lRow));
    }
    void TopRowChanged() override { Hear("TopRowChanged"); }

  private:
    static std::string Pair(int32_t p_lFirst, int32_t p_lLast) {
        return std::to_string(p_lFirst) + " " + std::to_string(p_lLast);
    }
    void Hear(std::string p_sLine) {
        Lines.push_back(std::move(p_sLine));
        if (OnNotified) {
            OnNotified();
        }
    }
};

// A grid bound to Prices with a column per field, and a recording observer that joins last.
struct Bound {
    Bound() {
        grid->SetDataSource(rows);
        grid->RetrieveFields();
        grid->AddObserver(&log);
    }
    // Runs a preparation whose notifications are not the point.
    void Before(const std::function<void()>& p_fnPrepare) {
        p_fnPrepare();
        log.Lines.clear();
    }

    std::shared_ptr<Recordset> rows = Prices();
    std::shared_ptr<Recordset> clone = rows->Clone();
    std::shared_ptr<GridControl> grid = std::make_shared<GridControl>();
    Recording log;
};

struct NotifyCase {
    const char* Operation;
    std::function<void(Bound&)> Act;
    Heard Expected;
};

TEST(GridControlNotifyTest, EachOperationTellsTheViewsOnceWhatChanged) {
    const Heard reset = {"AboutToBeReset", "Reset"};
    const Heard columns = {"ColumnsChanged"};
    const std::vector<NotifyCase> cases = {
        {"bind another recordset", [](Bound& b) { b.grid->SetDataSource(Prices()); }, reset},
        {"filter the bound recordset", [](Bound& b) { b.rows->SetFilter("Price > 2"); }, reset},
        {"sort the bound recordset",
         [](Bound& b) { b.rows->SetSort("Price DESC"); },
         {"LayoutChanged"}},
        {"sort after a row was appended under a filter",
         [](Bound& b) {
             b.Before([&] {
                 b.rows->SetFilter("Price > 2");
                 b.rows->AddNew({Variant("LOW"), Variant(0.5)});
             });
             b.rows->SetSort("Price DESC");
         },
         reset},
        {"edit a value of the current row",
         [](Bound& b) { b.rows->SetValue("Price", 9.5); },
         {"DataChanged 0 0 1 1"}},
        {"edit in a sorted view",
         [](Bound& b) {
             b.Before([&] { b.rows->SetSort("Price DESC"); });
             b.clone->SetValue("Symbol", Variant("X"));
         },
         {"DataChanged 4 4 0 0"}},
        {"edit a field no column shows",
         [](Bound& b) {
             b.Before([&] { b.grid->Columns()->Remove(2); });
             b.rows->SetValue("Rec", Variant("H"));
         },
         {"DataChanged 0 0 0 1"}},
        {"edit a row the filter hides",
         [](Bound& b) {
             b.Before([&] { b.rows->SetFilter("Price > 2"); });
             b.clone->SetValue("Rec", Variant("H"));
         },
         {}},
        {"fail to convert an edit",
         [](Bound& b) { EXPECT_ANY_THROW(b.rows->SetValue(1, "x")); },
         {}},
        {"append a row",
         [](Bound& b) { b.rows->AddNew({Variant("NEW")}); },
         {"RowsInserted 5 5", "CurrentChanged 0 5"}},
        {"delete the current row",
         [](Bound& b) {
             b.Before([&] { b.rows->SetAbsolutePosition(3); });
             b.rows->Delete();
         },
         {"RowsRemoved 2 2", "CurrentChanged 2 -1"}},
        {"delete a row above the current one through a clone",
         [](Bound& b) {
             b.Before([&] { b.rows->SetAbsolutePosition(4); });
             b.clone->SetAbsolutePosition(2);
             b.clone->Delete();
         },
         {"RowsRemoved 1 1"}},
        {"move the bound recordset", [](Bound& b) { b.rows->MoveNext(); }, {"CurrentChanged 0 1"}},
        {"move it where it is", [](Bound& b) { b.rows->MoveFirst(); }, {}},
        {"click a row and a column",
         [](Bound& b) { b.grid->Click(2, 1); },
         {"SelectionChanged", "CurrentChanged 0 2"}},
        {"caption a column", [](Bound& b) { b.grid->Columns()->Item(0)->SetCaption("Sym"); },
         columns},
        {"split the grid", [](Bound& b) { b.grid->Splits()->Add(); }, columns},
        {"add a cell style",
         [](Bound& b) {
             b.grid->Columns()->Item(2)->AddRegexCellStyle(gcNormalCell,
                                                           std::make_shared<GridStyle>(), "S");
         },
         columns},
        {"select a row in code",
         [](Bound& b) { b.grid->SelBookmarks()->Add(Variant(3.0)); },
         {"SelectionChanged"}},
        {"select a selected row",
         [](Bound& b) {
             b.Before([&] { b.grid->SelBookmarks()->Add(Variant(3.0)); });
             b.grid->SelBookmarks()->Add(Variant(3.0));
         },
         {}},
        {"scroll the rows", [](Bound& b) { b.grid->SetTopRow(2); }, {"TopRowChanged"}},
    };
    for (const NotifyCase& entry : cases) {
        SCOPED_TRACE(entry.Operation);
        Bound bound;
        entry.Act(bound);
        EXPECT_EQ(bound.log.Lines, entry.Expected);
    }
}

// The grid's test holds the only references to the grid and its recordset, so that dropping
// the grid in a notification takes the recordset and its rows with it, in the middle of the
// operation that raised. The sanitizer build catches any touch of them afterwards.
TEST(GridControlNotifyTest, AnObserverMayDestroyTheGridWhileNotified) {
    struct Drop {
        const char* Operation;
        std::function<void(GridControl&)> Act;
    };
    const std::vector<Drop> drops = {
        {"click", [](GridControl& grid) { grid.Click(2, 1); }},
        {"bind", [](GridControl& grid) { grid.SetDataSource(Prices()); }},
        {"append to the bound recordset",
         [](GridControl& grid) { grid.DataSource()->AddNew({Variant("NEW")}); }},
        {"edit the bound recordset",
         [](GridControl& grid) { grid.DataSource()->SetValue("Price", Variant(7.0)); }},
        {"delete from the bound recordset", [](GridControl& grid) { grid.DataSource()->Delete(); }},
        {"filter the bound recordset",
         [](GridControl& grid) { grid.DataSource()->SetFilter("Price > 1"); }},
        {"move the bound recordset", [](GridControl& grid) { grid.DataSource()->MoveLast(); }},
        {"caption a column", [](GridControl& grid) { grid.Columns()->Item(0)->SetCaption("X"); }},
    };
    for (const Drop& drop : drops) {
        SCOPED_TRACE(drop.Operation);
        auto grid = std::make_shared<GridControl>();
        grid->SetDataSource(Prices());
        grid->RetrieveFields();
        const std::shared_ptr<GridControlColumn> kept = grid->Columns()->Item(1);
        Recording log;
        log.OnNotified = [&] { grid.reset(); };
        grid->AddObserver(&log);
        drop.Act(*grid);
        EXPECT_EQ(grid, nullptr);
        EXPECT_EQ(log.Lines.size(), 1u);
        // A column that outlives its grid tells no one.
        kept->SetCaption("Kept");
        EXPECT_EQ(log.Lines.size(), 1u);
    }
}

}  // namespace
}  // namespace qv
