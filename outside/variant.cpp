#include "outside/variant.h"

#include "outside/automation_error.h"
#include "outside/numeric_text.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <type_traits>

namespace qv {
namespace {

constexpr size_t kMaxArrayElements = size_t{1} << 28;

template <class T>
T RoundToInteger(double p_dValue) {
    const std::optional<int64_t> whole = RoundToWholeNumber(p_dValue);
    if (!whole || *whole < std::numeric_limits<T>::min() ||
        *whole > std::numeric_limits<T>::max()) {
        RaiseRuntimeError(errors::kOverflow);
    }
    return static_cast<T>(*whole);
}

// The runtime prints a Double with at most 15 significant digits, in fixed notation when those
// digits fit in 15 places and otherwise as "d.dddE+xx".
std::string DoubleText(double p_dValue) {
    if (p_dValue == 0) {
        return "0";
    }
    if (std::isnan(p_dValue)) {
        return "1.#QNAN";
    }
    if (std::isinf(p_dValue)) {
        return p_dValue < 0 ? "-1.#INF" : "1.#INF";
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", p_dValue);
    std::string text = buffer;
    const size_t ePosition = text.find('e');
    const int exponent = std::stoi(text.substr(ePosition + 1));
    const bool negative = text[0] == '-';
    std::string digits;
    for (size_t i = negative ? 1 : 0; i < ePosition; ++i) {
        if (text[i] != '.') {
            digits += text[i];
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);
    const int count = static_cast<int>(digits.size());
    std::string result = negative ? "-" : "";
    if (exponent >= 15 || (exponent < 0 && count - exponent - 1 > 15)) {
        result += digits.substr(0, 1);
        if (count > 1) {
            result += "." + digits.substr(1);
        }
        std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+',
                      exponent < 0 ? -exponent : exponent);
        return result + buffer;
    }
    if (exponent < 0) {
        return result + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    const size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        return result + digits + std::string(integerDigits - digits.size(), '0');
    }
    return result + digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

double CheckedDate(double p_dSerial) {
    if (!IsValidDateSerial(p_dSerial)) {
        RaiseRuntimeError(errors::kOverflow);
    }
    return p_dSerial;
}

int Sign(double p_dValue) {
    return p_dValue < 0 ? -1 : (p_dValue > 0 ? 1 : 0);
}

int CompareText(const std::string& p_sLeft, const std::string& p_sRight, bool p_bIgnoreCase) {
    if (p_bIgnoreCase) {
        return CompareIgnoreCase(p_sLeft, p_sRight);
    }
    const int result = p_sLeft.compare(p_sRight);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

// A number for comparison against p_vOther: date text compares as a date against a date.
double ComparableNumber(const Variant& p_vValue, const Variant& p_vOther) {
    if (p_vValue.IsString() && p_vOther.IsDate()) {
        double serial = 0;
        if (ParseDateText(p_vValue.ToString(), serial)) {
            return serial;
        }
    }
    return p_vValue.ToDouble();
}

}  // namespace

// --- VariantArray ----------------------------------------------------------------------------

VariantArray::VariantArray(std::vector<ArrayBounds> p_bounds) : m_bounds(std::move(p_bounds)) {
    size_t count = m_bounds.empty() ? 0 : 1;
    for (const ArrayBounds& bounds : m_bounds) {
        const int64_t length = std::max<int64_t>(0, int64_t{bounds.Upper} - bounds.Lower + 1);
        if (length > 0 && count > kMaxArrayElements / static_cast<size_t>(length)) {
            RaiseRuntimeError(errors::kOverflow, "array too large");
        }
        count *= static_cast<size_t>(length);
    }
    m_values.resize(count);
}

VariantArray VariantArray::Vector(int32_t p_lLower, int32_t p_lUpper) {
    return VariantArray({ArrayBounds{p_lLower, p_lUpper}});
}

VariantArray VariantArray::Vector(std::initializer_list<Variant> p_values) {
    VariantArray array({ArrayBounds{0, static_cast<int32_t>(p_values.size()) - 1}});
    std::copy(p_values.begin(), p_values.end(), array.m_values.begin());
    return array;
}

VariantArray VariantArray::Table(int32_t p_lRows, int32_t p_lColumns) {
    return VariantArray({ArrayBounds{0, p_lRows - 1}, ArrayBounds{0, p_lColumns - 1}});
}

size_t VariantArray::Size() const {
    return m_values.size();
}

int32_t VariantArray::LBound(int p_iDimension) const {
    if (p_iDimension < 1 || p_iDimension > Dimensions()) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange);
    }
    return m_bounds[static_cast<size_t>(p_iDimension - 1)].Lower;
}

int32_t VariantArray::UBound(int p_iDimension) const {
    if (p_iDimension < 1 || p_iDimension > Dimensions()) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange);
    }
    return m_bounds[static_cast<size_t>(p_iDimension - 1)].Upper;
}

