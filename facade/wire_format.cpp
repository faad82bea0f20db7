#include "facade/wire_format.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <utility>

#include "outside/recordset.h"
#include "outside/recordset_rows.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

using Json = nlohmann::json;

[[noreturn]] void Refuse(const std::string& p_sReason) {
    throw WireFormatError(p_sReason);
}

// Builds a message's document as the library's own reader does, but stops at the first level
// nested deeper than the limit, before reading into it (the MessagePack reader recurses into each
// level). An array's claimed length reserves nothing: a few bytes could claim billions.
class DocumentBuilder : public nlohmann::json_sax<Json> {
  public:
    explicit DocumentBuilder(const WireLimits& p_oLimits) : m_iMaxDepth(p_oLimits.m_iMaxDepth) {}

    bool null() override { return Put(nullptr); }
    bool boolean(bool p_bValue) override { return Put(p_bValue); }
    bool number_integer(number_integer_t p_llValue) override { return Put(p_llValue); }
    bool number_unsigned(number_unsigned_t p_llValue) override { return Put(p_llValue); }
    bool number_float(number_float_t p_dValue, const string_t&) override { return Put(p_dValue); }
    bool string(string_t& p_sValue) override { return Put(std::move(p_sValue)); }
    bool binary(binary_t& p_aValue) override { return Put(Json::binary(std::move(p_aValue))); }
    bool start_object(std::size_t) override { return Open(Json::object()); }
    bool key(string_t& p_sKey) override {
        m_sKey = std::move(p_sKey);
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(Json::array()); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&, const Json::exception& p_oError) override {
        m_sError = p_oError.what();
        return false;
    }

    Json& Document() { return m_oDocument; }
    // Why reading stopped: a syntax error of the encoding, or the depth ("" when it did not).
    const std::string& SyntaxError() const { return m_sError; }
    bool TooDeep() const { return m_bTooDeep; }

  private:
    // The value's place: the document, the next item of the open array, or the open object's
    // member of the latest key.
    Json* Place(Json p_oValue) {
        if (m_aOpen.empty()) {
            m_oDocument = std::move(p_oValue);
            return &m_oDocument;
        }
        Json& open = *m_aOpen.back();
        if (open.is_array()) {
            open.get_ref<Json::array_t&>().push_back(std::move(p_oValue));
            return &open.get_ref<Json::array_t&>().back();
        }
        Json& member = open[m_sKey];
        member = std::move(p_oValue);
        return &member;
    }
    bool Put(Json p_oValue) {
        Place(std::move(p_oValue));
        return true;
    }
    bool Open(Json p_oContainer) {
        if (static_cast<int>(m_aOpen.size()) >= m_iMaxDepth) {
            m_bTooDeep = true;
            return false;
        }
        m_aOpen.push_back(Place(std::move(p_oContainer)));
        return true;
    }
    bool Close() {
        m_aOpen.pop_back();
        return true;
    }

    int m_iMaxDepth;
    Json m_oDocument;
    // The arrays and objects being filled, innermost last; an outer one does not grow while an
    // inner one is open, so these stay valid.
    std::vector<Json*> m_aOpen;
    std::string m_sKey;
    std::string m_sError;
    bool m_bTooDeep = false;
};

Json Parse(std::string_view p_sMessage, const WireLimits& p_oLimits, WireEncoding p_eEncoding) {
    if (p_sMessage.size() > p_oLimits.m_lMaxBytes) {
        Refuse("message of " + std::to_string(p_sMessage.size()) + " bytes is over the limit of " +
               std::to_string(p_oLimits.m_lMaxBytes));
    }
    DocumentBuilder builder(p_oLimits);
    const bool packed = p_eEncoding == WireEncoding::MessagePack;
    Json::sax_parse(p_sMessage.begin(), p_sMessage.end(), &builder,
                    packed ? Json::input_format_t::msgpack : Json::input_format_t::json);
    if (builder.TooDeep()) {
        Refuse("nested deeper than " + std::to_string(p_oLimits.m_iMaxDepth) + " levels");
    }
    if (!builder.SyntaxError().empty()) {  // a syntax error or a number out of range
        Refuse((packed ? "not MessagePack: " : "not JSON: ") + builder.SyntaxError());
    }
    const Json message = std::move(builder.Document());
    if (!message.is_object()) {
        Refuse("message is not an object");
    }
    const auto format = message.find("format");
    if (format == message.end() || !format->is_string()) {
        Refuse("message has no format");
    }
    if (format->get_ref<const std::string&>() != kWireFormatVersion) {
        Refuse("format " + format->get<std::string>() + " is not " +
               std::string(kWireFormatVersion));
    }
    return message;
}

