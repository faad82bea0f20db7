// The support library's two watch-list dialogs, which the viewer places on its surface and calls
// by dispatch id only.
//
// DialogSelectItem (dlgSelectItem): which rows go to a watch list, and where.
//     kSelectItemIndustryId  16-bit property, written: 1 when the rows are industry groups
//     kSelectItemShowId      Show(watch lists, 0, Nothing, False, row count (by reference),
//                            owner id); True when the person confirmed
//   and read after it, each a property:
//     kSelectItemModeId      0 the current row, 1 the selected rows, 2 all rows, 3 a count of
//                            rows from the current one
//     kSelectItemCountId     the count of mode 3
//     kSelectItemActionId    0 add to a list or make a new one, 1 a new list of the items also
//                            in another list, 2 one of the items not in it, 3 a new list
//     kSelectItemNewListId   the new-list flag (with action 0)
//     kSelectItemListId      the list chosen: the one added to or compared with; with the
//                            new-list flag, the folder of the new list
//     kSelectItemFolderId    the folder of a new compared list
//     kSelectItemCancelledId True unless the person confirmed
// The watch lists are a recordset of "id", "parentid", "Name" and, where given, "IsFolder".
//
// DialogAddNew (dlgAddNew): the name and comments of a new list.
//     kAddNewShowId          Show(name (by reference), comments (by reference), True); True when
//                            the person confirmed, the name and comments then written back
//
// What the person does lives in WatchListRowChoice and NewWatchListNaming, shown through the
// platform's dialog runner: the shell draws them, tests script them, and without a display they
// are dismissed (a cancel).
//
//     platform.Dialogs().QueueScriptFor<WatchListRowChoice>([](WatchListRowChoice& dialog) {
//         dialog.ChooseRows(WatchListRows::Selected);
//         dialog.NewList(0, WatchListItems::All);
//         dialog.Confirm();
//     });
#pragma once

#include "outside/dialog_runner.h"
#include "outside/dispatch.h"
#include "outside/watch_list_limits.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

inline constexpr int32_t kSelectItemCancelledId = 0x68030001;
inline constexpr int32_t kSelectItemListId = 0x68030002;
inline constexpr int32_t kSelectItemActionId = 0x68030004;
inline constexpr int32_t kSelectItemModeId = 0x68030006;
inline constexpr int32_t kSelectItemCountId = 0x68030007;
inline constexpr int32_t kSelectItemFolderId = 0x68030009;
inline constexpr int32_t kSelectItemNewListId = 0x6803000A;
inline constexpr int32_t kSelectItemIndustryId = 0x6803000D;
inline constexpr int32_t kSelectItemShowId = 0x60030018;
inline constexpr int32_t kAddNewShowId = 0x60030003;

enum class WatchListRows { Current = 0, Selected = 1, All = 2, FromCurrent = 3 };
enum class WatchListItems { All, Matching, NonMatching };

struct WatchListEntryChoice {
    int32_t Id = 0;
    int32_t ParentId = 0;
    std::string Name;
    bool Folder = false;
};

class WatchListRowChoice : public ModalDialog {
  public:
    static constexpr const char* kCaption = "Add to Watch List";

    // p_lRowCount: the rows of the list, which bound a count from the current row.
    WatchListRowChoice(std::vector<WatchListEntryChoice> p_lists, bool p_bIndustries,
                       int32_t p_lRowCount);

    std::string DialogCaption() const override { return kCaption; }
    void DismissDialog() override { m_bConfirmed = false; }

    const std::vector<WatchListEntryChoice>& Lists() const { return m_lists; }
    bool Industries() const { return m_bIndustries; }
    int32_t RowCount() const { return m_lRowCount; }

    // p_lCount counts only with WatchListRows::FromCurrent.
    void ChooseRows(WatchListRows p_eRows, int32_t p_lCount = 0);
    // The rows go into p_lListId, one of the lists offered.
    void AddToList(int32_t p_lListId);
    // The rows, or those also (or not) in p_lOtherListId, make a new list in p_lFolderId (0 the
    // top).
    void NewList(int32_t p_lFolderId, WatchListItems p_eItems = WatchListItems::All,
                 int32_t p_lOtherListId = 0);

    // The OK button: refused, with the reason in Refusal() and the dialog left open, unless the
    // count, list and folder chosen are among those offered.
    bool Confirm();
    bool Confirmed() const { return m_bConfirmed; }
    const std::string& Refusal() const { return m_sRefusal; }

    WatchListRows Rows() const { return m_eRows; }
    int32_t Count() const { return m_lCount; }
    int32_t Action() const { return m_lAction; }
    bool NewListFlag() const { return m_bNewList; }
    int32_t ListId() const { return m_lListId; }
    int32_t FolderId() const { return m_lFolderId; }

  private:
    const WatchListEntryChoice* Find(int32_t p_lId) const;
    std::string Fault() const;

    std::vector<WatchListEntryChoice> m_lists;
    bool m_bIndustries;
    int32_t m_lRowCount;
    WatchListRows m_eRows = WatchListRows::Selected;
    int32_t m_lCount = 0;
    int32_t m_lAction = 0;
    bool m_bNewList = true;
    int32_t m_lListId = 0;
    int32_t m_lFolderId = 0;
    std::string m_sRefusal;
    bool m_bConfirmed = false;
};

class NewWatchListNaming : public ModalDialog {
  public:
    static constexpr const char* kCaption = "New Watch List";

    NewWatchListNaming(std::string p_sName, std::string p_sComments)
        : m_sName(std::move(p_sName)), m_sComments(std::move(p_sComments)) {}

    std::string DialogCaption() const override { return kCaption; }
    void DismissDialog() override { m_bConfirmed = false; }

    const std::string& Name() const { return m_sName; }
    const std::string& Comments() const { return m_sComments; }
    void SetName(std::string p_sName) { m_sName = std::move(p_sName); }
    void SetComments(std::string p_sComments) { m_sComments = std::move(p_sComments); }

    // Refused, with the reason in Refusal(), for a name WatchListNameFault finds fault with or
    // comments over their limit.
    bool Confirm();
    bool Confirmed() const { return m_bConfirmed; }
    const std::string& Refusal() const { return m_sRefusal; }

  private:
    std::string m_sName;
    std::string m_sComments;
    std::string m_sRefusal;
    bool m_bConfirmed = false;
};

class DialogSelectItem : public DispatchObject {
  public:
    std::string_view DispatchClassName() const override { return "DialogSelectItem"; }
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;

  private:
    bool Show(std::span<Variant> p_args);
    Variant Property(int32_t p_lDispId);

    int16_t m_iIndustry = 0;
    int32_t m_lMode = 0;
    int32_t m_lCount = 0;
    int32_t m_lAction = 0;
    bool m_bNewList = false;
    int32_t m_lListId = 0;
    int32_t m_lFolderId = 0;
    bool m_bCancelled = true;
};

class DialogAddNew : public DispatchObject {
  public:
    std::string_view DispatchClassName() const override { return "DialogAddNew"; }
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;
};

}  // namespace qv
