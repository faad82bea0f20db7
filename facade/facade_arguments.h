// Reading the arguments of a facade call, and the failures a call reports.
//
// The callers pass Variants in the order of their own argument lists; a value of the wrong kind
// fails with the runtime's error (13 Type mismatch, 6 Overflow) in a text that names the call and
// the argument, so that a host author sees "StockViewer: argument 12 (IndCode): Type mismatch"
// rather than a bare "Type mismatch".
// A Missing argument (an optional one left out) reads like Empty: 0, "" or False.
//
//     FacadeArguments args(save_layout::kMethod, p_args);
//     const int32_t parentId = args.Long(save_layout::kParentId);
//     args.Out(save_layout::kLayoutId) = layoutId;   // written back into the caller's Variant
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

// The items of a list the callers send as one text, separated by commas: each trimmed, empty
// ones dropped.
std::vector<std::string> SplitList(std::string_view p_sText);

// A failure of a call that names what was wrong or not found: "GetCurrentHoldings: portfolio
// 12 not found". It carries the facade's error number, as the storage errors do.
[[noreturn]] void RaiseFacadeError(std::string_view p_sMethod, const std::string& p_sWhat);

class FacadeArguments {
  public:
    using Argument = facade_protocol::Argument;
    using ArgType = facade_protocol::ArgType;

    FacadeArguments(std::string_view p_sMethod, std::span<Variant> p_aArgs)
        : m_sMethod(p_sMethod), m_aArgs(p_aArgs) {}

    std::string_view Method() const { return m_sMethod; }
    // True when the argument was passed and is neither Missing nor Empty.
    bool IsGiven(const Argument& p_oArg) const { return IsGiven(p_oArg.Position); }

    const Variant& Value(const Argument& p_oArg) const { return m_aArgs[p_oArg.Position]; }
    // The caller's Variant, for by-reference arguments the call writes back.
    Variant& Out(const Argument& p_oArg) { return m_aArgs[p_oArg.Position]; }

    // Each reader serves the arguments the protocol gives its type (the list and layout readers
    // serve Variant ones): reading another is a fault of the component, raised as an internal
    // error that names the call and the argument.
    int32_t Long(const Argument& p_oArg) const;
    bool Boolean(const Argument& p_oArg) const;
    // Nothing when the argument is not given.
    std::optional<double> Number(const Argument& p_oArg) const;
    std::string Text(const Argument& p_oArg) const;
    // A date (or date text) as a day serial, the time of day dropped. Empty and the zero date give
    // 0, which the lists read as "the latest trading day"; a date before the zero date gives 1,
    // a day before any data.
    int32_t Day(const Argument& p_oArg) const;
    // The keys of an item array (symbols, industry codes) as texts; a single value is one key,
    // Empty and Null none.
    std::vector<std::string> Keys(const Argument& p_oArg) const;
    // Keys that are codes: each read with WholeNumber and given back as its digits, so " 12"
    // and "12.0" are "12".
    std::vector<std::string> CodeKeys(const Argument& p_oArg) const;
    // A layout description; none when the argument is not given. A malformed description fails
    // under the codec's error number, naming the call, the argument and the part.
    std::optional<LayoutDescription> Layout(const Argument& p_oArg) const;
    // The column table of a description sent on its own; no entries when it is not given.
    std::vector<LayoutColumn> LayoutColumns(const Argument& p_oArg) const;
    // p_sText, a part of the argument (one code of a list), read with WholeNumberIn.
    int64_t WholeNumber(const Argument& p_oArg, std::string_view p_sText) const;

    [[noreturn]] void Fail(const Argument& p_oArg, const std::string& p_sWhy) const;

  private:
    bool IsGiven(size_t p_lIndex) const;
    void Expect(const Argument& p_oArg, ArgType p_eType) const;
    // A conversion's failure raised again under its own number, naming the call and argument:
    // "SearchIndustries: argument 5 (SearchText): Overflow".
    [[noreturn]] void FailConversion(const Argument& p_oArg, int32_t p_lNumber,
                                     const std::string& p_sDescription) const;

    std::string_view m_sMethod;
    std::span<Variant> m_aArgs;
};

// The field names of a select list as the viewer sends them: an array of "Field as [Field]"
// texts (or of plain field names); Empty gives none.
std::vector<std::string> SelectListFields(const Variant& p_vList);

}  // namespace qv::facade