const Json& Member(const Json& p_oObject, const char* p_sName, const char* p_sWhere) {
    if (!p_oObject.is_object()) {
        Refuse(std::string(p_sWhere) + " is not an object");
    }
    const auto member = p_oObject.find(p_sName);
    if (member == p_oObject.end()) {
        Refuse(std::string(p_sWhere) + " has no member \"" + p_sName + "\"");
    }
    return *member;
}

const Json::array_t& ArrayOf(const Json& p_oValue, const std::string& p_sWhat) {
    if (!p_oValue.is_array()) {
        Refuse(p_sWhat + " is not an array");
    }
    return p_oValue.get_ref<const Json::array_t&>();
}

const std::string& TextOf(const Json& p_oValue, const std::string& p_sWhat) {
    if (!p_oValue.is_string()) {
        Refuse(p_sWhat + " is not a string");
    }
    return p_oValue.get_ref<const std::string&>();
}

int64_t IntegerOf(const Json& p_oValue, int64_t p_llMin, int64_t p_llMax,
                  const std::string& p_sWhat) {
    const bool fits = (p_oValue.is_number_unsigned() &&
                       p_oValue.get<uint64_t>() <= static_cast<uint64_t>(p_llMax)) ||
                      (p_oValue.is_number_integer() && !p_oValue.is_number_unsigned() &&
                       p_oValue.get<int64_t>() >= p_llMin && p_oValue.get<int64_t>() <= p_llMax);
    if (!fits) {
        Refuse(p_sWhat + " is not an integer from " + std::to_string(p_llMin) + " to " +
               std::to_string(p_llMax));
    }
    return p_oValue.get<int64_t>();
}

int32_t LongOf(const Json& p_oValue, const std::string& p_sWhat) {
    return static_cast<int32_t>(IntegerOf(p_oValue, std::numeric_limits<int32_t>::min(),
                                          std::numeric_limits<int32_t>::max(), p_sWhat));
}

Json NumberJson(double p_dValue) {
    if (std::isnan(p_dValue)) {
        return "NaN";
    }
    if (std::isinf(p_dValue)) {
        return p_dValue > 0 ? "Infinity" : "-Infinity";
    }
    return p_dValue;
}

double NumberOf(const Json& p_oValue, const std::string& p_sWhat) {
    if (p_oValue.is_number()) {
        return p_oValue.get<double>();
    }
    if (p_oValue == "NaN") {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (p_oValue == "Infinity" || p_oValue == "-Infinity") {
        const double infinity = std::numeric_limits<double>::infinity();
        return p_oValue == "Infinity" ? infinity : -infinity;
    }
    Refuse(p_sWhat + " is not a number");
}

Json Tagged(const char* p_sTag) {
    return Json{{"t", p_sTag}};
}

Json Tagged(const char* p_sTag, Json p_oValue) {
    return Json{{"t", p_sTag}, {"v", std::move(p_oValue)}};
}

Json EncodeVariant(const Variant& p_vValue, WireEncoding p_eEncoding);

// JSON holds only UTF-8 text; other bytes (a file read in another encoding) travel as
// hexadecimal, so that the facade sees them as the caller had them and can say they are not text.
Json EncodeText(const std::string& p_sText) {
    if (IsUtf8(p_sText)) {
        return Tagged("string", p_sText);
    }
    constexpr const char* kDigits = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : p_sText) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return Tagged("bytes", hex);
}

