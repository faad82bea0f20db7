#include "facade/recordset_conversion.h"

#include <algorithm>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "outside/recordset.h"

namespace qv::facade {

namespace {

constexpr int32_t kMinimumTextSize = 50;

bool FitsLong(const FieldValue& p_vValue) {
    const auto* llValue = std::get_if<int64_t>(&p_vValue);
    return llValue == nullptr || (*llValue >= std::numeric_limits<int32_t>::min() &&
                                  *llValue <= std::numeric_limits<int32_t>::max());
}

int32_t LongestText(const ResultTable& p_oTable, size_t p_lColumn) {
    size_t lLongest = 0;
    for (const std::vector<FieldValue>& aRow : p_oTable.m_aRows) {
        if (const auto* sText = std::get_if<std::string>(&aRow[p_lColumn])) {
            lLongest = std::max(lLongest, sText->size());
        }
    }
    return std::max(kMinimumTextSize, static_cast<int32_t>(lLongest));
}

void AppendField(Recordset& p_rRecordset, const ResultTable& p_oTable, size_t p_lColumn) {
    const ResultColumn& oColumn = p_oTable.m_aColumns[p_lColumn];
    constexpr int32_t lAttributes = adFldIsNullable | adFldMayBeNull | adFldUpdatable;
    switch (oColumn.m_eKind) {
        case FieldKind::Integer: {
            const bool bFits = std::all_of(
                p_oTable.m_aRows.begin(), p_oTable.m_aRows.end(),
                [&](const std::vector<FieldValue>& aRow) { return FitsLong(aRow[p_lColumn]); });
            p_rRecordset.Fields().Append(oColumn.m_sName, bFits ? adInteger : adBigInt, 0,
                                         lAttributes);
            return;
        }
        case FieldKind::Double:
            p_rRecordset.Fields().Append(oColumn.m_sName, adDouble, 0, lAttributes);
            return;
        case FieldKind::Date:
            p_rRecordset.Fields().Append(oColumn.m_sName, adDate, 0, lAttributes);
            return;
        case FieldKind::Boolean:
            p_rRecordset.Fields().Append(oColumn.m_sName, adBoolean, 0, lAttributes);
            return;
        case FieldKind::Text:
            p_rRecordset.Fields().Append(oColumn.m_sName, adVarChar,
                                         LongestText(p_oTable, p_lColumn), lAttributes);
            return;
    }
}

Variant ToVariant(FieldValue& p_vValue, FieldKind p_eKind) {
    if (std::holds_alternative<std::monostate>(p_vValue)) {
        return Variant::Null();
    }
    if (const auto* llValue = std::get_if<int64_t>(&p_vValue)) {
        if (p_eKind == FieldKind::Boolean) {
            return Variant(*llValue != 0);
        }
        if (*llValue >= std::numeric_limits<int32_t>::min() &&
            *llValue <= std::numeric_limits<int32_t>::max()) {
            return Variant(static_cast<int32_t>(*llValue));
        }
        return Variant(static_cast<double>(*llValue));
    }
    if (const auto* dValue = std::get_if<double>(&p_vValue)) {
        return p_eKind == FieldKind::Date ? Variant::Date(*dValue) : Variant(*dValue);
    }
    return Variant(std::move(std::get<std::string>(p_vValue)));
}

}  // namespace

std::shared_ptr<Recordset> RecordsetFromTable(ResultTable p_oTable) {
    auto rRecordset = std::make_shared<Recordset>();
    rRecordset->SetCursorLocation(adUseClient);
    rRecordset->SetLockType(adLockBatchOptimistic);
    for (size_t i = 0; i < p_oTable.m_aColumns.size(); ++i) {
        AppendField(*rRecordset, p_oTable, i);
    }
    rRecordset->Open();
    std::vector<Variant> aValues(p_oTable.m_aColumns.size());
    for (std::vector<FieldValue>& aRow : p_oTable.m_aRows) {
        for (size_t i = 0; i < aValues.size(); ++i) {
            aValues[i] = ToVariant(aRow[i], p_oTable.m_aColumns[i].m_eKind);
        }
        rRecordset->AddNew(aValues);
    }
    if (rRecordset->RecordCount() > 0) {
        rRecordset->MoveFirst();
    }
    return rRecordset;
}

Variant RecordsetValue(std::shared_ptr<Recordset> p_rRecordset) {
    return Variant(std::shared_ptr<DispatchObject>(std::move(p_rRecordset)));
}

Variant RecordsetValue(ResultTable p_oTable) {
    return RecordsetValue(RecordsetFromTable(std::move(p_oTable)));
}

}  // namespace qv::facade
