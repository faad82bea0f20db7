#include "facade/watch_list_reader_component.h"

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/recordset_conversion.h"
#include "facade/watch_list_store.h"
#include "outside/recordset.h"

namespace qv::facade {

namespace {

namespace call = facade_protocol::get_watch_lists;

}  // namespace

Variant WatchListReaderComponent::GetWatchLists(DispatchArgs p_args) {
    FacadeArguments args(call::kMethod, p_args);
    const int32_t ownerId = Owner(args, call::kOwnerId, OwnerAccess::Read);
    const int32_t listType = args.Long(call::kWatchListType);
    ResultTable table({{"id", FieldKind::Integer},
                       {"parentid", FieldKind::Integer},
                       {"Name", FieldKind::Text},
                       {"Comments", FieldKind::Text},
                       {"IsFolder", FieldKind::Boolean},
                       {"ListType", FieldKind::Integer}});
    const bool knownType =
        listType == watch_list_type::kStocks || listType == watch_list_type::kIndustries;
    if (ownerId != kSystemOwnerId && knownType) {
        for (WatchListEntry& entry :
             WatchListStore(Backend().Database()).WatchLists(ownerId, listType)) {
            table.AppendRow({int64_t{entry.m_lId}, int64_t{entry.m_lParentId},
                             std::move(entry.m_sName), std::move(entry.m_sComments),
                             int64_t{entry.m_bFolder ? 1 : 0}, int64_t{entry.m_lListType}});
        }
    }
    return RecordsetValue(std::move(table));
}

const DispatchTable& WatchListReaderComponent::Table() const {
    using Self = WatchListReaderComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method(call::kMethod, call::kCount, call::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetWatchLists(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
