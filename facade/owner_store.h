// Owners (the users the viewer sends as OwnerId) and their logins. Owner 0 is the system, which
// holds the system layouts. A login records the time code the service handed out at the owner's
// last login; a query that brings another time code meets a login conflict (someone else has
// logged into the account since).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "facade/owner_authority.h"

namespace qv::facade {

class SqlDatabase;

constexpr int32_t kDefaultMaxRows = 500;

class OwnerStore final : public LoginRecords {
  public:
    explicit OwnerStore(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    // Owners arrive as ids from the service that logs them in; the first layout, watch list or
    // portfolio stored for an id that has no row yet creates it as "owner <id>".
    void EnsureOwner(int32_t p_lOwnerId);
    // Creates the owner under p_lOwnerId, or renames it when it exists.
    void PutOwner(int32_t p_lOwnerId, const std::string& p_sName,
                  int32_t p_lDefaultMaxRows = kDefaultMaxRows);
    std::optional<std::string> OwnerName(int32_t p_lOwnerId);
    // An owner other than p_lOwnerId whose name is p_sName, compared without regard to case.
    std::optional<int32_t> OtherHolderOfName(const std::string& p_sName, int32_t p_lOwnerId);
    // The row limit of the owner's lists; kDefaultMaxRows for an unknown owner.
    int32_t DefaultMaxRows(int32_t p_lOwnerId);

    void RecordLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode, double p_dLoginTime);
    // The time code of the owner's last recorded login; none when the owner never logged in.
    std::optional<std::string> RecordedTimeCode(int32_t p_lOwnerId);
    // False only when the owner's last login handed out another time code. An empty code (a
    // caller that does not track logins) and an owner without a login never conflict.
    bool IsCurrentLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode) override;

  private:
    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
