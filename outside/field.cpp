#include "outside/field.h"

#include "outside/automation_error.h"
#include "outside/recordset.h"

#include <utility>

namespace qv {

Field::Field(Recordset& p_rRecordset, int32_t p_lIndex, std::string p_sName, int32_t p_lType,
             int32_t p_lDefinedSize, int32_t p_lAttributes)
    : m_rRecordset(p_rRecordset),
      m_lIndex(p_lIndex),
      m_sName(std::move(p_sName)),
      m_lType(p_lType),
      m_lDefinedSize(p_lDefinedSize),
      m_lAttributes(p_lAttributes) {}

void Field::SetPrecision(int32_t p_lPrecision) {
    if (m_rRecordset.State() == adStateOpen) {
        RaiseRuntimeError(errors::kNotAllowedWhenOpen);
    }
    m_lPrecision = p_lPrecision;
}

void Field::SetNumericScale(int32_t p_lNumericScale) {
    if (m_rRecordset.State() == adStateOpen) {
        RaiseRuntimeError(errors::kNotAllowedWhenOpen);
    }
    m_lNumericScale = p_lNumericScale;
}

Variant Field::Value() const {
    return m_rRecordset.Value(m_lIndex);
}

void Field::SetValue(const Variant& p_vValue) {
    m_rRecordset.SetValue(m_lIndex, p_vValue);
}

}  // namespace qv
