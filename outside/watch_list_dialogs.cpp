#include "outside/watch_list_dialogs.h"

#include "outside/platform_context.h"
#include "outside/recordset.h"

#include <algorithm>

namespace qv {

namespace {

// The places of the select-item dialog's show method.
constexpr size_t kListsArg = 0;
constexpr size_t kRowCountArg = 4;
constexpr size_t kSelectItemArgs = 6;
// And of the add-new dialog's.
constexpr size_t kNameArg = 0;
constexpr size_t kCommentsArg = 1;
constexpr size_t kAddNewArgs = 3;

std::string TextOf(const Variant& p_vValue) {
    return p_vValue.IsNull() || p_vValue.IsEmpty() ? std::string() : p_vValue.ToString();
}

std::vector<WatchListEntryChoice> ReadLists(const Variant& p_vLists) {
    std::vector<WatchListEntryChoice> lists;
    if (!p_vLists.IsObject() || p_vLists.IsNothing()) {
        return lists;
    }
    const std::shared_ptr<Recordset> given = ExpectRecordset(p_vLists, "the owner's watch lists");
    if (given->State() != adStateOpen || given->RecordCount() == 0) {
        return lists;
    }
    // A clone, so that the caller's cursor stays where it was.
    const std::shared_ptr<Recordset> rows = given->Clone();
    const bool folders = rows->Fields().IndexOf("IsFolder") >= 0;
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        const Variant parent = rows->Value("parentid");
        lists.push_back(
            {rows->Value("id").ToLong(), parent.IsNull() ? 0 : parent.ToLong(),
             TextOf(rows->Value("Name")),
             folders && !rows->Value("IsFolder").IsNull() && rows->Value("IsFolder").ToBool()});
    }
    return lists;
}

}  // namespace

// --- The row choice ------------------------------------------------------------------------------

WatchListRowChoice::WatchListRowChoice(std::vector<WatchListEntryChoice> p_lists,
                                       bool p_bIndustries, int32_t p_lRowCount)
    : m_lists(std::move(p_lists)), m_bIndustries(p_bIndustries), m_lRowCount(p_lRowCount) {}

void WatchListRowChoice::ChooseRows(WatchListRows p_eRows, int32_t p_lCount) {
    m_eRows = p_eRows;
    m_lCount = p_eRows == WatchListRows::FromCurrent ? p_lCount : 0;
}

void WatchListRowChoice::AddToList(int32_t p_lListId) {
    const WatchListEntryChoice* list = Find(p_lListId);
    m_lAction = 0;
    m_bNewList = false;
    m_lListId = p_lListId;
    m_lFolderId = list != nullptr ? list->ParentId : 0;
}

void WatchListRowChoice::NewList(int32_t p_lFolderId, WatchListItems p_eItems,
                                 int32_t p_lOtherListId) {
    m_lFolderId = p_lFolderId;
    if (p_eItems == WatchListItems::All) {
        // The folder picked for a new list is the dialog's chosen entry.
        m_lAction = 0;
        m_bNewList = true;
        m_lListId = p_lFolderId;
        return;
    }
    m_lAction = p_eItems == WatchListItems::Matching ? 1 : 2;
    m_bNewList = false;
    m_lListId = p_lOtherListId;
}

const WatchListEntryChoice* WatchListRowChoice::Find(int32_t p_lId) const {
    const auto found =
        std::find_if(m_lists.begin(), m_lists.end(),
                     [&](const WatchListEntryChoice& entry) { return entry.Id == p_lId; });
    return found == m_lists.end() ? nullptr : &*found;
}

std::string WatchListRowChoice::Fault() const {
    if (m_eRows == WatchListRows::FromCurrent && m_lCount < 1) {
        return "Enter how many rows to take, from 1 up.";
    }
    const bool adding = m_lAction == 0 && !m_bNewList;
    if (adding || m_lAction == 1 || m_lAction == 2) {
        const WatchListEntryChoice* list = Find(m_lListId);
        if (list == nullptr || list->Folder) {
            return adding ? "Choose the watch list to add to."
                          : "Choose the watch list to compare with.";
        }
    }
    if (!adding && m_lFolderId != 0) {
        const WatchListEntryChoice* folder = Find(m_lFolderId);
        if (folder == nullptr || !folder->Folder) {
            return "Choose a folder for the new watch list, or none.";
        }
    }
    return {};
}

