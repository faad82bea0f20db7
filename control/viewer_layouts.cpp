// The viewer control's layouts: opening, saving, deleting and restoring the layout of its grids.
//
// Each operation creates its facade component, uses it and lets it go before returning; the
// facade answers for the owner logged in, so a layout of someone else is never changed here.
#include "control/viewer.h"

#include "columns/grid_layout.h"
#include "control/viewer_events.h"
#include "grid/grid.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/layout_description.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/strategy_support.h"

#include <array>
#include <set>

namespace qv {

namespace {

namespace protocol = facade_protocol;
using strategy_support::CreateFacade;

constexpr const char* kOpenLayoutError = "Open Layout Error";
constexpr const char* kDeleteWarning = "Delete Warning";
// The parent of every layout a user makes from another.
constexpr int32_t kCustomParentId = 2;

void TellOpenLayoutError(const std::string& p_sReason) {
    std::string text = "Unable to load viewer layout.";
    if (!p_sReason.empty()) {
        text += "\n" + p_sReason;
    }
    MsgBox(text, vbOKOnly, vbExclamation, kOpenLayoutError);
}

// The reason a layout from the facade cannot be shown: a field that the field catalogue in use
// does not know. Empty when every field is known, or before a list has brought a catalogue.
std::string UnknownFieldReason(const Variant& p_vLayout,
                               const std::shared_ptr<Recordset>& p_rFields) {
    if (!p_rFields || p_rFields->RecordCount() == 0) {
        return "";
    }
    std::set<int32_t> known;
    const std::shared_ptr<Recordset> fields = p_rFields->Clone();
    for (fields->MoveFirst(); !fields->IsEOF(); fields->MoveNext()) {
        known.insert(fields->Value("Parameter_ID").ToLong());
    }
    for (const LayoutColumn& column : layout_codec::Parse(p_vLayout).Columns) {
        if (!known.contains(column.ParameterId)) {
            return "The layout names the unknown field " + std::to_string(column.ParameterId) +
                   " (\"" + column.SQLColumn + "\").";
        }
    }
    return "";
}

}  // namespace

int16_t Viewer::LayoutFinderType() const {
    const std::shared_ptr<ViewerElements> elements = Elements();
    switch (elements->ViewerType()) {
        case vt_FinderResults:
            return static_cast<int16_t>(elements->FinderResultsType());
        case vt_Portfolio:
            return elements->FinderResultsType() == 1 ? 1 : -1;
        default:
            return -1;
    }
}

void Viewer::SetPrintLayoutMode(bool p_bOn) {
    m_bPrintLayoutMode = p_bOn;
    m_vPrePrintLayout = p_bOn ? LayoutInfo() : Variant();
}

// --- Loading -----------------------------------------------------------------------------------

Variant Viewer::FetchDefaultLayout(int16_t& p_iViewerType, int16_t& p_iFinderType,
                                   int32_t& p_lOwnerId) {
    return Reported("Viewer:GetDefaultLayout", Variant(), [&] {
        if (p_iViewerType == -1) {
            p_iViewerType = static_cast<int16_t>(ViewerType());
        }
        if (p_iFinderType == -1) {
            p_iFinderType = LayoutFinderType();
        }
        if (p_lOwnerId == -1) {
            p_lOwnerId = OwnerId();
        }
        namespace call = protocol::get_default_layout;
        std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_iViewerType),
                                               Variant(p_iFinderType)};
        const Variant layout = CallMethod(*CreateFacade(), call::kMethod, args);
        p_lOwnerId = args[call::kOwnerId.Position].ToLong();
        p_iViewerType = args[call::kViewerType.Position].ToInt();
        p_iFinderType = args[call::kFinderType.Position].ToInt();
        return layout;
    });
}

bool Viewer::ShowLoadedLayout(const Variant& p_vLayout) {
    if (p_vLayout.IsEmpty()) {
        TellOpenLayoutError("");
        return false;
    }
    try {
        const std::string unknown = UnknownFieldReason(p_vLayout, ParameterList());
        if (!unknown.empty()) {
            TellOpenLayoutError(unknown);
            return false;
        }
        SetLayoutInfo(p_vLayout);
    } catch (const AutomationError& error) {
        TellOpenLayoutError(error.Description());
        return false;
    }
    UpdateViewer(false, false);
    return true;
}

