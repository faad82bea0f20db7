// Creating client recordsets and copying their structure and rows.
#pragma once

#include <memory>
#include <string_view>

namespace qv {

class Recordset;

namespace RecordsetUtilities {

// Whether the recordset has a field of that name, compared without regard to case; false for no
// recordset.
bool FieldExists(const std::shared_ptr<Recordset>& p_rRecordset, std::string_view p_sFieldName);

// A new, closed recordset with a client cursor and batch optimistic locking.
std::shared_ptr<Recordset> NewClientRecordset();

// A new client recordset with the fields of p_rSource (name, type, size, precision, scale and only
// the nullable attribute); null for no source. Failures are reported as
// "StrategyModule: CopyRecordsetStructure" and give null.
std::shared_ptr<Recordset> CopyRecordsetStructure(const std::shared_ptr<Recordset>& p_rSource);

// An open copy of p_rSource's structure and of the rows of its view; null for no source. The
// source is opened when it is closed and left at its end. Failures are reported as
// "StrategyModule: CopyRecordset" and give null.
std::shared_ptr<Recordset> CopyRecordset(const std::shared_ptr<Recordset>& p_rSource);

}  // namespace RecordsetUtilities
}  // namespace qv
