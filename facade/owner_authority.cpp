#include "facade/owner_authority.h"

#include <charconv>

#include "facade/facade_arguments.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

constexpr std::string_view kDefaultNamePrefix = "owner ";

// The owner whose default name p_sName is, if it is one.
std::optional<int32_t> DefaultNameOwner(std::string_view p_sName) {
    if (p_sName.size() <= kDefaultNamePrefix.size() ||
        !EqualsIgnoreCase(p_sName.substr(0, kDefaultNamePrefix.size()), kDefaultNamePrefix)) {
        return std::nullopt;
    }
    const std::string_view id = p_sName.substr(kDefaultNamePrefix.size());
    int32_t ownerId = 0;
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), ownerId);
    // Only the id as the default name writes it: "owner 0503" is nobody's default name.
    if (error != std::errc() || end != id.data() + id.size() || std::to_string(ownerId) != id) {
        return std::nullopt;
    }
    return ownerId;
}

}  // namespace

int32_t OwnerAuthority::OwnerFor(std::string_view p_sMethod, std::optional<int32_t> p_lNamed,
                                 OwnerAccess p_eAccess) const {
    if (p_lNamed == kSystemOwnerId && p_eAccess == OwnerAccess::Read) {
        return kSystemOwnerId;
    }
    if (!m_oSession) {
        RaiseFacadeError(p_sMethod, "no owner is logged in");
    }
    const int32_t sessionOwner = m_oSession->m_lOwnerId;
    if (p_lNamed && *p_lNamed != sessionOwner) {
        RaiseFacadeError(p_sMethod, "owner " + std::to_string(*p_lNamed) +
                                        " is not the owner logged in (" +
                                        std::to_string(sessionOwner) + ")");
    }
    return sessionOwner;
}

bool OwnerAuthority::IsStale(LoginRecords& p_oLogins) const {
    return m_oSession && !p_oLogins.IsCurrentLogin(m_oSession->m_lOwnerId, m_oSession->m_sTimeCode);
}

int32_t OwnerAuthority::Authorise(std::string_view p_sMethod, std::optional<int32_t> p_lNamed,
                                  OwnerAccess p_eAccess, LoginRecords& p_oLogins) const {
    const int32_t ownerId = OwnerFor(p_sMethod, p_lNamed, p_eAccess);
    if (ownerId != kSystemOwnerId && IsStale(p_oLogins)) {
        RaiseFacadeError(p_sMethod, "owner " + std::to_string(ownerId) +
                                        " has logged in elsewhere since; this session is no "
                                        "longer current");
    }
    return ownerId;
}

std::string DefaultOwnerName(int32_t p_lOwnerId) {
    return std::string(kDefaultNamePrefix) + std::to_string(p_lOwnerId);
}

void CheckLoginName(std::string_view p_sMethod, int32_t p_lOwnerId, const std::string& p_sName,
                    std::optional<int32_t> p_lHolder) {
    const std::optional<int32_t> defaultOf = DefaultNameOwner(p_sName);
    if ((p_lHolder && *p_lHolder != p_lOwnerId) || (defaultOf && *defaultOf != p_lOwnerId)) {
        RaiseFacadeError(p_sMethod, "the name \"" + p_sName + "\" belongs to another owner");
    }
}

}  // namespace qv::facade
