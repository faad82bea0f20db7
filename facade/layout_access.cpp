#include "facade/layout_access.h"

#include <string>

#include "facade/facade_arguments.h"
#include "facade/layout_variant.h"

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
    if (oLayout && oLayout->m_lOwnerId != 0 && oLayout->m_lOwnerId != p_lOwnerId) {
        return std::nullopt;
    }
    return oLayout;
}

std::optional<LayoutRecord> LayoutAccess::Default(int32_t p_lOwnerId, int32_t p_lDataType,
                                                  int32_t p_lFinderType) {
    return m_oLayouts.DefaultLayout(p_lOwnerId > 0 ? p_lOwnerId : 0, p_lDataType, p_lFinderType);
}

LayoutInForce LayoutAccess::InForce(std::string_view p_sMethod, int32_t p_lOwnerId,
                                    const Variant& p_vDescription, int32_t p_lLayoutId,
                                    int32_t p_lDataType, int32_t p_lFinderType) {
    std::optional<LayoutRecord> oSent = LayoutFromVariant(p_vDescription);
    if (oSent && !oSent->m_oSort.m_sSortText.empty()) {
        return {std::move(*oSent), true};
    }
    std::optional<LayoutRecord> oStored = Readable(p_lOwnerId, oSent ? oSent->m_lId : p_lLayoutId);
    const bool bOfType = oStored && (oStored->m_lDataType == p_lDataType ||
                                     oStored->m_lDataType == p_lDataType + kPrintTypeOffset);
    if (!bOfType) {
        oStored = Default(p_lOwnerId, p_lDataType, p_lFinderType);
    }
    if (!oStored) {
        RaiseFacadeError(p_sMethod,
                         "there is no layout for data type " + std::to_string(p_lDataType));
    }
    if (!oSent) {
        return {std::move(*oStored), false};
    }
    oSent->m_oSort = oStored->m_oSort;
    return {std::move(*oSent), false};
}

void WriteBackLayout(Variant& p_vDescription, const LayoutInForce& p_oUsed) {
    if (!p_oUsed.m_bAsSent) {
        p_vDescription = LayoutToVariant(p_oUsed.m_oLayout);
    }
}

std::vector<std::string> FetchedFields(const LayoutRecord& p_oLayout, int32_t p_lTableBit) {
    std::vector<std::string> aFields;
    for (const LayoutColumn& oColumn : p_oLayout.m_aColumns) {
        const bool bInTable =
            p_lTableBit < 0 || (p_lTableBit < 31 && (oColumn.m_lTableMask >> p_lTableBit) & 1);
        if (IsFetched(oColumn.m_lState) && bInTable) {
            aFields.push_back(oColumn.m_sSQLColumn);
        }
    }
    return aFields;
}

}  // namespace qv::facade
