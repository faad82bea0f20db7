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

}  // namespace

Variant ViewerWriterComponent::SaveLayout(DispatchArgs p_args) {
    FacadeArguments args("SaveLayout", p_args);
    const int32_t ownerId = Owner(args, 0, OwnerAccess::Write);
    LayoutRecord layout;
    layout.Header.Id = args.Long(1, "LayoutId");
    layout.Header.Name = args.Text(2, "Name");
    layout.Header.Description = args.Text(3, "Description");
    layout.Header.ParentId = args.Long(4, "ParentId");
    layout.Sort = MakeLayoutSort(args.Long(5, "PriSortId"), args.Long(6, "PriSortDir"),
                                 args.Long(7, "SecSortId"), args.Long(8, "SecSortDir"));
    layout.Columns = args.LayoutColumns(9, "ColumnTable");
    layout.m_lDataType = args.Long(10, "DataType");
    layout.m_lFinderType = args.IsGiven(11) ? args.Long(11, "FinderType") : -1;
    layout.Header.OwnerId = ownerId;
    if (layout.Columns.empty() || layout.m_lDataType < 0 || layout.m_lDataType > kLastDataType) {
        return false;
    }
    const std::optional<int32_t> savedId =
        LayoutStore(Backend().Database()).SaveLayout(ownerId, layout);
    if (!savedId) {
        return false;
    }
    args.Out(1) = *savedId;
    return true;
}

Variant ViewerWriterComponent::DeleteLayout(DispatchArgs p_args) {
    FacadeArguments args("DeleteLayout", p_args);
    const int32_t ownerId = Owner(args, 0, OwnerAccess::Write);
    const int32_t layoutId = args.Long(1, "LayoutId");
    LayoutAccess access(Backend().Database());
    const std::optional<LayoutRecord> deleted = access.Readable(ownerId, layoutId);
    if (!deleted || deleted->Header.OwnerId != ownerId ||
        !LayoutStore(Backend().Database()).DeleteLayout(ownerId, layoutId)) {
        return false;
    }
    const std::optional<LayoutRecord> standIn =
        access.Default(ownerId, deleted->m_lDataType, deleted->m_lFinderType);
    args.Out(3) = standIn ? layout_codec::ToVariant(*standIn) : Variant();
    return true;
}

Variant ViewerWriterComponent::RestoreDefaultLayout(DispatchArgs p_args) {
    FacadeArguments args("RestoreDefaultLayout", p_args);
    const int32_t ownerId = Owner(args, 0, OwnerAccess::Write);
    const int32_t viewerType = args.Long(1, "ViewerType");
    const int32_t finderType = args.Long(2, "FinderType");
    if (!args.Boolean(3, "UserOnly")) {
        LayoutStore(Backend().Database()).ClearOwnerDefault(ownerId, viewerType, finderType, false);
    }
    const std::optional<LayoutRecord> layout =
        LayoutAccess(Backend().Database()).Default(ownerId, viewerType, finderType);
    return layout ? layout_codec::ToVariant(*layout) : Variant();
}

Variant ViewerWriterComponent::DeleteCustomLayout(DispatchArgs p_args) {
    FacadeArguments args("DeleteCustomLayout", p_args);
    const int32_t ownerId = Owner(args, 0, OwnerAccess::Write);
    LayoutStore(Backend().Database())
        .ClearOwnerDefault(ownerId, args.Long(1, "PrintType"), args.Long(2, "FinderType"), true);
    return Variant();
}

const DispatchTable& ViewerWriterComponent::Table() const {
    using Self = ViewerWriterComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method("SaveLayout", 12, 12,
                    [](Self& self, DispatchArgs args) { return self.SaveLayout(args); })
            .Method("DeleteLayout", 4, 4,
                    [](Self& self, DispatchArgs args) { return self.DeleteLayout(args); })
            .Method("RestoreDefaultLayout", 4, 4,
                    [](Self& self, DispatchArgs args) { return self.RestoreDefaultLayout(args); })
            .Method("DeleteCustomLayout", 3, 3,
                    [](Self& self, DispatchArgs args) { return self.DeleteCustomLayout(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
