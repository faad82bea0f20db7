#include "facade/viewer_writer_component.h"

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/layout_access.h"
#include "facade/layout_store.h"
#include "facade/system_layouts.h"

namespace qv::facade {

namespace {

// Viewer types 0 to 7 and their print types 9 to 16 (8 is the buy-from-search type, which has
// no list of its own but may keep a layout).
constexpr int32_t kLastDataType = 16;

namespace save = facade_protocol::save_layout;
namespace del = facade_protocol::delete_layout;
namespace restore = facade_protocol::restore_default_layout;
namespace del_custom = facade_protocol::delete_custom_layout;

}  // namespace

Variant ViewerWriterComponent::SaveLayout(DispatchArgs p_args) {
    FacadeArguments args(save::kMethod, p_args);
    const int32_t ownerId = Owner(args, save::kOwnerId, OwnerAccess::Write);
    LayoutRecord layout;
    layout.Header.Id = args.Long(save::kLayoutId);
    layout.Header.Name = args.Text(save::kName);
    layout.Header.Description = args.Text(save::kDescription);
    layout.Header.ParentId = args.Long(save::kParentId);
    layout.Sort = MakeLayoutSort(args.Long(save::kPriSortId), args.Long(save::kPriSortDir),
                                 args.Long(save::kSecSortId), args.Long(save::kSecSortDir));
    layout.Columns = args.LayoutColumns(save::kColumnTable);
    layout.m_lDataType = args.Long(save::kDataType);
    layout.m_lFinderType = args.IsGiven(save::kFinderType) ? args.Long(save::kFinderType) : -1;
    layout.Header.OwnerId = ownerId;
    if (layout.Columns.empty() || layout.m_lDataType < 0 || layout.m_lDataType > kLastDataType) {
        return false;
    }
    const std::optional<int32_t> savedId =
        LayoutStore(Backend().Database()).SaveLayout(ownerId, layout);
    if (!savedId) {
        return false;
    }
    args.Out(save::kLayoutId) = *savedId;
    return true;
}

Variant ViewerWriterComponent::DeleteLayout(DispatchArgs p_args) {
    FacadeArguments args(del::kMethod, p_args);
    const int32_t ownerId = Owner(args, del::kOwnerId, OwnerAccess::Write);
    const int32_t layoutId = args.Long(del::kLayoutId);
    LayoutAccess access(Backend().Database());
    const std::optional<LayoutRecord> deleted = access.Readable(ownerId, layoutId);
    if (!deleted || deleted->Header.OwnerId != ownerId ||
        !LayoutStore(Backend().Database()).DeleteLayout(ownerId, layoutId)) {
        return false;
    }
    const std::optional<LayoutRecord> standIn =
        access.Default(ownerId, deleted->m_lDataType, deleted->m_lFinderType);
    args.Out(del::kNewLayout) = standIn ? layout_codec::ToVariant(*standIn) : Variant();
    return true;
}

Variant ViewerWriterComponent::RestoreDefaultLayout(DispatchArgs p_args) {
    FacadeArguments args(restore::kMethod, p_args);
    const int32_t ownerId = Owner(args, restore::kOwnerId, OwnerAccess::Write);
    const int32_t viewerType = args.Long(restore::kViewerType);
    const int32_t finderType = args.Long(restore::kFinderType);
    if (!args.Boolean(restore::kUserOnly)) {
        LayoutStore(Backend().Database()).ClearOwnerDefault(ownerId, viewerType, finderType, false);
    }
    const std::optional<LayoutRecord> layout =
        LayoutAccess(Backend().Database()).Default(ownerId, viewerType, finderType);
    return layout ? layout_codec::ToVariant(*layout) : Variant();
}

Variant ViewerWriterComponent::DeleteCustomLayout(DispatchArgs p_args) {
    FacadeArguments args(del_custom::kMethod, p_args);
    const int32_t ownerId = Owner(args, del_custom::kOwnerId, OwnerAccess::Write);
    LayoutStore(Backend().Database())
        .ClearOwnerDefault(ownerId, args.Long(del_custom::kPrintType),
                           args.Long(del_custom::kFinderType), true);
    return Variant();
}

const DispatchTable& ViewerWriterComponent::Table() const {
    using Self = ViewerWriterComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method(save::kMethod, save::kCount, save::kCount,
                    [](Self& self, DispatchArgs args) { return self.SaveLayout(args); })
            .Method(del::kMethod, del::kCount, del::kCount,
                    [](Self& self, DispatchArgs args) { return self.DeleteLayout(args); })
            .Method(restore::kMethod, restore::kCount, restore::kCount,
                    [](Self& self, DispatchArgs args) { return self.RestoreDefaultLayout(args); })
            .Method(del_custom::kMethod, del_custom::kCount, del_custom::kCount,
                    [](Self& self, DispatchArgs args) { return self.DeleteCustomLayout(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