size_t VariantArray::Offset(const int32_t* p_indices, size_t p_count) const {
    if (p_count != m_bounds.size() || p_count == 0) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange);
    }
    // Column-major: the first index varies fastest.
    size_t offset = 0;
    size_t stride = 1;
    for (size_t i = 0; i < p_count; ++i) {
        const ArrayBounds& bounds = m_bounds[i];
        if (p_indices[i] < bounds.Lower || p_indices[i] > bounds.Upper) {
            RaiseRuntimeError(errors::kSubscriptOutOfRange);
        }
        offset += static_cast<size_t>(int64_t{p_indices[i]} - bounds.Lower) * stride;
        stride *= static_cast<size_t>(int64_t{bounds.Upper} - bounds.Lower + 1);
    }
    return offset;
}

Variant& VariantArray::At(int32_t p_lIndex) {
    return m_values[Offset(&p_lIndex, 1)];
}

const Variant& VariantArray::At(int32_t p_lIndex) const {
    return m_values[Offset(&p_lIndex, 1)];
}

Variant& VariantArray::At(int32_t p_lIndex1, int32_t p_lIndex2) {
    const int32_t indices[] = {p_lIndex1, p_lIndex2};
    return m_values[Offset(indices, 2)];
}

const Variant& VariantArray::At(int32_t p_lIndex1, int32_t p_lIndex2) const {
    const int32_t indices[] = {p_lIndex1, p_lIndex2};
    return m_values[Offset(indices, 2)];
}

Variant& VariantArray::At(std::initializer_list<int32_t> p_indices) {
    return m_values[Offset(p_indices.begin(), p_indices.size())];
}

const Variant& VariantArray::At(std::initializer_list<int32_t> p_indices) const {
    return m_values[Offset(p_indices.begin(), p_indices.size())];
}

void VariantArray::RedimPreserve(int32_t p_lNewUpper) {
    if (m_bounds.empty()) {
        *this = Vector(0, p_lNewUpper);
        return;
    }
    ArrayBounds& last = m_bounds.back();
    if (int64_t{p_lNewUpper} < int64_t{last.Lower} - 1) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange);
    }
    // The last dimension varies slowest, so growing or shrinking it keeps every other element
    // at its offset.
    const size_t oldLength =
        static_cast<size_t>(std::max<int64_t>(0, int64_t{last.Upper} - last.Lower + 1));
    const size_t newLength = static_cast<size_t>(int64_t{p_lNewUpper} - last.Lower + 1);
    const size_t slice = oldLength == 0 ? 0 : m_values.size() / oldLength;
    last.Upper = p_lNewUpper;
    if (oldLength == 0) {
        *this = VariantArray(std::move(m_bounds));
        return;
    }
    if (newLength > 0 && slice > kMaxArrayElements / newLength) {
        RaiseRuntimeError(errors::kOverflow, "array too large");
    }
    m_values.resize(slice * newLength);
}

