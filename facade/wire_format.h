// The messages a remote facade call travels in: one document per request and per response,
// marked with the format "qv-facade/1" so that either side can refuse a version it does not
// speak. A document is written as JSON text, or as the same document in MessagePack, which writes
// numbers and texts as they are held instead of converting them to and from decimal text, and so
// carries a list of thousands of rows in a fraction of the time.
//
// A request names the component (ProgID), the method and the caller's login time code, and holds
// every argument in position order. A response holds the return value and every argument as the
// call left it, so that by-reference results travel back (the caller copies back only the ones
// the protocol marks ByRef), or the facade's automation error instead.
//
// A Variant travels as {"t": tag, "v": value} with its kind kept exactly: "empty", "null",
// "missing", "nothing", "bool", "int", "long", "double", "date" (the day serial), "string",
// "array" (with "bounds", one [lower, upper] per dimension, and the values in column-major order
// as VariantArray stores them) and "recordset". A Double that JSON cannot hold (NaN, infinities)
// travels as the text "NaN", "Infinity" or "-Infinity".
//
// A recordset travels as its fields (name, ADO type, defined size, attributes, precision, scale),
// its cursor location and lock type, and the rows of its view in view order, one array per
// field holding the values of its storage kind (null for Null); in MessagePack a field of Double,
// Date, Long or text values travels packed instead, as one byte string of its rows, each a byte
// that marks Null and then the value's little-endian bytes (a text's length and then its bytes). Its filter, sort and current row
// do not travel: the facade hands out recordsets unfiltered, unsorted and on their first row, and
// the callers set their own filter and sort after the call. A decoded recordset is open,
// unfiltered and on its first row; a closed one arrives closed with its fields. Any other object
// cannot travel.
//
// Decoding trusts nothing: a message over the size limit, nested deeper than the depth limit,
// of another version, with a member missing or of the wrong JSON type, an unknown tag, bounds
// that do not match the values or a recordset whose fields and columns disagree throws
// WireFormatError naming what was wrong, before anything of the size the message claims is
// allocated.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "outside/automation_error.h"
#include "outside/variant.h"

namespace qv::facade {

inline constexpr std::string_view kWireFormatVersion = "qv-facade/1";

enum class WireEncoding { Json, MessagePack };

struct WireLimits {
    size_t m_lMaxBytes = size_t{64} << 20;
    // Levels of arrays and objects; a Variant array nested in an argument takes two.
    int m_iMaxDepth = 24;
};

struct WireRequest {
    std::string m_sProgId;
    std::string m_sMethod;
    std::string m_sTimeCode;
    std::vector<Variant> m_aArgs;
};

struct WireResponse {
    Variant m_vResult;
    std::vector<Variant> m_aArgs;
    // Set when the call raised; the result and arguments are then empty.
    std::optional<AutomationError> m_oError = std::nullopt;
};

// A message that is not one of this format; what() says why.
class WireFormatError : public std::runtime_error {
  public:
    explicit WireFormatError(const std::string& p_sReason) : std::runtime_error(p_sReason) {}
};

// Encoding throws WireFormatError for an object other than a recordset. Text that is not UTF-8
// has its bad bytes replaced, as JSON holds only UTF-8.
std::string EncodeRequest(const WireRequest& p_oRequest,
                          WireEncoding p_eEncoding = WireEncoding::Json);
WireRequest DecodeRequest(std::string_view p_sMessage,
                          WireEncoding p_eEncoding = WireEncoding::Json,
                          const WireLimits& p_oLimits = {});

std::string EncodeResponse(const WireResponse& p_oResponse,
                           WireEncoding p_eEncoding = WireEncoding::Json);
WireResponse DecodeResponse(std::string_view p_sMessage,
                            WireEncoding p_eEncoding = WireEncoding::Json,
                            const WireLimits& p_oLimits = {});

}  // namespace qv::facade
