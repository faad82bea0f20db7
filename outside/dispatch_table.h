// A table of the members a class exposes through DispatchObject, so that its Invoke and
// InvokeById are one line each.
//
// Each member has a name, a dispatch id or both, a kind (method, property get, let or set) and an
// accepted argument count; for let and set the count includes the new value, which comes last.
// Names compare without regard to case. A call whose name or id is unknown, or whose kind the
// member lacks, is error 438; a count outside the member's range is error 450. A method call
// finds a property get of that name and a get finds a method, as automation callers expect of
// "x = obj.Member"; let and set never stand in for each other.
//
//     const DispatchTable& Recorder::Table() {
//         static const DispatchTable table =
//             DispatchTable::Builder<Recorder>()
//                 .Method("Add", 1, 2, [](Recorder& self, DispatchArgs a) {
//                     a[0] = self.Add(a[0].ToLong());   // by reference: written back
//                     return Variant();
//                 })
//                 .Property("Count", [](Recorder& self) { return Variant(self.Count()); },
//                           [](Recorder& self, const Variant& v) { self.SetCount(v.ToLong()); })
//                 .Get({"BackColor", 196}, [](Recorder& self) { return Variant(self.Color()); })
//                 .Build();
//         return table;
//     }
#pragma once

#include "outside/dispatch.h"
#include "outside/text_util.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qv {

using DispatchArgs = std::span<Variant>;

// How a member is found: by name, by dispatch id, or both ({"BackColor", 196}).
struct DispatchName {
    DispatchName(const char* p_sName) : Name(p_sName) {}
    DispatchName(std::string_view p_sName) : Name(p_sName) {}
    DispatchName(std::string_view p_sName, int32_t p_lId) : Name(p_sName), Id(p_lId) {}
    // A member known by id only, as the grid control's print settings are.
    explicit DispatchName(int32_t p_lId) : Id(p_lId) {}

    std::string_view Name;
    std::optional<int32_t> Id;
};

class DispatchTable {
  public:
    using Handler = std::function<Variant(DispatchObject&, DispatchArgs)>;

    template <class T>
    class Builder;

    // p_oSelf must be the object of the class the table was built for.
    Variant Invoke(DispatchObject& p_oSelf, std::string_view p_sName, InvokeKind p_eKind,
                   DispatchArgs p_args) const;
    Variant InvokeById(DispatchObject& p_oSelf, int32_t p_lDispId, InvokeKind p_eKind,
                       DispatchArgs p_args) const;

    bool HasMember(std::string_view p_sName) const;
    // Whether a call of that name, kind and argument count would reach a member rather than fail
    // with error 438 or 450; the same lookup Invoke makes, without the call.
    bool Answers(std::string_view p_sName, InvokeKind p_eKind, int p_iArgs) const;
    // The dispatch id registered with a name, for callers that resolve names once.
    std::optional<int32_t> IdOfName(std::string_view p_sName) const;

  private:
    static constexpr size_t kKinds = 4;
    using KindSlots = std::array<int, kKinds>;  // index of the entry per InvokeKind, -1 for none

    struct Entry {
        std::string Name;
        std::optional<int32_t> Id;
        int MinArgs = 0;
        int MaxArgs = 0;
        Handler Call;
    };

    void Add(const DispatchName& p_name, InvokeKind p_eKind, int p_iMinArgs, int p_iMaxArgs,
             Handler p_fnCall);
    const Entry* Resolve(const KindSlots& p_slots, InvokeKind p_eKind) const;
    static Variant Call(const Entry& p_entry, DispatchObject& p_oSelf, DispatchArgs p_args);

    std::vector<Entry> m_entries;
    std::unordered_map<std::string, KindSlots, IgnoreCaseHash, IgnoreCaseEqual> m_byName;
    std::unordered_map<int32_t, KindSlots> m_byId;
};

// Builds the table of class T (derived from DispatchObject); handlers receive the object as T&.
template <class T>
class DispatchTable::Builder {
  public:
    using MethodFn = std::function<Variant(T&, DispatchArgs)>;
    using GetFn = std::function<Variant(T&)>;
    using AssignFn = std::function<void(T&, const Variant&)>;
    using IndexedAssignFn = std::function<void(T&, DispatchArgs)>;

    Builder& Method(DispatchName p_name, int p_iMinArgs, int p_iMaxArgs, MethodFn p_fn) {
        m_table.Add(p_name, InvokeKind::Method, p_iMinArgs, p_iMaxArgs, Adapt(std::move(p_fn)));
        return *this;
    }

    Builder& Get(DispatchName p_name, GetFn p_fn) {
        m_table.Add(p_name, InvokeKind::PropertyGet, 0, 0,
                    [fn = std::move(p_fn)](DispatchObject& self, DispatchArgs) {
                        return fn(static_cast<T&>(self));
                    });
        return *this;
    }

    Builder& Let(DispatchName p_name, AssignFn p_fn) {
        m_table.Add(p_name, InvokeKind::PropertyLet, 1, 1, AdaptAssign(std::move(p_fn)));
        return *this;
    }

    Builder& Set(DispatchName p_name, AssignFn p_fn) {
        m_table.Add(p_name, InvokeKind::PropertySet, 1, 1, AdaptAssign(std::move(p_fn)));
        return *this;
    }

    Builder& Property(DispatchName p_name, GetFn p_fnGet, AssignFn p_fnLet) {
        Get(p_name, std::move(p_fnGet));
        return Let(p_name, std::move(p_fnLet));
    }

    // Properties with index arguments ("Columns(3)"); for the let the value is the last argument
    // and the counts include it.
    Builder& IndexedGet(DispatchName p_name, int p_iMinArgs, int p_iMaxArgs, MethodFn p_fn) {
        m_table.Add(p_name, InvokeKind::PropertyGet, p_iMinArgs, p_iMaxArgs,
                    Adapt(std::move(p_fn)));
        return *this;
    }

    Builder& IndexedLet(DispatchName p_name, int p_iMinArgs, int p_iMaxArgs, IndexedAssignFn p_fn) {
        m_table.Add(p_name, InvokeKind::PropertyLet, p_iMinArgs, p_iMaxArgs,
                    [fn = std::move(p_fn)](DispatchObject& self, DispatchArgs args) {
                        fn(static_cast<T&>(self), args);
                        return Variant();
                    });
        return *this;
    }

    DispatchTable Build() { return std::move(m_table); }

  private:
    static Handler Adapt(MethodFn p_fn) {
        return [fn = std::move(p_fn)](DispatchObject& self, DispatchArgs args) {
            return fn(static_cast<T&>(self), args);
        };
    }

    static Handler AdaptAssign(AssignFn p_fn) {
        return [fn = std::move(p_fn)](DispatchObject& self, DispatchArgs args) {
            fn(static_cast<T&>(self), args[0]);
            return Variant();
        };
    }

    DispatchTable m_table;
};

}  // namespace qv
