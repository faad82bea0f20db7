#include "facade/watch_list_reader_component.h"

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/recordset_conversion.h"
#include "facade/watch_list_store.h"
#include "outside/recordset.h"

namespace qv::facade {

Variant WatchListReaderComponent::GetWatchLists(DispatchArgs p_args) {
    FacadeArguments oArgs("GetWatchLists", p_args);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    const int32_t lListType = oArgs.Long(1, "WatchListType");
    ResultTable oTable;
    oTable.m_aColumns = {{"id", FieldKind::Integer},       {"parentid", FieldKind::Integer},
                         {"Name", FieldKind::Text},        {"Comments", FieldKind::Text},
                         {"IsFolder", FieldKind::Boolean}, {"ListType", FieldKind::Integer}};
    const bool bKnownType =
        lListType == watch_list_type::kStocks || lListType == watch_list_type::kIndustries;
    if (lOwnerId != kSystemOwnerId && bKnownType) {
        for (WatchListEntry& oEntry :
             WatchListStore(Backend().Database()).WatchLists(lOwnerId, lListType)) {
            oTable.m_aRows.push_back({int64_t{oEntry.m_lId}, int64_t{oEntry.m_lParentId},
                                      std::move(oEntry.m_sName), std::move(oEntry.m_sComments),
                                      int64_t{oEntry.m_bFolder ? 1 : 0},
                                      int64_t{oEntry.m_lListType}});
        }
    }
    return RecordsetValue(std::move(oTable));
}

const DispatchTable& WatchListReaderComponent::Table() const {
    using Self = WatchListReaderComponent;
    static const DispatchTable oTable =
        DispatchTable::Builder<Self>()
            .Method("GetWatchLists", 2, 2,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetWatchLists(aArgs); })
            .Build();
    return oTable;
}

}  // namespace qv::facade
