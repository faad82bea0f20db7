#include "outside/print_engine.h"

#include "outside/text_util.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// Room between a cell's text and its neighbours, at full size.
constexpr int32_t kCellPadding = 60;
constexpr int32_t kSmallestPadding = 15;
constexpr double kTwipsPerPoint = 20.0;
constexpr double kLineSpacing = 1.4;
constexpr const char* kUntitled = "Qorvant Viewer";

int32_t LineHeight(double p_dPoints) {
    return static_cast<int32_t>(std::ceil(p_dPoints * kTwipsPerPoint * kLineSpacing));
}

// Where each column lies across the page.
struct ColumnPlace {
    int32_t Left;
    int32_t Width;
};

std::vector<ColumnPlace> PlaceColumns(const std::vector<int32_t>& p_widths, int32_t p_lLeft,
                                      int32_t p_lWidth) {
    std::vector<ColumnPlace> places;
    places.reserve(p_widths.size());
    int32_t x = p_lLeft;
    for (const int32_t width : p_widths) {
        places.push_back({x, std::min(width, p_lLeft + p_lWidth - x)});
        x += places.back().Width;
    }
    return places;
}

int64_t Sum(const std::vector<int32_t>& p_widths) {
    int64_t total = 0;
    for (const int32_t width : p_widths) {
        total += width;
    }
    return total;
}

// Shrinks p_widths by p_dFactor, those of the columns p_bWhich chooses only.
void Shrink(std::vector<int32_t>& p_widths, const std::vector<PrintColumn>& p_columns,
            bool (*p_bWhich)(const PrintColumn&), double p_dFactor) {
    for (size_t c = 0; c < p_widths.size(); ++c) {
        if (p_bWhich(p_columns[c])) {
            p_widths[c] = static_cast<int32_t>(std::floor(p_widths[c] * p_dFactor));
        }
    }
}

bool IsText(const PrintColumn& p_column) {
    return p_column.Alignment != PrintAlign::Right;
}

bool IsAny(const PrintColumn&) {
    return true;
}

class PageWriter {
  public:
    PageWriter(const PageSetup& p_setup, const PrintTable& p_table, const TextMeasurer& p_measurer,
               const PrintStyle& p_style)
        : m_table(p_table), m_measurer(p_measurer), m_style(p_style) {
        m_lLeft = p_setup.LeftMargin;
        m_lWidth = p_setup.PageWidth() - p_setup.LeftMargin - p_setup.RightMargin;
        const std::vector<int32_t> natural = NaturalWidths();
        const int64_t total = Sum(natural);
        const double smallest = p_style.SmallestSize / p_style.BodySize;
        m_dScale =
            total > m_lWidth
                ? std::max(smallest, static_cast<double>(m_lWidth) / static_cast<double>(total))
                : 1.0;
        m_dSize = p_style.BodySize * m_dScale;
        m_lPadding = std::max(kSmallestPadding, static_cast<int32_t>(kCellPadding * m_dScale));
        m_places = PlaceColumns(FitWidths(natural), m_lLeft, m_lWidth);
        m_lRowHeight = LineHeight(m_dSize);
        m_lFooterTop = p_setup.PageHeight() - p_setup.BottomMargin - LineHeight(p_style.BodySize);

        const FontSpec headerFont{p_style.FontName, p_style.HeaderSize, true};
        m_sHeader = ElideText(p_table.Header, m_lWidth, headerFont, p_measurer);
        m_lCaptionTop = p_setup.TopMargin;
        if (!m_sHeader.empty()) {
            m_lCaptionTop += LineHeight(p_style.HeaderSize) + m_lRowHeight / 2;
        }
        m_lBodyTop = m_lCaptionTop + m_lRowHeight;
        const int32_t body = m_lFooterTop - m_lBodyTop;
        m_lRowsPerPage = std::max<size_t>(1, static_cast<size_t>(std::max(body, 0) / m_lRowHeight));

        const FontSpec captionFont{p_style.FontName, m_dSize, true};
        for (size_t c = 0; c < p_table.Columns.size(); ++c) {
            m_captions.push_back(
                ElideText(p_table.Columns[c].Caption, TextWidth(c), captionFont, p_measurer));
        }
    }

