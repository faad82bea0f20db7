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

#include <cstdint>
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
// "Left" and "Center" write the value as it is; "Percent" writes it as a percentage with two
// decimals; "Short Date" as a short date; any other format formats it with that format. A field
// without a column is written as its plain text. Null writes nothing. The written text never
// holds a comma, which would split the value into two fields of the line: the commas of the value
// and those the format adds ("#,##0" gives "1,234") are removed, so 1,234 is written 1234 in
// every format. Control characters and line breaks would break the line too: they and bytes
// that are not UTF-8 become U+FFFD.
std::string ExportCellText(const GridColumns& p_oColumns, const std::string& p_sFieldName,
                           const Variant& p_vValue);
// The export lines of rows: the cell texts of the fields joined by ",", each line ended by CR LF.
// The fields' places in the rows and their columns' formats are looked up once, when the writer
// is made (error 3265 for a field the rows lack).
//
//     const ExportRowWriter writer(columns, *rows, {"Symbol", "Price"});
//     for (int32_t i = 0; i < rows->ViewCount(); ++i) {
//         writer.AppendRow(*rows, rows->ViewRowId(i), text);
//     }
class ExportRowWriter {
  public:
    ExportRowWriter(const GridColumns& p_oColumns, const Recordset& p_rRows,
                    const std::vector<std::string>& p_fields);
    // Appends the line of the row whose id is p_lRowId.
    void AppendRow(const Recordset& p_rRows, uint32_t p_lRowId, std::string& p_sOut) const;

  private:
    struct Cell {
        int32_t Field = 0;
        std::string Format;
    };
    std::vector<Cell> m_cells;
};

}  // namespace GridUtilities
}  // namespace qv