int HexDigit(char p_c) {
    if (p_c >= '0' && p_c <= '9') {
        return p_c - '0';
    }
    if (p_c >= 'a' && p_c <= 'f') {
        return p_c - 'a' + 10;
    }
    Refuse("bytes value is not hexadecimal");
}

std::string DecodeBytes(const std::string& p_sHex) {
    if (p_sHex.size() % 2 != 0) {
        Refuse("bytes value has an odd number of digits");
    }
    std::string bytes;
    for (size_t at = 0; at < p_sHex.size(); at += 2) {
        bytes += static_cast<char>(HexDigit(p_sHex[at]) * 16 + HexDigit(p_sHex[at + 1]));
    }
    return bytes;
}

Json EncodeArray(const VariantArray& p_aArray, WireEncoding p_eEncoding) {
    if (p_aArray.Dimensions() > 2) {
        Refuse("an array of " + std::to_string(p_aArray.Dimensions()) +
               " dimensions cannot travel");
    }
    Json bounds = Json::array();
    for (int dimension = 1; dimension <= p_aArray.Dimensions(); ++dimension) {
        bounds.push_back(Json::array({p_aArray.LBound(dimension), p_aArray.UBound(dimension)}));
    }
    Json values = Json::array();
    for (const Variant& value : p_aArray.Values()) {
        values.push_back(EncodeVariant(value, p_eEncoding));
    }
    Json array = Tagged("array", std::move(values));
    array["bounds"] = std::move(bounds);
    return array;
}

Json EncodeCell(const RowColumn& p_oColumn, uint32_t p_lRow, WireEncoding p_eEncoding) {
    if (p_oColumn.IsNull(p_lRow)) {
        return nullptr;
    }
    switch (p_oColumn.Kind()) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            return NumberJson(p_oColumn.Numbers()[p_lRow]);
        case ColumnKind::Long:
            return p_oColumn.Longs()[p_lRow];
        case ColumnKind::Integer:
            return p_oColumn.Integers()[p_lRow];
        case ColumnKind::Boolean:
            return p_oColumn.Booleans()[p_lRow] != 0;
        case ColumnKind::Text:
            return p_oColumn.Texts()[p_lRow];
        case ColumnKind::Variant:
            break;
    }
    return EncodeVariant(p_oColumn.Variants()[p_lRow], p_eEncoding);
}

// In MessagePack a column of numbers or texts travels packed, as one byte string of its rows one
// after another: a byte that is 1 for Null and 0 otherwise, then the value's little-endian bytes
// (the 8 of a double for Double and Date, the 4 of an integer for Long, and for a text its length
// in 4 bytes and then its bytes). Its reader takes it without building a value for each cell.
constexpr size_t kTextLengthBytes = 4;

// The bytes of a packed value of the kind; kTextLengthBytes for a text's length, 0 for a kind that
// travels as an array of cells.
size_t PackedWidth(ColumnKind p_eKind) {
    switch (p_eKind) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            return 8;
        case ColumnKind::Long:
        case ColumnKind::Text:
            return 4;
        default:
            return 0;
    }
}

void AppendLittleEndian(std::vector<uint8_t>& p_aBytes, uint64_t p_llValue, size_t p_lWidth) {
    for (size_t i = 0; i < p_lWidth; ++i) {
        p_aBytes.push_back(static_cast<uint8_t>(p_llValue >> (8 * i)));
    }
}

uint64_t ReadLittleEndian(const uint8_t* p_aBytes, size_t p_lWidth) {
    uint64_t value = 0;
    for (size_t i = 0; i < p_lWidth; ++i) {
        value |= uint64_t{p_aBytes[i]} << (8 * i);
    }
    return value;
}

void AppendPackedValue(std::vector<uint8_t>& p_aBytes, const RowColumn& p_oColumn,
                       uint32_t p_lRow) {
    switch (p_oColumn.Kind()) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            AppendLittleEndian(p_aBytes, std::bit_cast<uint64_t>(p_oColumn.Numbers()[p_lRow]), 8);
            return;
        case ColumnKind::Long:
            AppendLittleEndian(p_aBytes, std::bit_cast<uint32_t>(p_oColumn.Longs()[p_lRow]), 4);
            return;
        default: {
            const std::string& text = p_oColumn.Texts()[p_lRow];
            AppendLittleEndian(p_aBytes, text.size(), kTextLengthBytes);
            p_aBytes.insert(p_aBytes.end(), text.begin(), text.end());
        }
    }
}

