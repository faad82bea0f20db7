#include "outside/grid_split.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/grid_control_columns.h"
#include "outside/grid_control_split_columns.h"
#include "outside/grid_control_support.h"

#include <string>

namespace qv {

namespace {

Variant OptionalColor(std::optional<int32_t> p_lColor) {
    return p_lColor ? Variant(*p_lColor) : Variant();
}

std::optional<int32_t> ColorOf(const Variant& p_vValue) {
    if (p_vValue.IsEmpty()) {
        return std::nullopt;
    }
    return p_vValue.ToLong();
}

}  // namespace

GridSplit::GridSplit(std::weak_ptr<GridControlColumns> p_oColumns)
    : m_oColumns(std::move(p_oColumns)) {
    if (const auto columns = m_oColumns.lock()) {
        for (const auto& style : m_styles) {
            style->Hook().Attach(columns->Hook().Changes());
        }
    }
}

void GridSplit::Changed() const {
    if (const auto columns = m_oColumns.lock()) {
        columns->Hook().ColumnsChanged();
    }
}

const DispatchTable& GridSplit::Table() {
    const auto fore = [](GridStyleKind kind) {
        return [kind](GridSplit& self) { return OptionalColor(self.Style(kind)->ForeColor()); };
    };
    const auto back = [](GridStyleKind kind) {
        return [kind](GridSplit& self) { return OptionalColor(self.Style(kind)->BackColor()); };
    };
    const auto setFore = [](GridStyleKind kind) {
        return [kind](GridSplit& self, const Variant& value) {
            self.Style(kind)->SetForeColor(ColorOf(value));
        };
    };
    const auto setBack = [](GridStyleKind kind) {
        return [kind](GridSplit& self, const Variant& value) {
            self.Style(kind)->SetBackColor(ColorOf(value));
        };
    };
    static const DispatchTable table =
        DispatchTable::Builder<GridSplit>()
            .IndexedGet("Columns", 0, 1,
                        [](GridSplit& self, DispatchArgs args) {
                            auto columns = self.Columns();
                            if (args.empty()) {
                                return ObjectVariant(columns);
                            }
                            return ObjectVariant(columns->Item(args[0]));
                        })
            .Get("Index", [](GridSplit& self) { return Variant(self.Index()); })
            .Property(
                "ScrollBars",
                [](GridSplit& self) { return Variant(static_cast<int16_t>(self.ScrollBars())); },
                [](GridSplit& self, const Variant& value) { self.SetScrollBars(value.ToLong()); })
            .Property(
                "SizeMode",
                [](GridSplit& self) { return Variant(static_cast<int16_t>(self.SizeMode())); },
                [](GridSplit& self, const Variant& value) { self.SetSizeMode(value.ToLong()); })
            .Property(
                "Size", [](GridSplit& self) { return Variant(self.Size()); },
                [](GridSplit& self, const Variant& value) { self.SetSize(value.ToLong()); })
            .Property(
                "LeftCol", [](GridSplit& self) { return Variant(self.LeftCol()); },
                [](GridSplit& self, const Variant& value) { self.SetLeftCol(value.ToLong()); })
            .Property("ForeColor", fore(GridStyleKind::Normal), setFore(GridStyleKind::Normal))
            .Property("BackColor", back(GridStyleKind::Normal), setBack(GridStyleKind::Normal))
            .Property("InactiveForeColor", fore(GridStyleKind::Inactive),
                      setFore(GridStyleKind::Inactive))
            .Property("InactiveBackColor", back(GridStyleKind::Inactive),
                      setBack(GridStyleKind::Inactive))
            .Build();
    return table;
}

Variant GridSplit::Invoke(std::string_view p_sName, InvokeKind p_eKind, std::span<Variant> p_args) {
    return Table().Invoke(*this, p_sName, p_eKind, p_args);
}

std::shared_ptr<GridSplitColumns> GridSplit::Columns() {
    return std::make_shared<GridSplitColumns>(shared_from_this());
}

void GridSplit::SetScrollBars(int32_t p_lScrollBars) {
    if (p_lScrollBars < gsbNone || p_lScrollBars > gsbAutomatic) {
        RaiseInvalidGridValue("Split scroll bars", p_lScrollBars);
    }
    if (p_lScrollBars != m_eScrollBars) {
        m_eScrollBars = static_cast<GridScrollBars>(p_lScrollBars);
        Changed();
    }
}

void GridSplit::SetSizeMode(int32_t p_lSizeMode) {
    if (p_lSizeMode < gsmScalable || p_lSizeMode > gsmNumberOfColumns) {
        RaiseInvalidGridValue("Split size mode", p_lSizeMode);
    }
    if (p_lSizeMode != m_eSizeMode) {
        m_eSizeMode = static_cast<GridSizeMode>(p_lSizeMode);
        Changed();
    }
}

void GridSplit::SetSize(int32_t p_lSize) {
    if (p_lSize != m_lSize) {
        m_lSize = p_lSize;
        Changed();
    }
}

int32_t GridSplit::FirstDisplayPosition(const GridControlColumns& p_oColumns) const {
    auto left = m_oLeftCol.lock();
    if (!left || left->ColIndex() < 0 || left->ColIndex() >= p_oColumns.Count() ||
        p_oColumns.Item(left->ColIndex()) != left) {
        return 0;
    }
    return left->Order();
}

int32_t GridSplit::LeftCol() const {
    auto columns = m_oColumns.lock();
    if (!columns || columns->Count() == 0) {
        return 0;
    }
    return columns->DisplayOrder()[static_cast<size_t>(FirstDisplayPosition(*columns))]->ColIndex();
}

void GridSplit::SetLeftCol(int32_t p_lColumn) {
    auto columns = m_oColumns.lock();
    RequireGridIndex(p_lColumn, columns ? columns->Count() : 0, "Column");
    const std::shared_ptr<GridControlColumn>& column = columns->Item(p_lColumn);
    if (m_oLeftCol.lock() != column) {
        m_oLeftCol = column;
        columns->Hook().ColumnsChanged();
    }
}

GridControlColumn& GridSplit::ColumnAt(int32_t p_lColumn) const {
    auto columns = m_oColumns.lock();
    RequireGridIndex(p_lColumn, columns ? columns->Count() : 0, "Column");
    RequireGridIndex(m_lIndex, columns->SplitCount(), "Split");
    return *columns->Item(p_lColumn);
}

bool GridSplit::ColumnVisible(int32_t p_lColumn) const {
    return ColumnAt(p_lColumn).SplitVisible(m_lIndex);
}

void GridSplit::SetColumnVisible(int32_t p_lColumn, bool p_bVisible) {
    ColumnAt(p_lColumn).SetSplitVisible(m_lIndex, p_bVisible);
}

int32_t GridSplit::ColumnWidth(int32_t p_lColumn) const {
    return ColumnAt(p_lColumn).SplitWidth(m_lIndex);
}

void GridSplit::SetColumnWidth(int32_t p_lColumn, int32_t p_lWidth) {
    ColumnAt(p_lColumn).SetSplitWidth(m_lIndex, p_lWidth);
}

std::vector<std::shared_ptr<GridControlColumn>> GridSplit::ShownColumns() const {
    std::vector<std::shared_ptr<GridControlColumn>> shown;
    auto columns = m_oColumns.lock();
    if (!columns || m_lIndex < 0 || m_lIndex >= columns->SplitCount()) {
        return shown;
    }
    const auto& order = columns->DisplayOrder();
    const bool limited = m_eSizeMode == gsmNumberOfColumns;
    for (size_t i = static_cast<size_t>(FirstDisplayPosition(*columns)); i < order.size(); ++i) {
        if (limited && static_cast<int32_t>(shown.size()) >= m_lSize) {
            break;
        }
        if (order[i]->SplitVisible(m_lIndex)) {
            shown.push_back(order[i]);
        }
    }
    return shown;
}

}  // namespace qv
