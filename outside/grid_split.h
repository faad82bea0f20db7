// One vertical split of the grid control: a pane that shows the grid's columns with its own
// per-column visibility and width, scroll bars, sizing and left column.
//
// What a split shows (ShownColumns): the columns visible in it, in display order, starting at its
// left column; a split sized by number of columns (SizeMode 2) shows at most Size of them. With
// the layout the viewer loads (key columns visible only in split 0, the rest only in split 1,
// split 0 sized to the key columns), split 0 is the frozen part and split 1 scrolls.
//
// LeftCol is a column index (Columns collection), as callers read and restore it; the split
// remembers the column itself, so inserting columns before it does not scroll the split. An
// unscrolled split, or one whose left column was removed, starts at display position 0 and
// reports the column there.
//
// A split removed from its grid (Index -1), or outliving it, shows nothing and refuses the
// per-column members with error 9. Changes of its settings and of its styles tell the grid's views
// (ColumnsChanged).
#pragma once

#include "outside/dispatch.h"
#include "outside/grid_style.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

class DispatchTable;
class GridControlColumn;
class GridControlColumns;
class GridSplitColumns;

enum GridScrollBars : int16_t {
    gsbNone = 0,
    gsbHorizontal = 1,
    gsbVertical = 2,
    gsbBoth = 3,
    gsbAutomatic = 4
};

enum GridSizeMode : int16_t { gsmScalable = 0, gsmExact = 1, gsmNumberOfColumns = 2 };

class GridSplit : public DispatchObject, public std::enable_shared_from_this<GridSplit> {
  public:
    explicit GridSplit(std::weak_ptr<GridControlColumns> p_oColumns);

    std::string_view DispatchClassName() const override { return "Split"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

    int32_t Index() const { return m_lIndex; }
    // The grid's columns, or nullptr once the grid is gone.
    std::shared_ptr<GridControlColumns> GridColumns() const { return m_oColumns.lock(); }
    // This split's view of the grid's columns (Splits(i).Columns(j)).
    std::shared_ptr<GridSplitColumns> Columns();

    // Values outside the enumerations are error 5.
    GridScrollBars ScrollBars() const { return m_eScrollBars; }
    void SetScrollBars(int32_t p_lScrollBars);
    GridSizeMode SizeMode() const { return m_eSizeMode; }
    void SetSizeMode(int32_t p_lSizeMode);
    // Columns for SizeMode 2, twips for SizeMode 1, a share of the free width for SizeMode 0.
    int32_t Size() const { return m_lSize; }
    void SetSize(int32_t p_lSize);

    int32_t LeftCol() const;
    // A column index the grid lacks is error 9.
    void SetLeftCol(int32_t p_lColumn);

    const std::shared_ptr<GridStyle>& Style(GridStyleKind p_eKind) const {
        return m_styles[static_cast<size_t>(p_eKind)];
    }

    bool ColumnVisible(int32_t p_lColumn) const;
    void SetColumnVisible(int32_t p_lColumn, bool p_bVisible);
    int32_t ColumnWidth(int32_t p_lColumn) const;
    void SetColumnWidth(int32_t p_lColumn, int32_t p_lWidth);

    std::vector<std::shared_ptr<GridControlColumn>> ShownColumns() const;

  private:
    friend class GridControlSplits;

    static const DispatchTable& Table();
    void Changed() const;
    GridControlColumn& ColumnAt(int32_t p_lColumn) const;
    int32_t FirstDisplayPosition(const GridControlColumns& p_oColumns) const;

    std::weak_ptr<GridControlColumns> m_oColumns;
    int32_t m_lIndex = -1;
    GridScrollBars m_eScrollBars = gsbAutomatic;
    GridSizeMode m_eSizeMode = gsmScalable;
    int32_t m_lSize = 0;
    std::weak_ptr<GridControlColumn> m_oLeftCol;
    GridStyleSet m_styles = MakeGridStyleSet();
};

}  // namespace qv
