// The events of the grid control and the list of sinks they are raised to.
//
// A sink derives from GridControlEvents and overrides the events it handles; the others do
// nothing. The numbers are the events' places in the control's event interface, by which the
// viewer's handlers know them.
//
// GridEventSinks is the observer list (sink_list.h): sinks may add, remove or destroy sinks or
// the grid itself while it raises. Raise then returns false, and the grid must touch none of its
// members: copy what is needed before raising.
//
//     class RedNegatives : public GridControlEvents {
//         void FetchCellStyle(int16_t, int16_t, const Variant&, int16_t, std::string_view text,
//                             GridStyle& style) override {
//             if (IsNumeric(Variant(text)) && text.find('-') != text.npos) {
//                 style.SetForeColor(grid_colors::kRed);
//             }
//         }
//     };
#pragma once

#include "outside/sink_list.h"
#include "outside/variant.h"

#include <cstdint>
#include <string_view>

namespace qv {

class GridStyle;

enum GridEventId : int32_t {
    geClick = 0,
    geDblClick = 10,
    geHeadClick = 20,
    geRowColChange = 25,
    geMouseMove = 30,
    geMouseDown = 31,
    geMouseUp = 32,
    geKeyDown = 33,
    geFetchCellStyle = 59,
    geColMove = 63,
};

// Mouse buttons and shift states as the events carry them.
enum GridMouseButton : int16_t { gmbLeft = 1, gmbRight = 2, gmbMiddle = 4 };
enum GridShiftState : int16_t { gssShift = 1, gssCtrl = 2, gssAlt = 4 };

class GridControlEvents : public Sink {
  public:
    // 0
    virtual void Click() {}
    // 10
    virtual void DblClick() {}
    // 20: the column's index.
    virtual void HeadClick(int16_t p_iColIndex) {}
    // 25: the bookmark of the row that was current (Null when none was) and the column index.
    virtual void RowColChange(const Variant& p_vLastRow, int16_t p_iLastCol) {}
    // 30, 31, 32: x and y in twips from the grid's top left corner.
    virtual void MouseMove(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) {}
    virtual void MouseDown(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) {}
    virtual void MouseUp(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) {}
    // 33: setting the key code to 0 marks the key handled.
    virtual void KeyDown(int16_t& p_iKeyCode, int16_t p_iShift) {}
    // 59: asked for every cell as it is rendered, with its displayed text; p_oCellStyle holds the
    // colours the cell has so far and takes the handler's. The condition is always gcNormalCell:
    // the text rendering draws every cell in its normal state.
    virtual void FetchCellStyle(int16_t p_iCondition, int16_t p_iSplit, const Variant& p_vBookmark,
                                int16_t p_iColIndex, std::string_view p_sCellText,
                                GridStyle& p_oCellStyle) {}
    // 63: before the selected columns move to display position p_iPosition; setting the cancel
    // flag keeps them where they are.
    virtual void ColMove(int16_t p_iPosition, bool& p_bCancel) {}
};

using GridEventSinks = SinkListOf<GridControlEvents>;

}  // namespace qv
