// The Viewer's forwarding properties, in one table.
//
// A forwarding property reads or writes a member of the current strategy's ViewerElements and,
// unless its row says Own, does nothing else; used before ViewerType is set it is error 91. The
// table below is expanded three times: into the Viewer's C++ getters and setters (declared in
// viewer.h, defined in viewer_properties.cpp) and into their entries in the dispatch table
// (viewer_dispatch.cpp), so a property is named in exactly one place.
//
// To add a forwarding property:
//   1. Give ViewerElements the member, as <member>() and Set<member>().
//   2. Add a row to QV_VIEWER_FORWARDERS: X(name, type, get, assign, member)
//        name    the property's name, in C++ (name() and Set<name>()) and by dispatch;
//        type    how the value is held and crosses dispatch: one of the structs of
//                viewer_property below (Long, Boolean, String, Date, AnyValue, RecordsetObject);
//        get     Forward: generated, returns member() of ViewerElements;
//                Own: written by hand in viewer_properties.cpp;
//        assign  Forward: generated, calls Set<member>() of ViewerElements;
//                Own: written by hand in viewer_properties.cpp;
//                No: the property is read-only;
//        member  the ViewerElements member, mostly the property's own name.
// That is all: the C++ members and the dispatch entries follow. By dispatch a RecordsetObject
// property is assigned with set, every other type with let. A value of another kind needs a
// struct of its own in viewer_property, with the same four members.
#pragma once

#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class Recordset;

// The accessors written by hand (Own): the let of PortfolioID and of WatchListId also sets the
// other one to 0; the let of FinderResultsType writes only a changed value; the get of Symbol
// gives, for a portfolio, the keys of the selected primary rows. LayoutInfo is the layout
// description in force.
// clang-format off
#define QV_VIEWER_FORWARDERS(X)                                                \
    X(ProgramsMask,      Long,            Forward, Forward, ProgramsMask)      \
    X(PortfolioID,       Long,            Forward, Own,     PortfolioID)       \
    X(WatchListId,       Long,            Forward, Own,     WatchListId)       \
    X(ParameterList,     RecordsetObject, Forward, Forward, ParameterList)     \
    X(FinderResults,     RecordsetObject, Forward, Forward, FinderResults)     \
    X(FinderResultsType, Long,            Forward, Own,     FinderResultsType) \
    X(MaxRows,           Long,            Forward, Forward, MaxRows)           \
    X(ReturnAll,         Boolean,         Forward, Forward, ReturnAll)         \
    X(ServerAddress,     String,          Forward, Forward, ServerAddress)     \
    X(GridLayoutPath,    String,          Forward, Forward, GridLayoutPath)    \
    X(LayoutInfo,        AnyValue,        Forward, Forward, GridLayoutInfo)    \
    X(AvgType,           String,          Forward, Forward, AvgType)           \
    X(IndCode,           Long,            Forward, Forward, IndCode)           \
    X(SectorCode,        Long,            Forward, Forward, SectorCode)        \
    X(OwnerId,           Long,            Forward, Forward, OwnerId)           \
    X(PortfolioName,     String,          Forward, Forward, PortfolioName)     \
    X(SearchName,        String,          Forward, Forward, SearchName)        \
    X(IsWin32,           Boolean,         Forward, Forward, IsWin32)           \
    X(StartDate,         Date,            Forward, Forward, StartDate)         \
    X(EndDate,           Date,            Forward, Forward, EndDate)           \
    X(BSHCaption,        String,          Forward, No,      BSHCaption)        \
    X(SortCaption,       String,          Forward, No,      Sort)              \
    X(StartTimeId,       Long,            Forward, No,      StartTimeId)       \
    X(Symbol,            String,          Own,     Forward, Symbol)

// Used by the expansions: the argument is kept only for the accessors the table generates
// (QV_VIEWER_GENERATED_<get or assign>) or only for properties that can be assigned
// (QV_VIEWER_ASSIGNABLE_<assign>).
#define QV_VIEWER_GENERATED_Forward(...) __VA_ARGS__
#define QV_VIEWER_GENERATED_Own(...)
#define QV_VIEWER_GENERATED_No(...)
#define QV_VIEWER_ASSIGNABLE_Forward(...) __VA_ARGS__
#define QV_VIEWER_ASSIGNABLE_Own(...) __VA_ARGS__
#define QV_VIEWER_ASSIGNABLE_No(...)
// clang-format on

// The types of the table: what a getter returns (Value), what a setter takes (Arg), and how the
// value crosses dispatch.
namespace viewer_property {

struct Long {
    using Value = int32_t;
    using Arg = int32_t;
    static Variant ToVariant(Value p_lValue) { return Variant(p_lValue); }
    static Value FromVariant(const Variant& p_vValue) { return p_vValue.ToLong(); }
};

struct Boolean {
    using Value = bool;
    using Arg = bool;
    static Variant ToVariant(Value p_bValue) { return Variant(p_bValue); }
    static Value FromVariant(const Variant& p_vValue) { return p_vValue.ToBool(); }
};

struct String {
    using Value = std::string;
    using Arg = const std::string&;
    static Variant ToVariant(const Value& p_sValue) { return Variant(p_sValue); }
    static Value FromVariant(const Variant& p_vValue) { return p_vValue.ToString(); }
};

// A day serial.
struct Date {
    using Value = double;
    using Arg = double;
    static Variant ToVariant(Value p_dValue) { return Variant::Date(p_dValue); }
    static Value FromVariant(const Variant& p_vValue) { return p_vValue.ToDate(); }
};

// Any Variant, passed as it is.
struct AnyValue {
    using Value = Variant;
    using Arg = const Variant&;
    static Variant ToVariant(const Value& p_vValue) { return p_vValue; }
    static Value FromVariant(const Variant& p_vValue) { return p_vValue; }
};

// A recordset or none: Nothing by dispatch, where Empty also reads as none and any other object
// is a type mismatch (error 13). Defined with the dispatch table.
struct RecordsetObject {
    using Value = std::shared_ptr<Recordset>;
    using Arg = const std::shared_ptr<Recordset>&;
    static Variant ToVariant(const Value& p_rValue);
    static Value FromVariant(const Variant& p_vValue);
};

}  // namespace viewer_property

}  // namespace qv
