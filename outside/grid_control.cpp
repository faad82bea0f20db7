#include "outside/grid_control.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/grid_control_support.h"
#include "outside/grid_print_table.h"
#include "outside/recordset.h"
#include "outside/text_util.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

// The members the viewer reaches by id only.
constexpr std::array<int32_t, 6> kIdOnlyMembers = {17, 18, 43, 75, 86, 87};

int16_t ToEventIndex(int32_t p_lValue) {
    return static_cast<int16_t>(std::clamp<int32_t>(p_lValue, INT16_MIN, INT16_MAX));
}

// Made before the splits, so that their styles find the grid's observers through the columns.
std::shared_ptr<GridControlColumns> ColumnsOf(const std::shared_ptr<GridChanges>& p_oChanges) {
    auto columns = std::make_shared<GridControlColumns>();
    columns->Hook().Attach(p_oChanges);
    return columns;
}

}  // namespace

// Passes what happens to the bound recordset on to the views, in the grid's rows and columns.
class GridControl::SourceWatch : public RecordsetObserver {
  public:
    explicit SourceWatch(GridControl& p_oGrid) : m_oGrid(p_oGrid) {}

    void ViewAboutToBeReset() override { m_oGrid.Changes()->ModelAboutToBeReset(); }
    void ViewReset() override {
        m_oGrid.NoteCurrent();
        m_oGrid.Changes()->ModelReset();
    }
    void ViewReordered() override {
        m_oGrid.NoteCurrent();
        m_oGrid.Changes()->LayoutChanged();
    }
    void RowsInserted(int32_t p_lFirst, int32_t p_lLast) override {
        if (m_oGrid.Changes()->RowsInserted(p_lFirst, p_lLast)) {
            m_oGrid.AnnounceCurrent();
        }
    }
    void RowsRemoved(int32_t p_lFirst, int32_t p_lLast) override {
        if (m_oGrid.Changes()->RowsRemoved(p_lFirst, p_lLast)) {
            m_oGrid.AnnounceCurrent();
        }
    }
    void ValueChanged(int32_t p_lPosition, int32_t p_lField) override {
        const auto [first, last] = m_oGrid.ColumnsShowing(p_lField);
        if (first <= last) {
            m_oGrid.Changes()->DataChanged(p_lPosition, p_lPosition, first, last);
        }
    }
    void CursorMoved() override { m_oGrid.AnnounceCurrent(); }

  private:
    GridControl& m_oGrid;
};

GridControl::GridControl()
    : m_oChanges(std::make_shared<GridChanges>()),
      m_oSourceWatch(std::make_unique<SourceWatch>(*this)),
      m_oColumns(ColumnsOf(m_oChanges)),
      m_oSplits(std::make_shared<GridControlSplits>(m_oColumns)),
      m_oSelBookmarks(std::make_shared<GridSelBookmarks>()),
      m_oPrintInfos(std::make_shared<GridPrintInfos>()) {
    m_oSelBookmarks->Hook().Attach(m_oChanges);
    for (const auto& style : m_styles) {
        style->Hook().Attach(m_oChanges);
    }
    m_oColumns->Add(0);
    m_oColumns->Add(1);
    m_oPrintInfos->Default()->SetRowSource(
        [this](GridPrintRows p_eRows) { return GridPrintTable(*this, p_eRows); });
}

GridControl::~GridControl() {
    // Parts that callers still hold tell no one from now on.
    m_oChanges->GridGone();
    m_oPrintInfos->Default()->SetRowSource(nullptr);
}

