// One field of a recordset: its definition (name, ADO type code, defined size, attributes,
// precision, numeric scale) and, through its recordset, its value in the current row.
//
// A Field belongs to its recordset's Fields collection and lives as long as the recordset; a
// clone has Field objects of its own with the same definitions.
#pragma once

#include "outside/variant.h"

#include <cstdint>
#include <string>

namespace qv {

class Recordset;

// ADO's DataTypeEnum: the type codes of fields.
enum DataTypeEnum : int32_t {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adBoolean = 11,
    adVariant = 12,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18,
    adUnsignedInt = 19,
    adBigInt = 20,
    adUnsignedBigInt = 21,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adVarNumeric = 139,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
};

// ADO's FieldAttributeEnum bits. The recordset stores them as given and does not act on them.
enum FieldAttributeEnum : int32_t {
    adFldUnspecified = -1,
    adFldMayDefer = 0x2,
    adFldUpdatable = 0x4,
    adFldUnknownUpdatable = 0x8,
    adFldFixed = 0x10,
    adFldIsNullable = 0x20,
    adFldMayBeNull = 0x40,
    adFldLong = 0x80,
    adFldRowID = 0x100,
    adFldRowVersion = 0x200,
    adFldCacheDeferred = 0x1000,
    adFldKeyColumn = 0x8000,
};

class Field {
  public:
    Field(Recordset& p_rRecordset, int32_t p_lIndex, std::string p_sName, int32_t p_lType,
          int32_t p_lDefinedSize, int32_t p_lAttributes);
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    const std::string& Name() const { return m_sName; }
    int32_t Type() const { return m_lType; }
    int32_t DefinedSize() const { return m_lDefinedSize; }
    int32_t Attributes() const { return m_lAttributes; }
    int32_t Index() const { return m_lIndex; }

    // Precision and scale may only be set while the recordset is closed (error 3705).
    int32_t Precision() const { return m_lPrecision; }
    void SetPrecision(int32_t p_lPrecision);
    int32_t NumericScale() const { return m_lNumericScale; }
    void SetNumericScale(int32_t p_lNumericScale);

    // The value in the recordset's current row (Null when never set). Error 3704 when the
    // recordset is closed, 3021 at BOF, at EOF or on a deleted row. Setting converts the value
    // to the field's type as the Variant conversions do.
    Variant Value() const;
    void SetValue(const Variant& p_vValue);

  private:
    Recordset& m_rRecordset;
    int32_t m_lIndex;
    std::string m_sName;
    int32_t m_lType;
    int32_t m_lDefinedSize;
    int32_t m_lAttributes;
    int32_t m_lPrecision = 0;
    int32_t m_lNumericScale = 0;
};

}  // namespace qv