Json PackedColumn(const Recordset& p_rRecordset, const RowColumn& p_oColumn) {
    const size_t width = PackedWidth(p_oColumn.Kind());
    std::vector<uint8_t> bytes;
    bytes.reserve((width + 1) * static_cast<size_t>(p_rRecordset.ViewCount()));
    for (int32_t position = 0; position < p_rRecordset.ViewCount(); ++position) {
        const uint32_t row = p_rRecordset.ViewRowId(position);
        if (p_oColumn.IsNull(row)) {
            bytes.push_back(1);
            AppendLittleEndian(bytes, 0, width);
            continue;
        }
        bytes.push_back(0);
        AppendPackedValue(bytes, p_oColumn, row);
    }
    return Json::binary(std::move(bytes));
}

Json CellsColumn(const Recordset& p_rRecordset, const RowColumn& p_oColumn,
                 WireEncoding p_eEncoding) {
    Json column = Json::array();
    for (int32_t position = 0; position < p_rRecordset.ViewCount(); ++position) {
        column.push_back(EncodeCell(p_oColumn, p_rRecordset.ViewRowId(position), p_eEncoding));
    }
    return column;
}

Json EncodeRecordset(const Recordset& p_rRecordset, WireEncoding p_eEncoding) {
    Json fields = Json::array();
    for (int32_t i = 0; i < p_rRecordset.Fields().Count(); ++i) {
        const Field& field = p_rRecordset.Fields().Item(i);
        fields.push_back({{"name", field.Name()},
                          {"type", field.Type()},
                          {"size", field.DefinedSize()},
                          {"attributes", field.Attributes()},
                          {"precision", field.Precision()},
                          {"scale", field.NumericScale()}});
    }
    Json recordset{{"cursorLocation", p_rRecordset.CursorLocation()},
                   {"lockType", p_rRecordset.LockType()},
                   {"fields", std::move(fields)}};
    if (p_rRecordset.State() == adStateOpen) {
        Json columns = Json::array();
        const RowStore& rows = p_rRecordset.Rows();
        for (size_t c = 0; c < rows.ColumnCount(); ++c) {
            const RowColumn& column = rows.Column(c);
            const bool packed =
                p_eEncoding == WireEncoding::MessagePack && PackedWidth(column.Kind()) != 0;
            columns.push_back(packed ? PackedColumn(p_rRecordset, column)
                                     : CellsColumn(p_rRecordset, column, p_eEncoding));
        }
        recordset["columns"] = std::move(columns);
    }
    return Tagged("recordset", std::move(recordset));
}

Json EncodeVariant(const Variant& p_vValue, WireEncoding p_eEncoding) {
    switch (p_vValue.Type()) {
        case VarType::Empty:
            return Tagged("empty");
        case VarType::Null:
            return Tagged("null");
        case VarType::Error:
            return Tagged("missing");
        case VarType::Boolean:
            return Tagged("bool", p_vValue.ToBool());
        case VarType::Integer:
            return Tagged("int", p_vValue.ToInt());
        case VarType::Long:
            return Tagged("long", p_vValue.ToLong());
        case VarType::Double:
            return Tagged("double", NumberJson(p_vValue.ToDouble()));
        case VarType::Date:
            return Tagged("date", NumberJson(p_vValue.ToDate()));
        case VarType::String:
            return EncodeText(p_vValue.ToString());
        case VarType::Array:
            return EncodeArray(p_vValue.Array(), p_eEncoding);
        case VarType::Object:
            break;
    }
    if (p_vValue.IsNothing()) {
        return Tagged("nothing");
    }
    const std::shared_ptr<Recordset> recordset = RecordsetOf(p_vValue);
    if (!recordset) {
        Refuse("an object other than a recordset cannot travel");
    }
    return EncodeRecordset(*recordset, p_eEncoding);
}

