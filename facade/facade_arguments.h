// Reading the arguments of a facade call, and the failures a call reports.
//
// The callers pass Variants in the order of their own argument lists; a value of the wrong kind
// fails with the runtime's error (13 Type mismatch, 6 Overflow) in a text that names the call and
// the argument, so that a host author sees "StockViewer: argument 12 (IndCode): Type mismatch"
// rather than a bare "Type mismatch".
// A Missing argument (an optional one left out) reads like Empty: 0, "" or False.
//
//     FacadeArguments args("GetLayout", p_args);
//     const int32_t ownerId = args.Long(0, "OwnerId");
//     args.Out(1) = layoutId;   // written back into the caller's Variant
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "outside/facade_protocol.h"
#include "outside/layout_description.h"
#include "outside/variant.h"

namespace qv::facade {

// The source of every failure the components raise.
constexpr const char* kFacadeSource = "QorvantOnlineFacade";

// The facade's reading of a caller's text as a whole number (a code, an id): the text is read as
// IsNumeric reads it and rounded half to even as ToLong rounds; nothing when it is not a number
// or lies beyond 64 bits. FacadeArguments::WholeNumber raises error 13 (Type mismatch) or 6
// (Overflow) for those, naming the call and the argument.
std::optional<int64_t> WholeNumberIn(std::string_view p_sText);

// A failure of a call that names what was wrong or not found: "GetCurrentHoldings: portfolio
// 12 not found". It carries the facade's error number, as the storage errors do.
[[noreturn]] void RaiseFacadeError(std::string_view p_sMethod, const std::string& p_sWhat);

class FacadeArguments {
  public:
    FacadeArguments(std::string_view p_sMethod, std::span<Variant> p_aArgs)
        : m_sMethod(p_sMethod), m_aArgs(p_aArgs) {}

    std::string_view Method() const { return m_sMethod; }
    size_t Count() const { return m_aArgs.size(); }
    // True when the argument was passed and is neither Missing nor Empty.
    bool IsGiven(size_t p_lIndex) const;

    const Variant& Value(size_t p_lIndex) const { return m_aArgs[p_lIndex]; }
    // The caller's Variant, for by-reference arguments the call writes back.
    Variant& Out(size_t p_lIndex) { return m_aArgs[p_lIndex]; }

    int32_t Long(size_t p_lIndex, std::string_view p_sName) const;
    bool Boolean(size_t p_lIndex, std::string_view p_sName) const;
    std::string Text(size_t p_lIndex, std::string_view p_sName) const;
    // A date (or date text) as a day serial, the time of day dropped. Empty and the zero date give
    // 0, which the lists read as "the latest trading day"; a date before the zero date gives 1,
    // a day before any data.
    int32_t Day(size_t p_lIndex, std::string_view p_sName) const;
    // The keys of an item array (symbols, industry codes) as texts; a single value is one key,
    // Empty and Null none.
    std::vector<std::string> Keys(size_t p_lIndex, std::string_view p_sName) const;
    // Keys that are codes: each read with WholeNumber and given back as its digits, so " 12"
    // and "12.0" are "12".
    std::vector<std::string> CodeKeys(size_t p_lIndex, std::string_view p_sName) const;
    // A layout description; none when the argument is not given. A malformed description fails
    // under the codec's error number, naming the call, the argument and the part.
    std::optional<LayoutDescription> Layout(size_t p_lIndex, std::string_view p_sName) const;
    // The column table of a description sent on its own; no entries when it is not given.
    std::vector<LayoutColumn> LayoutColumns(size_t p_lIndex, std::string_view p_sName) const;
    // p_sText, a part of argument p_lIndex (one code of a list), read with WholeNumberIn.
    int64_t WholeNumber(size_t p_lIndex, std::string_view p_sName, std::string_view p_sText) const;

    // The same readers at an argument of the protocol, named as the protocol names it.
    using Argument = facade_protocol::Argument;
    const Variant& Value(const Argument& p_oArg) const { return Value(p_oArg.Position); }
    Variant& Out(const Argument& p_oArg) { return Out(p_oArg.Position); }
    int32_t Long(const Argument& p_oArg) const { return Long(p_oArg.Position, p_oArg.Name); }
    bool Boolean(const Argument& p_oArg) const { return Boolean(p_oArg.Position, p_oArg.Name); }
    std::string Text(const Argument& p_oArg) const { return Text(p_oArg.Position, p_oArg.Name); }
    int32_t Day(const Argument& p_oArg) const { return Day(p_oArg.Position, p_oArg.Name); }
    std::optional<LayoutDescription> Layout(const Argument& p_oArg) const {
        return Layout(p_oArg.Position, p_oArg.Name);
    }

    [[noreturn]] void Fail(size_t p_lIndex, std::string_view p_sName,
                           const std::string& p_sWhy) const;

  private:
    // A conversion's failure raised again under its own number, naming the call and argument:
    // "SearchIndustries: argument 5 (SearchText): Overflow".
    [[noreturn]] void FailConversion(size_t p_lIndex, std::string_view p_sName, int32_t p_lNumber,
                                     const std::string& p_sDescription) const;

    std::string_view m_sMethod;
    std::span<Variant> m_aArgs;
};

// The field names of a select list as the viewer sends them: an array of "Field as [Field]"
// texts (or of plain field names); Empty gives none.
std::vector<std::string> SelectListFields(const Variant& p_vList);

}  // namespace qv::facade
