// Where the facade component tests send their calls. The tests are written once against the
// components' contract; each test program links one target: the embedded facade on an SQLite
// file, or facade servers on PostgreSQL reached through the viewer's remote proxies.
#pragma once

#include <cstdint>
#include <string>

namespace qv {
class Clock;
class ComponentFactory;
}  // namespace qv

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
    // Whether p_dWhen is the time a save of the running test is stamped with: the caller's clock
    // when the facade runs in the test's process, the server's own clock behind a server.
    virtual bool IsSaveTime(double p_dWhen, const Clock& p_oCallers) const = 0;
};

// The target of this test program, made on first use and kept for the whole run.
FacadeTarget& Target();

}  // namespace qv::facade::testing
