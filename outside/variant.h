// Variant: the automation value type every interface of the system exchanges.
//
// It holds Empty, Null, Missing (an optional argument that was not passed), Boolean, a 16- or
// 32-bit integer, a Double, a Date, a String (UTF-8), an Array or an Object. Arrays have value
// semantics: copying a Variant copies its array. Objects are shared: copying a Variant shares the
// object, and "Nothing" is an Object Variant holding a null pointer.
//
// Conversions follow the automation runtime:
//   ToLong / ToInt     round half to even (2.5 -> 2, 3.5 -> 4); out of range is error 6
//                      (Overflow); text that is not numeric, arrays and objects are error 13.
//   ToDouble           numbers, booleans (True = -1), dates (their serial) and numeric text
//                      (numeric_text.h: exactly the text IsNumeric accepts).
//   ToBool             numbers (non-zero is True), "True"/"False" in any case, numeric text.
//   ToString           numbers with at most 15 significant digits, in fixed notation when they
//                      fit ("1.5", "-3", 0.1 + 0.2 gives "0.3") and otherwise as "1E+20";
//                      booleans as "True"/"False", dates in their default text form (vb_date.h).
//   ToDate             dates, numbers (as serials) and date text (vb_date.h ParseDateText).
// Empty converts to 0, "" and False. Null converts to nothing: every To* of Null is error 94
// ("Invalid use of Null"); arrays, objects and Missing are error 13.
//
//     Variant v = 2.5;
//     v.ToLong();              // 2
//     Variant("1,234").ToLong();  // 1234
//     Variant a = VariantArray::Vector(0, 4);
//     a.Array().At(0) = "Symbol ASC";
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv {

class DispatchObject;
class Variant;

// The automation runtime's VarType codes for the kinds a Variant can hold.
enum class VarType : uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Double = 5,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,  // Missing optional argument
    Boolean = 11,
    Array = 8204,  // array of Variants (8192 + 12)
};

// Bounds of one dimension, inclusive; Upper < Lower is an empty dimension.
struct ArrayBounds {
    int32_t Lower = 0;
    int32_t Upper = -1;
};

// An n-dimensional array of Variants with lower bounds, stored in column-major order as the
// runtime stores it. Indices outside the bounds are error 9 (Subscript out of range).
class VariantArray {
  public:
    VariantArray() = default;
    explicit VariantArray(std::vector<ArrayBounds> p_bounds);
    static VariantArray Vector(int32_t p_lLower, int32_t p_lUpper);
    static VariantArray Vector(std::initializer_list<Variant> p_values);  // lower bound 0
    static VariantArray Table(int32_t p_lRows, int32_t p_lColumns);       // (0..r-1, 0..c-1)

    int Dimensions() const { return static_cast<int>(m_bounds.size()); }
    // p_iDimension is 1-based as in the runtime's LBound/UBound; a bad dimension is error 9.
    int32_t LBound(int p_iDimension = 1) const;
    int32_t UBound(int p_iDimension = 1) const;
    size_t Size() const;

    Variant& At(int32_t p_lIndex);
    const Variant& At(int32_t p_lIndex) const;
    Variant& At(int32_t p_lIndex1, int32_t p_lIndex2);
    const Variant& At(int32_t p_lIndex1, int32_t p_lIndex2) const;
    Variant& At(std::initializer_list<int32_t> p_indices);
    const Variant& At(std::initializer_list<int32_t> p_indices) const;

    // ReDim Preserve: only the upper bound of the last dimension changes; existing elements keep
    // their indices, new ones are Empty.
    void RedimPreserve(int32_t p_lNewUpper);

    const std::vector<Variant>& Values() const { return m_values; }

    friend bool operator==(const VariantArray&, const VariantArray&);

  private:
    size_t Offset(const int32_t* p_indices, size_t p_count) const;

    std::vector<ArrayBounds> m_bounds;
    std::vector<Variant> m_values;
};

class Variant {
  public:
    Variant() = default;
    Variant(bool p_b) : m_value(p_b) {}
    Variant(int16_t p_i) : m_value(p_i) {}
    Variant(int32_t p_l) : m_value(p_l) {}
    Variant(double p_d) : m_value(p_d) {}
    Variant(const char* p_s) : m_value(std::string(p_s)) {}
    Variant(std::string p_s) : m_value(std::move(p_s)) {}
    Variant(std::string_view p_s) : m_value(std::string(p_s)) {}
    Variant(std::shared_ptr<DispatchObject> p_o) : m_value(std::move(p_o)) {}
    Variant(VariantArray p_a);

    Variant(const Variant& p_other);
    Variant(Variant&&) noexcept = default;
    Variant& operator=(const Variant& p_other);
    Variant& operator=(Variant&&) noexcept = default;
    ~Variant() = default;

    static Variant Null();
    static Variant Missing();
    static Variant Nothing();
    static Variant Date(double p_dSerial);

    VarType Type() const;
    bool IsEmpty() const { return m_value.index() == 0; }
    bool IsNull() const { return std::holds_alternative<NullTag>(m_value); }
    bool IsMissing() const { return std::holds_alternative<MissingTag>(m_value); }
    bool IsArray() const { return std::holds_alternative<std::unique_ptr<VariantArray>>(m_value); }
    bool IsObject() const {
        return std::holds_alternative<std::shared_ptr<DispatchObject>>(m_value);
    }
    bool IsNothing() const;  // an Object Variant with no object
    bool IsString() const { return std::holds_alternative<std::string>(m_value); }
    bool IsDate() const { return std::holds_alternative<DateValue>(m_value); }
    bool IsBool() const { return std::holds_alternative<bool>(m_value); }
    // Integer, Long or Double (not Boolean, Date or numeric text).
    bool IsNumber() const;

    // Conversions with the runtime's rules (header comment); failures throw AutomationError.
    bool ToBool() const;
    int16_t ToInt() const;
    int32_t ToLong() const;
    double ToDouble() const;
    double ToDate() const;  // day serial
    std::string ToString() const;
    // The object, or nullptr for Nothing; error 13 for a Variant that is not an object.
    std::shared_ptr<DispatchObject> ToObject() const;
    template <class T>
    std::shared_ptr<T> ToObjectAs() const {
        return std::dynamic_pointer_cast<T>(ToObject());
    }

    // The array; error 13 when the Variant holds none.
    VariantArray& Array();
    const VariantArray& Array() const;

    // Identity of kind and value (objects by pointer). Not the runtime's "=" operator, which
    // converts between kinds: use CompareValues for that.
    friend bool operator==(const Variant&, const Variant&);

  private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct MissingTag {
        bool operator==(const MissingTag&) const = default;
    };
    struct DateValue {
        double Serial;
        bool operator==(const DateValue&) const = default;
    };

    std::variant<std::monostate, NullTag, MissingTag, bool, int16_t, int32_t, double, DateValue,
                 std::string, std::shared_ptr<DispatchObject>, std::unique_ptr<VariantArray>>
        m_value;
};

// The runtime's comparison of two values for "=", "<" and sorting: numbers (and dates, booleans)
// numerically, text with text case-insensitively when p_bIgnoreCase, number with numeric text
// numerically. Returns <0, 0 or >0. Null or Empty sort before everything else and equal each
// other. Text against a number that is not numeric text is error 13.
int CompareValues(const Variant& p_vLeft, const Variant& p_vRight, bool p_bIgnoreCase = true);

}  // namespace qv
