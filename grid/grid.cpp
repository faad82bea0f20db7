#include "grid/grid.h"

#include "columns/grid_columns.h"
#include "grid/grid_utilities.h"
#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/layout_description.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "outside/vb_format.h"
#include "state/grid_state_source.h"
#include "state/viewer_elements.h"

#include <algorithm>
#include <utility>

namespace qv {

namespace {

std::string Join(const std::vector<std::string>& p_values, std::string_view p_sSeparator) {
    std::string joined;
    for (size_t i = 0; i < p_values.size(); ++i) {
        if (i > 0) {
            joined += p_sSeparator;
        }
        joined += p_values[i];
    }
    return joined;
}

// The key field of a row of each data type; empty for a type without one.
std::string KeyFieldOf(int32_t p_lViewerDataType) {
    switch (p_lViewerDataType) {
        case 0:
        case 3:
        case 5:
            return "symbol";
        case 1:
            return "indcode";
        case 2:
            return "sectorcode";
        default:
            return "";
    }
}

std::string TextOf(const Variant& p_vValue) {
    return p_vValue.IsNull() ? std::string() : p_vValue.ToString();
}

// Removes the scrolling split of a grid whose list shows in one pane. The columns shown there
// move to the frozen split first, so that the pane keeps the whole list and not only its keys.
void RemoveScrollingSplit(GridControl& p_oGrid) {
    for (const auto& column : p_oGrid.Columns()->ByIndex()) {
        if (column->SplitVisible(1)) {
            column->SetSplitVisible(0, true);
        }
    }
    p_oGrid.Splits()->Remove(1);
}

// "Buys: 3 (30.0%)  " for the label "Buys", 3 and a total of 10.
std::string RatioPart(std::string_view p_sLabel, int32_t p_lCount, int32_t p_lTotal) {
    const double share = p_lTotal > 0 ? static_cast<double>(p_lCount) / p_lTotal : 0.0;
    return std::string(p_sLabel) + ": " + std::to_string(p_lCount) + " (" +
           Format(Variant(share), "0.0%") + ")  ";
}

int32_t CountWhere(Recordset& p_rRows, const std::string& p_sFilter) {
    p_rRows.SetFilter(Variant(p_sFilter));
    return p_rRows.RecordCount();
}

void ConfigureScrolling(GridControl& p_oGrid) {
    GridControlSplits& splits = *p_oGrid.Splits();
    if (splits.Count() > 1) {
        p_oGrid.SetScrollBars(gsbBoth);
        splits.Item(0)->SetScrollBars(gsbNone);
        splits.Item(1)->SetScrollBars(gsbNone);
        splits.Item(1)->SetScrollBars(gsbAutomatic);
        return;
    }
    const std::shared_ptr<GridSplit>& split = splits.Item(0);
    split->SetSizeMode(gsmScalable);
    split->SetScrollBars(gsbNone);
    split->SetScrollBars(gsbAutomatic);
}

}  // namespace

Grid::Grid() = default;

Grid::~Grid() {
    if (m_oGrid) {
        m_oGrid->RemoveSink(this);
    }
}

void Grid::SetColumnSelector(std::shared_ptr<DispatchObject> p_oSelector) {
    m_oColumnSelector = std::move(p_oSelector);
}

void Grid::SetGridObject(std::shared_ptr<GridControl> p_oGrid) {
    if (m_oGrid == p_oGrid) {
        return;
    }
    if (m_oGrid) {
        m_oGrid->RemoveSink(this);
    }
    m_oGrid = std::move(p_oGrid);
    if (m_oGrid) {
        m_oGrid->AddSink(this);
    }
}

std::shared_ptr<GridColumns> Grid::GridColumns() {
    if (!m_oColumns) {
        m_oColumns = std::make_shared<qv::GridColumns>();
    }
    return m_oColumns;
}

void Grid::SetGridColumns(std::shared_ptr<qv::GridColumns> p_oColumns) {
    m_oColumns = std::move(p_oColumns);
}

bool Grid::Visible() const {
    return m_oGrid && m_oGrid->Visible();
}

void Grid::SetVisible(bool p_bVisible) {
    if (m_oGrid) {
        m_oGrid->SetVisible(p_bVisible);
    }
}

std::string Grid::GridSort() const {
    return Reported("Grid: GridSort", std::string(), [&] {
        if (!m_oGrid || !m_oGrid->DataSource()) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "no recordset is bound to the grid");
        }
        return m_oGrid->DataSource()->Sort();
    });
}

