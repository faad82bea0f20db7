// The values of a grid control's current row as the context menu and the navigation put them in
// page addresses, read on a clone of the bound rows so that the grid keeps its place.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

class GridControl;
class Recordset;

class GridCurrentRow {
  public:
    // No row when p_oGrid is null, has no rows bound or no current row.
    explicit GridCurrentRow(const GridControl* p_oGrid);

    bool HasRow() const { return m_rRow != nullptr; }
    // The text of p_sField (any letter case); nothing when there is no row, no such field or the
    // value is Null.
    std::optional<std::string> Text(std::string_view p_sField) const;
    // The same, where an address cannot do without it: error 3265 naming the field.
    std::string Required(std::string_view p_sField) const;

  private:
    std::shared_ptr<Recordset> m_rRow;
};

// A date as a page address carries it: the default text of a date ("12/4/2026").
std::string AddressDate(double p_dSerial);

}  // namespace qv
