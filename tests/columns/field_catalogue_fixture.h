// A small field catalogue as the data facade delivers it, for tests of the column model, the
// layout utilities and the viewer state.
#pragma once

#include "outside/recordset.h"

#include <memory>
#include <string>
#include <vector>

namespace qv::testing {

struct CatalogueRow {
    int32_t ParameterId;
    std::string ColumnName;
    std::string Caption;
    int32_t DataTypeId;
    int32_t TableMask;
    int32_t Group;
    std::string ColumnFormat;
};

// The key and system fields every list uses, and a few data fields.
inline std::vector<CatalogueRow> StandardCatalogueRows() {
    return {
        {4, "Symbol", "Symbol", 1, 1, -1, " Left "},
        {5, "CompanyName", "Company", 1, 1, -1, "Left"},
        {13, "Price", "Price", 2, 1, 1, "##0.00"},
        {14, "Volume", "Volume", 2, 7, 1, " #,##0 "},
        {24, "Notes", "Notes", 24, 1, 1, "Left"},
        {35, "IndName", "Industry", 1, 3, -1, "Left"},
        {36, "SecName", "Sector", 1, 7, -1, "Left"},
        {38, "IndCode", "Industry Code", 3, 3, -1, "0"},
        {39, "SectorCode", "Sector Code", 3, 7, -1, "0"},
        {41, "Trading_Date", "Date", 7, 7, -1, "M/D/YY"},
        {237, "Shares", "Shares", 2, 8, 1, "#,##0"},
        {1393, "Cost", "Cost", 2, 8, 1, "#,##0.00"},
        {1418, "REC", "Rec", 2, 1, -1, "0"},
        {1483, "Lot", "Lot", 3, 8, -1, "0"},
    };
}

inline std::shared_ptr<Recordset> MakeCatalogue(
    const std::vector<CatalogueRow>& p_rows = StandardCatalogueRows()) {
    auto catalogue = std::make_shared<Recordset>();
    catalogue->Fields().Append("Parameter_ID", adInteger);
    catalogue->Fields().Append("Column_Name", adVarChar, 50);
    catalogue->Fields().Append("Caption", adVarChar, 50);
    catalogue->Fields().Append("DataType_ID", adInteger);
    catalogue->Fields().Append("Table_Mask", adInteger);
    catalogue->Fields().Append("Group", adInteger);
    catalogue->Fields().Append("Column_Format", adVarChar, 20);
    catalogue->Open();
    for (const CatalogueRow& row : p_rows) {
        catalogue->AddNew({row.ParameterId, row.ColumnName, row.Caption, row.DataTypeId,
                           row.TableMask, row.Group, row.ColumnFormat});
    }
    if (!p_rows.empty()) {
        catalogue->MoveFirst();
    }
    return catalogue;
}

}  // namespace qv::testing
