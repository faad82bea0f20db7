#include "shell/grid_painter.h"

#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/text_util.h"
#include "shell/grid_cell_reader.h"
#include "shell/grid_geometry.h"
#include "shell/qt_color.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <algorithm>
#include <exception>
#include <vector>

namespace qv {

namespace {

constexpr int32_t kTextPadding = 3;
constexpr int32_t kGridLineColor = RgbColor(200, 200, 200);
constexpr int32_t kSplitDividerColor = RgbColor(128, 128, 128);
constexpr int32_t kMarqueeColor = RgbColor(64, 64, 64);
constexpr int32_t kDropColor = RgbColor(0, 0, 160);

// The lines of the grid as the palette shows them.
QColor LineColor(int32_t p_lColor, const GridPalette& p_palette) {
    return ToQColor(PaletteBack(p_lColor, p_palette));
}

// The sort arrow's size: a little under half the heading text's height.
int32_t ArrowSize(const QFontMetrics& p_metrics) {
    return std::max(p_metrics.height() * 2 / 5, 4);
}

Qt::Alignment ToQtAlignment(GridAlignment p_eAlignment) {
    switch (p_eAlignment) {
        case gaRight:
            return Qt::AlignRight | Qt::AlignVCenter;
        case gaCenter:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// The split whose headings are drawn active: the one showing the current column, else the last.
int32_t ActiveSplit(const GridControl& p_oGrid, const GridGeometry& p_geometry) {
    const int32_t slot = p_geometry.SlotOfColumn(p_oGrid.Col());
    if (slot >= 0) {
        return p_geometry.Slots()[static_cast<size_t>(slot)].Split;
    }
    return p_oGrid.Splits()->Count() - 1;
}

QString CaptionOf(const GridControlColumn& p_oColumn) {
    return QString::fromStdString(p_oColumn.Caption());
}

void PaintCellText(QPainter& p_oPainter, const QRect& p_cell, const QString& p_sText,
                   Qt::Alignment p_alignment) {
    if (p_sText.isEmpty()) {
        return;
    }
    // A text too wide for its cell ends in an ellipsis, as the text rendering ends it in "~":
    // clipped at the aligned edge instead, a number would read as a different number.
    const QRect area = p_cell.adjusted(kTextPadding, 0, -kTextPadding, 0);
    const QString shown =
        p_oPainter.fontMetrics().elidedText(p_sText, Qt::ElideRight, std::max(area.width(), 0));
    p_oPainter.drawText(area, static_cast<int>(p_alignment), shown);
}

// A small filled triangle, pointing up or down, centred on p_centre.
void PaintArrow(QPainter& p_oPainter, QPoint p_centre, int32_t p_lSize, SortArrow p_eArrow,
                const QColor& p_color) {
    const int32_t half = p_lSize / 2;
    const int32_t tip = p_eArrow == SortArrow::Up ? -half / 2 - 1 : half / 2 + 1;
    const QPolygon triangle({QPoint(p_centre.x() - half, p_centre.y() - tip),
                             QPoint(p_centre.x() + half, p_centre.y() - tip),
                             QPoint(p_centre.x(), p_centre.y() + tip)});
    p_oPainter.setPen(Qt::NoPen);
    p_oPainter.setBrush(p_color);
    p_oPainter.drawPolygon(triangle);
    p_oPainter.setBrush(Qt::NoBrush);
}

void PaintHeader(QPainter& p_oPainter, const GridControl& p_oGrid, const GridGeometry& p_geometry,
                 const QFont& p_font, const GridPaintOptions& p_options) {
    const int32_t height = p_geometry.HeaderHeight();
    const int32_t active = ActiveSplit(p_oGrid, p_geometry);
    const GridPalette& palette = p_options.Palette;
    p_oPainter.setFont(p_font);
    const QFontMetrics metrics = p_oPainter.fontMetrics();
    const int32_t arrowSize = ArrowSize(metrics);
    if (p_geometry.SelectorWidth() > 0) {
        const PaintColors colors = HeadingPaintColors(HeadingStyle(p_oGrid, 0, true), palette);
        p_oPainter.fillRect(QRect(0, 0, p_geometry.SelectorWidth(), height), ToQColor(colors.Back));
    }
    const std::vector<SortArrow> arrows = SortArrows(p_geometry, p_options.Sort);
    const std::vector<GridSlot>& placed = p_geometry.Slots();
    for (size_t s = 0; s < placed.size(); ++s) {
        const GridSlot& slot = placed[s];
        const PaintColors colors =
            HeadingPaintColors(HeadingStyle(p_oGrid, slot.Split, slot.Split == active), palette);
        const QRect cell(slot.Left, 0, slot.Width, height);
        p_oPainter.fillRect(cell, ToQColor(colors.Back));
        const GridAlignment alignment =
            slot.Column->Alignment() == gaGeneral ? gaLeft : slot.Column->Alignment();
        // The arrow stands at the right end, beside the caption and never over it; every
        // heading keeps room for one (HeadingRoom).
        const int32_t arrowRoom = arrows[s] == SortArrow::None ? 0 : arrowSize + kTextPadding;
        p_oPainter.setPen(ToQColor(colors.Fore));
        PaintCellText(p_oPainter, cell.adjusted(0, 0, -arrowRoom, 0), CaptionOf(*slot.Column),
                      ToQtAlignment(alignment));
        if (arrows[s] != SortArrow::None) {
            const QPoint centre(cell.right() - kTextPadding - arrowSize / 2, height / 2);
            PaintArrow(p_oPainter, centre, arrowSize, arrows[s], ToQColor(colors.Fore));
        }
        p_oPainter.setPen(LineColor(kGridLineColor, palette));
        p_oPainter.drawLine(cell.right(), 0, cell.right(), height - 1);
    }
    const int32_t right =
        placed.empty() ? p_geometry.SelectorWidth() : placed.back().Left + placed.back().Width;
    p_oPainter.setPen(LineColor(kSplitDividerColor, palette));
    p_oPainter.drawLine(0, height - 1, right - 1, height - 1);
}

void PaintSelector(QPainter& p_oPainter, const GridControl& p_oGrid, const QRect& p_cell,
                   bool p_bCurrent, const GridPalette& p_palette) {
    const PaintColors colors = HeadingPaintColors(HeadingStyle(p_oGrid, 0, true), p_palette);
    p_oPainter.fillRect(p_cell, ToQColor(colors.Back));
    p_oPainter.setPen(LineColor(kGridLineColor, p_palette));
    p_oPainter.drawLine(p_cell.bottomLeft(), p_cell.bottomRight());
    if (!p_bCurrent) {
        return;
    }
    const int32_t size = std::max(p_cell.height() / 4, 2);
    const QPoint centre = p_cell.center();
    const QPolygon triangle({QPoint(centre.x() - size / 2, centre.y() - size),
                             QPoint(centre.x() - size / 2, centre.y() + size),
                             QPoint(centre.x() + size / 2 + 1, centre.y())});
    p_oPainter.setPen(Qt::NoPen);
    p_oPainter.setBrush(ToQColor(colors.Fore));
    p_oPainter.drawPolygon(triangle);
    p_oPainter.setBrush(Qt::NoBrush);
}

// The first line whose row reaches below p_lY.
int32_t FirstLineBelow(const GridGeometry& p_geometry, int32_t p_lY) {
    int32_t line = 0;
    while (p_geometry.LineTop(line + 1) <= p_lY) {
        ++line;
    }
    return line;
}

void PaintRows(QPainter& p_oPainter, GridControl& p_oGrid, const GridGeometry& p_geometry,
               const QRect& p_area, const QFont& p_font, const GridPalette& p_palette) {
    const std::vector<GridSlot>& placed = p_geometry.Slots();
    GridCellReader reader(p_oGrid, placed);
    const int32_t top = p_oGrid.TopRow();
    const int32_t first = FirstLineBelow(p_geometry, p_area.top());
    // Every cell to paint is read (and its style asked for) before any is painted, as the
    // handlers of the style requests may look at the grid.
    std::vector<std::vector<GridCell>> rows;
    try {
        for (int32_t line = first; p_geometry.LineTop(line) < p_area.bottom() + 1; ++line) {
            if (top + line >= reader.RowCount()) {
                break;
            }
            std::vector<GridCell> cells = reader.ReadRow(top + line);
            // Short when a style handler took rows away: the rows read so far are painted.
            if (cells.size() != placed.size()) {
                break;
            }
            rows.push_back(std::move(cells));
        }
    } catch (const AutomationError& error) {
        // A failing style handler must not take the window down with it.
        PlatformContext::Current().Reporter().Report("GridView:Paint", error);
    } catch (const std::exception& error) {
        PlatformContext::Current().Reporter().Report(
            "GridView:Paint",
            AutomationError(errors::kInvalidProcedureCall, "GridView", error.what()));
    }
    const int32_t currentLine = p_oGrid.Row() - top;
    const int32_t end = first + static_cast<int32_t>(rows.size());
    for (size_t s = 0; s < placed.size(); ++s) {
        const GridSlot& slot = placed[s];
        p_oPainter.setFont(CellFont(*slot.Column, p_font));
        for (size_t line = 0; line < rows.size(); ++line) {
            const int32_t l = first + static_cast<int32_t>(line);
            const QRect cell(slot.Left, p_geometry.LineTop(l), slot.Width,
                             p_geometry.LineHeight(l));
            const GridCell& value = rows[line][s];
            const PaintColors colors = CellPaintColors(value, p_palette);
            p_oPainter.fillRect(cell, ToQColor(colors.Back));
            p_oPainter.setPen(ToQColor(colors.Fore));
            PaintCellText(p_oPainter, cell, QString::fromStdString(value.Text),
                          ToQtAlignment(value.Alignment));
            p_oPainter.setPen(LineColor(kGridLineColor, p_palette));
            p_oPainter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
            p_oPainter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
        }
    }
    for (int32_t l = first; l < end && p_geometry.SelectorWidth() > 0; ++l) {
        PaintSelector(
            p_oPainter, p_oGrid,
            QRect(0, p_geometry.LineTop(l), p_geometry.SelectorWidth(), p_geometry.LineHeight(l)),
            l == currentLine, p_palette);
    }
    if (currentLine >= first && currentLine < end && !placed.empty()) {
        const int32_t right = placed.back().Left + placed.back().Width - 1;
        QPen marquee(LineColor(kMarqueeColor, p_palette));
        marquee.setStyle(Qt::DotLine);
        p_oPainter.setPen(marquee);
        p_oPainter.drawRect(QRect(QPoint(placed.front().Left, p_geometry.LineTop(currentLine)),
                                  QPoint(right, p_geometry.LineTop(currentLine + 1) - 1)));
    }
}

}  // namespace

std::vector<SortArrow> SortArrows(const GridGeometry& p_geometry,
                                  std::span<const GridSortMark> p_sort) {
    std::vector<SortArrow> arrows;
    arrows.reserve(p_geometry.Slots().size());
    for (const GridSlot& slot : p_geometry.Slots()) {
        const auto key = std::find_if(p_sort.begin(), p_sort.end(), [&](const GridSortMark& mark) {
            return EqualsIgnoreCase(mark.Field, slot.Column->DataField());
        });
        arrows.push_back(key == p_sort.end() ? SortArrow::None
                         : key->Descending   ? SortArrow::Down
                                             : SortArrow::Up);
    }
    return arrows;
}

QFont CellFont(const GridControlColumn& p_oColumn, const QFont& p_default) {
    const FontSpec& entry = p_oColumn.Font();
    if (entry.Name.empty()) {
        return p_default;
    }
    QFont font(p_default);
    font.setFamily(QString::fromStdString(entry.Name));
    if (entry.Size > 0) {
        font.setPointSizeF(entry.Size);
    }
    font.setBold(entry.Bold);
    return font;
}

GridStyle HeadingStyle(const GridControl& p_oGrid, int32_t p_lSplit, bool p_bActive) {
    GridStyle style;
    style.SetBackColor(grid_colors::kLightGrey);
    style.SetForeColor(grid_colors::kBlack);
    const auto& splits = *p_oGrid.Splits();
    const GridSplit* split = p_lSplit < splits.Count() ? splits.Item(p_lSplit).get() : nullptr;
    const auto layer = [&](GridStyleKind kind) {
        style.Overlay(*p_oGrid.Style(kind));
        if (split != nullptr) {
            style.Overlay(*split->Style(kind));
        }
    };
    layer(GridStyleKind::Heading);
    if (!p_bActive) {
        layer(GridStyleKind::Inactive);
    }
    return style;
}

int32_t HeadingRoom(const QFontMetrics& p_metrics) {
    return 3 * kTextPadding + ArrowSize(p_metrics) + 1;
}

int32_t CellRoom() {
    return 2 * kTextPadding + 1;
}

void PaintGrid(QPainter& p_oPainter, GridControl& p_oGrid, const GridGeometry& p_geometry,
               const QRect& p_area, const QRect& p_view, const QFont& p_font,
               const GridPaintOptions& p_options) {
    const GridPalette& palette = p_options.Palette;
    p_oPainter.fillRect(p_area, ToQColor(PaletteBack(p_oGrid.BackColor(), palette)));
    PaintRows(p_oPainter, p_oGrid, p_geometry, p_area, p_font, palette);
    if (p_area.top() < p_geometry.HeaderHeight()) {
        PaintHeader(p_oPainter, p_oGrid, p_geometry, p_font, p_options);
    }
    p_oPainter.setPen(QPen(LineColor(kSplitDividerColor, palette), 2));
    for (int32_t x : p_geometry.SplitBoundaries()) {
        p_oPainter.drawLine(x - 1, 0, x - 1, p_view.bottom());
    }
    if (p_options.DropX >= 0) {
        p_oPainter.setPen(QPen(ToQColor(palette.Dark ? palette.Highlight : kDropColor), 2));
        p_oPainter.drawLine(p_options.DropX, 0, p_options.DropX, p_view.bottom());
    }
}

}  // namespace qv
