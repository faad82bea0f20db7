// The window between runs: its size and place, the list and scope it showed, the column widths
// and split of each kind of list, and whether the import hint was dismissed, in the per-user
// settings file.
#include "control/viewer.h"
#include "outside/grid_control.h"
#include "outside/grid_control_column.h"
#include "outside/grid_control_columns.h"
#include "shell/main_window.h"
#include "shell/screen_calls.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"
#include "shell/window_lists.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

namespace qv {

namespace {

// The keys of the settings file.
constexpr const char* kGeometryKey = "window/geometry";
constexpr const char* kTypeKey = "list/type";
constexpr const char* kIndustryKey = "list/industry";
constexpr const char* kSectorKey = "list/sector";
constexpr const char* kWatchListKey = "list/watchList";
constexpr const char* kPortfolioKey = "list/portfolio";
constexpr const char* kScreenNameKey = "list/screenName";
constexpr const char* kScreenCriteriaKey = "list/screenCriteria";
constexpr const char* kScreenRowsKey = "list/screenRows";
constexpr const char* kHintKey = "hints/importDismissed";
// Per kind of list, "layout/<kind>/columns" and "layout/<kind>/split".
constexpr const char* kLayoutGroup = "layout";
constexpr const char* kColumnsKey = "columns";
constexpr const char* kSplitKey = "split";

// The widths of the grid's columns as "Field=twips,Field=twips", by data field.
QString ColumnWidths(const GridControl& p_oGrid) {
    QStringList widths;
    for (const auto& column : p_oGrid.Columns()->ByIndex()) {
        if (!column->DataField().empty()) {
            widths << QString::fromStdString(column->DataField()) + QLatin1Char('=') +
                          QString::number(column->Width());
        }
    }
    return widths.join(QLatin1Char(','));
}

// Gives the columns of p_oGrid the widths of p_sWidths; a field it does not show, or a width
// that does not read, is passed over.
void ApplyColumnWidths(GridControl& p_oGrid, const QString& p_sWidths) {
    constexpr int kMostTwips = 30000;
    for (const QString& entry : p_sWidths.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList pair = entry.split(QLatin1Char('='));
        bool number = false;
        const int width = pair.size() == 2 ? pair[1].toInt(&number) : 0;
        if (!number || width <= 0 || width > kMostTwips) {
            continue;
        }
        const int32_t index = p_oGrid.Columns()->IndexOfField(pair[0].toStdString());
        if (index >= 0 && p_oGrid.Columns()->Item(index)->Width() != width) {
            p_oGrid.Columns()->Item(index)->SetWidth(width);
        }
    }
}

}  // namespace

std::unique_ptr<QSettings> WindowSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("qorvant"), QStringLiteral("qorvant-viewer"));
}

ViewerRequest MainWindow::RememberState() {
    m_bRemembering = true;
    const std::unique_ptr<QSettings> settings = WindowSettings();
    if (settings->status() != QSettings::NoError) {
        ShowMessage(
            QStringLiteral("The window's settings cannot be read; it opens as on a "
                           "first run"));
        return ViewerRequest{};
    }
    restoreGeometry(settings->value(QLatin1String(kGeometryKey)).toByteArray());
    if (settings->value(QLatin1String(kHintKey), false).toBool()) {
        m_pHint->hide();
    }
    LoadLayouts(*settings);
    // SelectData keeps only what the boxes hold: a kind or scope gone from the market is the
    // first choice.
    const std::array<std::pair<const char*, QComboBox*>, 5> boxes = {{
        {kTypeKey, m_pType},
        {kIndustryKey, m_pIndustry},
        {kSectorKey, m_pSector},
        {kWatchListKey, m_pWatchList},
        {kPortfolioKey, m_pPortfolio},
    }};
    m_bApplying = true;
    for (const auto& [key, box] : boxes) {
        SelectData(*box, settings->value(QLatin1String(key), 0).toInt());
    }
    m_bApplying = false;
    ViewerRequest request;
    request.m_lViewerType = DataOf(*m_pType);
    request.m_lIndCode = DataOf(*m_pIndustry);
    request.m_lSectorCode = DataOf(*m_pSector);
    request.m_lWatchListId = DataOf(*m_pWatchList);
    request.m_lPortfolioId = DataOf(*m_pPortfolio);
    // The screen as it was run: a screen since changed or deleted shows what it showed then.
    request.m_sScreenName = settings->value(QLatin1String(kScreenNameKey)).toString().toStdString();
    request.m_sScreenCriteria =
        settings->value(QLatin1String(kScreenCriteriaKey)).toString().toStdString();
    request.m_lScreenRows = std::clamp(settings->value(QLatin1String(kScreenRowsKey), 0).toInt(),
                                       int32_t{srStocks}, int32_t{srSectors});
    return request;
}