    size_t PageCount() const {
        const size_t rows = m_table.RowCount();
        return std::max<size_t>(1, (rows + m_lRowsPerPage - 1) / m_lRowsPerPage);
    }

    PrintedPage Page(size_t p_lIndex, size_t p_lCount) const {
        PrintedPage page;
        const size_t first = p_lIndex * m_lRowsPerPage;
        const size_t last = std::min(m_table.RowCount(), first + m_lRowsPerPage);
        page.Texts.reserve((last - first + 1) * m_places.size() + 3);
        const int32_t right = m_lLeft + m_lWidth;
        if (!m_sHeader.empty()) {
            page.Texts.push_back({m_lLeft,
                                  m_lCaptionTop - m_lRowHeight / 2 - LineHeight(m_style.HeaderSize),
                                  m_lWidth, LineHeight(m_style.HeaderSize), m_sHeader,
                                  PrintAlign::Left, true, m_style.HeaderSize});
        }
        for (size_t c = 0; c < m_places.size(); ++c) {
            page.Texts.push_back(
                Cell(c, m_lCaptionTop, m_captions[c], m_table.Columns[c].Alignment, true));
        }
        page.Lines.push_back({m_lLeft, m_lBodyTop, right, m_lBodyTop});
        int32_t y = m_lBodyTop;
        for (size_t row = first; row < last; ++row, y += m_lRowHeight) {
            AddRow(page, row, y);
        }
        if (first == last) {
            page.Texts.push_back({m_lLeft, y, m_lWidth, m_lRowHeight, std::string(kNoRowsText),
                                  PrintAlign::Left, false, m_style.BodySize});
            y += m_lRowHeight;
        }
        for (size_t c = 0; c < m_places.size(); ++c) {
            if (m_table.Columns[c].SplitStart) {
                page.Lines.push_back({m_places[c].Left, m_lCaptionTop, m_places[c].Left, y});
            }
        }
        page.Texts.push_back(
            {m_lLeft, m_lFooterTop, m_lWidth, LineHeight(m_style.BodySize),
             "Page " + std::to_string(p_lIndex + 1) + " of " + std::to_string(p_lCount),
             PrintAlign::Center, false, m_style.BodySize});
        return page;
    }

  private:
    // Each column as wide as its caption and its widest text need at full size, so that a
    // figure prints whole; a hidden column (no width on screen) stays hidden. The cells' widths
    // are kept: most cells then need no second measure to know they fit.
    std::vector<int32_t> NaturalWidths() {
        const FontSpec font{m_style.FontName, m_style.BodySize, false};
        const FontSpec captionFont{m_style.FontName, m_style.BodySize, true};
        const size_t columns = m_table.Columns.size();
        std::vector<int32_t> widths(columns, 0);
        for (size_t c = 0; c < columns; ++c) {
            widths[c] = m_measurer.TextWidth(m_table.Columns[c].Caption, captionFont);
        }
        m_cellWidths.resize(m_table.Cells.size());
        for (size_t at = 0; at < m_table.Cells.size(); ++at) {
            m_cellWidths[at] = m_measurer.TextWidth(m_table.Cells[at], font);
            widths[at % columns] = std::max(widths[at % columns], m_cellWidths[at]);
        }
        for (size_t c = 0; c < columns; ++c) {
            widths[c] = m_table.Columns[c].Width <= 0 ? 0 : widths[c] + 2 * kCellPadding;
        }
        return widths;
    }

    // The natural widths at the table's scale. When the type is at its smallest and the table is
    // still too wide, the text columns give up room first, so that figures stay whole; only a
    // table whose figures alone are too wide shrinks every column.
    std::vector<int32_t> FitWidths(std::vector<int32_t> p_widths) const {
        Shrink(p_widths, m_table.Columns, IsAny, m_dScale);
        const int64_t total = Sum(p_widths);
        if (total <= m_lWidth) {
            return p_widths;
        }
        int64_t texts = 0;
        for (size_t c = 0; c < p_widths.size(); ++c) {
            texts += IsText(m_table.Columns[c]) ? p_widths[c] : 0;
        }
        const int64_t figures = total - texts;
        if (texts > 0 && figures < m_lWidth) {
            Shrink(p_widths, m_table.Columns, IsText,
                   static_cast<double>(m_lWidth - figures) / static_cast<double>(texts));
            return p_widths;
        }
        Shrink(p_widths, m_table.Columns, IsAny,
               static_cast<double>(m_lWidth) / static_cast<double>(total));
        return p_widths;
    }

