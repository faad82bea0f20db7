// How the cells of a grid column look and how their values are written out: the formatting part
// of GridUtilities.
//
// A column's ColumnFormat (blanks trimmed) gives its alignment and number format: "Left" and
// "Center" align text and format nothing; any other text is the number format, left-aligned for
// a date format (one containing the capitals "M/D", compared case-sensitively) and
// right-aligned otherwise. The caption (compared in capitals) chooses conditional colours:
// recommendations ("Rec": B white on green, H black on yellow, S white on red), signed
// performance ("%Prc", "Gain", ...: green, red when negative, black at zero) and signed ratios
// ("EPS", "P/E", ...: red when negative).
//
//     ApplyColumnFormat(*gridColumn, " M/D/YY ");   // left-aligned date
//     ApplyColumnStyles(*gridColumn);               // by its caption
#pragma once

#include "outside/variant.h"

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class GridColumns;
class GridControlColumn;
class GridStyle;
class Recordset;

namespace GridUtilities {

// Alignment and number format of a shown column from its ColumnFormat.
void ApplyColumnFormat(GridControlColumn& p_oColumn, std::string_view p_sColumnFormat);

// The caption-based conditional cell colours. Applying them again replaces the earlier ones
// instead of adding a second set.
void ApplyColumnStyles(GridControlColumn& p_oColumn);

// A displayed cell text that shows a negative number: numeric text with a minus sign or in
// parentheses ("-3", "(5)", "1,234-"). The minus of an exponent ("1.5E-03") does not count.
bool IsNegativeNumberText(std::string_view p_sCellText);
// The cell-style rule of both grids: a negative number is drawn in red (204, 0, 0).
void ApplyNegativeNumberStyle(std::string_view p_sCellText, GridStyle& p_oCellStyle);

// The text written for one field of an exported row, by the ColumnFormat of the field's column:
// "Left" and "Center" write the value without its commas; "Percent" writes it as a percentage
// with two decimals; "Short Date" as a short date; any other format formats it with that format.
// A field without a column is written as its plain text without commas. Null writes nothing.
std::string ExportCellText(const GridColumns& p_oColumns, const std::string& p_sFieldName,
                           const Variant& p_vValue);
// The export line of the recordset's current row: the cell texts of p_fields joined by ",",
// ended by CR LF.
std::string ExportRowText(const GridColumns& p_oColumns, const Recordset& p_rRecordset,
                          const std::vector<std::string>& p_fields);

}  // namespace GridUtilities
}  // namespace qv
