// A split's view of the grid's columns, as Splits(i).Columns reaches them.
//
// GridSplitColumns counts, finds, adds and removes the grid's columns (the same Columns
// collection); the GridSplitColumn it hands out answers Visible (22) and Width (23) for its split
// and passes every other member to the grid column.
#pragma once

#include "outside/dispatch.h"

#include <cstdint>
#include <memory>

namespace qv {

class GridControlColumn;
class GridControlColumns;
class GridSplit;

class GridSplitColumn : public DispatchObject {
  public:
    GridSplitColumn(std::shared_ptr<GridSplit> p_oSplit,
                    std::shared_ptr<GridControlColumn> p_oColumn);

    std::string_view DispatchClassName() const override { return "Column"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;

    const std::shared_ptr<GridControlColumn>& Column() const { return m_oColumn; }
    bool Visible() const;
    void SetVisible(bool p_bVisible);
    int32_t Width() const;
    void SetWidth(int32_t p_lWidth);

  private:
    // Visible and Width of this split; nothing for other members.
    bool TryInvokeOwn(bool p_bWidth, InvokeKind p_eKind, std::span<Variant> p_args,
                      Variant& p_vResult);

    std::shared_ptr<GridSplit> m_oSplit;
    std::shared_ptr<GridControlColumn> m_oColumn;
};

class GridSplitColumns : public DispatchObject {
  public:
    explicit GridSplitColumns(std::shared_ptr<GridSplit> p_oSplit);

    std::string_view DispatchClassName() const override { return "Columns"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

    int32_t Count() const;
    // A number is an index, text a bound field (error 9 when the grid lacks it).
    std::shared_ptr<GridSplitColumn> Item(const Variant& p_vIndex) const;
    std::shared_ptr<GridSplitColumn> Add(int32_t p_lIndex);
    void Remove(int32_t p_lIndex);

  private:
    // The grid's columns; error 91 once the grid is gone.
    std::shared_ptr<GridControlColumns> Grid() const;

    std::shared_ptr<GridSplit> m_oSplit;
};

}  // namespace qv