    int32_t TextWidth(size_t p_lColumn) const {
        return std::max(m_places[p_lColumn].Width - 2 * m_lPadding, 0);
    }

    PrintText Cell(size_t p_lColumn, int32_t p_lTop, std::string p_sText, PrintAlign p_eAlign,
                   bool p_bBold) const {
        return {m_places[p_lColumn].Left + m_lPadding,
                p_lTop,
                TextWidth(p_lColumn),
                m_lRowHeight,
                std::move(p_sText),
                p_eAlign,
                p_bBold,
                m_dSize};
    }

    void AddRow(PrintedPage& p_page, size_t p_lRow, int32_t p_lTop) const {
        const FontSpec font{m_style.FontName, m_dSize, false};
        const size_t columns = m_places.size();
        const bool ownAlignments = m_table.CellAlignments.size() == m_table.Cells.size();
        for (size_t c = 0; c < columns; ++c) {
            const size_t at = p_lRow * columns + c;
            const PrintAlign align =
                ownAlignments ? m_table.CellAlignments[at] : m_table.Columns[c].Alignment;
            // Text widths shrink with the type; a cell clearly inside its place needs no measure.
            const bool fits = std::ceil(m_cellWidths[at] * m_dScale) + 1 <= TextWidth(c);
            p_page.Texts.push_back(
                Cell(c, p_lTop,
                     fits ? m_table.Cells[at]
                          : ElideText(m_table.Cells[at], TextWidth(c), font, m_measurer),
                     align, false));
        }
    }

    const PrintTable& m_table;
    const TextMeasurer& m_measurer;
    const PrintStyle& m_style;
    int32_t m_lLeft = 0;
    int32_t m_lWidth = 0;
    double m_dScale = 1;
    double m_dSize = 0;
    std::vector<int32_t> m_cellWidths;
    int32_t m_lPadding = kCellPadding;
    std::vector<ColumnPlace> m_places;
    std::vector<std::string> m_captions;
    std::string m_sHeader;
    int32_t m_lRowHeight = 0;
    int32_t m_lCaptionTop = 0;
    int32_t m_lBodyTop = 0;
    int32_t m_lFooterTop = 0;
    size_t m_lRowsPerPage = 1;
};

}  // namespace

std::string ElideText(std::string_view p_sText, int32_t p_lWidth, const FontSpec& p_font,
                      const TextMeasurer& p_measurer) {
    if (p_measurer.TextWidth(p_sText, p_font) <= p_lWidth) {
        return std::string(p_sText);
    }
    // The ends of whole characters; a byte that starts no UTF-8 sequence counts as one.
    std::vector<size_t> ends;
    for (size_t at = 0; at < p_sText.size();) {
        at += std::max<size_t>(1, Utf8SequenceLength(p_sText, at));
        ends.push_back(std::min(at, p_sText.size()));
    }
    const auto fits = [&](size_t p_lLength) {
        std::string candidate(p_sText.substr(0, p_lLength));
        candidate += kEllipsis;
        return p_measurer.TextWidth(candidate, p_font) <= p_lWidth;
    };
    if (!fits(0)) {
        return "";
    }
    size_t low = 0;
    size_t high = ends.size();
    while (low < high) {
        const size_t middle = (low + high + 1) / 2;
        if (fits(ends[middle - 1])) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    std::string text(p_sText.substr(0, low == 0 ? 0 : ends[low - 1]));
    text.erase(text.find_last_not_of(' ') + 1);
    return text + std::string(kEllipsis);
}

PrintJob LayOutPages(const PageSetup& p_setup, const PrintTable& p_table,
                     const TextMeasurer& p_measurer, const PrintStyle& p_style) {
    PrintJob job;
    job.Title = p_table.Header.empty() ? kUntitled : p_table.Header;
    job.FontName = p_style.FontName;
    job.Page = p_setup;
    const PageWriter writer(p_setup, p_table, p_measurer, p_style);
    const size_t count = writer.PageCount();
    job.Pages.reserve(count);
    for (size_t index = 0; index < count; ++index) {
        job.Pages.push_back(writer.Page(index, count));
    }
    return job;
}

}  // namespace qv
