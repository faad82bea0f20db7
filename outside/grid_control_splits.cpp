#include "outside/grid_control_splits.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/grid_control_columns.h"
#include "outside/grid_control_support.h"

namespace qv {

namespace {

const DispatchTable& SplitsTable() {
    static const DispatchTable table =
        DispatchTable::Builder<GridControlSplits>()
            .Get("Count", [](GridControlSplits& self) { return Variant(self.Count()); })
            .IndexedGet("Item", 1, 1,
                        [](GridControlSplits& self, DispatchArgs args) {
                            return ObjectVariant(self.Item(args[0].ToLong()));
                        })
            .Method("Add", 0, 1,
                    [](GridControlSplits& self, DispatchArgs args) {
                        if (args.empty() || args[0].IsMissing()) {
                            return ObjectVariant(self.Add());
                        }
                        return ObjectVariant(self.Add(args[0].ToLong()));
                    })
            .Method("Remove", 1, 1,
                    [](GridControlSplits& self, DispatchArgs args) {
                        self.Remove(args[0].ToLong());
                        return Variant();
                    })
            .Build();
    return table;
}

}  // namespace

GridControlSplits::GridControlSplits(std::shared_ptr<GridControlColumns> p_oColumns)
    : m_oColumns(std::move(p_oColumns)) {
    m_splits.push_back(std::make_shared<GridSplit>(m_oColumns));
    Renumber();
}

GridControlSplits::~GridControlSplits() {
    for (const auto& split : m_splits) {
        split->m_lIndex = -1;
    }
}

Variant GridControlSplits::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                  std::span<Variant> p_args) {
    return SplitsTable().Invoke(*this, p_sName, p_eKind, p_args);
}

const std::shared_ptr<GridSplit>& GridControlSplits::Item(int32_t p_lIndex) const {
    RequireGridIndex(p_lIndex, Count(), "Split");
    return m_splits[static_cast<size_t>(p_lIndex)];
}

std::shared_ptr<GridSplit> GridControlSplits::Add(int32_t p_lIndex) {
    RequireGridIndex(p_lIndex, Count() + 1, "Split");
    m_oColumns->InsertSplit(p_lIndex, p_lIndex > 0 ? p_lIndex - 1 : 0);
    auto split = std::make_shared<GridSplit>(m_oColumns);
    m_splits.insert(m_splits.begin() + p_lIndex, split);
    Renumber();
    m_oColumns->Hook().ColumnsChanged();
    return split;
}

void GridControlSplits::Remove(int32_t p_lIndex) {
    RequireGridIndex(p_lIndex, Count(), "Split");
    if (Count() == 1) {
        RaiseRuntimeError(errors::kInvalidProcedureCall, "a grid keeps at least one split");
    }
    m_oColumns->RemoveSplit(p_lIndex);
    m_splits[static_cast<size_t>(p_lIndex)]->m_lIndex = -1;
    m_splits.erase(m_splits.begin() + p_lIndex);
    Renumber();
    m_oColumns->Hook().ColumnsChanged();
}

void GridControlSplits::Renumber() {
    for (size_t i = 0; i < m_splits.size(); ++i) {
        m_splits[i]->m_lIndex = static_cast<int32_t>(i);
    }
}

}  // namespace qv
