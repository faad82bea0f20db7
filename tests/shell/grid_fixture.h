// A stock list as the viewer shows it, for the shell tests: a recordset of generated stocks and a
// grid control with the viewer's layout (symbol and company frozen in split 0, the figures in
// split 1, formats, recommendation and performance colours, row colours), and a sink that writes
// down the grid's events.
#pragma once

#include "outside/grid_control.h"
#include "outside/grid_control_events.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qv {
class Recordset;
}

namespace qv::test {

// Field order: Symbol, Company, Price, PrcChange, Rec, Volume, Sector, Industry, PE. Row i has
// symbol "S" + i in four digits, recommendation "B", "H", "S" by i modulo 3 and a change that is
// negative, zero or positive as (i modulo 41) - 20 is.
std::shared_ptr<Recordset> Stocks(int32_t p_lRows);

// Column indexes of StockGrid, in field order.
enum StockColumn : int32_t {
    kSymbol = 0,
    kCompany,
    kPrice,
    kPrcChange,
    kRec,
    kVolume,
    kSector,
    kIndustry,
    kPe,
    kStockColumns
};

inline constexpr int32_t kHighlightBack = 0 + 256 * 80 + 65536 * 128;
inline constexpr int32_t kEvenRowBack = 233 + 256 * 240 + 65536 * 245;

std::shared_ptr<GridControl> StockGrid(std::shared_ptr<Recordset> p_rRecordset);

// The rows whose cell styles a view asked for, by bookmark: the rows it read.
class ReadRows : public GridControlEvents {
  public:
    void FetchCellStyle(int16_t, int16_t, const Variant& p_vBookmark, int16_t, std::string_view,
                        GridStyle&) override {
        Bookmarks.insert(p_vBookmark.ToDouble());
    }

    std::set<double> Bookmarks;
};

class EventLog : public GridControlEvents {
  public:
    void Click() override { m_events.push_back("Click"); }
    void DblClick() override { m_events.push_back("DblClick"); }
    void HeadClick(int16_t p_iColIndex) override { Note("HeadClick", p_iColIndex); }
    void RowColChange(const Variant&, int16_t) override { m_events.push_back("RowColChange"); }
    void ColMove(int16_t p_iPosition, bool&) override { Note("ColMove", p_iPosition); }
    void KeyDown(int16_t& p_iKeyCode, int16_t p_iShift) override {
        Note("KeyDown", p_iKeyCode, p_iShift);
    }
    void MouseMove(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) override {
        Pointer(nullptr, p_iButton, p_iShift, p_lX, p_lY);
    }
    void MouseDown(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) override {
        Pointer("MouseDown", p_iButton, p_iShift, p_lX, p_lY);
    }
    void MouseUp(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) override {
        Pointer("MouseUp", p_iButton, p_iShift, p_lX, p_lY);
    }

    std::vector<std::string>& Events() { return m_events; }
    // The x and y of the last mouse event, in twips.
    int32_t LastX() const { return m_lX; }
    int32_t LastY() const { return m_lY; }

  private:
    // Writes down an event with its numbers, as "MouseDown 1 0".
    void Note(const char* p_sEvent, int32_t p_lFirst, std::optional<int32_t> p_lSecond = {}) {
        m_events.push_back(p_sEvent + (" " + std::to_string(p_lFirst)) +
                           (p_lSecond ? " " + std::to_string(*p_lSecond) : ""));
    }
    // Notes the point, and the event when p_sEvent is given.
    void Pointer(const char* p_sEvent, int16_t p_iButton, int16_t p_iShift, int32_t p_lX,
                 int32_t p_lY) {
        m_lX = p_lX;
        m_lY = p_lY;
        if (p_sEvent != nullptr) {
            Note(p_sEvent, p_iButton, p_iShift);
        }
    }

    std::vector<std::string> m_events;
    int32_t m_lX = -1;
    int32_t m_lY = -1;
};

}  // namespace qv::test