bool operator==(const VariantArray& p_left, const VariantArray& p_right) {
    if (p_left.m_bounds.size() != p_right.m_bounds.size()) {
        return false;
    }
    for (size_t i = 0; i < p_left.m_bounds.size(); ++i) {
        if (p_left.m_bounds[i].Lower != p_right.m_bounds[i].Lower ||
            p_left.m_bounds[i].Upper != p_right.m_bounds[i].Upper) {
            return false;
        }
    }
    return p_left.m_values == p_right.m_values;
}

// --- Variant ---------------------------------------------------------------------------------

Variant::Variant(VariantArray p_a) : m_value(std::make_unique<VariantArray>(std::move(p_a))) {}

Variant::Variant(const Variant& p_other) {
    if (p_other.IsArray()) {
        m_value = std::make_unique<VariantArray>(p_other.Array());
        return;
    }
    std::visit(
        [this](const auto& p_value) {
            using T = std::decay_t<decltype(p_value)>;
            if constexpr (!std::is_same_v<T, std::unique_ptr<VariantArray>>) {
                m_value = p_value;
            }
        },
        p_other.m_value);
}

Variant& Variant::operator=(const Variant& p_other) {
    if (this != &p_other) {
        Variant copy(p_other);
        m_value = std::move(copy.m_value);
    }
    return *this;
}

Variant Variant::Null() {
    Variant value;
    value.m_value = NullTag{};
    return value;
}

Variant Variant::Missing() {
    Variant value;
    value.m_value = MissingTag{};
    return value;
}

Variant Variant::Nothing() {
    return Variant(std::shared_ptr<DispatchObject>());
}

Variant Variant::Date(double p_dSerial) {
    Variant value;
    value.m_value = DateValue{p_dSerial};
    return value;
}

VarType Variant::Type() const {
    if (IsNull()) {
        return VarType::Null;
    }
    if (IsMissing()) {
        return VarType::Error;
    }
    if (IsBool()) {
        return VarType::Boolean;
    }
    if (std::holds_alternative<int16_t>(m_value)) {
        return VarType::Integer;
    }
    if (std::holds_alternative<int32_t>(m_value)) {
        return VarType::Long;
    }
    if (std::holds_alternative<double>(m_value)) {
        return VarType::Double;
    }
    if (IsDate()) {
        return VarType::Date;
    }
    if (IsString()) {
        return VarType::String;
    }
    if (IsObject()) {
        return VarType::Object;
    }
    if (IsArray()) {
        return VarType::Array;
    }
    return VarType::Empty;
}

bool Variant::IsNothing() const {
    const auto* object = std::get_if<std::shared_ptr<DispatchObject>>(&m_value);
    return object != nullptr && *object == nullptr;
}

bool Variant::IsNumber() const {
    return std::holds_alternative<int16_t>(m_value) || std::holds_alternative<int32_t>(m_value) ||
           std::holds_alternative<double>(m_value);
}

bool Variant::ToBool() const {
    if (IsBool()) {
        return std::get<bool>(m_value);
    }
    if (IsString()) {
        const std::string_view text = TrimBlanks(std::get<std::string>(m_value));
        if (EqualsIgnoreCase(text, "True")) {
            return true;
        }
        if (EqualsIgnoreCase(text, "False")) {
            return false;
        }
    }
    return ToDouble() != 0;
}

int16_t Variant::ToInt() const {
    if (const auto* value = std::get_if<int16_t>(&m_value)) {
        return *value;
    }
    return RoundToInteger<int16_t>(ToDouble());
}

int32_t Variant::ToLong() const {
    if (const auto* value = std::get_if<int32_t>(&m_value)) {
        return *value;
    }
    return RoundToInteger<int32_t>(ToDouble());
}

