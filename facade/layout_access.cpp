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
    std::optional<LayoutRecord> oLayout = m_oLayouts.GetLayout(p_lLayoutId);
    if (oLayout && oLayout->Header.OwnerId != 0 && oLayout->Header.OwnerId != p_lOwnerId) {
        return std::nullopt;
    }
    return oLayout;
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
    const bool bHoldsColumns = p_oSent && !p_oSent->Columns.empty();
    if (bHoldsColumns && !SortTextOf(*p_oSent).empty()) {
        return {RecordOf(std::move(*p_oSent)), true};
    }
    std::optional<LayoutRecord> oStored =
        Readable(p_lOwnerId, bHoldsColumns ? p_oSent->Header.Id : p_lLayoutId);
    const bool bOfType = oStored && (oStored->m_lDataType == p_lDataType ||
                                     oStored->m_lDataType == p_lDataType + kPrintTypeOffset);
    if (!bOfType) {
        oStored = Default(p_lOwnerId, p_lDataType, p_lFinderType);
    }
    if (!oStored) {
        RaiseFacadeError(p_sMethod,
                         "there is no layout for data type " + std::to_string(p_lDataType));
    }
    if (!bHoldsColumns) {
        return {std::move(*oStored), false};
    }
    LayoutRecord oUsed = RecordOf(std::move(*p_oSent));
    oUsed.Sort = std::move(oStored->Sort);
    return {std::move(oUsed), false};
}

LayoutRecord RecordOf(LayoutDescription p_oLayout) {
    LayoutRecord oRecord;
    static_cast<LayoutDescription&>(oRecord) = std::move(p_oLayout);
    return oRecord;
}

void WriteBackLayout(Variant& p_vDescription, const LayoutInForce& p_oUsed) {
    if (!p_oUsed.m_bAsSent) {
        p_vDescription = layout_codec::ToVariant(p_oUsed.m_oLayout);
    }
}

std::vector<std::string> FetchedFields(const LayoutRecord& p_oLayout, int32_t p_lTableBit) {
    std::vector<std::string> aFields;
    for (const LayoutColumn& oColumn : p_oLayout.Columns) {
        const bool bInTable =
            p_lTableBit < 0 || (p_lTableBit < 31 && (oColumn.TableMask >> p_lTableBit) & 1);
        if (IsFetched(oColumn.State) && bInTable) {
            aFields.push_back(oColumn.SQLColumn);
        }
    }
    return aFields;
}

}  // namespace qv::facade
