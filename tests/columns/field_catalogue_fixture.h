// A small field catalogue as the data facade delivers it, for tests of the column model, the
// layout utilities and the viewer state.
#pragma once

#include "outside/recordset.h"

#include <memory>

namespace qv::testing {

// The key and system fields every list uses, and a few data fields; no rows if asked.
inline std::shared_ptr<Recordset> MakeCatalogue(bool p_bWithRows = true) {
    auto catalogue = std::make_shared<Recordset>();
    catalogue->Fields().Append("Parameter_ID", adInteger);
    catalogue->Fields().Append("Column_Name", adVarChar, 50);
    catalogue->Fields().Append("Caption", adVarChar, 50);
    catalogue->Fields().Append("DataType_ID", adInteger);
    catalogue->Fields().Append("Table_Mask", adInteger);
    catalogue->Fields().Append("Group", adInteger);
    catalogue->Fields().Append("Column_Format", adVarChar, 20);
    catalogue->Open();
    if (!p_bWithRows) {
        return catalogue;
    }
    catalogue->AddNew({4, "Symbol", "Symbol", 1, 1, -1, " Left "});
    catalogue->AddNew({5, "CompanyName", "Company", 1, 1, -1, "Left"});
    catalogue->AddNew({13, "Price", "Price", 2, 1, 1, "##0.00"});
    catalogue->AddNew({14, "Volume", "Volume", 2, 7, 1, " #,##0 "});
    catalogue->AddNew({24, "Notes", "Notes", 24, 1, 1, "Left"});
    catalogue->AddNew({35, "IndName", "Industry", 1, 3, -1, "Left"});
    catalogue->AddNew({36, "SecName", "Sector", 1, 7, -1, "Left"});
    catalogue->AddNew({38, "IndCode", "Industry Code", 3, 3, -1, "0"});
    catalogue->AddNew({39, "SectorCode", "Sector Code", 3, 7, -1, "0"});
    catalogue->AddNew({41, "Trading_Date", "Date", 7, 7, -1, "M/D/YY"});
    catalogue->AddNew({237, "Shares", "Shares", 2, 8, 1, "#,##0"});
    catalogue->AddNew({1393, "Cost", "Cost", 2, 8, 1, "#,##0.00"});
    catalogue->AddNew({1418, "REC", "Rec", 2, 1, -1, "0"});
    catalogue->AddNew({1483, "Lot", "Lot", 3, 8, -1, "0"});
    catalogue->MoveFirst();
    return catalogue;
}

}  // namespace qv::testing
