#include "outside/grid_control_split_columns.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/grid_control_columns.h"
#include "outside/grid_control_support.h"
#include "outside/grid_split.h"
#include "outside/text_util.h"

namespace qv {

namespace {

constexpr int32_t kVisibleId = 22;
constexpr int32_t kWidthId = 23;

const DispatchTable& SplitColumnsTable() {
    static const DispatchTable table =
        DispatchTable::Builder<GridSplitColumns>()
            .Get("Count", [](GridSplitColumns& self) { return Variant(self.Count()); })
            .IndexedGet("Item", 1, 1,
                        [](GridSplitColumns& self, DispatchArgs args) {
                            return ObjectVariant(self.Item(args[0]));
                        })
            .Method("Add", 1, 1,
                    [](GridSplitColumns& self, DispatchArgs args) {
                        return ObjectVariant(self.Add(args[0].ToLong()));
                    })
            .Method("Remove", 1, 1,
                    [](GridSplitColumns& self, DispatchArgs args) {
                        self.Remove(args[0].ToLong());
                        return Variant();
                    })
            .Build();
    return table;
}

}  // namespace

GridSplitColumn::GridSplitColumn(std::shared_ptr<GridSplit> p_oSplit,
                                 std::shared_ptr<GridControlColumn> p_oColumn)
    : m_oSplit(std::move(p_oSplit)), m_oColumn(std::move(p_oColumn)) {}

bool GridSplitColumn::Visible() const {
    return m_oColumn->SplitVisible(m_oSplit->Index());
}

void GridSplitColumn::SetVisible(bool p_bVisible) {
    m_oColumn->SetSplitVisible(m_oSplit->Index(), p_bVisible);
}

int32_t GridSplitColumn::Width() const {
    return m_oColumn->SplitWidth(m_oSplit->Index());
}

void GridSplitColumn::SetWidth(int32_t p_lWidth) {
    m_oColumn->SetSplitWidth(m_oSplit->Index(), p_lWidth);
}

bool GridSplitColumn::TryInvokeOwn(bool p_bWidth, InvokeKind p_eKind, std::span<Variant> p_args,
                                   Variant& p_vResult) {
    if ((p_eKind == InvokeKind::PropertyGet || p_eKind == InvokeKind::Method) && p_args.empty()) {
        p_vResult = p_bWidth ? Variant(Width()) : Variant(Visible());
        return true;
    }
    if (p_eKind == InvokeKind::PropertyLet && p_args.size() == 1) {
        if (p_bWidth) {
            SetWidth(p_args[0].ToLong());
        } else {
            SetVisible(p_args[0].ToBool());
        }
        return true;
    }
    return false;
}

Variant GridSplitColumn::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                std::span<Variant> p_args) {
    const bool visible = EqualsIgnoreCase(p_sName, "Visible");
    const bool width = EqualsIgnoreCase(p_sName, "Width");
    Variant result;
    if ((visible || width) && TryInvokeOwn(width, p_eKind, p_args, result)) {
        return result;
    }
    return m_oColumn->Invoke(p_sName, p_eKind, p_args);
}

Variant GridSplitColumn::InvokeById(int32_t p_lDispId, InvokeKind p_eKind,
                                    std::span<Variant> p_args) {
    Variant result;
    if ((p_lDispId == kVisibleId || p_lDispId == kWidthId) &&
        TryInvokeOwn(p_lDispId == kWidthId, p_eKind, p_args, result)) {
        return result;
    }
    return m_oColumn->InvokeById(p_lDispId, p_eKind, p_args);
}

GridSplitColumns::GridSplitColumns(std::shared_ptr<GridSplit> p_oSplit)
    : m_oSplit(std::move(p_oSplit)) {}

Variant GridSplitColumns::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                 std::span<Variant> p_args) {
    return SplitColumnsTable().Invoke(*this, p_sName, p_eKind, p_args);
}

std::shared_ptr<GridControlColumns> GridSplitColumns::Grid() const {
    auto columns = m_oSplit->GridColumns();
    if (!columns) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the split's grid is gone");
    }
    return columns;
}

int32_t GridSplitColumns::Count() const {
    auto columns = m_oSplit->GridColumns();
    return columns ? columns->Count() : 0;
}

std::shared_ptr<GridSplitColumn> GridSplitColumns::Item(const Variant& p_vIndex) const {
    return std::make_shared<GridSplitColumn>(m_oSplit, Grid()->Item(p_vIndex));
}

std::shared_ptr<GridSplitColumn> GridSplitColumns::Add(int32_t p_lIndex) {
    return std::make_shared<GridSplitColumn>(m_oSplit, Grid()->Add(p_lIndex));
}

void GridSplitColumns::Remove(int32_t p_lIndex) {
    Grid()->Remove(p_lIndex);
}

}  // namespace qv