Variant DecodeVariant(const Json& p_oValue);

// Bounds that hold exactly as many elements as there are values.
std::vector<ArrayBounds> BoundsOf(const Json& p_oBounds, size_t p_lValues) {
    const Json::array_t& dimensions = ArrayOf(p_oBounds, "array bounds");
    if (dimensions.size() > 2) {
        Refuse("array of more than 2 dimensions");
    }
    std::vector<ArrayBounds> bounds;
    size_t count = dimensions.empty() ? 0 : 1;
    for (const Json& dimension : dimensions) {
        const Json::array_t& pair = ArrayOf(dimension, "array dimension");
        if (pair.size() != 2) {
            Refuse("array dimension is not [lower, upper]");
        }
        const ArrayBounds range{LongOf(pair[0], "lower bound"), LongOf(pair[1], "upper bound")};
        const int64_t length = std::max<int64_t>(0, int64_t{range.Upper} - range.Lower + 1);
        if (length > 0 && count > p_lValues / static_cast<uint64_t>(length)) {
            Refuse("array bounds hold more elements than the " + std::to_string(p_lValues) +
                   " values given");
        }
        count *= static_cast<size_t>(length);
        bounds.push_back(range);
    }
    if (count != p_lValues) {
        Refuse("array bounds hold " + std::to_string(count) + " elements but " +
               std::to_string(p_lValues) + " values are given");
    }
    return bounds;
}

Variant DecodeArray(const Json& p_oArray) {
    const Json::array_t& values = ArrayOf(Member(p_oArray, "v", "array"), "array values");
    VariantArray array(BoundsOf(Member(p_oArray, "bounds", "array"), values.size()));
    if (array.Dimensions() == 1) {
        for (size_t i = 0; i < values.size(); ++i) {
            array.At(array.LBound(1) + static_cast<int32_t>(i)) = DecodeVariant(values[i]);
        }
    } else if (array.Dimensions() == 2) {
        const auto rows = static_cast<size_t>(array.UBound(1) - array.LBound(1) + 1);
        for (size_t i = 0; i < values.size(); ++i) {
            array.At(array.LBound(1) + static_cast<int32_t>(i % rows),
                     array.LBound(2) + static_cast<int32_t>(i / rows)) = DecodeVariant(values[i]);
        }
    }
    return Variant(std::move(array));
}

// The common cells, taken without the checks' messages being made for each of them.
bool AppendPlainCell(RowColumn& p_oColumn, const Json& p_oCell) {
    switch (p_oColumn.Kind()) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            if (!p_oCell.is_number()) {
                return false;
            }
            p_oColumn.AppendNumber(p_oCell.get<double>());
            return true;
        case ColumnKind::Text:
            if (!p_oCell.is_string()) {
                return false;
            }
            p_oColumn.AppendText(p_oCell.get_ref<const std::string&>());
            return true;
        case ColumnKind::Boolean:
            if (!p_oCell.is_boolean()) {
                return false;
            }
            p_oColumn.AppendBoolean(p_oCell.get<bool>());
            return true;
        default:
            return false;
    }
}

void AppendCell(RowColumn& p_oColumn, const Json& p_oCell, const std::string& p_sField) {
    if (p_oCell.is_null()) {
        p_oColumn.AppendNull();
        return;
    }
    if (AppendPlainCell(p_oColumn, p_oCell)) {
        return;
    }
    const std::string what = "value of field " + p_sField;
    switch (p_oColumn.Kind()) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            p_oColumn.AppendNumber(NumberOf(p_oCell, what));
            return;
        case ColumnKind::Long:
            p_oColumn.AppendLong(LongOf(p_oCell, what));
            return;
        case ColumnKind::Integer:
            p_oColumn.Append(Variant(
                static_cast<int16_t>(IntegerOf(p_oCell, std::numeric_limits<int16_t>::min(),
                                               std::numeric_limits<int16_t>::max(), what))));
            return;
        case ColumnKind::Boolean:
            if (!p_oCell.is_boolean()) {
                Refuse(what + " is not a boolean");
            }
            p_oColumn.AppendBoolean(p_oCell.get<bool>());
            return;
        case ColumnKind::Text:
            p_oColumn.AppendText(TextOf(p_oCell, what));
            return;
        case ColumnKind::Variant:
            p_oColumn.Append(DecodeVariant(p_oCell));
            return;
    }
}

