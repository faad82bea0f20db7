#include "outside/fields.h"

#include "outside/automation_error.h"
#include "outside/recordset.h"
#include "outside/recordset_rows.h"
#include "outside/text_util.h"

namespace qv {
namespace {

// The library's "Object is already in collection. Cannot append."
constexpr int32_t kAlreadyInCollection = 3367;

}  // namespace

Field& Fields::Append(std::string_view p_sName, int32_t p_lType, int32_t p_lDefinedSize,
                      int32_t p_lAttributes) {
    if (m_rRecordset.State() == adStateOpen) {
        RaiseRuntimeError(errors::kNotAllowedWhenOpen);
    }
    if (p_sName.empty() || p_lDefinedSize < 0) {
        RaiseRuntimeError(
            errors::kArgumentsWrongType,
            "field '" + std::string(p_sName) + "' of size " + std::to_string(p_lDefinedSize));
    }
    if (IndexOf(p_sName) >= 0) {
        RaiseRuntimeError(
            kAlreadyInCollection,
            "Object is already in collection. Cannot append: field '" + std::string(p_sName) + "'");
    }
    const int32_t index = Count();
    m_fields.push_back(std::make_unique<Field>(m_rRecordset, index, std::string(p_sName), p_lType,
                                               p_lDefinedSize, p_lAttributes));
    m_indexByFoldedName.emplace(ToLowerAscii(p_sName), index);
    return *m_fields.back();
}

Field& Fields::Item(int32_t p_lIndex) {
    return *m_fields[CheckedIndex(p_lIndex)];
}

const Field& Fields::Item(int32_t p_lIndex) const {
    return *m_fields[CheckedIndex(p_lIndex)];
}

Field& Fields::Item(std::string_view p_sName) {
    return *m_fields[CheckedIndex(p_sName)];
}

const Field& Fields::Item(std::string_view p_sName) const {
    return *m_fields[CheckedIndex(p_sName)];
}

size_t Fields::CheckedIndex(int32_t p_lIndex) const {
    if (p_lIndex < 0 || p_lIndex >= Count()) {
        RaiseRuntimeError(errors::kItemNotFound, "field " + std::to_string(p_lIndex));
    }
    return static_cast<size_t>(p_lIndex);
}

size_t Fields::CheckedIndex(std::string_view p_sName) const {
    const int32_t index = IndexOf(p_sName);
    if (index < 0) {
        RaiseRuntimeError(errors::kItemNotFound, "field '" + std::string(p_sName) + "'");
    }
    return static_cast<size_t>(index);
}

int32_t Fields::IndexOf(std::string_view p_sName) const {
    const auto found = m_indexByFoldedName.find(ToLowerAscii(p_sName));
    return found == m_indexByFoldedName.end() ? -1 : found->second;
}

}  // namespace qv
