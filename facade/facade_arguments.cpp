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

std::string_view ArgTypeName(facade_protocol::ArgType p_eType) {
    using facade_protocol::ArgType;
    switch (p_eType) {
        case ArgType::Long:
            return "Long";
        case ArgType::Double:
            return "Double";
        case ArgType::Text:
            return "Text";
        case ArgType::Boolean:
            return "Boolean";
        case ArgType::Date:
            return "Date";
        case ArgType::Object:
            return "Object";
        case ArgType::Variant:
            return "Variant";
    }
    return "?";
}

}  // namespace

std::optional<int64_t> WholeNumberIn(std::string_view p_sText) {
    const std::optional<double> value = ParseNumericText(p_sText);
    return value ? RoundToWholeNumber(*value) : std::nullopt;
}

std::vector<std::string> SplitList(std::string_view p_sText) {
    std::vector<std::string> items;
    for (const std::string& part : SplitText(p_sText, ',')) {
        const std::string_view item = TrimWhitespace(part);
        if (!item.empty()) {
            items.emplace_back(item);
        }
    }
    return items;
}

void RaiseFacadeError(std::string_view p_sMethod, const std::string& p_sWhat) {
    throw AutomationError(kFacadeErrorNumber, kFacadeSource,
                          std::string(p_sMethod) + ": " + p_sWhat);
}

bool FacadeArguments::IsGiven(size_t p_lIndex) const {
    return p_lIndex < m_aArgs.size() && !IsAbsent(m_aArgs[p_lIndex]);
}

void FacadeArguments::Expect(const Argument& p_oArg, ArgType p_eType) const {
    if (p_oArg.Type == p_eType) {
        return;
    }
    RaiseFacadeError(m_sMethod, "internal error: argument " + std::to_string(p_oArg.Position + 1) +
                                    " (" + std::string(p_oArg.Name) + ") is a " +
                                    std::string(ArgTypeName(p_oArg.Type)) + ", read as a " +
                                    std::string(ArgTypeName(p_eType)));
}

void FacadeArguments::Fail(const Argument& p_oArg, const std::string& p_sWhy) const {
    RaiseFacadeError(m_sMethod, "argument " + std::to_string(p_oArg.Position + 1) + " (" +
                                    std::string(p_oArg.Name) + "): " + p_sWhy);
}

void FacadeArguments::FailConversion(const Argument& p_oArg, int32_t p_lNumber,
                                     const std::string& p_sDescription) const {
    throw AutomationError(p_lNumber, kFacadeSource,
                          std::string(m_sMethod) + ": argument " +
                              std::to_string(p_oArg.Position + 1) + " (" +
                              std::string(p_oArg.Name) + "): " + p_sDescription);
}

int32_t FacadeArguments::Long(const Argument& p_oArg) const {
    Expect(p_oArg, ArgType::Long);
    if (!IsGiven(p_oArg)) {
        return 0;
    }
    try {
        return Value(p_oArg).ToLong();
    } catch (const AutomationError& error) {
        FailConversion(p_oArg, error.Number(), error.Description());
    }
}

std::optional<double> FacadeArguments::Number(const Argument& p_oArg) const {
    Expect(p_oArg, ArgType::Double);
    if (!IsGiven(p_oArg)) {
        return std::nullopt;
    }
    try {
        return Value(p_oArg).ToDouble();
    } catch (const AutomationError& error) {
        FailConversion(p_oArg, error.Number(), error.Description());
    }
}

bool FacadeArguments::Boolean(const Argument& p_oArg) const {
    Expect(p_oArg, ArgType::Boolean);
    if (!IsGiven(p_oArg)) {
        return false;
    }
    try {
        return Value(p_oArg).ToBool();
    } catch (const AutomationError& error) {
        FailConversion(p_oArg, error.Number(), error.Description());
    }
}

std::string FacadeArguments::Text(const Argument& p_oArg) const {
    Expect(p_oArg, ArgType::Text);
    if (!IsGiven(p_oArg)) {
        return {};
    }
    try {
        return Value(p_oArg).ToString();
    } catch (const AutomationError& error) {
        FailConversion(p_oArg, error.Number(), error.Description());
    }
}

int32_t FacadeArguments::Day(const Argument& p_oArg) const {
    Expect(p_oArg, ArgType::Date);
    if (!IsGiven(p_oArg)) {
        return 0;
    }
    const Variant& value = Value(p_oArg);
    if (value.IsString() && TrimWhitespace(value.ToString()).empty()) {
        return 0;
    }
    double serial = 0;
    try {
        serial = std::floor(value.ToDate());
    } catch (const AutomationError& error) {
        FailConversion(p_oArg, error.Number(), error.Description());
    }
    // A Date may hold NaN, which no day is: casting it would be undefined.
    if (std::isnan(serial)) {
        FailConversion(p_oArg, errors::kOverflow, RuntimeErrorText(errors::kOverflow));
    }
    if (serial == 0) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(serial, 1.0, kLastDay));
}

std::optional<LayoutDescription> FacadeArguments::Layout(const Argument& p_oArg) const {
    Expect(p_oArg, ArgType::Variant);
    if (!IsGiven(p_oArg)) {
        return std::nullopt;
    }
    try {
        return layout_codec::Parse(Value(p_oArg));
    } catch (const AutomationError& error) {
        FailConversion(p_oArg, error.Number(), error.Description());
    }
}

std::vector<LayoutColumn> FacadeArguments::LayoutColumns(const Argument& p_oArg) const {
    Expect(p_oArg, ArgType::Variant);
    if (!IsGiven(p_oArg)) {
        return {};
    }
    try {
        return layout_codec::ParseColumnTable(Value(p_oArg));
    } catch (const AutomationError& error) {
        FailConversion(p_oArg, error.Number(), error.Description());
    }
}

std::vector<std::string> FacadeArguments::Keys(const Argument& p_oArg) const {
    Expect(p_oArg, ArgType::Variant);
    std::vector<std::string> keys;
    if (!IsGiven(p_oArg) || Value(p_oArg).IsNull()) {
        return keys;
    }
    const Variant& items = Value(p_oArg);
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
        FailConversion(p_oArg, error.Number(), error.Description());
    }
    return keys;
}

std::vector<std::string> FacadeArguments::CodeKeys(const Argument& p_oArg) const {
    std::vector<std::string> codes;
    for (const std::string& key : Keys(p_oArg)) {
        codes.push_back(std::to_string(WholeNumber(p_oArg, key)));
    }
    return codes;
}

int64_t FacadeArguments::WholeNumber(const Argument& p_oArg, std::string_view p_sText) const {
    const std::optional<double> value = ParseNumericText(p_sText);
    if (!value) {
        FailConversion(
            p_oArg, errors::kTypeMismatch,
            RuntimeErrorText(errors::kTypeMismatch) + ": " + Excerpt(p_sText) + " is not a number");
    }
    const std::optional<int64_t> whole = RoundToWholeNumber(*value);
    if (!whole) {
        FailConversion(p_oArg, errors::kOverflow,
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
