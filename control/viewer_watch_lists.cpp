// The viewer control's watch lists: the rows a person chooses become a new watch list or join one,
// the holdings and trades the host reads for its portfolio pages, and passing on deletions.
#include "control/viewer.h"

#include "columns/recordset_utilities.h"
#include "control/viewer_events.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/grid_control.h"
#include "outside/message_box.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "outside/watch_list_dialogs.h"
#include "state/viewer_elements.h"
#include "strategies/strategy_support.h"
#include "strategies/viewer_functionality.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qv {

namespace {

namespace protocol = facade_protocol;
using strategy_support::CreateFacade;

constexpr const char* kTitle = "Olmaris Lumetra v6.0";

// The field that holds a row's key in a list of p_eType; "" when its rows have none.
std::string KeyField(ViewerType p_eType, int32_t p_lFinderResultsType) {
    switch (p_eType) {
        case vt_Stocks:
        case vt_SectorHistory:
        case vt_Portfolio:
            return "Symbol";
        case vt_Industries:
            return "IndCode";
        case vt_FinderResults:
            if (p_lFinderResultsType == 0 || p_lFinderResultsType == 5) {
                return "Symbol";
            }
            return p_lFinderResultsType == 1 ? "IndCode" : "";
        default:
            return "";
    }
}

std::string NothingToAdd(int32_t p_lListType) {
    return std::string("There are no ") + (p_lListType == 0 ? "Stocks" : "Industries") +
           " to be added.";
}

void Tell(const std::string& p_sText) {
    MsgBox(p_sText, vbOKOnly, vbExclamation, kTitle);
}

bool IsBlankKey(const Variant& p_vKey) {
    return p_vKey.IsNull() || p_vKey.IsEmpty() || TrimWhitespace(p_vKey.ToString()).empty();
}

// The keys of p_vItems that name something, as an array from 0; rows without a key (a cash line,
// an unnamed row) have nothing to add.
std::vector<Variant> KeysOf(const Variant& p_vItems) {
    std::vector<Variant> keys;
    if (!p_vItems.IsArray()) {
        return keys;
    }
    for (const Variant& key : p_vItems.Array().Values()) {
        if (!IsBlankKey(key)) {
            keys.push_back(key);
        }
    }
    return keys;
}

Variant ArrayOf(std::vector<Variant> p_values) {
    VariantArray array = VariantArray::Vector(0, static_cast<int32_t>(p_values.size()) - 1);
    for (size_t i = 0; i < p_values.size(); ++i) {
        array.At(static_cast<int32_t>(i)) = std::move(p_values[i]);
    }
    return Variant(std::move(array));
}

// Why the chosen rows cannot make a list; "" when they can.
std::string ItemsFault(const Variant& p_vItems, size_t p_lKeys, int32_t p_lListType) {
    if (!p_vItems.IsArray() || p_vItems.Array().Size() == 0) {
        return "No rows are chosen. Select the rows to add, then try again.";
    }
    if (p_lKeys == 0) {
        return std::string("None of the chosen rows has ") +
               (p_lListType == 0 ? "a symbol" : "an industry code") + " to add.";
    }
    return WatchListSizeFault(p_lKeys);
}

// True when one of p_rLists (not a folder) is named p_sName, without regard to case.
bool NameTaken(const std::shared_ptr<Recordset>& p_rLists, const std::string& p_sName) {
    if (!p_rLists || p_rLists->State() != adStateOpen || p_rLists->RecordCount() == 0) {
        return false;
    }
    const std::shared_ptr<Recordset> rows = p_rLists->Clone();
    const bool folders = rows->Fields().IndexOf("IsFolder") >= 0;
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        const Variant name = rows->Value("Name");
        const bool folder =
            folders && !rows->Value("IsFolder").IsNull() && rows->Value("IsFolder").ToBool();
        if (!folder && !name.IsNull() &&
            EqualsIgnoreCase(TrimWhitespace(name.ToString()), TrimWhitespace(p_sName))) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<Recordset> FetchWatchLists(int32_t p_lOwnerId, int32_t p_lListType) {
    namespace call = protocol::get_watch_lists;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_lListType)};
    const Variant lists =
        CallMethod(*CreateFacade(protocol::prog_id::kWatchListReader), call::kMethod, args);
    return RecordsetUtilities::CopyRecordset(ExpectRecordset(lists, "the owner's watch lists"));
}

// What the select-item dialog chose.
struct RowChoice {
    int32_t Mode = 0;
    int32_t Count = 0;
    int32_t Action = 0;
    bool NewList = false;
    int32_t ListId = 0;
    int32_t FolderId = 0;
    bool Cancelled = false;
};

