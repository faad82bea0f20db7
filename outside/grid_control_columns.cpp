#include "outside/grid_control_columns.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/grid_control_support.h"
#include "outside/text_util.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace qv {

namespace {

const DispatchTable& ColumnsTable() {
    static const DispatchTable table =
        DispatchTable::Builder<GridControlColumns>()
            .Get("Count", [](GridControlColumns& self) { return Variant(self.Count()); })
            .IndexedGet("Item", 1, 1,
                        [](GridControlColumns& self, DispatchArgs args) {
                            return ObjectVariant(self.Item(args[0]));
                        })
            .Method("Add", 1, 1,
                    [](GridControlColumns& self, DispatchArgs args) {
                        return ObjectVariant(self.Add(args[0].ToLong()));
                    })
            .Method("Remove", 1, 1,
                    [](GridControlColumns& self, DispatchArgs args) {
                        self.Remove(args[0].ToLong());
                        return Variant();
                    })
            .Build();
    return table;
}

}  // namespace

GridControlColumns::~GridControlColumns() {
    DetachAll();
}

Variant GridControlColumns::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                   std::span<Variant> p_args) {
    return ColumnsTable().Invoke(*this, p_sName, p_eKind, p_args);
}

const std::shared_ptr<GridControlColumn>& GridControlColumns::Item(int32_t p_lIndex) const {
    RequireGridIndex(p_lIndex, Count(), "Column");
    return m_byIndex[static_cast<size_t>(p_lIndex)];
}

const std::shared_ptr<GridControlColumn>& GridControlColumns::Item(
    std::string_view p_sDataField) const {
    const int32_t index = IndexOfField(p_sDataField);
    if (index < 0) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange,
                          "no column is bound to \"" + std::string(p_sDataField) + "\"");
    }
    return m_byIndex[static_cast<size_t>(index)];
}

const std::shared_ptr<GridControlColumn>& GridControlColumns::Item(const Variant& p_vIndex) const {
    if (p_vIndex.IsString()) {
        return Item(std::string_view(p_vIndex.ToString()));
    }
    return Item(p_vIndex.ToLong());
}

int32_t GridControlColumns::IndexOfField(std::string_view p_sDataField) const {
    if (p_sDataField.empty()) {
        return -1;
    }
    for (size_t i = 0; i < m_byIndex.size(); ++i) {
        if (EqualsIgnoreCase(m_byIndex[i]->DataField(), p_sDataField)) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

std::shared_ptr<GridControlColumn> GridControlColumns::Add(int32_t p_lIndex) {
    RequireGridIndex(p_lIndex, Count() + 1, "Column");
    auto column = std::make_shared<GridControlColumn>(m_lSplitCount);
    column->m_pOwner = this;
    m_byIndex.insert(m_byIndex.begin() + p_lIndex, column);
    m_byOrder.insert(m_byOrder.begin() + p_lIndex, column);
    Renumber();
    m_hook.ColumnsChanged();
    return column;
}

void GridControlColumns::Remove(int32_t p_lIndex) {
    RequireGridIndex(p_lIndex, Count(), "Column");
    std::shared_ptr<GridControlColumn> column = m_byIndex[static_cast<size_t>(p_lIndex)];
    m_byIndex.erase(m_byIndex.begin() + p_lIndex);
    std::erase(m_byOrder, column);
    column->m_pOwner = nullptr;
    column->m_lIndex = -1;
    column->m_lOrder = -1;
    Renumber();
    m_hook.ColumnsChanged();
}

void GridControlColumns::Clear() {
    DetachAll();
    m_hook.ColumnsChanged();
}

void GridControlColumns::DetachAll() {
    for (const auto& column : m_byIndex) {
        column->m_pOwner = nullptr;
        column->m_lIndex = -1;
        column->m_lOrder = -1;
    }
    m_byIndex.clear();
    m_byOrder.clear();
}

void GridControlColumns::SetOrder(GridControlColumn& p_oColumn, int32_t p_lOrder) {
    if (p_oColumn.m_pOwner != this) {
        return;
    }
    const int32_t order = std::clamp(p_lOrder, 0, Count() - 1);
    if (order == p_oColumn.m_lOrder) {
        return;
    }
    auto found = m_byOrder.begin() + p_oColumn.m_lOrder;
    std::shared_ptr<GridControlColumn> column = *found;
    m_byOrder.erase(found);
    m_byOrder.insert(m_byOrder.begin() + order, std::move(column));
    Renumber();
    m_hook.ColumnsChanged();
}

void GridControlColumns::MoveBefore(const std::vector<std::shared_ptr<GridControlColumn>>& p_block,
                                    const GridControlColumn* p_oTarget) {
    const auto isTarget = [&](const auto& column) { return column.get() == p_oTarget; };
    if (p_oTarget != nullptr && std::any_of(p_block.begin(), p_block.end(), isTarget)) {
        return;
    }
    std::vector<std::shared_ptr<GridControlColumn>> block;
    std::copy_if(p_block.begin(), p_block.end(), std::back_inserter(block),
                 [this](const auto& column) { return column && column->m_pOwner == this; });
    std::sort(block.begin(), block.end(),
              [](const auto& left, const auto& right) { return left->m_lOrder < right->m_lOrder; });
    std::erase_if(m_byOrder, [&](const auto& column) {
        return std::find(block.begin(), block.end(), column) != block.end();
    });
    auto position = m_byOrder.end();
    if (p_oTarget != nullptr && p_oTarget->m_pOwner == this) {
        position = std::find_if(m_byOrder.begin(), m_byOrder.end(), isTarget);
    }
    m_byOrder.insert(position, block.begin(), block.end());
    Renumber();
    m_hook.ColumnsChanged();
}

void GridControlColumns::InsertSplit(int32_t p_lSplit, int32_t p_lCopyFrom) {
    RequireGridIndex(p_lSplit, m_lSplitCount + 1, "Split");
    for (const auto& column : m_byIndex) {
        GridSplitColumnState state{true, GridControlColumn::kDefaultWidth};
        if (p_lCopyFrom >= 0 && p_lCopyFrom < m_lSplitCount) {
            state = column->m_splits[static_cast<size_t>(p_lCopyFrom)];
        }
        column->m_splits.insert(column->m_splits.begin() + p_lSplit, state);
    }
    ++m_lSplitCount;
}

void GridControlColumns::RemoveSplit(int32_t p_lSplit) {
    RequireGridIndex(p_lSplit, m_lSplitCount, "Split");
    for (const auto& column : m_byIndex) {
        column->m_splits.erase(column->m_splits.begin() + p_lSplit);
    }
    --m_lSplitCount;
}

void GridControlColumns::Renumber() {
    for (size_t i = 0; i < m_byIndex.size(); ++i) {
        m_byIndex[i]->m_lIndex = static_cast<int32_t>(i);
        m_byOrder[i]->m_lOrder = static_cast<int32_t>(i);
    }
}

}  // namespace qv