// Reads a packed column (PackedColumn) row by row, refusing one whose bytes are not whole rows of
// its kind. p_fRow gets whether the row is Null and the bytes of its value.
template <class Row>
size_t ReadPacked(const std::vector<uint8_t>& p_aBytes, ColumnKind p_eKind,
                  const std::string& p_sField, Row p_fRow) {
    const size_t width = PackedWidth(p_eKind);
    size_t rows = 0;
    size_t at = 0;
    while (width != 0 && p_aBytes.size() - at > width) {
        size_t size = width;
        if (p_eKind == ColumnKind::Text) {
            size += ReadLittleEndian(&p_aBytes[at + 1], kTextLengthBytes);
            if (size > p_aBytes.size() - at - 1) {
                break;
            }
        }
        p_fRow(p_aBytes[at] != 0, &p_aBytes[at + 1]);
        at += size + 1;
        ++rows;
    }
    if (width == 0 || at != p_aBytes.size()) {
        Refuse("column " + p_sField + " is not packed as its kind is");
    }
    return rows;
}

void AppendPackedCell(RowColumn& p_oColumn, bool p_bNull, const uint8_t* p_aValue) {
    if (p_bNull) {
        p_oColumn.AppendNull();
        return;
    }
    switch (p_oColumn.Kind()) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            p_oColumn.AppendNumber(std::bit_cast<double>(ReadLittleEndian(p_aValue, 8)));
            return;
        case ColumnKind::Long:
            p_oColumn.AppendLong(
                std::bit_cast<int32_t>(static_cast<uint32_t>(ReadLittleEndian(p_aValue, 4))));
            return;
        default: {
            const size_t length = ReadLittleEndian(p_aValue, kTextLengthBytes);
            const char* text = reinterpret_cast<const char*>(p_aValue + kTextLengthBytes);
            p_oColumn.AppendText(std::string(text, length));
        }
    }
}

// The rows of a column as it travels: an array of cells, or packed bytes, which are checked whole
// before any row is taken.
size_t RowsOf(const Json& p_oCells, ColumnKind p_eKind, const std::string& p_sField) {
    if (!p_oCells.is_binary()) {
        return ArrayOf(p_oCells, "column " + p_sField).size();
    }
    return ReadPacked(p_oCells.get_binary(), p_eKind, p_sField, [](bool, const uint8_t*) {});
}

void AppendPacked(RowColumn& p_oColumn, const std::vector<uint8_t>& p_aBytes,
                  const std::string& p_sField) {
    ReadPacked(p_aBytes, p_oColumn.Kind(), p_sField, [&](bool p_bNull, const uint8_t* p_aValue) {
        AppendPackedCell(p_oColumn, p_bNull, p_aValue);
    });
}

std::vector<RowColumn> ColumnsOf(const Recordset& p_rRecordset, const Json& p_oColumns) {
    const Json::array_t& columns = ArrayOf(p_oColumns, "recordset columns");
    if (columns.size() != static_cast<size_t>(p_rRecordset.Fields().Count())) {
        Refuse("recordset has " + std::to_string(p_rRecordset.Fields().Count()) + " fields but " +
               std::to_string(columns.size()) + " columns");
    }
    std::vector<RowColumn> rows;
    size_t count = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        const Field& field = p_rRecordset.Fields().Item(static_cast<int32_t>(c));
        RowColumn column(ColumnKindOf(field.Type()));
        const size_t cells = RowsOf(columns[c], column.Kind(), field.Name());
        if (c > 0 && cells != count) {
            Refuse("column " + field.Name() + " has another number of rows than the first");
        }
        count = cells;
        if (columns[c].is_binary()) {
            AppendPacked(column, columns[c].get_binary(), field.Name());
        } else {
            for (const Json& cell : columns[c].get_ref<const Json::array_t&>()) {
                AppendCell(column, cell, field.Name());
            }
        }
        rows.push_back(std::move(column));
    }
    return rows;
}

