// A viewer state, a grid control and a Grid wrapper wired as a strategy wires them, with a small
// stock list and layout descriptions built from tables, for the tests of the Grid wrapper, the
// layout loader and the grid routines.
#pragma once

#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "grid/grid.h"
#include "grid/grid_events.h"
#include "outside/grid_control.h"
#include "outside/layout_description.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "state/grid_state_source.h"
#include "state/grid_type.h"
#include "state/viewer_elements.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv::testing {

// Every event of the Grid as text; a several-graph question is answered with Answer rows, or
// cancelled when Answer is 0.
class EventRecorder : public GridEvents {
  public:
    void Navigate(const std::string& p_sAddress) override {
        Events.push_back("Navigate " + p_sAddress);
    }
    void DblClick(const std::string& p_sAddress) override {
        Events.push_back("DblClick " + p_sAddress);
    }
    void AddToWatchList() override { Events.push_back("AddToWatchList"); }
    void GridMenuClick(int32_t p_lItemId, const std::string& p_sItemTag) override {
        Events.push_back("GridMenuClick " + std::to_string(p_lItemId) + " " + p_sItemTag);
    }
    void MultipleGraphSelect(int16_t& p_iCount, bool& p_bCancel) override {
        Events.push_back("MultipleGraphSelect " + std::to_string(p_iCount));
        p_iCount = Answer;
        p_bCancel = Answer == 0;
    }
    void QuickTest() override { Events.push_back("QuickTest"); }
    void Delete(const std::string& p_sKeys) override {
        Events.push_back("Delete " + p_sKeys);
        if (OnDelete) {
            OnDelete();
        }
    }

    std::vector<std::string> Events;
    int16_t Answer = 2;
    std::function<void()> OnDelete;
};

inline LayoutDescription MakeLayout(const std::vector<LayoutColumn>& p_entries) {
    return {{7, "Mine", "", 0, 12}, std::nullopt, p_entries};
}

// The stock list: two key columns, an industry-only column (mask 2) in the middle, and system
// and hidden columns.
inline std::vector<LayoutColumn> StockLayoutEntries() {
    return {{4, csAlwaysVisible, "Symbol", "Symbol", 1, 1, "Left"},
            {5, csAlwaysVisible, "CompanyName", "Company", 1, 2, "Left"},
            {13, csVisible, "Price", "Price", 1, 3, "#,##0.00"},
            {35, csVisible, "IndName", "Industry", 2, 4, "Left"},
            {2001, csVisible, "PrcChange", "%Prc", 1, 5, "0.00"},
            {1418, csVisible, "Rec", "Rec", 1, 6, "Center"},
            {38, csSystem, "IndCode", "Industry Code", 3, 7, "0"},
            {1393, csHidden, "Cost", "Cost", 1, 8, "#,##0.00"}};
}

inline std::shared_ptr<Recordset> StockRows() {
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Symbol", adVarChar, 10);
    rows->Fields().Append("CompanyName", adVarChar, 40);
    rows->Fields().Append("Price", adDouble);
    rows->Fields().Append("PrcChange", adDouble);
    rows->Fields().Append("Rec", adVarChar, 1);
    rows->Fields().Append("IndCode", adInteger);
    rows->Fields().Append("IndName", adVarChar, 40);
    rows->Fields().Append("Cost", adDouble);
    rows->Open();
    rows->AddNew({"IBM", "Intl Business Machines", 140.5, -1.2, "B", 310, "Computers", 120.0});
    rows->AddNew({"MSFT", "Microsoft", 310.0, 2.1, "H", 320, "Software", 280.0});
    rows->AddNew({"ACME", "Acme", 1234.567, 0.0, "S", 330, "Tools", Variant::Null()});
    rows->MoveFirst();
    return rows;
}

// What a strategy hands a Grid: the viewer state it owns.
class StateSource : public GridStateSource {
  public:
    std::shared_ptr<qv::ViewerElements> ViewerElements() const override { return m_oElements; }

  private:
    std::shared_ptr<qv::ViewerElements> m_oElements = std::make_shared<qv::ViewerElements>();
};

class GridFixture {
  protected:
    GridFixture() { m_grid->SetGridObject(m_control); }

    ViewerElements& Elements() { return *m_strategy->ViewerElements(); }

    // PopulateColumns, AssignSplits, the state's columns, Initialize: what a strategy does.
    void Load(const std::vector<LayoutColumn>& p_entries, int32_t p_lDataType = 0,
              bool p_bPrimary = true, bool p_bSingleSplit = false) {
        m_grid->PopulateColumns(MakeLayout(p_entries), p_bPrimary ? -1 : p_lDataType);
        for (const auto& column : *m_grid->GridColumns()) {  // key columns frozen, as strategies do
            column->SetSplitNumber(column->ParameterId() == 4 || column->ParameterId() == 5 ? 0
                                                                                            : 1);
        }
        Elements().SetGridColumns(p_bPrimary ? gtPrimary : gtSecondary, m_grid->GridColumns());
        m_grid->Initialize("", "Main Grid", p_lDataType, "Stock Viewer Report", m_strategy.get(),
                           p_bPrimary, p_bSingleSplit, 0);
    }

    std::string Render() { return m_control->RenderText(0, 10); }

    void Select(std::initializer_list<double> p_bookmarks) {
        for (double bookmark : p_bookmarks) {
            m_control->SelBookmarks()->Add(Variant(bookmark));
        }
    }

    ScopedTestPlatform m_platform;
    std::shared_ptr<StateSource> m_strategy = std::make_shared<StateSource>();
    std::shared_ptr<GridControl> m_control = std::make_shared<GridControl>();
    std::shared_ptr<Grid> m_grid = std::make_shared<Grid>();
    std::shared_ptr<Recordset> m_rows = StockRows();
};

}  // namespace qv::testing
