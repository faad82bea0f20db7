// Turning rows read from the market database into the recordsets the facade hands out.
//
// Field names are the table's column names (the catalogue's "Column_Name"), in table order;
// field types follow the kind of each column: integers as adInteger (adBigInt when a value does
// not fit 32 bits), numbers as adDouble, days as adDate, booleans as adBoolean and texts as
// adVarChar sized to the longest value. Every field may hold Null, the value of a field that has
// no value for a row. The recordset is client-side with batch optimistic locking, open and on
// its first row (at BOF and EOF together when it has none), as the viewer expects a recordset
// from the facade to be.
#pragma once

#include <memory>

#include "facade/result_table.h"
#include "outside/variant.h"

namespace qv {
class Recordset;
}

namespace qv::facade {

// The table is taken by value: the recordset takes over its columns.
std::shared_ptr<Recordset> RecordsetFromTable(ResultTable p_oTable);

// A recordset as the Variant a call returns or writes back.
Variant RecordsetValue(std::shared_ptr<Recordset> p_rRecordset);
Variant RecordsetValue(ResultTable p_oTable);

}  // namespace qv::facade
