#include "outside/dispatch_table.h"

#include "outside/automation_error.h"

namespace qv {

namespace {

size_t KindIndex(InvokeKind p_eKind) {
    return static_cast<size_t>(p_eKind);
}

}  // namespace

void DispatchTable::Add(const DispatchName& p_name, InvokeKind p_eKind, int p_iMinArgs,
                        int p_iMaxArgs, Handler p_fnCall) {
    const int index = static_cast<int>(m_entries.size());
    m_entries.push_back(
        Entry{std::string(p_name.Name), p_name.Id, p_iMinArgs, p_iMaxArgs, std::move(p_fnCall)});
    constexpr KindSlots kEmpty{-1, -1, -1, -1};
    if (!p_name.Name.empty()) {
        m_byName.try_emplace(std::string(p_name.Name), kEmpty).first->second[KindIndex(p_eKind)] =
            index;
    }
    if (p_name.Id) {
        m_byId.try_emplace(*p_name.Id, kEmpty).first->second[KindIndex(p_eKind)] = index;
    }
}

const DispatchTable::Entry* DispatchTable::Resolve(const KindSlots& p_slots,
                                                   InvokeKind p_eKind) const {
    int index = p_slots[KindIndex(p_eKind)];
    if (index < 0 && p_eKind == InvokeKind::Method) {
        index = p_slots[KindIndex(InvokeKind::PropertyGet)];
    } else if (index < 0 && p_eKind == InvokeKind::PropertyGet) {
        index = p_slots[KindIndex(InvokeKind::Method)];
    }
    return index < 0 ? nullptr : &m_entries[static_cast<size_t>(index)];
}

Variant DispatchTable::Call(const Entry& p_entry, DispatchObject& p_oSelf, DispatchArgs p_args) {
    const auto count = static_cast<int>(p_args.size());
    if (count < p_entry.MinArgs || count > p_entry.MaxArgs) {
        if (p_entry.Name.empty()) {
            RaiseWrongArgumentCount(p_oSelf, *p_entry.Id);
        }
        RaiseWrongArgumentCount(p_oSelf, p_entry.Name);
    }
    return p_entry.Call(p_oSelf, p_args);
}

Variant DispatchTable::Invoke(DispatchObject& p_oSelf, std::string_view p_sName, InvokeKind p_eKind,
                              DispatchArgs p_args) const {
    const auto found = m_byName.find(p_sName);
    const Entry* entry = found == m_byName.end() ? nullptr : Resolve(found->second, p_eKind);
    if (entry == nullptr) {
        RaiseMemberNotFound(p_oSelf, p_sName);
    }
    return Call(*entry, p_oSelf, p_args);
}

Variant DispatchTable::InvokeById(DispatchObject& p_oSelf, int32_t p_lDispId, InvokeKind p_eKind,
                                  DispatchArgs p_args) const {
    const auto found = m_byId.find(p_lDispId);
    const Entry* entry = found == m_byId.end() ? nullptr : Resolve(found->second, p_eKind);
    if (entry == nullptr) {
        RaiseMemberNotFound(p_oSelf, p_lDispId);
    }
    return Call(*entry, p_oSelf, p_args);
}

bool DispatchTable::HasMember(std::string_view p_sName) const {
    return m_byName.find(p_sName) != m_byName.end();
}

bool DispatchTable::Answers(std::string_view p_sName, InvokeKind p_eKind, int p_iArgs) const {
    const auto found = m_byName.find(p_sName);
    const Entry* entry = found == m_byName.end() ? nullptr : Resolve(found->second, p_eKind);
    return entry != nullptr && p_iArgs >= entry->MinArgs && p_iArgs <= entry->MaxArgs;
}

std::optional<int32_t> DispatchTable::IdOfName(std::string_view p_sName) const {
    const auto found = m_byName.find(p_sName);
    if (found == m_byName.end()) {
        return std::nullopt;
    }
    for (int index : found->second) {
        if (index >= 0 && m_entries[static_cast<size_t>(index)].Id) {
            return m_entries[static_cast<size_t>(index)].Id;
        }
    }
    return std::nullopt;
}

}  // namespace qv
