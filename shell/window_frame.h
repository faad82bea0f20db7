// The host framework as the main window shows it: a splitter with the side panels on the left and
// the list on the right, the helper strip above the list, the frame caption over the list while
// the master shows the frame, the history helper panel under the strip for the history lists, and
// a toolbar ("WatchLists", "Find", "Portfolio" and the buttons the master adds) whose buttons go
// to the master's HandleToolBarClick.
//
// The strip shows while the list is one whose strip the master sets up (stocks, industry groups,
// sectors); a history has the history helper instead. Splitter widths come in twips and are turned
// into pixels with the screen's logical dots per inch (1440 twips an inch). Removing a support
// control hides its panel: the frame keeps it, and showing it again shows the same panel.
// ResizeMainControl(n) keeps n twips of height for the list at the least and places the control's
// grids again.
//
//     auto frame = std::make_unique<WindowFrame>(window);
//     frame->SetList(captions, surface, totals);
//     frame->AddPanel(kWatchListSupport, watchLists);
//     window.setCentralWidget(frame->Widget());
#pragma once

#include "shell/host_frame.h"

#include <QObject>

#include <map>
#include <string>

class QAction;
class QLabel;
class QMainWindow;
class QSplitter;
class QToolBar;
class QVBoxLayout;
class QWidget;

namespace qv {

class HelperStrip;
class SupportPanel;

// Owned by its ViewerHost, not by the window: the window's widgets are the window's.
class WindowFrame : public QObject, public HostFrame {
  public:
    // True when the window acted on a panel's event itself; the master does not hear it then.
    using PanelEventFn =
        std::function<bool(const std::string& p_sName, const std::vector<Variant>& p_params)>;

    explicit WindowFrame(QMainWindow& p_oWindow);
    // The panels outlive the frame (they are the window's): they raise into nothing from now on.
    ~WindowFrame() override;

    void SetOnPanelEvent(PanelEventFn p_fnEvent) { m_fnPanelEvent = std::move(p_fnEvent); }

    // The splitter, for the window's layout.
    QWidget* Widget() const;
    QToolBar& ToolBar() const { return *m_pToolBar; }
    QLabel& FrameCaption() const { return *m_pCaption; }
    // The column right of the panels, top to bottom: p_pAbove (the window's captions and notes),
    // the helper strip, the history helper, the frame caption, p_pList, p_pBelow.
    void SetList(QWidget* p_pAbove, QWidget* p_pList, QWidget* p_pBelow);
    // A side panel under its support control name; it raises its events to the master.
    void AddPanel(const std::string& p_sName, SupportPanel* p_pPanel);
    // The history helper panel ("ctlHelper"), shown above the list while a history is shown.
    void SetHistoryHelper(SupportPanel* p_pPanel);
    SupportPanel* Panel(const std::string& p_sName) const;
    // The helper strip of the list shown (made when the first list starts), or nullptr.
    HelperStrip* Strip() const { return m_pStrip; }
    // The View menu's entry: the strip may be hidden by the person.
    void SetStripShown(bool p_bShown);
    bool StripShown() const { return m_bStripShown; }
    // True while the strip is on show above the list.
    bool StripOnShow() const;
    bool HistoryHelperOnShow() const;
    // The side panel on show, or nullptr.
    SupportPanel* ShownPanel() const;
    int PanelWidth() const;

  protected:
    void FrameChanged() override;
    void SupportShown(const std::string& p_sName) override;
    void SupportsHidden() override;
    void SupportRemoved(const std::string& p_sName) override;
    void SplitterChanged() override;
    void ToolBarChanged() override;
    void ButtonAdded(const ToolBarButton& p_oButton) override;
    void HelperChosen(const std::string& p_sClassName) override;
    void Started() override;
    void ChooseWatchList(int32_t p_lWatchListId) override;
    void ResizeMainControl(int32_t p_lTwips) override;
    void Defer(std::function<void()> p_fnCommand) override;

  private:
    void AddToolButton(const ToolBarButton& p_oButton, int p_iStandardIcon);
    void ShowStrip();
    void Listen(SupportPanel& p_oPanel);
    void Raise(const std::string& p_sName, std::vector<Variant> p_params);
    int Pixels(int32_t p_lTwips) const;

    QMainWindow& m_oWindow;
    QSplitter* m_pSplitter;
    QWidget* m_pPanels;
    QVBoxLayout* m_pPanelLayout;
    QWidget* m_pListArea;
    QVBoxLayout* m_pListLayout;
    QWidget* m_pStripSlot;
    QLabel* m_pCaption;
    QToolBar* m_pToolBar;
    QWidget* m_pList = nullptr;
    HelperStrip* m_pStrip = nullptr;
    bool m_bStripShown = true;
    SupportPanel* m_pHistoryHelper = nullptr;
    std::map<std::string, SupportPanel*> m_panels;
    std::map<std::string, QAction*> m_buttons;
    PanelEventFn m_fnPanelEvent;
};

}  // namespace qv