const DispatchTable& GridControl::Table() {
    using Grid = GridControl;
    static const DispatchTable table = [] {
        DispatchTable::Builder<Grid> builder;
        builder
            .Get("DataSource",
                 [](Grid& self) {
                     return self.m_rDataSource ? ObjectVariant(self.m_rDataSource)
                                               : Variant::Nothing();
                 })
            .Set("DataSource",
                 [](Grid& self, const Variant& value) {
                     self.SetDataSource(
                         ExpectRecordset(value, "a grid's data source must be a recordset"));
                 })
            .Get("RowCount", [](Grid& self) { return Variant(self.RowCount()); })
            .IndexedGet("Columns", 0, 1,
                        [](Grid& self, DispatchArgs args) {
                            return args.empty() ? ObjectVariant(self.m_oColumns)
                                                : ObjectVariant(self.m_oColumns->Item(args[0]));
                        })
            .IndexedGet("Splits", 0, 1,
                        [](Grid& self, DispatchArgs args) {
                            return args.empty()
                                       ? ObjectVariant(self.m_oSplits)
                                       : ObjectVariant(self.m_oSplits->Item(args[0].ToLong()));
                        })
            .IndexedGet("SelBookmarks", 0, 1,
                        [](Grid& self, DispatchArgs args) {
                            return args.empty() ? ObjectVariant(self.m_oSelBookmarks)
                                                : self.m_oSelBookmarks->Item(args[0].ToLong());
                        })
            .IndexedGet({"PrintInfos", 180}, 0, 1,
                        [](Grid& self, DispatchArgs args) {
                            return args.empty()
                                       ? ObjectVariant(self.m_oPrintInfos)
                                       : ObjectVariant(self.m_oPrintInfos->Item(args[0].ToLong()));
                        })
            .Get({"PrintInfo", 181}, [](Grid& self) { return ObjectVariant(self.PrintInfo()); })
            .Property(
                "Row", [](Grid& self) { return Variant(self.Row()); },
                [](Grid& self, const Variant& value) { self.SetCurrentRow(value.ToLong()); })
            .Property(
                "Col", [](Grid& self) { return Variant(self.Col()); },
                [](Grid& self, const Variant& value) { self.SetCurrentColumn(value.ToLong()); })
            .Get("Bookmark", [](Grid& self) { return self.Bookmark(); })
            .Property(
                "TopRow", [](Grid& self) { return Variant(self.TopRow()); },
                [](Grid& self, const Variant& value) { self.SetTopRow(value.ToLong()); })
            .Property(
                "LeftCol", [](Grid& self) { return Variant(self.LeftCol()); },
                [](Grid& self, const Variant& value) { self.SetLeftCol(value.ToLong()); })
            .Get("SelStartCol", [](Grid& self) { return Variant(self.SelStartCol()); })
            .Get("SelEndCol", [](Grid& self) { return Variant(self.SelEndCol()); })
            .Property(
                "Visible", [](Grid& self) { return Variant(self.Visible()); },
                [](Grid& self, const Variant& value) { self.SetVisible(value.ToBool()); })
            .Property(
                "Enabled", [](Grid& self) { return Variant(self.Enabled()); },
                [](Grid& self, const Variant& value) { self.SetEnabled(value.ToBool()); })
            .Property(
                "ScrollBars",
                [](Grid& self) { return Variant(static_cast<int16_t>(self.ScrollBars())); },
                [](Grid& self, const Variant& value) { self.SetScrollBars(value.ToLong()); })
            .Property(
                "AllowColSelect", [](Grid& self) { return Variant(self.AllowColSelect()); },
                [](Grid& self, const Variant& value) { self.SetAllowColSelect(value.ToBool()); })
            .Property(
                "AllowColMove", [](Grid& self) { return Variant(self.AllowColMove()); },
                [](Grid& self, const Variant& value) { self.SetAllowColMove(value.ToBool()); })
            .Property(
                "RecordSelectors", [](Grid& self) { return Variant(self.RecordSelectors()); },
                [](Grid& self, const Variant& value) { self.SetRecordSelectors(value.ToBool()); })
            .Property(
                "ExtendRightColumn", [](Grid& self) { return Variant(self.ExtendRightColumn()); },
                [](Grid& self, const Variant& value) { self.SetExtendRightColumn(value.ToBool()); })
            .Property(
                "Appearance",
                [](Grid& self) { return Variant(static_cast<int16_t>(self.Appearance())); },
                [](Grid& self, const Variant& value) { self.SetAppearance(value.ToLong()); })
            .Property(
                {"BackColor", 196}, [](Grid& self) { return Variant(self.BackColor()); },
                [](Grid& self, const Variant& value) { self.SetBackColor(value.ToLong()); })
            .Method({"PointAt", 165}, 2, 2,
                    [](Grid& self, DispatchArgs args) {
                        return Variant(
                            static_cast<int16_t>(self.PointAt(args[0].ToLong(), args[1].ToLong())));
                    })
            .Method("RowContaining", 1, 1,
                    [](Grid& self, DispatchArgs args) {
                        return Variant(self.RowContaining(args[0].ToLong()));
                    })
            .Method("ColContaining", 1, 1, [](Grid& self, DispatchArgs args) {
                return Variant(self.ColContaining(args[0].ToLong()));
            });
        for (int32_t id : kIdOnlyMembers) {
            builder.Property(
                DispatchName(id), [id](Grid& self) { return self.IdProperty(id); },
                [id](Grid& self, const Variant& value) { self.SetIdProperty(id, value); });
        }
        return builder.Build();
    }();
    return table;
}

Variant GridControl::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                            std::span<Variant> p_args) {
    return Table().Invoke(*this, p_sName, p_eKind, p_args);
}