void AppendField(Recordset& p_rRecordset, const Json& p_oField) {
    const std::string& name = TextOf(Member(p_oField, "name", "field"), "field name");
    const int32_t type = LongOf(Member(p_oField, "type", "field"), "type of field " + name);
    const int32_t size = LongOf(Member(p_oField, "size", "field"), "size of field " + name);
    const int32_t attributes =
        LongOf(Member(p_oField, "attributes", "field"), "attributes of field " + name);
    Field& field = p_rRecordset.Fields().Append(name, type, size, attributes);
    field.SetPrecision(LongOf(Member(p_oField, "precision", "field"), "precision of " + name));
    field.SetNumericScale(LongOf(Member(p_oField, "scale", "field"), "scale of " + name));
}

Variant DecodeRecordset(const Json& p_oValue) {
    auto recordset = std::make_shared<Recordset>();
    recordset->SetCursorLocation(
        LongOf(Member(p_oValue, "cursorLocation", "recordset"), "cursor location"));
    recordset->SetLockType(LongOf(Member(p_oValue, "lockType", "recordset"), "lock type"));
    try {
        for (const Json& field : ArrayOf(Member(p_oValue, "fields", "recordset"), "fields")) {
            AppendField(*recordset, field);
        }
        if (p_oValue.contains("columns")) {
            recordset->Open(ColumnsOf(*recordset, p_oValue["columns"]));
        }
    } catch (const AutomationError& error) {
        Refuse("recordset not accepted: " + std::string(error.what()));
    }
    return RecordsetVariant(std::move(recordset));
}

Variant DecodeVariant(const Json& p_oValue) {
    const std::string& tag = TextOf(Member(p_oValue, "t", "value"), "value tag");
    if (tag == "empty") {
        return Variant();
    }
    if (tag == "null") {
        return Variant::Null();
    }
    if (tag == "missing") {
        return Variant::Missing();
    }
    if (tag == "nothing") {
        return Variant::Nothing();
    }
    if (tag == "array") {
        return DecodeArray(p_oValue);
    }
    const Json& value = Member(p_oValue, "v", "value");
    if (tag == "bool") {
        if (!value.is_boolean()) {
            Refuse("bool value is not a boolean");
        }
        return Variant(value.get<bool>());
    }
    if (tag == "int") {
        return Variant(
            static_cast<int16_t>(IntegerOf(value, std::numeric_limits<int16_t>::min(),
                                           std::numeric_limits<int16_t>::max(), "int value")));
    }
    if (tag == "long") {
        return Variant(LongOf(value, "long value"));
    }
    if (tag == "double") {
        return Variant(NumberOf(value, "double value"));
    }
    if (tag == "date") {
        return Variant::Date(NumberOf(value, "date value"));
    }
    if (tag == "string") {
        return Variant(TextOf(value, "string value"));
    }
    if (tag == "bytes") {
        return Variant(DecodeBytes(TextOf(value, "bytes value")));
    }
    if (tag == "recordset") {
        return DecodeRecordset(value);
    }
    Refuse("unknown value tag \"" + tag + "\"");
}

Json EncodeArgs(const std::vector<Variant>& p_aArgs, WireEncoding p_eEncoding) {
    Json args = Json::array();
    for (const Variant& arg : p_aArgs) {
        args.push_back(EncodeVariant(arg, p_eEncoding));
    }
    return args;
}

std::vector<Variant> DecodeArgs(const Json& p_oMessage) {
    std::vector<Variant> args;
    for (const Json& arg : ArrayOf(Member(p_oMessage, "args", "message"), "args")) {
        args.push_back(DecodeVariant(arg));
    }
    return args;
}

