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
    FacadeArguments oArgs("SaveLayout", p_args);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Write);
    LayoutRecord oLayout;
    oLayout.Header.Id = oArgs.Long(1, "LayoutId");
    oLayout.Header.Name = oArgs.Text(2, "Name");
    oLayout.Header.Description = oArgs.Text(3, "Description");
    oLayout.Header.ParentId = oArgs.Long(4, "ParentId");
    oLayout.Sort = MakeLayoutSort(oArgs.Long(5, "PriSortId"), oArgs.Long(6, "PriSortDir"),
                                  oArgs.Long(7, "SecSortId"), oArgs.Long(8, "SecSortDir"));
    oLayout.Columns = oArgs.LayoutColumns(9, "ColumnTable");
    oLayout.m_lDataType = oArgs.Long(10, "DataType");
    oLayout.m_lFinderType = oArgs.IsGiven(11) ? oArgs.Long(11, "FinderType") : -1;
    oLayout.Header.OwnerId = lOwnerId;
    if (oLayout.Columns.empty() || oLayout.m_lDataType < 0 || oLayout.m_lDataType > kLastDataType) {
        return false;
    }
    const std::optional<int32_t> lSavedId =
        LayoutStore(Backend().Database()).SaveLayout(lOwnerId, oLayout);
    if (!lSavedId) {
        return false;
    }
    oArgs.Out(1) = *lSavedId;
    return true;
}

Variant ViewerWriterComponent::DeleteLayout(DispatchArgs p_args) {
    FacadeArguments oArgs("DeleteLayout", p_args);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Write);
    const int32_t lLayoutId = oArgs.Long(1, "LayoutId");
    LayoutAccess oAccess(Backend().Database());
    const std::optional<LayoutRecord> oDeleted = oAccess.Readable(lOwnerId, lLayoutId);
    if (!oDeleted || oDeleted->Header.OwnerId != lOwnerId ||
        !LayoutStore(Backend().Database()).DeleteLayout(lOwnerId, lLayoutId)) {
        return false;
    }
    const std::optional<LayoutRecord> oStandIn =
        oAccess.Default(lOwnerId, oDeleted->m_lDataType, oDeleted->m_lFinderType);
    oArgs.Out(3) = oStandIn ? layout_codec::ToVariant(*oStandIn) : Variant();
    return true;
}

Variant ViewerWriterComponent::RestoreDefaultLayout(DispatchArgs p_args) {
    FacadeArguments oArgs("RestoreDefaultLayout", p_args);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Write);
    const int32_t lViewerType = oArgs.Long(1, "ViewerType");
    const int32_t lFinderType = oArgs.Long(2, "FinderType");
    if (!oArgs.Boolean(3, "UserOnly")) {
        LayoutStore(Backend().Database())
            .ClearOwnerDefault(lOwnerId, lViewerType, lFinderType, false);
    }
    const std::optional<LayoutRecord> oLayout =
        LayoutAccess(Backend().Database()).Default(lOwnerId, lViewerType, lFinderType);
    return oLayout ? layout_codec::ToVariant(*oLayout) : Variant();
}

Variant ViewerWriterComponent::DeleteCustomLayout(DispatchArgs p_args) {
    FacadeArguments oArgs("DeleteCustomLayout", p_args);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Write);
    LayoutStore(Backend().Database())
        .ClearOwnerDefault(lOwnerId, oArgs.Long(1, "PrintType"), oArgs.Long(2, "FinderType"), true);
    return Variant();
}

const DispatchTable& ViewerWriterComponent::Table() const {
    using Self = ViewerWriterComponent;
    static const DispatchTable oTable =
        DispatchTable::Builder<Self>()
            .Method("SaveLayout", 12, 12,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.SaveLayout(aArgs); })
            .Method("DeleteLayout", 4, 4,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.DeleteLayout(aArgs); })
            .Method(
                "RestoreDefaultLayout", 4, 4,
                [](Self& oSelf, DispatchArgs aArgs) { return oSelf.RestoreDefaultLayout(aArgs); })
            .Method("DeleteCustomLayout", 3, 3,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.DeleteCustomLayout(aArgs); })
            .Build();
    return oTable;
}

}  // namespace qv::facade
