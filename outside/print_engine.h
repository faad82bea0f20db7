// Laying a table out in printed pages.
//
// The table is what a grid shows: its columns (caption, width, alignment, the first column of
// each split marked) and its rows as cell texts. Every page carries the page header, the column
// captions and a footer "Page i of n"; the rows fill the pages in order. Each column is as wide
// as its caption and its widest text, so that figures print whole whatever their width on the
// screen. A table wider than the page is scaled down to the page width, with the type, down to a
// smallest readable size; past that the text columns give up room before the figures. A text
// wider than its place, the header included, is cut and ends in "…", so nothing runs off the page
// unseen. A table without rows prints one page that says "No rows".
//
// The pages are plain draw operations in twips from the paper's top left corner, which the
// platform paints (the shell through QPrinter, tests by reading them):
//
//     PrintTable table = ...;
//     PrintJob job = LayOutPages(setup, table, measurer);
//     for (const PrintedPage& page : job.Pages) { paint page.Texts and page.Lines }
#pragma once

#include "outside/page_setup.h"
#include "outside/text_measurer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class PrintAlign : uint8_t { Left, Right, Center };

struct PrintColumn {
    std::string Caption;
    int32_t Width = 0;  // twips, as the grid shows it: a column without width is not printed
    PrintAlign Alignment = PrintAlign::Left;
    // The first column of a split after the first: a rule is drawn before it.
    bool SplitStart = false;
};

struct PrintTable {
    std::string Header;
    std::vector<PrintColumn> Columns;
    // Row after row, one text per column.
    std::vector<std::string> Cells;
    // Per cell, as Cells; empty when every cell takes its column's alignment.
    std::vector<PrintAlign> CellAlignments;

    size_t RowCount() const { return Columns.empty() ? 0 : Cells.size() / Columns.size(); }
};

struct PrintText {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    std::string Text;
    PrintAlign Alignment = PrintAlign::Left;
    bool Bold = false;
    double FontSize = 0;  // points
};

struct PrintLine {
    int32_t X1 = 0;
    int32_t Y1 = 0;
    int32_t X2 = 0;
    int32_t Y2 = 0;
};

struct PrintedPage {
    std::vector<PrintText> Texts;
    std::vector<PrintLine> Lines;
};

struct PrintJob {
    // The document's name for the printer's queue (the page header, or the program's name).
    std::string Title;
    std::string FontName;
    PageSetup Page;
    std::vector<PrintedPage> Pages;
};

struct PrintStyle {
    std::string FontName = "Arial";
    double BodySize = 8;
    double HeaderSize = 11;
    // A table scaled to the page keeps its type at least this large; cells then cut their texts.
    double SmallestSize = 4;
};

inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
inline constexpr std::string_view kNoRowsText = "No rows";

PrintJob LayOutPages(const PageSetup& p_setup, const PrintTable& p_table,
                     const TextMeasurer& p_measurer, const PrintStyle& p_style = {});

// p_sText when it fits in p_lWidth twips, else its longest beginning (whole characters) that fits
// with "…" after it; "" when not even "…" fits.
std::string ElideText(std::string_view p_sText, int32_t p_lWidth, const FontSpec& p_font,
                      const TextMeasurer& p_measurer);

}  // namespace qv