RowChoice ReadChoice(DispatchObject& p_oDialog) {
    const auto read = [&](int32_t p_lDispId) { return GetPropertyById(p_oDialog, p_lDispId); };
    return {read(kSelectItemModeId).ToLong(),     read(kSelectItemCountId).ToLong(),
            read(kSelectItemActionId).ToLong(),   read(kSelectItemNewListId).ToBool(),
            read(kSelectItemListId).ToLong(),     read(kSelectItemFolderId).ToLong(),
            read(kSelectItemCancelledId).ToBool()};
}

// A new list by the dialog's action; its id.
int32_t CreateList(const RowChoice& p_choice, int32_t p_lFolderId, const Variant& p_vItems,
                   int32_t p_lListType, const std::string& p_sName, const std::string& p_sComments,
                   int32_t p_lOwnerId) {
    const std::shared_ptr<DispatchObject> facade =
        CreateFacade(protocol::prog_id::kWatchListWriter);
    if (p_choice.Action == 1 || p_choice.Action == 2) {
        namespace call = protocol::new_compared_watch_list;
        std::array<Variant, call::kCount> args{
            Variant(p_lFolderId), Variant(p_choice.ListId), p_vItems,
            Variant(p_lListType), Variant(p_sName),         Variant(p_sComments),
            Variant(p_lOwnerId)};
        const std::string_view method =
            p_choice.Action == 1 ? call::kMatchingMethod : call::kNonMatchingMethod;
        return CallMethod(*facade, method, args).ToLong();
    }
    namespace call = protocol::new_watch_list_and_items;
    std::array<Variant, call::kCount> args{Variant(p_lFolderId), p_vItems,
                                           Variant(p_lListType), Variant(p_sName),
                                           Variant(p_sComments), Variant(p_lOwnerId)};
    return CallMethod(*facade, call::kMethod, args).ToLong();
}

void AppendList(Recordset& p_rLists, int32_t p_lId, int32_t p_lFolderId, const std::string& p_sName,
                const std::string& p_sComments) {
    p_rLists.AddNew();
    p_rLists.SetValue("id", Variant(p_lId));
    p_rLists.SetValue("parentid", Variant(p_lFolderId));
    p_rLists.SetValue("Name", Variant(p_sName));
    p_rLists.SetValue("Comments", Variant(p_sComments));
    p_rLists.Update();
}

// The index of p_sField; error 3265 for a field the rows lack.
int32_t FieldIndex(const Recordset& p_rRows, std::string_view p_sField) {
    p_rRows.Fields().Item(p_sField);
    return p_rRows.Fields().IndexOf(p_sField);
}

// The value of p_sField in the row at view position p_lPosition.
Variant ValueAt(const Recordset& p_rRows, int32_t p_lPosition, std::string_view p_sField) {
    return p_rRows.ValueAt(p_rRows.ViewRowId(p_lPosition), FieldIndex(p_rRows, p_sField));
}

}  // namespace

// --- Choosing rows
// ---------------------------------------------------------------------------------

void Viewer::SelectTop(int32_t p_lCount) {
    Reported("Viewer:SelectTop", [&] {
        const auto selection = m_olePriGrid->SelBookmarks();
        while (selection->Count() > 0) {
            selection->Remove(0);
        }
        const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
        if (!rows) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "the primary grid has no rows");
        }
        for (int32_t i = 0; i < p_lCount; ++i) {
            if (rows->IsEOF() && rows->RecordCount() > 0) {
                rows->MoveLast();
            }
            if (rows->IsBOF()) {
                rows->MoveFirst();
            }
            selection->Add(rows->Bookmark());
            if (i + 1 < p_lCount) {
                rows->MoveNext();
            }
        }
    });
}

