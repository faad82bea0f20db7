// The Fields collection of a recordset: the field definitions in order, found by ordinal or by
// name without regard to case.
#pragma once

#include "outside/field.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

class Recordset;

class Fields {
  public:
    explicit Fields(Recordset& p_rRecordset) : m_rRecordset(p_rRecordset) {}
    Fields(const Fields&) = delete;
    Fields& operator=(const Fields&) = delete;

    int32_t Count() const { return static_cast<int32_t>(m_fields.size()); }

    // Appends a field; only while the recordset is closed (error 3705). A name already in the
    // collection is error 3367, an empty name or a negative size error 3001.
    Field& Append(std::string_view p_sName, int32_t p_lType, int32_t p_lDefinedSize = 0,
                  int32_t p_lAttributes = adFldUnspecified);

    // By ordinal (from 0) or name; an unknown one is error 3265 naming it.
    Field& Item(int32_t p_lIndex);
    const Field& Item(int32_t p_lIndex) const;
    Field& Item(std::string_view p_sName);
    const Field& Item(std::string_view p_sName) const;

    // The ordinal of the field named p_sName, or -1.
    int32_t IndexOf(std::string_view p_sName) const;

  private:
    size_t CheckedIndex(int32_t p_lIndex) const;
    size_t CheckedIndex(std::string_view p_sName) const;

    Recordset& m_rRecordset;
    std::vector<std::unique_ptr<Field>> m_fields;
    std::unordered_map<std::string, int32_t> m_indexByFoldedName;
};

}  // namespace qv
