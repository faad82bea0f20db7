// The "Screens" side panel ("ctlScreensSupport"): the owner's stock screens and the ones shipped
// with the market (marked, and read-only: Copy makes one of the owner's from them). New, Edit
// and Copy open the screen editor (ScreenEditor); Delete asks first; Run, Enter or a double
// click raises "RUNSCREEN" with the screen's name, criteria and kind of rows (Long), on which the
// window shows its finder list. A screen saved with Run in the editor runs the same way.
//
// By name: "Init" (owner id, date: the day whose rows the editor counts) reads the screens
// again; "CurrentScreen" (get: the name chosen, empty for none; let: chooses the screen of that
// name).
//
//     ScreensPanel panel(window);
//     CallMethod(*panel.Object(), "Init", args);   // owner id, date
#pragma once

#include "shell/screen_calls.h"
#include "shell/screen_editor.h"
#include "shell/support_panel.h"

#include <QPointer>

#include <cstdint>
#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace qv {

class DispatchTable;

inline constexpr const char* kScreensSupport = "ctlScreensSupport";

class ScreensPanel : public SupportPanel {
  public:
    explicit ScreensPanel(QWidget* p_pParent);

    std::shared_ptr<DispatchObject> Object() override;

    // Reads the screens again, keeping the one chosen where it is still there.
    void Init(int32_t p_lOwnerId, int32_t p_lDate);
    QString CurrentScreen() const;
    bool SetCurrentScreen(const QString& p_sName);

    // The commands of the buttons.
    void NewScreen();
    void EditScreen();
    void CopyScreen();
    void DeleteScreen();
    void RunScreen();

    const std::vector<StockScreen>& Screens() const { return m_aScreens; }
    QListWidget& List() const { return *m_pList; }
    // The editor open, or nullptr.
    ScreenEditor* Editor() const { return m_pEditor; }
    QString StatusText() const;

  private:
    static const DispatchTable& Table();
    const StockScreen* Chosen() const;
    void Fill();
    void SyncButtons();
    void OpenEditor(const StockScreen& p_oScreen);
    void Saved(const StockScreen& p_oScreen, bool p_bRun);
    void Run(const StockScreen& p_oScreen);
    void Say(const QString& p_sText);

    int32_t m_lOwnerId = 0;
    int32_t m_lDate = 0;
    std::vector<StockScreen> m_aScreens;
    QListWidget* m_pList = nullptr;
    QPushButton* m_pEdit = nullptr;
    QPushButton* m_pCopy = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pRun = nullptr;
    QLabel* m_pStatus = nullptr;
    QPointer<ScreenEditor> m_pEditor;
};

}  // namespace qv