// A result that is the recordset of a by-reference argument (the list calls return their rows) is
// sent once, as that argument's place, and comes back as the same object.
Json EncodeResult(const Variant& p_vResult, const std::vector<Variant>& p_aArgs,
                  WireEncoding p_eEncoding) {
    const std::shared_ptr<Recordset> recordset =
        p_vResult.Type() == VarType::Object ? RecordsetOf(p_vResult) : nullptr;
    for (size_t i = 0; recordset && i < p_aArgs.size(); ++i) {
        if (p_aArgs[i].Type() == VarType::Object && RecordsetOf(p_aArgs[i]) == recordset) {
            return Tagged("arg", i);
        }
    }
    return EncodeVariant(p_vResult, p_eEncoding);
}

Variant DecodeResult(const Json& p_oResult, const std::vector<Variant>& p_aArgs) {
    if (!p_oResult.is_object() || p_oResult.value("t", Json()) != "arg") {
        return DecodeVariant(p_oResult);
    }
    const int64_t place = LongOf(Member(p_oResult, "v", "result"), "result argument");
    if (place < 0 || static_cast<size_t>(place) >= p_aArgs.size()) {
        Refuse("result names argument " + std::to_string(place) + " of " +
               std::to_string(p_aArgs.size()));
    }
    return p_aArgs[static_cast<size_t>(place)];
}

std::string Dump(const Json& p_oMessage, WireEncoding p_eEncoding) {
    if (p_eEncoding == WireEncoding::MessagePack) {
        std::string message;
        Json::to_msgpack(p_oMessage, message);
        return message;
    }
    return p_oMessage.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::string EncodeRequest(const WireRequest& p_oRequest, WireEncoding p_eEncoding) {
    return Dump({{"format", kWireFormatVersion},
                 {"progId", p_oRequest.m_sProgId},
                 {"method", p_oRequest.m_sMethod},
                 {"timeCode", p_oRequest.m_sTimeCode},
                 {"args", EncodeArgs(p_oRequest.m_aArgs, p_eEncoding)}},
                p_eEncoding);
}

WireRequest DecodeRequest(std::string_view p_sMessage, WireEncoding p_eEncoding,
                          const WireLimits& p_oLimits) {
    const Json message = Parse(p_sMessage, p_oLimits, p_eEncoding);
    WireRequest request;
    request.m_sProgId = TextOf(Member(message, "progId", "request"), "progId");
    request.m_sMethod = TextOf(Member(message, "method", "request"), "method");
    request.m_sTimeCode = TextOf(Member(message, "timeCode", "request"), "timeCode");
    request.m_aArgs = DecodeArgs(message);
    return request;
}

std::string EncodeResponse(const WireResponse& p_oResponse, WireEncoding p_eEncoding) {
    if (p_oResponse.m_oError) {
        const AutomationError& error = *p_oResponse.m_oError;
        return Dump({{"format", kWireFormatVersion},
                     {"error",
                      {{"number", error.Number()},
                       {"source", error.Source()},
                       {"description", error.Description()}}}},
                    p_eEncoding);
    }
    return Dump({{"format", kWireFormatVersion},
                 {"result", EncodeResult(p_oResponse.m_vResult, p_oResponse.m_aArgs, p_eEncoding)},
                 {"args", EncodeArgs(p_oResponse.m_aArgs, p_eEncoding)}},
                p_eEncoding);
}

WireResponse DecodeResponse(std::string_view p_sMessage, WireEncoding p_eEncoding,
                            const WireLimits& p_oLimits) {
    const Json message = Parse(p_sMessage, p_oLimits, p_eEncoding);
    WireResponse response;
    if (message.contains("error")) {
        const Json& error = message["error"];
        response.m_oError.emplace(
            LongOf(Member(error, "number", "error"), "error number"),
            TextOf(Member(error, "source", "error"), "error source"),
            TextOf(Member(error, "description", "error"), "error description"));
        return response;
    }
    response.m_aArgs = DecodeArgs(message);
    response.m_vResult = DecodeResult(Member(message, "result", "response"), response.m_aArgs);
    return response;
}

}  // namespace qv::facade
