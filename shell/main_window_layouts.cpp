// The window's Layout menu: the owner's layouts of the kind of list shown, the one in use
// checked, and the commands that keep, drop and restore a layout. Every command is the
// control's own, so the messages, confirmations and events are those of any other host.
#include "shell/main_window.h"

#include "columns/grid_layout.h"
#include "control/viewer.h"
#include "outside/layout_description.h"
#include "shell/market_session.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>

namespace qv {

namespace {

// The id of the layout the control shows; 0 before any list.
int32_t LayoutInUse(const Viewer& p_oViewer) {
    const auto& strategy = p_oViewer.Strategy();
    return strategy ? strategy->ViewerElements()->GridLayout()->Id() : 0;
}

}  // namespace

void MainWindow::BuildLayoutMenu() {
    QMenu* layouts = menuBar()->addMenu(QStringLiteral("&Layout"));
    connect(layouts, &QMenu::aboutToShow, this, [this, layouts] { FillLayoutMenu(*layouts); });
    // Filled now as well, so that its keys work before it is first opened.
    FillLayoutMenu(*layouts);
}

void MainWindow::FillLayoutMenu(QMenu& p_oMenu) {
    p_oMenu.clear();
    if (!m_oHost->HasList()) {
        p_oMenu.addAction(QStringLiteral("No list shown"))->setEnabled(false);
        return;
    }
    Viewer& viewer = m_oHost->Control();
    const int32_t inUse = LayoutInUse(viewer);
    auto* group = new QActionGroup(&p_oMenu);
    for (const NamedCode& layout : m_oSession.Layouts(viewer.ViewerType())) {
        QAction* load = p_oMenu.addAction(QString::fromStdString(layout.m_sName));
        load->setCheckable(true);
        load->setChecked(layout.m_lCode == inUse);
        group->addAction(load);
        const int32_t id = layout.m_lCode;
        connect(load, &QAction::triggered, this,
                [this, id] { RunLayoutCommand([id](Viewer& v) { v.LoadLayout(id); }); });
    }
    p_oMenu.addSeparator();
    p_oMenu
        .addAction(QStringLiteral("&Save layout"), this,
                   [this] { RunLayoutCommand([](Viewer& v) { v.SaveLayout(false); }); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    p_oMenu.addAction(QStringLiteral("Save layout &as…"), this, [this] { SaveLayoutAs(); });
    p_oMenu.addAction(QStringLiteral("&Delete layout"), this,
                      [this] { RunLayoutCommand([](Viewer& v) { v.DeleteLayout(); }); });
    p_oMenu.addAction(QStringLiteral("&Restore default layout"), this, [this] {
        RunLayoutCommand([](Viewer& v) {
            bool userOnly = false;
            v.RestoreDefaultLayout(userOnly);
        });
    });
}

void MainWindow::SaveLayoutAs() {
    Viewer& viewer = m_oHost->Control();
    const LayoutDescription current = layout_codec::Parse(viewer.LayoutInfo());
    bool chosen = false;
    const QString name = QInputDialog::getText(
        this, QStringLiteral("Save Layout As"), QStringLiteral("Name of the new layout:"),
        QLineEdit::Normal, QStringLiteral("Custom ") + QString::fromStdString(current.Header.Name),
        &chosen);
    if (!chosen || name.trimmed().isEmpty()) {
        return;
    }
    RunLayoutCommand([&](Viewer& v) {
        // The control names a new layout after the one it came from; a second save, now of the
        // owner's own layout, gives it the chosen name in place.
        const int32_t before = LayoutInUse(v);
        v.SaveLayout(true);
        if (LayoutInUse(v) == before) {
            return;
        }
        LayoutDescription saved = layout_codec::Parse(v.LayoutInfo());
        saved.Header.Name = name.trimmed().toStdString();
        v.SetLayoutInfo(layout_codec::ToVariant(saved));
        v.SaveLayout(false);
    });
}

void MainWindow::RunLayoutCommand(const std::function<void(Viewer&)>& p_fnCommand) {
    // A failure the control reports reaches the status bar through the reporter; otherwise the
    // bar names the layout the grids now show.
    m_sLastMessage.clear();
    p_fnCommand(m_oHost->Control());
    m_pSurface->Sync();
    const auto& strategy = m_oHost->Control().Strategy();
    if (m_sLastMessage.isEmpty() && strategy) {
        const auto& layout = strategy->ViewerElements()->GridLayout();
        ShowMessage(QStringLiteral("Layout in use: ") + QString::fromStdString(layout->Name()));
    }
}

}  // namespace qv
