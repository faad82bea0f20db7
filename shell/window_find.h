// Finding rows from the main window: the Find entry of the Edit menu (the list's Ctrl+F, which the
// control master turns into the control's search), and type-to-jump in either grid.
//
// Type-to-jump: letters, digits and punctuation typed in a grid (no Ctrl or Alt) make current,
// and select alone, the first row whose key starts with what was typed, without regard to case:
// the symbol in stock rows and holdings, the industry or sector name in those rows. A pause of
// kPauseMs starts a new prefix; a blank counts only inside a prefix. Lists whose rows are days
// (the histories) have no key to jump by, and a key that finds no row leaves the row where it is.
//
//     auto* jump = new TypeToJump(viewer, surface.PrimaryView(), surface.SecondaryView(), window);
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <string_view>

class QMenu;
class QMenuBar;

namespace qv {

class GridView;
class Recordset;
class Viewer;

// The view position of the first row of p_rRows' view whose text in field p_lField starts with
// p_sPrefix, ASCII letters compared without regard to case; -1 for none or for a field that is
// not text.
int32_t FirstRowStartingWith(const Recordset& p_rRows, int32_t p_lField,
                             std::string_view p_sPrefix);

// The window's Edit menu (made before the View menu when there is none yet).
QMenu& EditMenu(QMenuBar& p_oMenuBar);
// "Find…" with Ctrl+F in the Edit menu: it presses the list's own Ctrl+F, so that the entry and
// the key take the one way to the control.
void AddFindAction(QMenuBar& p_oMenuBar, GridView& p_oPrimary);

class TypeToJump : public QObject {
  public:
    static constexpr int kPauseMs = 1000;

    TypeToJump(std::shared_ptr<Viewer> p_oViewer, GridView& p_oPrimary, GridView& p_oSecondary,
               QObject* p_pParent = nullptr);

    const QString& Prefix() const { return m_sPrefix; }

  protected:
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;

  private:
    // The key field of the rows p_oView shows, "" when they have none to jump by.
    std::string KeyField(const GridView& p_oView) const;
    void Jump(GridView& p_oView, const std::string& p_sField);

    std::shared_ptr<Viewer> m_oViewer;
    GridView& m_oPrimary;
    GridView& m_oSecondary;
    QString m_sPrefix;
    const GridView* m_pTypedIn = nullptr;
    QElapsedTimer m_lastKey;
};

}  // namespace qv