bool Viewer::AnnounceLayout(int32_t p_lLayoutId, bool p_bSortChanged) {
    const std::shared_ptr<Grid> priGrid = m_oPriGrid;
    const std::shared_ptr<Grid> secGrid = m_oSecGrid;
    priGrid->ResetLeftColumn();
    secGrid->ResetLeftColumn();
    if (!RaiseEvent([&](ViewerEvents& sink) { sink.LayoutLoaded(p_lLayoutId); })) {
        return false;
    }
    if (p_bSortChanged && !RaiseEvent([](ViewerEvents& sink) { sink.ChangeSort(); })) {
        return false;
    }
    const std::weak_ptr<bool> alive = m_oAlive;
    DoEvents();
    return !alive.expired();
}

void Viewer::LoadDefaultLayout() {
    int16_t viewerType = -1;
    int16_t finderType = -1;
    LoadDefaultLayout(viewerType, finderType);
}

void Viewer::LoadDefaultLayout(int16_t& p_iViewerType, int16_t& p_iFinderResultsType) {
    int32_t ownerId = -1;
    const Variant layout = FetchDefaultLayout(p_iViewerType, p_iFinderResultsType, ownerId);
    if (ViewerType() == vt_Portfolio) {
        SetFinderResultsType(p_iFinderResultsType == 1 ? 1 : 0);
    }
    if (!ShowLoadedLayout(layout)) {
        return;
    }
    AnnounceLayout(Elements()->GridLayout()->Id());
}

void Viewer::LoadLayout(int32_t p_lLayoutId, bool p_bFromPrint) {
    Reported("Viewer: LoadLayout", [&] {
        PointerReset reset;
        SetMousePointer(vbHourglass);
        const Variant sortInUse = p_bFromPrint ? Elements()->SortInfo() : Variant();
        namespace call = protocol::get_layout;
        std::array<Variant, call::kCount> args{Variant(OwnerId()), Variant(p_lLayoutId)};
        Variant layout = CallMethod(*CreateFacade(), call::kMethod, args);
        if (p_bFromPrint && layout.IsArray()) {
            layout.Array().At(1) = sortInUse;
        }
        if (ShowLoadedLayout(layout)) {
            AnnounceLayout(p_lLayoutId);
        }
    });
}

void Viewer::LoadLayoutFromMenu(const std::string& p_sItemTag) {
    LoadLayout(Variant(p_sItemTag).ToLong());
}

// --- Saving and deleting -----------------------------------------------------------------------

bool Viewer::SaveLayout(bool p_bSaveAs) {
    Reported("Viewer: SaveLayout", [&] {
        const std::shared_ptr<ViewerElements> elements = Elements();
        LayoutDescription layout = elements->GridLayoutDescription();
        const int32_t ownerId = OwnerId();
        if (layout.Header.OwnerId != ownerId || p_bSaveAs) {
            layout.Header.Id = -1;
            layout.Header.Name = "Custom " + layout.Header.Name;
            layout.Header.ParentId = kCustomParentId;
            layout.Header.OwnerId = ownerId;
        }
        const std::shared_ptr<DispatchObject> writer =
            CreateFacade(protocol::prog_id::kViewerWriter);
        const int16_t finderType = LayoutFinderType();
        int32_t dataType = ViewerType();
        int32_t layoutId = layout.Header.Id;
        if (m_bPrintLayoutMode) {
            dataType = elements->PrintType();
            const bool unchanged = !m_vPrePrintLayout.IsEmpty() &&
                                   layout_codec::Parse(m_vPrePrintLayout).Header.Id == layoutId;
            layoutId = unchanged ? -1 : layoutId;
        }
        const LayoutSort sort = layout.Sort.value_or(LayoutSort{});
        namespace call = protocol::save_layout;
        std::array<Variant, call::kCount> args{Variant(ownerId),
                                               Variant(layoutId),
                                               Variant(layout.Header.Name),
                                               Variant(layout.Header.Description),
                                               Variant(layout.Header.ParentId),
                                               Variant(sort.PriSortId),
                                               Variant(sort.PriSortDir),
                                               Variant(sort.SecSortId),
                                               Variant(sort.SecSortDir),
                                               layout_codec::ColumnTableToVariant(layout.Columns),
                                               Variant(dataType),
                                               Variant(finderType)};
        if (!CallMethod(*writer, call::kMethod, args).ToBool()) {
            MsgBox("Unable to save layout!", vbOKOnly, vbExclamation, "Save Layout");
            return;
        }
        // The facade may have written back any part of the description.
        layout.Header.Name = args[call::kName.Position].ToString();
        layout.Header.Description = args[call::kDescription.Position].ToString();
        layout.Header.ParentId = args[call::kParentId.Position].ToLong();
        // A saved layout always has a sort block, even one saved from a list shown unsorted
        // (screen results shown with the default layout's columns).
        layout.Sort = sort;
        layout.Sort->PriSortId = args[call::kPriSortId.Position].ToLong();
        layout.Sort->PriSortDir = args[call::kPriSortDir.Position].ToLong();
        layout.Sort->SecSortId = args[call::kSecSortId.Position].ToLong();
        layout.Sort->SecSortDir = args[call::kSecSortDir.Position].ToLong();
        layout.Columns = layout_codec::ParseColumnTable(args[call::kColumnTable.Position]);
        const int32_t savedId = args[call::kLayoutId.Position].ToLong();
        if (savedId != layout.Header.Id) {
            layout.Header.Id = savedId;
        }
        SetLayoutInfo(layout_codec::ToVariant(layout));
    });
    return false;
}