double Variant::ToDouble() const {
    if (IsEmpty()) {
        return 0;
    }
    if (IsNull()) {
        RaiseRuntimeError(errors::kInvalidUseOfNull);
    }
    if (const auto* value = std::get_if<bool>(&m_value)) {
        return *value ? -1 : 0;
    }
    if (const auto* value = std::get_if<int16_t>(&m_value)) {
        return *value;
    }
    if (const auto* value = std::get_if<int32_t>(&m_value)) {
        return *value;
    }
    if (const auto* value = std::get_if<double>(&m_value)) {
        return *value;
    }
    if (const auto* value = std::get_if<DateValue>(&m_value)) {
        return value->Serial;
    }
    if (const auto* value = std::get_if<std::string>(&m_value)) {
        std::optional<double> number = ParseNumericText(*value);
        if (number) {
            return *number;
        }
    }
    RaiseRuntimeError(errors::kTypeMismatch);
}

double Variant::ToDate() const {
    if (const auto* value = std::get_if<DateValue>(&m_value)) {
        return value->Serial;
    }
    if (const auto* value = std::get_if<std::string>(&m_value)) {
        double serial = 0;
        if (!ParseDateText(*value, serial)) {
            RaiseRuntimeError(errors::kTypeMismatch);
        }
        return serial;
    }
    return CheckedDate(ToDouble());
}

std::string Variant::ToString() const {
    if (IsEmpty()) {
        return "";
    }
    if (IsNull()) {
        RaiseRuntimeError(errors::kInvalidUseOfNull);
    }
    if (const auto* value = std::get_if<std::string>(&m_value)) {
        return *value;
    }
    if (const auto* value = std::get_if<bool>(&m_value)) {
        return *value ? "True" : "False";
    }
    if (const auto* value = std::get_if<int16_t>(&m_value)) {
        return std::to_string(*value);
    }
    if (const auto* value = std::get_if<int32_t>(&m_value)) {
        return std::to_string(*value);
    }
    if (const auto* value = std::get_if<double>(&m_value)) {
        return DoubleText(*value);
    }
    if (const auto* value = std::get_if<DateValue>(&m_value)) {
        return DefaultDateText(value->Serial);
    }
    RaiseRuntimeError(errors::kTypeMismatch);
}

std::shared_ptr<DispatchObject> Variant::ToObject() const {
    if (const auto* object = std::get_if<std::shared_ptr<DispatchObject>>(&m_value)) {
        return *object;
    }
    RaiseRuntimeError(errors::kTypeMismatch);
}

VariantArray& Variant::Array() {
    auto* array = std::get_if<std::unique_ptr<VariantArray>>(&m_value);
    if (array == nullptr) {
        RaiseRuntimeError(errors::kTypeMismatch);
    }
    return **array;
}

const VariantArray& Variant::Array() const {
    const auto* array = std::get_if<std::unique_ptr<VariantArray>>(&m_value);
    if (array == nullptr) {
        RaiseRuntimeError(errors::kTypeMismatch);
    }
    return **array;
}

bool operator==(const Variant& p_left, const Variant& p_right) {
    if (p_left.IsArray() && p_right.IsArray()) {
        return p_left.Array() == p_right.Array();
    }
    return p_left.m_value == p_right.m_value;
}

int CompareValues(const Variant& p_vLeft, const Variant& p_vRight, bool p_bIgnoreCase) {
    const bool leftBlank = p_vLeft.IsNull() || p_vLeft.IsEmpty();
    const bool rightBlank = p_vRight.IsNull() || p_vRight.IsEmpty();
    if (leftBlank || rightBlank) {
        return leftBlank == rightBlank ? 0 : (leftBlank ? -1 : 1);
    }
    if (p_vLeft.IsArray() || p_vRight.IsArray() || p_vLeft.IsObject() || p_vRight.IsObject() ||
        p_vLeft.IsMissing() || p_vRight.IsMissing()) {
        RaiseRuntimeError(errors::kTypeMismatch);
    }
    if (p_vLeft.IsString() && p_vRight.IsString()) {
        return CompareText(p_vLeft.ToString(), p_vRight.ToString(), p_bIgnoreCase);
    }
    return Sign(ComparableNumber(p_vLeft, p_vRight) - ComparableNumber(p_vRight, p_vLeft));
}

}  // namespace qv