Variant GridControl::InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) {
    return Table().InvokeById(*this, p_lDispId, p_eKind, p_args);
}

void GridControl::SetDataSource(std::shared_ptr<Recordset> p_rRecordset) {
    const std::shared_ptr<GridChanges> changes = m_oChanges;
    if (!changes->ModelAboutToBeReset()) {
        return;
    }
    GridChangeBatch batch(changes);
    if (m_rDataSource) {
        m_rDataSource->RemoveObserver(m_oSourceWatch.get());
    }
    m_rDataSource = std::move(p_rRecordset);
    if (m_rDataSource) {
        m_rDataSource->AddObserver(m_oSourceWatch.get());
    }
    m_oSelBookmarks->Clear();
    m_lTopRow = 0;
    NoteCurrent();
    changes->ModelReset();
    batch.End();
}

int32_t GridControl::RowCount() const {
    if (!m_rDataSource || m_rDataSource->State() != adStateOpen) {
        return 0;
    }
    return m_rDataSource->ViewCount();
}

void GridControl::RetrieveFields() {
    if (!m_rDataSource) {
        return;
    }
    GridChangeBatch batch(m_oChanges);
    m_oColumns->Clear();
    const Fields& fields = m_rDataSource->Fields();
    for (int32_t i = 0; i < fields.Count(); ++i) {
        auto column = m_oColumns->Add(i);
        column->SetDataField(fields.Item(i).Name());
        column->SetCaption(fields.Item(i).Name());
    }
    batch.End();
}

int32_t GridControl::Row() const {
    if (RowCount() == 0) {
        return -1;
    }
    const int32_t position = m_rDataSource->AbsolutePosition();
    return position >= 1 ? position - 1 : -1;
}

Variant GridControl::Bookmark() const {
    return Row() < 0 ? Variant::Null() : m_rDataSource->Bookmark();
}

Variant GridControl::BookmarkOfRowId(uint32_t p_lRowId) {
    // The recordset's bookmarks are row ids plus one.
    return Variant(static_cast<double>(p_lRowId) + 1);
}

void GridControl::NoteCurrent() {
    m_lAnnouncedRow = Row();
    m_lAnnouncedRowId = m_lAnnouncedRow < 0 ? -1 : m_rDataSource->ViewRowId(m_lAnnouncedRow);
}

bool GridControl::AnnounceCurrent() {
    const int32_t previousRow = m_lAnnouncedRow;
    const int64_t previousId = m_lAnnouncedRowId;
    NoteCurrent();
    if (m_lAnnouncedRowId == previousId) {
        return true;
    }
    return Changes()->CurrentChanged(previousRow, m_lAnnouncedRow);
}

// A handler may read any field of the row, so a field no column shows still repaints the row.
std::pair<int32_t, int32_t> GridControl::ColumnsShowing(int32_t p_lField) const {
    const std::string& name = m_rDataSource->Fields().Item(p_lField).Name();
    int32_t first = m_oColumns->Count();
    int32_t last = -1;
    for (const auto& column : m_oColumns->ByIndex()) {
        if (EqualsIgnoreCase(column->DataField(), name)) {
            first = std::min(first, column->ColIndex());
            last = std::max(last, column->ColIndex());
        }
    }
    if (last < 0) {
        return {0, m_oColumns->Count() - 1};
    }
    return {first, last};
}

bool GridControl::MoveCurrent(int32_t p_lRow, int32_t p_lCol) {
    const std::shared_ptr<GridChanges> changes = m_oChanges;
    if (p_lRow >= 0) {
        // The recordset tells its other observers too, and they may do anything.
        m_rDataSource->SetAbsolutePosition(p_lRow + 1);
        if (!changes->GridAlive()) {
            return false;
        }
    }
    if (p_lCol == m_lCol) {
        return true;
    }
    m_lCol = p_lCol;
    return changes->CurrentChanged(Row(), Row());
}

bool GridControl::RaiseRowColChange(const Variant& p_vPreviousRow, int32_t p_lPreviousCol) {
    if (Bookmark() == p_vPreviousRow && m_lCol == p_lPreviousCol) {
        return true;
    }
    return m_sinks.Raise([&](GridControlEvents& sink) {
        sink.RowColChange(p_vPreviousRow, ToEventIndex(p_lPreviousCol));
    });
}

bool GridControl::ChangeCurrent(int32_t p_lRow, int32_t p_lCol) {
    const Variant previousRow = Bookmark();
    const int32_t previousCol = m_lCol;
    GridChangeBatch batch(m_oChanges);
    if (!MoveCurrent(p_lRow, p_lCol) || !batch.End()) {
        return false;
    }
    return RaiseRowColChange(previousRow, previousCol);
}

