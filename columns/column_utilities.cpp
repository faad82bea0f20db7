#include "columns/column_utilities.h"

#include "columns/grid_columns.h"
#include "columns/recordset_utilities.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/field.h"
#include "outside/recordset.h"
#include "outside/text_util.h"

#include <utility>
#include <vector>

namespace qv::ColumnUtilities {
namespace {

// The parameters whose columns may be exported.
bool IsExportParameter(int32_t p_lParameterId) {
    const auto in = [p_lParameterId](int32_t p_lFirst, int32_t p_lLast) {
        return p_lParameterId >= p_lFirst && p_lParameterId <= p_lLast;
    };
    switch (p_lParameterId) {
        case 2:
        case 4:
        case 5:
        case 6:
        case 24:
        case 40:
        case 41:
        case 221:
        case 225:
        case 228:
        case 236:
        case 251:
        case 1347:
            return true;
        default:
            return in(13, 19) || in(28, 36) || in(1387, 1392) || in(1395, 1409);
    }
}

// The runtime's "mask And 2 ^ bit >= 1"; 2 ^ 31 and beyond do not fit a 32-bit mask.
bool HasTableBit(int32_t p_lMask, int32_t p_lBit) {
    if (p_lBit < 0 || p_lBit > 30) {
        return false;
    }
    return (p_lMask & (int32_t{1} << p_lBit)) != 0;
}

[[noreturn]] void RaiseBadCatalogueValue(const AutomationError& p_error, std::string_view p_sField,
                                         const char* p_sWanted) {
    RaiseRuntimeError(p_error.Number(),
                      "catalogue " + std::string(p_sField) + " is not " + p_sWanted);
}

std::string CatalogueText(const Recordset& p_rParameters, std::string_view p_sField) {
    const Variant value = p_rParameters.Value(p_sField);
    try {
        return value.IsNull() ? std::string() : value.ToString();
    } catch (const AutomationError& error) {
        RaiseBadCatalogueValue(error, p_sField, "text");
    }
}

int32_t CatalogueLong(const Recordset& p_rParameters, std::string_view p_sField) {
    const Variant value = p_rParameters.Value(p_sField);
    try {
        return value.IsNull() ? 0 : value.ToLong();
    } catch (const AutomationError& error) {
        RaiseBadCatalogueValue(error, p_sField, "a 32-bit integer");
    }
}

bool TryMarkExisting(std::vector<LayoutColumn>& p_columnTable, int32_t p_lParameterId,
                     int32_t p_lTableMask, ColumnState p_lState) {
    for (LayoutColumn& entry : p_columnTable) {
        if (entry.ParameterId == p_lParameterId && entry.TableMask == p_lTableMask) {
            entry.State = static_cast<int32_t>(p_lState);
            return true;
        }
    }
    return false;
}

void PrepareColumnList(Recordset& p_rColumnList) {
    if (p_rColumnList.State() == adStateOpen) {
        return;
    }
    const std::pair<const char*, int32_t> fields[] = {
        {"parameter_id", adInteger}, {"column_name", adVarChar}, {"selected", adBoolean},
        {"Sequence", adInteger},     {"Caption", adVarChar},
    };
    for (const auto& [name, type] : fields) {
        if (p_rColumnList.Fields().IndexOf(name) < 0) {
            p_rColumnList.Fields().Append(name, type, type == adVarChar ? 255 : 0);
        }
    }
    p_rColumnList.Open();
}

}  // namespace

bool AddFieldToLayout(std::vector<LayoutColumn>& p_columnTable, int32_t p_lParameterId,
                      ColumnState p_lState, const std::string& p_sSQLColumn,
                      const std::string& p_sCaption, int32_t p_lTableMask,
                      const std::string& p_sColumnFormat) {
    return Reported("ColumnUtilities: AddFieldToLayout", false, [&] {
        if (TryMarkExisting(p_columnTable, p_lParameterId, p_lTableMask, p_lState)) {
            return false;
        }
        const auto sequence = static_cast<int32_t>(p_columnTable.size()) + 1;
        p_columnTable.push_back({p_lParameterId, static_cast<int32_t>(p_lState), p_sSQLColumn,
                                 p_sCaption, p_lTableMask, sequence, p_sColumnFormat});
        return true;
    });
}

LayoutColumn CatalogueEntry(const Recordset& p_rParameters, ColumnState p_lState) {
    LayoutColumn entry;
    entry.ParameterId = CatalogueLong(p_rParameters, "parameter_id");
    entry.State = static_cast<int32_t>(p_lState);
    entry.SQLColumn = CatalogueText(p_rParameters, "column_name");
    entry.Caption = CatalogueText(p_rParameters, "caption");
    entry.TableMask = CatalogueLong(p_rParameters, "table_mask");
    entry.ColumnFormat = CatalogueText(p_rParameters, "Column_Format");
    return entry;
}

void AddCatalogueField(std::vector<LayoutColumn>& p_columnTable, ColumnState p_lState,
                       const std::shared_ptr<Recordset>& p_rParameters, int32_t p_lParameterId) {
    if (!p_rParameters) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "no field catalogue");
    }
    p_rParameters->SetFilter("parameter_id = " + std::to_string(p_lParameterId));
    try {
        if (!p_rParameters->IsEOF()) {
            const LayoutColumn entry = CatalogueEntry(*p_rParameters, p_lState);
            AddFieldToLayout(p_columnTable, p_lParameterId, p_lState, entry.SQLColumn,
                             entry.Caption, entry.TableMask,
                             std::string(TrimSpaces(entry.ColumnFormat)));
        }
    } catch (...) {
        // The catalogue is the viewer's shared ParameterList: never leave it filtered.
        p_rParameters->SetFilter("");
        throw;
    }
    p_rParameters->SetFilter("");
}

