#include "columns/grid_columns.h"

#include "outside/automation_error.h"

#include <algorithm>

namespace qv {

std::shared_ptr<GridColumn> GridColumns::Add(const std::string& p_sSQLColumn, ColumnState p_lState,
                                             const std::string& p_sCaption, int32_t p_lParameterId,
                                             int32_t p_lSequence, int32_t p_lTableMask,
                                             int32_t p_lGridColumnNumber,
                                             const std::string& p_sColumnFormat) {
    std::shared_ptr<GridColumn> column = GetColumnByFieldName(p_sSQLColumn);
    if (!column) {
        column = std::make_shared<GridColumn>();
        column->SetSQLColumn(p_sSQLColumn);
        m_columns.push_back(column);
        m_keys.push_back(p_sSQLColumn);
        if (!p_sSQLColumn.empty()) {
            m_byKey.emplace(p_sSQLColumn, column);
        }
    }
    if (p_lState != 0) {
        column->SetGridColumn_State_Setting(p_lState);
    }
    if (!p_sCaption.empty()) {
        column->SetCaption(p_sCaption);
    }
    if (!p_sColumnFormat.empty()) {
        column->SetColumnFormat(p_sColumnFormat);
    }
    column->SetParameterId(p_lParameterId);
    column->SetSequence(p_lSequence);
    column->SetTableMask(p_lTableMask);
    column->SetTrueGridColumnNumber(p_lGridColumnNumber);
    return column;
}

size_t GridColumns::PositionOf(const Variant& p_vIndex) const {
    if (p_vIndex.IsString()) {
        const std::string key = p_vIndex.ToString();
        const auto found = key.empty() ? m_byKey.end() : m_byKey.find(key);
        if (found == m_byKey.end()) {
            RaiseRuntimeError(errors::kInvalidProcedureCall, "no column \"" + key + "\"");
        }
        const auto position = std::find(m_columns.begin(), m_columns.end(), found->second);
        return static_cast<size_t>(position - m_columns.begin());
    }
    const int32_t position = p_vIndex.ToLong();
    if (position < 1 || position > Count()) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange,
                          "no column at position " + std::to_string(position));
    }
    return static_cast<size_t>(position - 1);
}

std::shared_ptr<GridColumn> GridColumns::Item(const Variant& p_vIndex) const {
    return m_columns[PositionOf(p_vIndex)];
}

void GridColumns::Remove(const Variant& p_vIndex) {
    const size_t position = PositionOf(p_vIndex);
    if (!m_keys[position].empty()) {
        m_byKey.erase(m_keys[position]);
    }
    m_columns.erase(m_columns.begin() + static_cast<ptrdiff_t>(position));
    m_keys.erase(m_keys.begin() + static_cast<ptrdiff_t>(position));
}

void GridColumns::Clear() {
    m_columns.clear();
    m_keys.clear();
    m_byKey.clear();
}

std::shared_ptr<GridColumn> GridColumns::GetColumnByGridPosition(int32_t p_lPosition) const {
    for (const auto& column : m_columns) {
        if (column->TrueGridColumnNumber() == p_lPosition) {
            return column;
        }
    }
    return nullptr;
}

std::shared_ptr<GridColumn> GridColumns::GetColumnByFieldName(std::string_view p_sFieldName) const {
    if (p_sFieldName.empty()) {
        return nullptr;
    }
    const auto found = m_byKey.find(p_sFieldName);
    return found == m_byKey.end() ? nullptr : found->second;
}

int32_t GridColumns::CountInState(ColumnState p_eState) const {
    return static_cast<int32_t>(std::count_if(
        m_columns.begin(), m_columns.end(),
        [p_eState](const auto& column) { return column->GridColumn_State_Setting() == p_eState; }));
}

Variant GridColumns::PertinantColumns() const {
    const int32_t count = NumAlwaysVisibleCols() + NumSystemCols() + NumVisibleCols();
    if (count == 0) {
        return Variant();
    }
    VariantArray fields = VariantArray::Vector(0, count - 1);
    int32_t next = 0;
    for (const auto& column : m_columns) {
        const ColumnState state = column->GridColumn_State_Setting();
        if (state == csSystem || state == csVisible || state == csAlwaysVisible) {
            fields.At(next++) = column->SQLColumn();
        }
    }
    return fields;
}

std::vector<LayoutColumn> GridColumns::LayoutColumns() const {
    std::vector<LayoutColumn> columns;
    columns.reserve(m_columns.size());
    for (const auto& column : m_columns) {
        columns.push_back({column->ParameterId(),
                           static_cast<int32_t>(column->GridColumn_State_Setting()),
                           column->SQLColumn(), column->Caption(), column->TableMask(),
                           column->Sequence(), column->ColumnFormat()});
    }
    return columns;
}

Variant GridColumns::ColumnInfo() const {
    return layout_codec::ColumnTableToVariant(LayoutColumns());
}

int16_t GridColumns::ColsLeftOfSplit() const {
    return static_cast<int16_t>(
        std::count_if(m_columns.begin(), m_columns.end(),
                      [](const auto& column) { return column->SplitNumber() == 0; }));
}

void GridColumns::Move(int32_t p_lStartCol, int32_t p_lEndCol, int32_t p_lNewPosition) {
    if (p_lEndCol < p_lStartCol) {
        return;
    }
    const std::shared_ptr<GridColumn> target = GetColumnByGridPosition(p_lNewPosition);
    // 64-bit arithmetic: the positions come from the grid and the sequences from a layout
    // description, and neither is range-checked.
    const int64_t start = p_lStartCol;
    const int64_t end = p_lEndCol;
    const int64_t blockSize = end - start + 1;
    const int64_t to = target ? target->Sequence() : Count();
    const bool ontoBlock = to >= start + 1 && to <= end + 1;
    if (ontoBlock) {
        return;
    }
    const bool movingLeft = start >= to;
    for (const auto& column : m_columns) {
        const int64_t sequence = column->Sequence();
        int64_t moved = sequence;
        const bool inBlock = sequence >= start + 1 && sequence <= end + 1;
        if (movingLeft) {
            if (inBlock) {
                moved = to + (sequence - start - 1);
            } else if (sequence >= to && sequence <= start) {
                moved = sequence + blockSize;
            }
        } else {
            if (inBlock) {
                moved = sequence + (to - end - 2);
            } else if (sequence >= end + 2 && sequence <= to - 1) {
                moved = sequence - blockSize;
            }
        }
        column->SetSequence(static_cast<int32_t>(moved));
    }
}

}  // namespace qv