void GridControl::SetCurrentRow(int32_t p_lRow) {
    RequireGridIndex(p_lRow, RowCount(), "Row");
    ChangeCurrent(p_lRow, m_lCol);
}

void GridControl::SetCurrentColumn(int32_t p_lCol) {
    if (p_lCol != -1) {
        RequireGridIndex(p_lCol, m_oColumns->Count(), "Column");
    }
    ChangeCurrent(-1, p_lCol);
}

void GridControl::SetTopRow(int32_t p_lRow) {
    const int32_t row = std::clamp(p_lRow, 0, std::max(RowCount() - 1, 0));
    if (row == m_lTopRow) {
        return;
    }
    m_lTopRow = row;
    Changes()->TopRowChanged();
}

int32_t GridControl::LeftCol() const {
    return m_oSplits->Item(m_oSplits->Count() - 1)->LeftCol();
}

void GridControl::SetLeftCol(int32_t p_lColumn) {
    m_oSplits->Item(m_oSplits->Count() - 1)->SetLeftCol(p_lColumn);
}

void GridControl::SetSelectedColumns(int32_t p_lFirst, int32_t p_lLast) {
    if (p_lFirst == -1 && p_lLast == -1) {
        m_lSelStartCol = m_lSelEndCol = -1;
        return;
    }
    RequireGridIndex(p_lFirst, m_oColumns->Count(), "Column position");
    RequireGridIndex(p_lLast, m_oColumns->Count(), "Column position");
    if (p_lLast < p_lFirst) {
        RaiseInvalidGridValue("Last selected column before the first, at", p_lLast);
    }
    m_lSelStartCol = p_lFirst;
    m_lSelEndCol = p_lLast;
}

void GridControl::SetVisible(bool p_bVisible) {
    if (p_bVisible != m_bVisible) {
        m_bVisible = p_bVisible;
        Changes()->ColumnsChanged();
    }
}

void GridControl::SetScrollBars(int32_t p_lScrollBars) {
    if (p_lScrollBars < gsbNone || p_lScrollBars > gsbAutomatic) {
        RaiseInvalidGridValue("Grid scroll bars", p_lScrollBars);
    }
    if (p_lScrollBars != m_eScrollBars) {
        m_eScrollBars = static_cast<GridScrollBars>(p_lScrollBars);
        Changes()->ColumnsChanged();
    }
}

void GridControl::SetRecordSelectors(bool p_bShow) {
    if (p_bShow != m_bRecordSelectors) {
        m_bRecordSelectors = p_bShow;
        Changes()->ColumnsChanged();
    }
}

void GridControl::SetExtendRightColumn(bool p_bExtend) {
    if (p_bExtend != m_bExtendRightColumn) {
        m_bExtendRightColumn = p_bExtend;
        Changes()->ColumnsChanged();
    }
}

void GridControl::SetAppearance(int32_t p_lAppearance) {
    if (p_lAppearance != gapFlat && p_lAppearance != gap3D) {
        RaiseInvalidGridValue("Appearance", p_lAppearance);
    }
    if (p_lAppearance != m_eAppearance) {
        m_eAppearance = static_cast<GridAppearance>(p_lAppearance);
        Changes()->ColumnsChanged();
    }
}

void GridControl::SetBackColor(int32_t p_lColor) {
    if (p_lColor != m_lBackColor) {
        m_lBackColor = p_lColor;
        Changes()->ColumnsChanged();
    }
}

Variant GridControl::IdProperty(int32_t p_lDispId) const {
    const auto found = m_idProperties.find(p_lDispId);
    return found == m_idProperties.end() ? Variant() : found->second;
}

void GridControl::SetIdProperty(int32_t p_lDispId, const Variant& p_vValue) {
    m_idProperties[p_lDispId] = p_vValue;
    Changes()->ColumnsChanged();
}

void GridControl::SelectByClick(int32_t p_lRow, int32_t p_lPreviousRow, int16_t p_iShift) {
    const Variant bookmark = BookmarkOfRowId(m_rDataSource->ViewRowId(p_lRow));
    if ((p_iShift & gssCtrl) != 0) {
        for (int32_t i = 0; i < m_oSelBookmarks->Count(); ++i) {
            if (m_oSelBookmarks->Item(i) == bookmark) {
                m_oSelBookmarks->Remove(i);
                return;
            }
        }
        m_oSelBookmarks->Add(bookmark);
        return;
    }
    m_oSelBookmarks->Clear();
    if ((p_iShift & gssShift) == 0 || p_lPreviousRow < 0) {
        m_oSelBookmarks->Add(bookmark);
        return;
    }
    const int32_t step = p_lRow >= p_lPreviousRow ? 1 : -1;
    for (int32_t row = p_lPreviousRow; row != p_lRow + step; row += step) {
        m_oSelBookmarks->Add(BookmarkOfRowId(m_rDataSource->ViewRowId(row)));
    }
}