void Grid::SetGridSort(const std::string& p_sSort) {
    try {
        if (m_oGrid && m_oGrid->DataSource()) {
            m_oGrid->DataSource()->SetSort(p_sSort);
        }
    } catch (const AutomationError&) {
        // A sort the rows refuse leaves them as they were; the caller's sort is only a wish.
    }
}

void Grid::SetDataSource(std::shared_ptr<Recordset> p_rRecordset) {
    if (!m_oGrid) {
        return;
    }
    m_oGrid->SetDataSource(p_rRecordset);
    if (!p_rRecordset) {
        return;
    }
    const std::vector<std::shared_ptr<GridControlColumn>>& columns = m_oGrid->Columns()->ByIndex();
    const Fields& fields = p_rRecordset->Fields();
    const int32_t fieldCount = fields.Count();
    // The rows are fetched in layout order, so the next field is usually the column's own, and
    // in the letter case the layout gives it.
    int32_t next = 0;
    for (size_t index = 0; index < columns.size(); ++index) {
        const std::string& field = columns[index]->DataField();
        if (next < fieldCount) {
            const std::string& name = fields.Item(next).Name();
            if (name == field || EqualsIgnoreCase(name, field)) {
                ++next;
                continue;
            }
        }
        if (!field.empty() && fields.IndexOf(field) < 0) {
            ReportMissingField(static_cast<int32_t>(index));
        }
    }
}

void Grid::ReportMissingField(int32_t p_lColumn) const {
    const GridControlColumn& column = *m_oGrid->Columns()->Item(p_lColumn);
    PlatformContext::Current().Reporter().Report(
        "Grid: DataSource",
        AutomationError(errors::kItemNotFound, "Grid",
                        "the rows have no field \"" + column.DataField() + "\" for column " +
                            std::to_string(p_lColumn) + " (\"" + column.Caption() + "\")"));
}

void Grid::Initialize(const std::string& p_sLayoutFile, const std::string& p_sGridName,
                      int32_t p_lViewerDataType, const std::string& p_sReportTitle,
                      const GridStateSource* p_oStrategy, bool p_bPrimary, bool p_bSingleSplit,
                      int32_t p_lListScope) {
    ErrorScope scope("Grid:Initialize");
    try {
        m_lViewerDataType = p_lViewerDataType;
        m_oViewerElements.reset();
        if (p_oStrategy != nullptr) {
            m_oViewerElements = p_oStrategy->ViewerElements();
        }
        if (EqualsIgnoreCase(p_sLayoutFile, kInitializeComplete)) {
            return;
        }
        if (!m_oGrid) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "the grid has no control");
        }
        // The views hear of the new columns once, when the grid shows again, instead of once for
        // each of the hundreds of column properties a layout sets.
        const std::unique_ptr<GridChangeBatch> batch = m_oGrid->BatchChanges();
        m_oGrid->SetVisible(false);
        m_lListScope = p_lListScope;
        m_sReportTitle = p_sReportTitle;
        InitializeLayout(p_bPrimary, p_bSingleSplit);
        m_oGrid->SetVisible(true);
        batch->End();
    } catch (...) {
        scope.Capture();
    }
}

void Grid::InitializeLayout(bool p_bPrimary, bool p_bSingleSplit) {
    GridControl& grid = *m_oGrid;
    const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
    GridUtilities::LoadLayout(grid, elements, p_bPrimary, m_lViewerDataType, p_bSingleSplit);
    if (!elements) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the grid has no viewer state");
    }
    // A watch list shows its secondary list in one pane.
    if (elements->WatchListId() >= 1 && !p_bPrimary && grid.Splits()->Count() > 1) {
        RemoveScrollingSplit(grid);
    }
    grid.SetAllowColSelect(false);
    grid.SetRecordSelectors(false);
    grid.SetExtendRightColumn(false);
    ConfigureScrolling(grid);
}

void Grid::PopulateColumns(const LayoutDescription& p_layout, int32_t p_lViewerDataType) {
    if (p_layout.Columns.empty()) {
        return;
    }
    auto columns = std::make_shared<qv::GridColumns>();
    int32_t skipped = 0;
    for (const LayoutColumn& column : p_layout.Columns) {
        if (p_lViewerDataType != -1 &&
            !GridUtilities::IsBitSet(p_lViewerDataType, column.TableMask)) {
            ++skipped;
            continue;
        }
        columns->Add(column.SQLColumn, static_cast<ColumnState>(column.State), column.Caption,
                     column.ParameterId, column.Sequence - skipped, column.TableMask, 0,
                     column.ColumnFormat);
    }
    m_oColumns = std::move(columns);
}

