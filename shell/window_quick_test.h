// The quick test from the main window: "Quick Test…" among the commands on the list's rows.
//
// The entry presses the list's own Ctrl+Q, so that entry and key take the one way to the control;
// the key is named beside the entry but stays the list's, not a second shortcut of the window.
// Each time its menu opens, the entry is enabled only while the list is one the control tests
// (stocks, industries, sectors or finder results) and has rows. The control opens the test as a
// page address, which the window shows as it shows every page it cannot open yet.
//
//     AddQuickTestAction(*view, surface.PrimaryView(), host.Control());
#pragma once

class QAction;
class QMenu;

namespace qv {

class GridView;
class Viewer;

// True while p_oViewer shows a list with rows that it can test.
bool OffersQuickTest(const Viewer& p_oViewer);

QAction* AddQuickTestAction(QMenu& p_oMenu, GridView& p_oPrimary, const Viewer& p_oViewer);

}  // namespace qv