Variant TableSelectList(const LayoutDescription& p_layout, int32_t p_lTableBit) {
    std::vector<std::string> fields;
    for (const LayoutColumn& entry : p_layout.Columns) {
        if (HasTableBit(entry.TableMask, p_lTableBit)) {
            fields.push_back(entry.SQLColumn + " as [" + entry.SQLColumn + "]");
        }
    }
    VariantArray list = VariantArray::Vector(0, static_cast<int32_t>(fields.size()) - 1);
    for (size_t i = 0; i < fields.size(); ++i) {
        list.At(static_cast<int32_t>(i)) = std::move(fields[i]);
    }
    return list;
}

Variant ExportColumnList(const std::shared_ptr<Recordset>& p_rColumnList,
                         const GridColumns& p_oColumns, const std::shared_ptr<Recordset>& p_rData) {
    if (!p_rColumnList) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "no column list");
    }
    Recordset& list = *p_rColumnList;
    PrepareColumnList(list);
    for (const auto& column : p_oColumns) {
        if (!RecordsetUtilities::FieldExists(p_rData, column->SQLColumn()) ||
            !IsExportParameter(column->ParameterId())) {
            continue;
        }
        const ColumnState state = column->GridColumn_State_Setting();
        list.AddNew();
        list.SetValue("column_name", column->SQLColumn());
        list.SetValue("parameter_id", column->ParameterId());
        list.SetValue("Sequence", column->Sequence());
        list.SetValue("Caption", column->Caption());
        list.SetValue("selected", state == csVisible || state == csAlwaysVisible);
        list.Update();
    }
    list.SetFilter("selected = true");
    list.SetSort("Sequence ASC");
    const int32_t rows = list.RecordCount();
    if (rows == 0) {
        return Variant();
    }
    VariantArray table = VariantArray::Table(3, rows);
    int32_t row = 0;
    for (list.MoveFirst(); !list.IsEOF(); list.MoveNext()) {
        table.At(0, row) = list.Value("parameter_id");
        table.At(1, row) = list.Value("Caption");
        table.At(2, row) = list.Value("column_name");
        ++row;
    }
    return table;
}

}  // namespace qv::ColumnUtilities
