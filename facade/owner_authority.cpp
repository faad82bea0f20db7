#include "facade/owner_authority.h"

#include "facade/facade_arguments.h"

namespace qv::facade {

int32_t OwnerAuthority::OwnerFor(std::string_view p_sMethod, std::optional<int32_t> p_lNamed,
                                 OwnerAccess p_eAccess) const {
    if (p_lNamed == kSystemOwnerId && p_eAccess == OwnerAccess::Read) {
        return kSystemOwnerId;
    }
    if (!m_oSession) {
        RaiseFacadeError(p_sMethod, "no owner is logged in");
    }
    const int32_t lSessionOwner = m_oSession->m_lOwnerId;
    if (p_lNamed && *p_lNamed != lSessionOwner) {
        RaiseFacadeError(p_sMethod, "owner " + std::to_string(*p_lNamed) +
                                        " is not the owner logged in (" +
                                        std::to_string(lSessionOwner) + ")");
    }
    return lSessionOwner;
}

bool OwnerAuthority::IsStale(LoginRecords& p_oLogins) const {
    return m_oSession && !p_oLogins.IsCurrentLogin(m_oSession->m_lOwnerId, m_oSession->m_sTimeCode);
}

int32_t OwnerAuthority::Authorise(std::string_view p_sMethod, std::optional<int32_t> p_lNamed,
                                  OwnerAccess p_eAccess, LoginRecords& p_oLogins) const {
    const int32_t lOwnerId = OwnerFor(p_sMethod, p_lNamed, p_eAccess);
    if (lOwnerId != kSystemOwnerId && IsStale(p_oLogins)) {
        RaiseFacadeError(p_sMethod, "owner " + std::to_string(lOwnerId) +
                                        " has logged in elsewhere since; this session is no "
                                        "longer current");
    }
    return lOwnerId;
}

}  // namespace qv::facade
