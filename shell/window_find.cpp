#include "shell/window_find.h"

#include "control/viewer.h"
#include "grid/grid.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "shell/grid_view.h"
#include "shell/viewer_surface.h"
#include "shell/window_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace qv {

namespace {

bool StartsWithIgnoringCase(std::string_view p_sText, std::string_view p_sPrefix) {
    if (p_sText.size() < p_sPrefix.size()) {
        return false;
    }
    for (size_t i = 0; i < p_sPrefix.size(); ++i) {
        if (ToLowerAscii(p_sText[i]) != ToLowerAscii(p_sPrefix[i])) {
            return false;
        }
    }
    return true;
}

const char* KeyFieldOfDataType(int32_t p_lDataType) {
    switch (p_lDataType) {
        case 1:
            return "IndName";
        case 2:
            return "SectorName";
        default:
            return "Symbol";
    }
}

}  // namespace

int32_t FirstRowStartingWith(const Recordset& p_rRows, int32_t p_lField,
                             std::string_view p_sPrefix) {
    const RowColumn& column = p_rRows.Rows().Column(static_cast<size_t>(p_lField));
    if (column.Kind() != ColumnKind::Text) {
        return -1;
    }
    const std::vector<std::string>& texts = column.Texts();
    const int32_t count = p_rRows.ViewCount();
    for (int32_t position = 0; position < count; ++position) {
        const uint32_t row = p_rRows.ViewRowId(position);
        if (!column.IsNull(row) && StartsWithIgnoringCase(texts[row], p_sPrefix)) {
            return position;
        }
    }
    return -1;
}

QMenu& EditMenu(QMenuBar& p_oMenuBar) {
    QAction* before = nullptr;
    for (QAction* action : p_oMenuBar.actions()) {
        const QString title = action->text().remove(QLatin1Char('&'));
        if (title == QLatin1String("Edit") && action->menu()) {
            return *action->menu();
        }
        if (!before && title == QLatin1String("View")) {
            before = action;
        }
    }
    auto* edit = new QMenu(QStringLiteral("&Edit"), &p_oMenuBar);
    p_oMenuBar.insertMenu(before, edit);
    return *edit;
}

void AddFindAction(QMenuBar& p_oMenuBar, GridView& p_oPrimary) {
    QAction* find = EditMenu(p_oMenuBar).addAction(QStringLiteral("&Find…\tCtrl+F"));
    find->setObjectName(QStringLiteral("findAction"));
    QObject::connect(find, &QAction::triggered, &p_oPrimary,
                     [&p_oPrimary] { PressListKey(p_oPrimary, Qt::Key_F); });
}

TypeToJump::TypeToJump(std::shared_ptr<Viewer> p_oViewer, GridView& p_oPrimary,
                       GridView& p_oSecondary, QObject* p_pParent)
    : QObject(p_pParent),
      m_oViewer(std::move(p_oViewer)),
      m_oPrimary(p_oPrimary),
      m_oSecondary(p_oSecondary) {
    m_oPrimary.installEventFilter(this);
    m_oSecondary.installEventFilter(this);
}

bool TypeToJump::eventFilter(QObject* p_pWatched, QEvent* p_pEvent) {
    GridView* view = p_pWatched == &m_oPrimary     ? &m_oPrimary
                     : p_pWatched == &m_oSecondary ? &m_oSecondary
                                                   : nullptr;
    if (!view || p_pEvent->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(p_pEvent);
    const QString text = key->text();
    if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
        text.size() != 1 || !text.front().isPrint()) {
        return false;
    }
    if (!m_lastKey.isValid() || m_lastKey.elapsed() > kPauseMs || m_pTypedIn != view) {
        m_sPrefix.clear();
    }
    if (text.front().isSpace() && m_sPrefix.isEmpty()) {
        return false;
    }
    const std::string field = KeyField(*view);
    if (field.empty()) {
        return false;
    }
    m_sPrefix += text;
    m_pTypedIn = view;
    m_lastKey.restart();
    Jump(*view, field);
    return true;
}

std::string TypeToJump::KeyField(const GridView& p_oView) const {
    const std::shared_ptr<GridControl>& grid = p_oView.Grid();
    if (!grid || !grid->Enabled() || !grid->DataSource() || !m_oViewer->Strategy()) {
        return std::string();
    }
    const bool primary = grid == m_oViewer->olePriGrid();
    const qv::ViewerType type = m_oViewer->ViewerType();
    if (primary &&
        (type == vt_StockHistory || type == vt_IndustryHistory || type == vt_SectorHistory)) {
        return std::string();
    }
    const std::shared_ptr<Grid>& wrapper =
        primary ? m_oViewer->PrimaryGrid() : m_oViewer->SecondaryGrid();
    const char* field = KeyFieldOfDataType(wrapper ? wrapper->ViewerDataType() : 0);
    return grid->DataSource()->Fields().IndexOf(field) >= 0 ? field : std::string();
}

void TypeToJump::Jump(GridView& p_oView, const std::string& p_sField) {
    const std::shared_ptr<GridControl> grid = p_oView.Grid();
    const std::shared_ptr<Recordset> rows = grid->DataSource();
    const int32_t row =
        FirstRowStartingWith(*rows, rows->Fields().IndexOf(p_sField), m_sPrefix.toStdString());
    if (row < 0) {
        return;
    }
    // Selected alone, as the arrow keys leave a row, and in sight.
    {
        const auto batch = grid->BatchChanges();
        grid->SelBookmarks()->Clear();
        grid->SelBookmarks()->Add(GridControl::BookmarkOfRowId(rows->ViewRowId(row)));
    }
    grid->SetCurrentRow(row);
    const int32_t shown = std::max(1, p_oView.WholeRowsShown());
    if (row < grid->TopRow() || row >= grid->TopRow() + shown) {
        grid->SetTopRow(row);
    }
}

}  // namespace qv