Variant Viewer::CreateWatchListArray(qv::ViewerType p_eViewerType, int32_t p_lMode,
                                     int32_t p_lCount) {
    return Reported("Viewer: CreateWatchListArray", Variant::Null(), [&]() -> Variant {
        const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
        if (!rows || rows->State() != adStateOpen || rows->RecordCount() == 0) {
            return Variant();
        }
        const std::string field = KeyField(p_eViewerType, Elements()->FinderResultsType());
        if (field.empty()) {
            return Variant::Null();
        }
        const int32_t key = FieldIndex(*rows, field);
        const bool onRow = !rows->IsBOF() && !rows->IsEOF();
        const Variant bookmark = onRow ? rows->Bookmark() : Variant();
        std::vector<Variant> keys;
        if (p_lMode == 0) {
            keys.push_back(rows->Value(key));
        } else if (p_lMode == 1) {
            // A clone reads the selected rows by their bookmarks without moving the grid's row.
            const std::shared_ptr<Recordset> selected = rows->Clone();
            const auto selection = m_olePriGrid->SelBookmarks();
            for (int32_t i = 0; i < selection->Count(); ++i) {
                selected->SetBookmark(selection->Item(i));
                keys.push_back(selected->Value(key));
            }
        } else if (p_lMode == 2) {
            keys.resize(static_cast<size_t>(rows->RecordCount()));
            for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
                keys.at(static_cast<size_t>(rows->AbsolutePosition() - 1)) = rows->Value(key);
            }
        } else if (p_lMode == 3 && p_lCount >= 1) {
            const int32_t count = std::min(p_lCount, rows->RecordCount());
            for (int32_t i = 0; i < count && !rows->IsEOF(); ++i) {
                keys.push_back(rows->Value(key));
                rows->MoveNext();
            }
        }
        if (onRow) {
            rows->SetBookmark(bookmark);
        }
        return ArrayOf(std::move(keys));
    });
}

// --- Making and extending lists ------------------------------------------------------------------

void Viewer::AddToWatchList(const std::shared_ptr<Recordset>& p_rlist, int32_t p_lWatchlistType) {
    const std::weak_ptr<bool> alive = m_oAlive;
    Reported("Viewer: AddToWatchList", [&] {
        SetMousePointer(vbHourglass);
        PointerReset reset;
        const std::shared_ptr<ViewerElements> elements = Elements();
        const qv::ViewerType type = elements->ViewerType();
        const int32_t finderType = elements->FinderResultsType();
        if (type == vt_Sectors || type == vt_SectorHistory || type == vt_BuyFromSearch ||
            (type == vt_FinderResults && finderType == 2)) {
            return;
        }
        if (m_oleSecGrid->SelBookmarks()->Count() > 0) {
            return;
        }
        const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
        const int32_t rowCount = rows && rows->State() == adStateOpen ? rows->RecordCount() : 0;
        // Without rows there is no current row to select.
        if (m_olePriGrid->SelBookmarks()->Count() == 0 && rowCount > 0) {
            SelectTop(1);
        }
        int32_t listType = p_lWatchlistType;
        if (type == vt_FinderResults) {
            if (finderType != 0 && finderType != 1 && finderType != 3 && finderType != 5) {
                return;
            }
            listType = finderType == 1 ? 1 : 0;
        }
        const std::shared_ptr<Recordset> lists =
            p_rlist ? p_rlist : FetchWatchLists(elements->OwnerId(), listType);
        if (rowCount == 0) {
            Tell(NothingToAdd(listType));
            return;
        }

        if (!m_dlgSelectItem) {
            m_dlgSelectItem = std::make_shared<DialogSelectItem>();
        }
        const std::shared_ptr<DispatchObject> select = m_dlgSelectItem;
        if (type == vt_Stocks || type == vt_Industries || type == vt_FinderResults) {
            const bool industries =
                type == vt_Industries || (type == vt_FinderResults && finderType == 1);
            LetPropertyById(*select, kSelectItemIndustryId,
                            Variant(static_cast<int16_t>(industries ? 1 : 0)));
        }
        std::array<Variant, 6> show{RecordsetVariant(lists), Variant(0),
                                    Variant::Nothing(),      Variant(false),
                                    Variant(rowCount),       Variant(elements->OwnerId())};
        if (!CallMethodById(*select, kSelectItemShowId, show).ToBool() || alive.expired()) {
            return;
        }
        const RowChoice choice = ReadChoice(*select);

        const Variant chosen = CreateWatchListArray(type, choice.Mode, choice.Count);
        if (chosen.IsNull()) {
            Tell(NothingToAdd(listType));
            return;
        }
        std::vector<Variant> keys = KeysOf(chosen);
        if (const std::string fault = ItemsFault(chosen, keys.size(), listType); !fault.empty()) {
            Tell(fault);
            return;
        }
        const Variant items = ArrayOf(std::move(keys));

        const bool creating = choice.Action != 0 || choice.NewList;
        if (!creating) {
            if (choice.Cancelled) {
                return;
            }
            namespace call = protocol::add_watch_list_items;
            std::array<Variant, call::kMinCount> args{Variant(choice.ListId), items,
                                                      Variant(listType)};
            CallMethod(*CreateFacade(protocol::prog_id::kWatchListWriter), call::kMethod, args);
            return;
        }

        if (!m_dlgAddNew) {
            m_dlgAddNew = std::make_shared<DialogAddNew>();
        }
        const std::shared_ptr<DispatchObject> addNew = m_dlgAddNew;
        std::array<Variant, 3> naming{Variant(std::string()), Variant(std::string()),
                                      Variant(true)};
        if (!CallMethodById(*addNew, kAddNewShowId, naming).ToBool() || alive.expired()) {
            return;
        }
        const std::string name(TrimWhitespace(naming[0].ToString()));
        const std::string comments = naming[1].ToString();
        std::string fault = WatchListNameFault(name);
        if (fault.empty() && NameTaken(lists, name)) {
            fault = "There is already a watch list named \"" + name + "\". Choose another name.";
        }
        if (fault.empty()) {
            fault = WatchListCommentsFault(comments);
        }
        if (!fault.empty()) {
            Tell(fault);
            return;
        }
        DoEvents();
        if (alive.expired()) {
            return;
        }
        SetMousePointer(vbHourglass);
        DoEvents();
        if (alive.expired()) {
            return;
        }
        const int32_t folderId = choice.NewList ? choice.ListId : choice.FolderId;
        const int32_t id =
            CreateList(choice, folderId, items, listType, name, comments, elements->OwnerId());
        // Appended once the list exists, so that a refused list leaves the caller's lists as
        // they were.
        if (lists) {
            AppendList(*lists, id, folderId, name, comments);
        }
        if (id > 0) {
            const auto addedType = static_cast<int16_t>(elements->ResultType());
            RaiseEvent([&](ViewerEvents& sink) { sink.WatchListAdded(addedType); });
        }
    });
}

