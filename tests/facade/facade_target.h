// Where the facade component tests send their calls. The tests are written once against the
// components' contract; each test program links one target: the embedded facade on an SQLite
// file, or facade servers on PostgreSQL reached through the viewer's remote proxies.
#pragma once

#include <cstdint>
#include <string>

namespace qv {
class ComponentFactory;
}

namespace qv::facade {
class SqlDatabase;
}

namespace qv::facade::testing {

class FacadeTarget {
  public:
    virtual ~FacadeTarget() = default;

    // Why the tests cannot run here (they are skipped with it), or "" when they can.
    virtual std::string Unavailable() const = 0;
    // The database that holds the target's market, for the tests' own queries.
    virtual SqlDatabase& Database() = 0;
    // Registers the facade's components under their ProgIDs.
    virtual void Register(ComponentFactory& p_oFactory) = 0;
    // Makes p_lOwnerId the owner the calls act for; p_sName as the embedded login takes it.
    virtual void LogIn(int32_t p_lOwnerId, const std::string& p_sName) = 0;
};

// The target of this test program, made on first use and kept for the whole run.
FacadeTarget& Target();

}  // namespace qv::facade::testing
