#include "shell/page_painter.h"

#include "outside/file_util.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

#include <cmath>

namespace qv {

namespace {

constexpr double kTwipsPerInch = 1440.0;

Qt::Alignment ToQtAlignment(PrintAlign p_eAlign) {
    switch (p_eAlign) {
        case PrintAlign::Right:
            return Qt::AlignRight;
        case PrintAlign::Center:
            return Qt::AlignHCenter;
        case PrintAlign::Left:
            break;
    }
    return Qt::AlignLeft;
}

}  // namespace

QPageLayout PageLayoutOf(const PageSetup& p_setup) {
    const QPageSize size(
        QSizeF(p_setup.PaperWidth / kTwipsPerInch, p_setup.PaperHeight / kTwipsPerInch),
        QPageSize::Inch, QString::fromStdString(p_setup.PaperName), QPageSize::FuzzyMatch);
    return QPageLayout(
        size,
        p_setup.Orientation == vbPRORLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
}

PageSetup PageSetupOf(const QPageLayout& p_layout) {
    PageSetup setup;
    const QSizeF paper = p_layout.pageSize().size(QPageSize::Inch);
    setup.PaperName = p_layout.pageSize().name().toStdString();
    setup.PaperWidth = static_cast<int32_t>(std::lround(paper.width() * kTwipsPerInch));
    setup.PaperHeight = static_cast<int32_t>(std::lround(paper.height() * kTwipsPerInch));
    setup.Orientation =
        p_layout.orientation() == QPageLayout::Landscape ? vbPRORLandscape : vbPRORPortrait;
    const QMarginsF margins = p_layout.margins(QPageLayout::Inch);
    setup.LeftMargin = static_cast<int32_t>(std::lround(margins.left() * kTwipsPerInch));
    setup.TopMargin = static_cast<int32_t>(std::lround(margins.top() * kTwipsPerInch));
    setup.RightMargin = static_cast<int32_t>(std::lround(margins.right() * kTwipsPerInch));
    setup.BottomMargin = static_cast<int32_t>(std::lround(margins.bottom() * kTwipsPerInch));
    return setup;
}

void ApplyPageSetup(QPagedPaintDevice& p_oDevice, const PageSetup& p_setup) {
    p_oDevice.setPageLayout(PageLayoutOf(p_setup));
}

void PaintPrintedPage(QPainter& p_oPainter, const QPaintDevice& p_oDevice,
                      const PrintedPage& p_page, const PrintJob& p_job) {
    const double sx = p_oDevice.logicalDpiX() / kTwipsPerInch;
    const double sy = p_oDevice.logicalDpiY() / kTwipsPerInch;
    p_oPainter.setPen(QPen(Qt::black, p_oDevice.logicalDpiX() / 144.0));
    for (const PrintLine& line : p_page.Lines) {
        p_oPainter.drawLine(QPointF(line.X1 * sx, line.Y1 * sy),
                            QPointF(line.X2 * sx, line.Y2 * sy));
    }
    QFont font(QString::fromStdString(p_job.FontName));
    for (const PrintText& text : p_page.Texts) {
        font.setPointSizeF(text.FontSize);
        font.setBold(text.Bold);
        p_oPainter.setFont(font);
        const QRectF rect(text.Left * sx, text.Top * sy, text.Width * sx, text.Height * sy);
        const QFontMetricsF metrics(font, &p_oDevice);
        const QString shown =
            metrics.elidedText(QString::fromStdString(text.Text), Qt::ElideRight, rect.width());
        p_oPainter.drawText(rect, ToQtAlignment(text.Alignment) | Qt::AlignVCenter, shown);
    }
}

bool PaintPrintJob(QPagedPaintDevice& p_oDevice, const PrintJob& p_job) {
    QPainter painter;
    if (!painter.begin(&p_oDevice)) {
        return false;
    }
    for (size_t i = 0; i < p_job.Pages.size(); ++i) {
        if (i > 0) {
            p_oDevice.newPage();
        }
        PaintPrintedPage(painter, p_oDevice, p_job.Pages[i], p_job);
    }
    return painter.end();
}

void WritePrintJobPdf(const PrintJob& p_job, const std::filesystem::path& p_path) {
    // Painted in memory, then replaced on disk like every file the viewer writes.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromStdString(p_job.Title));
        writer.setCreator(QStringLiteral("Qorvant Viewer"));
        writer.setResolution(600);
        ApplyPageSetup(writer, p_job.Page);
        painted = PaintPrintJob(writer, p_job);
    }
    if (!painted) {
        RaisePathFileAccess(p_path, "the PDF could not be painted");
    }
    WriteFileAtomically(p_path,
                        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                        MissingFolder::Fail);
}

}  // namespace qv