void MainWindow::closeEvent(QCloseEvent* p_pEvent) {
    if (m_bRemembering) {
        const std::unique_ptr<QSettings> settings = WindowSettings();
        const ViewerRequest& shown = m_oHost->Request();
        settings->setValue(QLatin1String(kGeometryKey), saveGeometry());
        settings->setValue(QLatin1String(kTypeKey), shown.m_lViewerType);
        settings->setValue(QLatin1String(kIndustryKey), shown.m_lIndCode);
        settings->setValue(QLatin1String(kSectorKey), shown.m_lSectorCode);
        settings->setValue(QLatin1String(kScreenNameKey),
                           QString::fromStdString(shown.m_sScreenName));
        settings->setValue(QLatin1String(kScreenCriteriaKey),
                           QString::fromStdString(shown.m_sScreenCriteria));
        settings->setValue(QLatin1String(kScreenRowsKey), shown.m_lScreenRows);
        settings->setValue(QLatin1String(kWatchListKey), shown.m_lWatchListId);
        settings->setValue(QLatin1String(kPortfolioKey), shown.m_lPortfolioId);
        KeepLayout();
        SaveLayouts(*settings);
        settings->sync();
    }
    QMainWindow::closeEvent(p_pEvent);
}

void MainWindow::DismissHint() {
    m_pHint->hide();
    if (m_bRemembering) {
        const std::unique_ptr<QSettings> settings = WindowSettings();
        settings->setValue(QLatin1String(kHintKey), true);
        settings->sync();
    }
}

void MainWindow::KeepLayout() {
    if (!m_bRemembering || m_lShownType < 0 || !m_oHost->HasList()) {
        return;
    }
    m_columnWidths[m_lShownType] = ColumnWidths(*m_oHost->Control().olePriGrid());
    if (m_pSurface->SecondaryHeight() >= 0) {
        m_splits[m_lShownType] = m_pSurface->SecondaryHeight();
    }
}

void MainWindow::ApplyLayout() {
    if (!m_bRemembering) {
        return;
    }
    const auto split = m_splits.find(m_lShownType);
    m_pSurface->SetSecondaryHeight(split == m_splits.end() ? -1 : split->second);
    const auto widths = m_columnWidths.find(m_lShownType);
    if (widths != m_columnWidths.end()) {
        ApplyColumnWidths(*m_oHost->Control().olePriGrid(), widths->second);
    }
}

void MainWindow::SaveLayouts(QSettings& p_oSettings) const {
    p_oSettings.beginGroup(QLatin1String(kLayoutGroup));
    for (const auto& [type, widths] : m_columnWidths) {
        p_oSettings.setValue(QString::number(type) + QLatin1Char('/') + QLatin1String(kColumnsKey),
                             widths);
    }
    for (const auto& [type, split] : m_splits) {
        p_oSettings.setValue(QString::number(type) + QLatin1Char('/') + QLatin1String(kSplitKey),
                             split);
    }
    p_oSettings.endGroup();
}

void MainWindow::LoadLayouts(QSettings& p_oSettings) {
    p_oSettings.beginGroup(QLatin1String(kLayoutGroup));
    for (const auto& [name, type] : kListTypes) {
        const QString prefix = QString::number(type) + QLatin1Char('/');
        const QVariant widths = p_oSettings.value(prefix + QLatin1String(kColumnsKey));
        if (widths.typeId() == QMetaType::QString) {
            m_columnWidths[type] = widths.toString();
        }
        bool number = false;
        const int split = p_oSettings.value(prefix + QLatin1String(kSplitKey)).toInt(&number);
        if (number && split >= 0) {
            m_splits[type] = split;
        }
    }
    p_oSettings.endGroup();
}

}  // namespace qv
