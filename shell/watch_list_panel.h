// The "Watch lists" side panel: the owner's stock and industry watch lists, in their folders, as
// the data facade gives them ("GetWatchLists").
//
// Opening a list (Enter or a double click on it, or Open) asks the window to show it; "Add to
// watch list…" asks the window to run the control's command on the rows shown. The panel is
// the window's watch-list support control: Init names the owner, the list shown and the day,
// and DeleteItems removes items of the list shown, after asking, through the facade
// ("DeleteWatchListItems"), then asks for the list again. What the facade refuses is said in
// the panel and changes nothing.
//
//     auto* panel = new WatchListPanel(window);
//     panel->SetOnOpen([&](int32_t id, int32_t kind) { window.ShowWatchList(id, kind); });
//     panel->Init(ownerId, 0, day);
#pragma once

#include <QDockWidget>

#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv {

class WatchListPanel : public QDockWidget {
  public:
    // p_lKind: 0 a list of stocks, 1 one of industry groups.
    using OpenFn = std::function<void(int32_t p_lWatchListId, int32_t p_lKind)>;

    explicit WatchListPanel(QWidget* p_pParent = nullptr);

    void SetOnOpen(OpenFn p_fnOpen) { m_fnOpen = std::move(p_fnOpen); }
    void SetOnAdd(std::function<void()> p_fnAdd) { m_fnAdd = std::move(p_fnAdd); }

    // Reads the owner's lists afresh and marks p_lWatchListId (0: none) as the list shown.
    void Init(int32_t p_lOwnerId, int32_t p_lWatchListId, double p_dDate);
    // Removes p_sItems (keys joined by "," or, as the control's Delete event joins them, by
    // "','") from the list shown once the person agrees; returns
    // how many were removed.
    int32_t DeleteItems(const std::string& p_sItems);

    int32_t WatchListId() const { return m_lWatchListId; }
    // The name of a list the panel holds; empty when it holds none of that id.
    QString ListName(int32_t p_lWatchListId) const;
    // Opens the list of that id as a person does; false when the panel holds none.
    bool OpenList(int32_t p_lWatchListId);
    QTreeWidget& Tree() const { return *m_pTree; }
    QString StatusText() const;

  private:
    void Fill();
    void FillKind(int32_t p_lKind, const QString& p_sTitle);
    QTreeWidgetItem* Find(int32_t p_lWatchListId) const;
    void OpenItem(QTreeWidgetItem* p_pItem);
    void Say(const QString& p_sText);

    QTreeWidget* m_pTree = nullptr;
    QPushButton* m_pOpen = nullptr;
    QPushButton* m_pAdd = nullptr;
    QLabel* m_pStatus = nullptr;
    OpenFn m_fnOpen;
    std::function<void()> m_fnAdd;
    int32_t m_lOwnerId = 0;
    int32_t m_lWatchListId = 0;
};

}  // namespace qv