void GridControl::Click(int32_t p_lRow, int32_t p_lCol, int16_t p_iShift) {
    if (!m_bEnabled) {
        return;
    }
    if (p_lRow >= 0 && p_lRow < RowCount()) {
        const int32_t col = p_lCol >= -1 && p_lCol < m_oColumns->Count() ? p_lCol : m_lCol;
        const Variant previousRow = Bookmark();
        const int32_t previousCol = m_lCol;
        GridChangeBatch batch(m_oChanges);
        SelectByClick(p_lRow, Row(), p_iShift);
        if (!MoveCurrent(p_lRow, col) || !batch.End() ||
            !RaiseRowColChange(previousRow, previousCol)) {
            return;
        }
    }
    m_sinks.Raise([](GridControlEvents& sink) { sink.Click(); });
}

void GridControl::DoubleClick() {
    if (m_bEnabled) {
        m_sinks.Raise([](GridControlEvents& sink) { sink.DblClick(); });
    }
}

void GridControl::HeaderClick(int32_t p_lCol) {
    if (!m_bEnabled) {
        return;
    }
    RequireGridIndex(p_lCol, m_oColumns->Count(), "Column");
    const int16_t col = ToEventIndex(p_lCol);
    m_sinks.Raise([col](GridControlEvents& sink) { sink.HeadClick(col); });
}

void GridControl::MouseMove(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) {
    if (m_bEnabled) {
        m_sinks.Raise(
            [=](GridControlEvents& sink) { sink.MouseMove(p_iButton, p_iShift, p_lX, p_lY); });
    }
}

void GridControl::MouseDown(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) {
    if (m_bEnabled) {
        m_sinks.Raise(
            [=](GridControlEvents& sink) { sink.MouseDown(p_iButton, p_iShift, p_lX, p_lY); });
    }
}

void GridControl::MouseUp(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) {
    if (m_bEnabled) {
        m_sinks.Raise(
            [=](GridControlEvents& sink) { sink.MouseUp(p_iButton, p_iShift, p_lX, p_lY); });
    }
}

int16_t GridControl::KeyDown(int16_t p_iKeyCode, int16_t p_iShift) {
    if (!m_bEnabled) {
        return p_iKeyCode;
    }
    int16_t keyCode = p_iKeyCode;
    m_sinks.Raise([&](GridControlEvents& sink) { sink.KeyDown(keyCode, p_iShift); });
    return keyCode;
}

bool GridControl::FetchCellStyle(int32_t p_lSplit, const Variant& p_vBookmark, int32_t p_lCol,
                                 std::string_view p_sText, GridStyle& p_oStyle) {
    if (m_sinks.Empty()) {
        return true;
    }
    const int16_t split = ToEventIndex(p_lSplit);
    const int16_t colIndex = ToEventIndex(p_lCol);
    return m_sinks.Raise([&](GridControlEvents& sink) {
        sink.FetchCellStyle(gcNormalCell, split, p_vBookmark, colIndex, p_sText, p_oStyle);
    });
}

bool GridControl::MoveColumns(int32_t p_lFirst, int32_t p_lLast, int32_t p_lPosition) {
    if (!m_bEnabled || !m_bAllowColMove) {
        return false;
    }
    const int32_t count = m_oColumns->Count();
    RequireGridIndex(p_lPosition, count + 1, "Column position");
    SetSelectedColumns(p_lFirst, p_lLast);
    // Held by identity: a handler may reorder, add or remove columns before the move.
    const std::shared_ptr<GridControlColumns> columns = m_oColumns;
    const auto& order = columns->DisplayOrder();
    const std::vector<std::shared_ptr<GridControlColumn>> block(order.begin() + p_lFirst,
                                                                order.begin() + p_lLast + 1);
    const std::shared_ptr<GridControlColumn> target =
        p_lPosition < count ? order[static_cast<size_t>(p_lPosition)] : nullptr;
    bool cancel = false;
    const int16_t position = ToEventIndex(p_lPosition);
    if (!m_sinks.Raise([&](GridControlEvents& sink) { sink.ColMove(position, cancel); }) ||
        cancel) {
        return false;
    }
    columns->MoveBefore(block, target.get());
    return true;
}

}  // namespace qv