void Grid::ResetLeftColumn() {
    if (!m_oGrid) {
        return;
    }
    const GridControlColumns& columns = *m_oGrid->Columns();
    for (int32_t index = 0; index < columns.Count(); ++index) {
        if (columns.Item(index)->Order() == 0) {
            m_oGrid->SetLeftCol(index);
            return;
        }
    }
}

void Grid::SaveLeftColumnPosition() {
    if (!m_oGrid) {
        return;
    }
    const GridControlSplits& splits = *m_oGrid->Splits();
    const int32_t left = splits.Count() >= 2 ? splits.Item(1)->LeftCol() : m_oGrid->LeftCol();
    m_iLeftCol = static_cast<int16_t>(std::clamp<int32_t>(left, 0, INT16_MAX));
}

void Grid::RestoreLeftColumnPosition() {
    if (!m_oGrid || m_iLeftCol <= 0 || m_iLeftCol >= m_oGrid->Columns()->Count()) {
        return;
    }
    const GridControlSplits& splits = *m_oGrid->Splits();
    if (splits.Count() >= 2) {
        splits.Item(1)->SetLeftCol(m_iLeftCol);
    } else {
        m_oGrid->SetLeftCol(m_iLeftCol);
    }
}

std::string Grid::GetSelKeys() {
    const std::string field = KeyFieldOf(m_lViewerDataType);
    return field.empty() ? std::string() : GetSelectedItems(field);
}

std::string Grid::GetSelectedItems(const std::string& p_sFieldName) {
    return Join(SelectedValues(p_sFieldName), ",");
}

std::vector<std::string> Grid::SelectedValues(const std::string& p_sFieldName) {
    return Reported("Grid: GetSelectedItems", std::vector<std::string>(), [&] {
        std::vector<std::string> values;
        if (!m_oGrid || m_oGrid->RowCount() == 0) {
            return values;
        }
        const std::shared_ptr<Recordset> rows = m_oGrid->DataSource()->Clone();
        const int32_t field = rows->Fields().IndexOf(p_sFieldName);
        const GridSelBookmarks& selection = *m_oGrid->SelBookmarks();
        if (field < 0) {
            return values;
        }
        for (int32_t i = 0; i < selection.Count(); ++i) {
            rows->SetBookmark(selection.Item(i));
            values.push_back(TextOf(rows->Value(field)));
        }
        return values;
    });
}

std::string Grid::GetBSHRatio() const {
    return Reported("GetBSHRatio", std::string(), [&] {
        if (!m_oGrid || !m_oGrid->DataSource()) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "no recordset is bound to the grid");
        }
        const std::shared_ptr<Recordset> rows = m_oGrid->DataSource()->Clone();
        const int32_t total = rows->RecordCount();
        const int32_t buys = CountWhere(*rows, "REC = 'B'");
        const int32_t sells = CountWhere(*rows, "REC = 'S'");
        const int32_t holds = CountWhere(*rows, "REC = 'H'");
        rows->SetFilter(Variant(""));
        return RatioPart("Buys", buys, total) + RatioPart("Sells", sells, total) +
               RatioPart("Holds", holds, total) + "Total: " + std::to_string(total);
    });
}

void Grid::HeadClick(int16_t p_iColIndex) {
    m_bHeaderClicked = true;
}

void Grid::DblClick() {
    if (!std::exchange(m_bHeaderClicked, false)) {
        RaiseDoubleClick();
    }
}

void Grid::KeyDown(int16_t& p_iKeyCode, int16_t p_iShift) {
    if (p_iKeyCode != kDeleteKey) {
        return;
    }
    const std::string keys =
        Join(SelectedValues(m_lViewerDataType == 1 ? "IndCode" : "Symbol"), "','");
    if (keys.empty()) {
        return;
    }
    m_sinks.Raise([&](GridEvents& sink) { sink.Delete(keys); });
}

void GridUtilities::ClearGridData(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    p_oPriGrid.SetDataSource(nullptr);
    p_oSecGrid.SetDataSource(nullptr);
}

}  // namespace qv
