#include "columns/recordset_utilities.h"

#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/field.h"
#include "outside/recordset.h"

namespace qv::RecordsetUtilities {

bool FieldExists(const std::shared_ptr<Recordset>& p_rRecordset, std::string_view p_sFieldName) {
    return p_rRecordset && p_rRecordset->Fields().IndexOf(p_sFieldName) >= 0;
}

std::shared_ptr<Recordset> NewClientRecordset() {
    auto recordset = std::make_shared<Recordset>();
    recordset->SetCursorLocation(adUseClient);
    recordset->SetLockType(adLockBatchOptimistic);
    return recordset;
}

std::shared_ptr<Recordset> CopyRecordsetStructure(const std::shared_ptr<Recordset>& p_rSource) {
    if (!p_rSource) {
        return nullptr;
    }
    return Reported("StrategyModule: CopyRecordsetStructure", std::shared_ptr<Recordset>(), [&] {
        auto copy = NewClientRecordset();
        const Fields& fields = p_rSource->Fields();
        for (int32_t i = 0; i < fields.Count(); ++i) {
            const Field& source = fields.Item(i);
            Field& field = copy->Fields().Append(source.Name(), source.Type(), source.DefinedSize(),
                                                 source.Attributes() & adFldIsNullable);
            field.SetPrecision(source.Precision());
            field.SetNumericScale(source.NumericScale());
        }
        return copy;
    });
}

std::shared_ptr<Recordset> CopyRecordset(const std::shared_ptr<Recordset>& p_rSource) {
    if (!p_rSource) {
        return nullptr;
    }
    return Reported("StrategyModule: CopyRecordset", std::shared_ptr<Recordset>(), [&] {
        std::shared_ptr<Recordset> copy = CopyRecordsetStructure(p_rSource);
        if (!copy) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "the structure could not be copied");
        }
        Recordset& source = *p_rSource;
        if (source.State() != adStateOpen) {
            source.Open();
        }
        copy->Open();
        const int32_t fieldCount = source.Fields().Count();
        if (source.RecordCount() > 0) {
            for (source.MoveFirst(); !source.IsEOF(); source.MoveNext()) {
                copy->AddNew();
                for (int32_t field = 0; field < fieldCount; ++field) {
                    copy->SetValue(field, source.Value(field));
                }
                copy->Update();
            }
        }
        copy->UpdateBatch(adAffectAll);
        return copy;
    });
}

}  // namespace qv::RecordsetUtilities
