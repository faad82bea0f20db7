#include "facade/facade_arguments.h"

#include <algorithm>
#include <cmath>

#include "facade/sqlite_database.h"
#include "outside/automation_error.h"
#include "outside/numeric_text.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

// 9999-12-31, the last day a Date can hold.
constexpr double kLastDay = 2958465;

bool IsAbsent(const Variant& p_vValue) {
    return p_vValue.IsMissing() || p_vValue.IsEmpty();
}

// "Symbol as [Symbol]" gives "Symbol"; so do "[Symbol]" and "Symbol".
std::string FieldOfSelectItem(std::string_view p_sItem) {
    std::string_view item = TrimWhitespace(p_sItem);
    const size_t open = item.rfind('[');
    const size_t close = item.rfind(']');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
        return std::string(TrimWhitespace(item.substr(open + 1, close - open - 1)));
    }
    return std::string(item);
}

}  // namespace

std::optional<int64_t> WholeNumberIn(std::string_view p_sText) {
    const std::optional<double> value = ParseNumericText(p_sText);
    return value ? RoundToWholeNumber(*value) : std::nullopt;
}

void RaiseFacadeError(std::string_view p_sMethod, const std::string& p_sWhat) {
    throw AutomationError(kFacadeErrorNumber, kFacadeSource,
                          std::string(p_sMethod) + ": " + p_sWhat);
}

bool FacadeArguments::IsGiven(size_t p_lIndex) const {
    return p_lIndex < m_aArgs.size() && !IsAbsent(m_aArgs[p_lIndex]);
}

void FacadeArguments::Fail(size_t p_lIndex, std::string_view p_sName,
                           const std::string& p_sWhy) const {
    RaiseFacadeError(m_sMethod, "argument " + std::to_string(p_lIndex + 1) + " (" +
                                    std::string(p_sName) + "): " + p_sWhy);
}

void FacadeArguments::FailConversion(size_t p_lIndex, std::string_view p_sName, int32_t p_lNumber,
                                     const std::string& p_sDescription) const {
    throw AutomationError(p_lNumber, kFacadeSource,
                          std::string(m_sMethod) + ": argument " + std::to_string(p_lIndex + 1) +
                              " (" + std::string(p_sName) + "): " + p_sDescription);
}

int32_t FacadeArguments::Long(size_t p_lIndex, std::string_view p_sName) const {
    if (!IsGiven(p_lIndex)) {
        return 0;
    }
    try {
        return m_aArgs[p_lIndex].ToLong();
    } catch (const AutomationError& error) {
        FailConversion(p_lIndex, p_sName, error.Number(), error.Description());
    }
}

bool FacadeArguments::Boolean(size_t p_lIndex, std::string_view p_sName) const {
    if (!IsGiven(p_lIndex)) {
        return false;
    }
    try {
        return m_aArgs[p_lIndex].ToBool();
    } catch (const AutomationError& error) {
        FailConversion(p_lIndex, p_sName, error.Number(), error.Description());
    }
}

std::string FacadeArguments::Text(size_t p_lIndex, std::string_view p_sName) const {
    if (!IsGiven(p_lIndex)) {
        return {};
    }
    try {
        return m_aArgs[p_lIndex].ToString();
    } catch (const AutomationError& error) {
        FailConversion(p_lIndex, p_sName, error.Number(), error.Description());
    }
}

int32_t FacadeArguments::Day(size_t p_lIndex, std::string_view p_sName) const {
    if (!IsGiven(p_lIndex)) {
        return 0;
    }
    const Variant& value = m_aArgs[p_lIndex];
    if (value.IsString() && TrimWhitespace(value.ToString()).empty()) {
        return 0;
    }
    double serial = 0;
    try {
        serial = std::floor(value.ToDate());
    } catch (const AutomationError& error) {
        FailConversion(p_lIndex, p_sName, error.Number(), error.Description());
    }
    // A Date may hold NaN, which no day is: casting it would be undefined.
    if (std::isnan(serial)) {
        FailConversion(p_lIndex, p_sName, errors::kOverflow, RuntimeErrorText(errors::kOverflow));
    }
    if (serial == 0) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(serial, 1.0, kLastDay));
}

std::optional<LayoutDescription> FacadeArguments::Layout(size_t p_lIndex,
                                                         std::string_view p_sName) const {
    if (!IsGiven(p_lIndex)) {
        return std::nullopt;
    }
    try {
        return layout_codec::Parse(m_aArgs[p_lIndex]);
    } catch (const AutomationError& error) {
        FailConversion(p_lIndex, p_sName, error.Number(), error.Description());
    }
}

std::vector<LayoutColumn> FacadeArguments::LayoutColumns(size_t p_lIndex,
                                                         std::string_view p_sName) const {
    if (!IsGiven(p_lIndex)) {
        return {};
    }
    try {
        return layout_codec::ParseColumnTable(m_aArgs[p_lIndex]);
    } catch (const AutomationError& error) {
        FailConversion(p_lIndex, p_sName, error.Number(), error.Description());
    }
}

std::vector<std::string> FacadeArguments::Keys(size_t p_lIndex, std::string_view p_sName) const {
    std::vector<std::string> keys;
    if (!IsGiven(p_lIndex) || m_aArgs[p_lIndex].IsNull()) {
        return keys;
    }
    const Variant& items = m_aArgs[p_lIndex];
    try {
        if (!items.IsArray()) {
            keys.push_back(items.ToString());
            return keys;
        }
        for (const Variant& item : items.Array().Values()) {
            if (!IsAbsent(item) && !item.IsNull()) {
                keys.push_back(item.ToString());
            }
        }
    } catch (const AutomationError& error) {
        FailConversion(p_lIndex, p_sName, error.Number(), error.Description());
    }
    return keys;
}

std::vector<std::string> FacadeArguments::CodeKeys(size_t p_lIndex,
                                                   std::string_view p_sName) const {
    std::vector<std::string> codes;
    for (const std::string& key : Keys(p_lIndex, p_sName)) {
        codes.push_back(std::to_string(WholeNumber(p_lIndex, p_sName, key)));
    }
    return codes;
}

int64_t FacadeArguments::WholeNumber(size_t p_lIndex, std::string_view p_sName,
                                     std::string_view p_sText) const {
    const std::optional<double> value = ParseNumericText(p_sText);
    if (!value) {
        FailConversion(
            p_lIndex, p_sName, errors::kTypeMismatch,
            RuntimeErrorText(errors::kTypeMismatch) + ": " + Excerpt(p_sText) + " is not a number");
    }
    const std::optional<int64_t> whole = RoundToWholeNumber(*value);
    if (!whole) {
        FailConversion(p_lIndex, p_sName, errors::kOverflow,
                       RuntimeErrorText(errors::kOverflow) + ": " + Excerpt(p_sText));
    }
    return *whole;
}

std::vector<std::string> SelectListFields(const Variant& p_vList) {
    std::vector<std::string> fields;
    if (p_vList.IsArray()) {
        for (const Variant& item : p_vList.Array().Values()) {
            if (item.IsString()) {
                fields.push_back(FieldOfSelectItem(item.ToString()));
            }
        }
    } else if (p_vList.IsString()) {
        fields.push_back(FieldOfSelectItem(p_vList.ToString()));
    }
    std::erase_if(fields, [](const std::string& field) { return field.empty(); });
    return fields;
}

}  // namespace qv::facade