void Viewer::PrimaryAddToWatchList() {
    const bool industries = m_oStrategy && Elements()->ViewerType() == vt_Industries;
    AddToWatchList(nullptr, industries ? 1 : 0);
}

void Viewer::PrimaryDelete(const std::string& p_sKeys) {
    if (m_oStrategy && m_oStrategy->ViewerElements()->WatchListId() != 0) {
        RaiseEvent([&](ViewerEvents& sink) { sink.Delete(p_sKeys); });
    }
}

// --- What the host reads for its portfolio pages -------------------------------------------------

Variant Viewer::PortfolioItems() {
    return Reported("Viewer: PortfolioItems", Variant(), [&]() -> Variant {
        const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
        if (!rows || rows->State() != adStateOpen || rows->ViewCount() == 0) {
            return Variant();
        }
        struct Holding {
            Variant Symbol;
            Variant Shares;
            bool Short = false;
        };
        std::vector<Holding> holdings;
        for (int32_t i = 0; i < rows->ViewCount(); ++i) {
            Holding row{ValueAt(*rows, i, "Symbol"), ValueAt(*rows, i, "NumShares"),
                        ValueAt(*rows, i, "Short").ToBool()};
            const auto same = std::find_if(holdings.begin(), holdings.end(), [&](const auto& h) {
                return h.Symbol == row.Symbol && h.Short == row.Short;
            });
            if (same == holdings.end()) {
                holdings.push_back(std::move(row));
            } else {
                same->Shares = Variant(same->Shares.ToDouble() + row.Shares.ToDouble());
            }
        }
        VariantArray items = VariantArray::Table(4, static_cast<int32_t>(holdings.size()));
        for (size_t i = 0; i < holdings.size(); ++i) {
            const auto column = static_cast<int32_t>(i);
            const Variant& symbol = holdings[i].Symbol;
            items.At(0, column) = symbol;
            items.At(1, column) = holdings[i].Shares;
            items.At(2, column) = Variant(holdings[i].Short);
            // The host tells a holding without a symbol by this flag.
            items.At(3, column) = Variant(symbol.IsNull() || symbol.ToString().empty());
        }
        return Variant(std::move(items));
    });
}

Variant Viewer::EditTrade() {
    static constexpr std::array<const char*, 9> kTradeFields = {
        "Trade_ID", "Symbol", "BuyDate",    "Commission",        "InitialPrice",
        "Shares",   "Short",  "InitialReq", "MaintenancePercent"};
    const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
    const int32_t count = rows && rows->State() == adStateOpen ? rows->ViewCount() : 0;
    VariantArray trades = VariantArray::Table(10, count);
    const int32_t current = m_olePriGrid->Row();
    for (int32_t i = 0; i < count; ++i) {
        for (size_t field = 0; field < kTradeFields.size(); ++field) {
            trades.At(static_cast<int32_t>(field), i) = ValueAt(*rows, i, kTradeFields[field]);
        }
        trades.At(9, i) = Variant(i == current);
    }
    return Variant(std::move(trades));
}

}  // namespace qv
