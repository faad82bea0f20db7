// The "Watch lists" side panel ("ctlWatchListSupport"): the owner's stock and industry watch
// lists, in their folders, as the data facade gives them ("GetWatchLists").
//
// Opening a list (Enter or a double click on it, or Open) makes it the current list and raises
// "WATCHLISTCHANGED" (list type 0 stocks or 1 industries, owner, list id, the panel's day,
// average type "A"), on which the list is shown. Import… raises "IMPORT", Add to watch list…
// "ADDTOWATCHLIST" (Nothing: the rows are the control's choice) and the close button
// "CLOSECLICKED".
//
// By name: "Init" (owner, the viewer type or list type whose lists it shows, day), "ShowClose",
// "CurrentWatchListID", "CurrentDate", "Import" and "DeleteItems". DeleteItems removes items of
// the current list, after asking, through the facade ("DeleteWatchListItems") and raises
// "WATCHLISTCHANGED" for the list again; Import adds the symbols of a text or CSV file to it
// ("AddWatchListItems"). What the facade refuses is said in the panel and changes nothing.
//
//     auto* panel = new WatchListPanel(frame);
//     panel->SetCurrentWatchList(savedId);
//     panel->SetItemCheck([&](const std::string& item, int32_t kind) { ... });
//     panel->Init(ownerId, WatchListPanel::kAllLists, day);
#pragma once

#include "shell/support_panel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv {

class DispatchTable;
class WatchListPanel : public SupportPanel {
  public:
    // Init's list kind for both kinds of lists: 0 shows stock lists, 1 industry lists.
    static constexpr int32_t kAllLists = -1;
    // The file to import, empty when the person cancelled.
    using ChooseFileFn = std::function<QString()>;
    // Whether an item of a file names something the market holds, for a list kind.
    using ItemCheckFn = std::function<bool(const std::string& p_sItem, int32_t p_lKind)>;

    explicit WatchListPanel(QWidget* p_pParent = nullptr);

    std::shared_ptr<DispatchObject> Object() override;

    // Reads the owner's lists of that kind afresh (a viewer type: 1 industry lists, 0 stock lists,
    // kAllLists or any other both).
    void Init(int32_t p_lOwnerId, int32_t p_lListKind, double p_dDate);
    void SetShowClose(bool p_bShow);
    // The list marked current; the next Init marks it.
    void SetCurrentWatchList(int32_t p_lWatchListId);
    int32_t CurrentWatchListId() const { return m_lWatchListId; }
    void SetCurrentDate(double p_dDate) { m_dDate = p_dDate; }
    double CurrentDate() const { return m_dDate; }
    // Removes p_sItems (keys joined by "," or, as the control's Delete event joins them, by
    // "','") from the current list once the person agrees; returns how many were removed.
    int32_t DeleteItems(const std::string& p_sItems);
    // Adds the symbols of a file the person chooses to the current list; returns how many were
    // added.
    int32_t Import();

    // Without a chooser, a file dialog asks.
    void SetFileChooser(ChooseFileFn p_fnChoose) { m_fnChooseFile = std::move(p_fnChoose); }
    // Without a check, every item goes to the facade, which leaves out what names nothing.
    void SetItemCheck(ItemCheckFn p_fnCheck) { m_fnItemCheck = std::move(p_fnCheck); }

    // The name of a list the panel holds; empty when it holds none of that id.
    QString ListName(int32_t p_lWatchListId) const;
    // Opens the list of that id as a person does; false when the panel holds none.
    bool OpenList(int32_t p_lWatchListId);
    QTreeWidget& Tree() const { return *m_pTree; }
    QString StatusText() const;

  private:
    static const DispatchTable& Table();
    void Fill();
    void FillKind(int32_t p_lKind, const QString& p_sTitle);
    QTreeWidgetItem* Find(int32_t p_lWatchListId) const;
    void OpenItem(const QTreeWidgetItem* p_pItem);
    void MarkCurrent(bool p_bCurrent);
    void RaiseChanged(int32_t p_lKind);
    QString ChooseFile() const;
    int32_t AddItems(const QTreeWidgetItem& p_oList, const std::vector<std::string>& p_items);
    void Say(const QString& p_sText);

    QTreeWidget* m_pTree = nullptr;
    QToolButton* m_pClose = nullptr;
    QLabel* m_pStatus = nullptr;
    ChooseFileFn m_fnChooseFile;
    ItemCheckFn m_fnItemCheck;
    int32_t m_lOwnerId = 0;
    int32_t m_lListKind = kAllLists;
    int32_t m_lWatchListId = 0;
    double m_dDate = 0;
};

}  // namespace qv
