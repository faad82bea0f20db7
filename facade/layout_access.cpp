#include "facade/layout_access.h"

#include <string>
#include <utility>

#include "facade/facade_arguments.h"

namespace qv::facade {

namespace {

constexpr int32_t kPrintTypeOffset = 9;

bool IsFetched(int32_t p_lState) {
    return p_lState == column_state::kSystem || p_lState == column_state::kVisible ||
           p_lState == column_state::kAlwaysVisible;
}

}  // namespace

std::optional<LayoutRecord> LayoutAccess::Readable(int32_t p_lOwnerId, int32_t p_lLayoutId) {
    std::optional<LayoutRecord> layout = m_oLayouts.GetLayout(p_lLayoutId);
    if (layout && layout->Header.OwnerId != 0 && layout->Header.OwnerId != p_lOwnerId) {
        return std::nullopt;
    }
    return layout;
}

std::optional<LayoutRecord> LayoutAccess::Default(int32_t p_lOwnerId, int32_t p_lDataType,
                                                  int32_t p_lFinderType) {
    return m_oLayouts.DefaultLayout(p_lOwnerId > 0 ? p_lOwnerId : 0, p_lDataType, p_lFinderType);
}

LayoutInForce LayoutAccess::InForce(std::string_view p_sMethod, int32_t p_lOwnerId,
                                    std::optional<LayoutDescription> p_oSent, int32_t p_lLayoutId,
                                    int32_t p_lDataType, int32_t p_lFinderType) {
    // A description without columns only names a layout: the viewer's state before its first
    // query.
    const bool holdsColumns = p_oSent && !p_oSent->Columns.empty();
    if (holdsColumns && !SortTextOf(*p_oSent).empty()) {
        return {RecordOf(std::move(*p_oSent)), true};
    }
    std::optional<LayoutRecord> stored =
        Readable(p_lOwnerId, holdsColumns ? p_oSent->Header.Id : p_lLayoutId);
    const bool ofType = stored && (stored->m_lDataType == p_lDataType ||
                                   stored->m_lDataType == p_lDataType + kPrintTypeOffset);
    if (!ofType) {
        stored = Default(p_lOwnerId, p_lDataType, p_lFinderType);
    }
    if (!stored) {
        RaiseFacadeError(p_sMethod,
                         "there is no layout for data type " + std::to_string(p_lDataType));
    }
    if (!holdsColumns) {
        return {std::move(*stored), false};
    }
    LayoutRecord used = RecordOf(std::move(*p_oSent));
    used.Sort = std::move(stored->Sort);
    return {std::move(used), false};
}

LayoutRecord RecordOf(LayoutDescription p_oLayout) {
    LayoutRecord record;
    static_cast<LayoutDescription&>(record) = std::move(p_oLayout);
    return record;
}

void WriteBackLayout(Variant& p_vDescription, const LayoutInForce& p_oUsed) {
    if (!p_oUsed.m_bAsSent) {
        p_vDescription = layout_codec::ToVariant(p_oUsed.m_oLayout);
    }
}

std::vector<std::string> FetchedFields(const LayoutRecord& p_oLayout, int32_t p_lTableBit) {
    std::vector<std::string> fields;
    for (const LayoutColumn& column : p_oLayout.Columns) {
        const bool inTable =
            p_lTableBit < 0 || (p_lTableBit < 31 && (column.TableMask >> p_lTableBit) & 1);
        if (IsFetched(column.State) && inTable) {
            fields.push_back(column.SQLColumn);
        }
    }
    return fields;
}

}  // namespace qv::facade