void Viewer::DeleteLayout() {
    Reported("Viewer: DeleteLayout", [&] {
        const LayoutHeader header = Elements()->GridLayoutDescription().Header;
        if (header.OwnerId != OwnerId()) {
            MsgBox("You may not delete the default layout.", vbOKOnly, vbExclamation,
                   kDeleteWarning);
            return;
        }
        if (MsgBox("Are you sure you want to delete the current layout?", vbYesNo, vbExclamation,
                   kDeleteWarning) != vbYes) {
            return;
        }
        namespace call = protocol::delete_layout;
        std::array<Variant, call::kCount> args{Variant(header.OwnerId), Variant(header.Id),
                                               Variant(FinderResultsType()), Variant()};
        const bool deleted =
            CallMethod(*CreateFacade(protocol::prog_id::kViewerWriter), call::kMethod, args)
                .ToBool();
        if (!deleted) {
            return;
        }
        const Variant standIn = args[call::kNewLayout.Position];
        if (standIn.IsEmpty()) {
            MsgBox("Unable to reset default layout", vbOKOnly, vbExclamation, "Layout Warning");
            return;
        }
        SetLayoutInfo(standIn);
        ClearResults();
        RaiseEvent([&](ViewerEvents& sink) { sink.LayoutDeleted(header.Id, 0); });
    });
}

// --- Restoring ---------------------------------------------------------------------------------

void Viewer::RestoreDefaultLayout(bool& p_bUserOnly) {
    bool failed = false;
    {
        ErrorScope scope("Viewer:RestoreDefaultLayout");
        try {
            const std::shared_ptr<DispatchObject> writer =
                CreateFacade(protocol::prog_id::kViewerWriter);
            const int16_t finderType = LayoutFinderType();
            if (!m_bPrintLayoutMode) {
                namespace call = protocol::restore_default_layout;
                std::array<Variant, call::kCount> args{Variant(OwnerId()),
                                                       Variant(static_cast<int16_t>(ViewerType())),
                                                       Variant(finderType), Variant(p_bUserOnly)};
                const Variant layout = CallMethod(*writer, call::kMethod, args);
                p_bUserOnly = args[call::kUserOnly.Position].ToBool();
                SetLayoutInfo(layout);
            } else {
                namespace call = protocol::delete_custom_layout;
                std::array<Variant, call::kCount> args{
                    Variant(OwnerId()), Variant(static_cast<int16_t>(Elements()->PrintType())),
                    Variant(finderType)};
                CallMethod(*writer, call::kMethod, args);
                SetLayoutInfo(m_vPrePrintLayout);
            }
            UpdateViewer(false, false);
            if (!AnnounceLayout(Elements()->GridLayout()->Id(), true)) {
                return;
            }
        } catch (...) {
            scope.Capture();
        }
        failed = scope.Failed();
    }
    if (failed) {
        MsgBox("There was a problem restoring your default layout.", vbOKOnly, vbExclamation,
               "Layout not restored.");
    }
}

// --- The host's menus --------------------------------------------------------------------------

int32_t Viewer::CreateLayoutMenu(std::shared_ptr<DispatchObject>&) {
    return 0;
}

void Viewer::HandleExMenuClick(int32_t p_lViewerType) {
    // Copies: the grid's command may release the control and its wrappers.
    const std::shared_ptr<Grid> priGrid = m_oPriGrid;
    const std::shared_ptr<Grid> secGrid = m_oSecGrid;
    if (m_bPriGridLastUsed) {
        if (priGrid && (p_lViewerType == 1 || p_lViewerType == 2)) {
            priGrid->HandleExMenuClick(p_lViewerType == 1 ? 7 : 9);
        }
    } else if (secGrid && p_lViewerType == 1) {
        secGrid->HandleExMenuClick(6);
    }
}

}  // namespace qv
