#include "facade/recordset_conversion.h"

#include <algorithm>
#include <string>
#include <vector>

#include "outside/recordset.h"

namespace qv::facade {

namespace {

constexpr int32_t kMinimumTextSize = 50;

int32_t LongestText(const RowColumn& p_oValues) {
    size_t longest = 0;
    for (const std::string& text : p_oValues.Texts()) {
        longest = std::max(longest, text.size());
    }
    return std::max(kMinimumTextSize, static_cast<int32_t>(longest));
}

void AppendField(Recordset& p_rRecordset, const ResultColumn& p_oColumn,
                 const RowColumn& p_oValues) {
    constexpr int32_t attributes = adFldIsNullable | adFldMayBeNull | adFldUpdatable;
    switch (p_oColumn.m_eKind) {
        case FieldKind::Integer:
            // A column that met a value beyond 32 bits holds numbers.
            p_rRecordset.Fields().Append(
                p_oColumn.m_sName, p_oValues.Kind() == ColumnKind::Double ? adBigInt : adInteger, 0,
                attributes);
            return;
        case FieldKind::Double:
            p_rRecordset.Fields().Append(p_oColumn.m_sName, adDouble, 0, attributes);
            return;
        case FieldKind::Date:
            p_rRecordset.Fields().Append(p_oColumn.m_sName, adDate, 0, attributes);
            return;
        case FieldKind::Boolean:
            p_rRecordset.Fields().Append(p_oColumn.m_sName, adBoolean, 0, attributes);
            return;
        case FieldKind::Text:
            p_rRecordset.Fields().Append(p_oColumn.m_sName, adVarChar, LongestText(p_oValues),
                                         attributes);
            return;
    }
}

}  // namespace

std::shared_ptr<Recordset> RecordsetFromTable(ResultTable p_oTable) {
    auto recordset = std::make_shared<Recordset>();
    recordset->SetCursorLocation(adUseClient);
    recordset->SetLockType(adLockBatchOptimistic);
    std::vector<RowColumn> values = p_oTable.TakeValues();
    for (size_t i = 0; i < values.size(); ++i) {
        AppendField(*recordset, p_oTable.Columns()[i], values[i]);
    }
    recordset->Open(std::move(values));
    return recordset;
}

Variant RecordsetValue(std::shared_ptr<Recordset> p_rRecordset) {
    return Variant(std::shared_ptr<DispatchObject>(std::move(p_rRecordset)));
}

Variant RecordsetValue(ResultTable p_oTable) {
    return RecordsetValue(RecordsetFromTable(std::move(p_oTable)));
}

}  // namespace qv::facade