bool WatchListRowChoice::Confirm() {
    m_sRefusal = Fault();
    m_bConfirmed = m_sRefusal.empty();
    return m_bConfirmed;
}

// --- The naming of a new list --------------------------------------------------------------------

bool NewWatchListNaming::Confirm() {
    m_sRefusal = WatchListNameFault(m_sName);
    if (m_sRefusal.empty()) {
        m_sRefusal = WatchListCommentsFault(m_sComments);
    }
    m_bConfirmed = m_sRefusal.empty();
    return m_bConfirmed;
}

// --- The dispatch objects ------------------------------------------------------------------------

Variant DialogSelectItem::InvokeById(int32_t p_lDispId, InvokeKind p_eKind,
                                     std::span<Variant> p_args) {
    if (p_lDispId == kSelectItemShowId && p_eKind == InvokeKind::Method) {
        if (p_args.size() != kSelectItemArgs) {
            RaiseWrongArgumentCount(*this, p_lDispId);
        }
        return Variant(Show(p_args));
    }
    if (p_lDispId == kSelectItemIndustryId && p_eKind == InvokeKind::PropertyLet) {
        if (p_args.size() != 1) {
            RaiseWrongArgumentCount(*this, p_lDispId);
        }
        m_iIndustry = p_args[0].ToInt();
        return Variant();
    }
    if (p_eKind == InvokeKind::PropertyGet) {
        return Property(p_lDispId);
    }
    RaiseMemberNotFound(*this, p_lDispId);
}

Variant DialogSelectItem::Property(int32_t p_lDispId) {
    switch (p_lDispId) {
        case kSelectItemIndustryId:
            return Variant(m_iIndustry);
        case kSelectItemModeId:
            return Variant(m_lMode);
        case kSelectItemCountId:
            return Variant(m_lCount);
        case kSelectItemActionId:
            return Variant(m_lAction);
        case kSelectItemNewListId:
            return Variant(m_bNewList);
        case kSelectItemListId:
            return Variant(m_lListId);
        case kSelectItemFolderId:
            return Variant(m_lFolderId);
        case kSelectItemCancelledId:
            return Variant(m_bCancelled);
        default:
            RaiseMemberNotFound(*this, p_lDispId);
    }
}

bool DialogSelectItem::Show(std::span<Variant> p_args) {
    WatchListRowChoice dialog(ReadLists(p_args[kListsArg]), m_iIndustry != 0,
                              p_args[kRowCountArg].ToLong());
    PlatformContext::Current().Dialogs().ShowModal(dialog);
    m_bCancelled = !dialog.Confirmed();
    if (m_bCancelled) {
        return false;
    }
    m_lMode = static_cast<int32_t>(dialog.Rows());
    m_lCount = dialog.Count();
    m_lAction = dialog.Action();
    m_bNewList = dialog.NewListFlag();
    m_lListId = dialog.ListId();
    m_lFolderId = dialog.FolderId();
    return true;
}

Variant DialogAddNew::InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) {
    if (p_lDispId != kAddNewShowId || p_eKind != InvokeKind::Method) {
        RaiseMemberNotFound(*this, p_lDispId);
    }
    if (p_args.size() != kAddNewArgs) {
        RaiseWrongArgumentCount(*this, p_lDispId);
    }
    NewWatchListNaming dialog(TextOf(p_args[kNameArg]), TextOf(p_args[kCommentsArg]));
    PlatformContext::Current().Dialogs().ShowModal(dialog);
    if (!dialog.Confirmed()) {
        return Variant(false);
    }
    p_args[kNameArg] = Variant(std::string(TrimWhitespace(dialog.Name())));
    p_args[kCommentsArg] = Variant(dialog.Comments());
    return Variant(true);
}

}  // namespace qv
