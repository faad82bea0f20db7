// The "Search" side panel ("ctlSearchSupport"): a text and Find.
//
// Shown, it raises "GETINFO", on which the master tells it the list it searches by name:
// "WatchListId", "ViewerType", "IsWin32", "CurrentDate", "IndCode" and "SectorCode" (each a
// property that reads back what was set). Find (or Enter in the text) raises "FINDSYMBOL" with
// the text for a list of stocks (viewer types 0, 3, 6 and 7) and "FINDINDUSTRIES" for a list of
// industries or sectors; the close button raises "CLOSECLICKED".
//
//     SearchPanel panel(frame);
//     panel.show();                          // "GETINFO"
//     LetProperty(*panel.Object(), "ViewerType", Variant(1));
#pragma once

#include "shell/support_panel.h"

#include <cstdint>
#include <memory>

class QLabel;
class QLineEdit;

namespace qv {

class DispatchTable;
class SearchPanel : public SupportPanel {
  public:
    // What the master tells the panel about the list it searches.
    struct ListInfo {
        int32_t m_lWatchListId = 0;
        int32_t m_lViewerType = 0;
        bool m_bIsWin32 = true;
        double m_dCurrentDate = 0;
        int32_t m_lIndCode = 0;
        int32_t m_lSectorCode = 0;
    };

    explicit SearchPanel(QWidget* p_pParent);

    std::shared_ptr<DispatchObject> Object() override;

    const ListInfo& Info() const { return m_oInfo; }
    ListInfo& EditInfo() { return m_oInfo; }
    // Shows the kind of list searched, after the master told the panel about it.
    void ShowScope();
    void Find();

    QString ScopeText() const;
    QLineEdit& Text() const { return *m_pText; }

  protected:
    void showEvent(QShowEvent* p_pEvent) override;

  private:
    static const DispatchTable& Table();

    ListInfo m_oInfo;
    QLabel* m_pScope = nullptr;
    QLineEdit* m_pText = nullptr;
};

}  // namespace qv
