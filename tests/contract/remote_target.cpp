// The facade component tests against facade servers: the market generated into a PostgreSQL
// schema of the run's own, served by qorvant-facade-server programs, reached through the viewer's
// remote proxies. QV_FACADE_TARGET says how many servers: "server", one; "server2", two on the
// same database, the login made on the first and the calls on the second, as a viewer meets it
// when a balancer sends its requests to different processes.
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "facade/component_test_support.h"
#include "facade/facade_target.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/remote_connection.h"
#include "facade/session_store.h"
#include "outside/headless_services.h"
#include "server/password_hash.h"
#include "server/pg_schema.h"
#include "server/pg_test_database.h"
#include "server/server_process.h"

namespace qv::facade::testing {

namespace {

using server::test::ScratchSchema;
using server::test::ServerProcess;

constexpr const char* kPassword = "contract";

// How many servers the target runs, 0 for a target name it does not know.
size_t ServerCount(const std::string& p_sTarget) {
    if (p_sTarget == "server") {
        return 1;
    }
    return p_sTarget == "server2" ? 2 : 0;
}

class RemoteTarget : public FacadeTarget {
  public:
    RemoteTarget() {
        const char* sTarget = std::getenv("QV_FACADE_TARGET");
        const size_t lServers = ServerCount(sTarget == nullptr ? "" : sTarget);
        const std::optional<std::string> sUrl = server::test::TestPostgresUrl();
        if (lServers == 0) {
            m_sUnavailable = "set QV_FACADE_TARGET to server or server2";
            return;
        }
        if (!sUrl) {
            m_sUnavailable = "set QV_TEST_POSTGRES to a PostgreSQL URL";
            return;
        }
        m_oSchema = std::make_unique<ScratchSchema>(*sUrl);
        m_oStore = server::OpenPgMarketStore(m_oSchema->Url());
        GenerateSampleMarket(*m_oStore, kComponentMarket, {});
        for (size_t i = 0; i < lServers; ++i) {
            m_aServers.push_back(std::make_unique<ServerProcess>(m_oSchema->Url()));
        }
        m_oLogins = std::make_shared<RemoteConnection>(m_aServers.front()->Address());
        m_oCalls = lServers == 1 ? m_oLogins
                                 : std::make_shared<RemoteConnection>(m_aServers.back()->Address());
    }

    std::string Unavailable() const override { return m_sUnavailable; }
    SqlDatabase& Database() override { return m_oStore->Database(); }
    void Register(ComponentFactory& p_oFactory) override {
        RegisterRemoteComponents(p_oFactory, m_oCalls);
        m_dTestStarted = SystemClock().Now();
    }
    // The servers run on this computer, in its time zone.
    bool IsSaveTime(double p_dWhen, const Clock&) const override {
        return p_dWhen >= m_dTestStarted && p_dWhen <= SystemClock().Now();
    }

    // A server takes a name and password where the embedded facade takes an owner id: the owner
    // becomes an account on first use, under the name the embedded login gives it or one of its
    // own, with a password hash of the least cost so that the many logins stay quick.
    void LogIn(int32_t p_lOwnerId, const std::string& p_sName) override {
        OwnerStore oOwners(Database());
        std::string sName = oOwners.OwnerName(p_lOwnerId).value_or("");
        if (sName.empty()) {
            sName = p_sName.empty() ? "owner" + std::to_string(p_lOwnerId) : p_sName;
            oOwners.PutOwner(p_lOwnerId, sName);
        }
        if (m_aAccounts.insert(p_lOwnerId).second) {
            SessionStore(Database())
                .SetPasswordHash(p_lOwnerId,
                                 server::HashPassword(kPassword, server::PasswordCost::Minimal));
        }
        m_oLogins->Login(sName, kPassword);
        if (m_oCalls != m_oLogins) {
            m_oCalls->AdoptSession(*m_oLogins);
        }
    }

  private:
    std::string m_sUnavailable;
    std::unique_ptr<ScratchSchema> m_oSchema;
    std::shared_ptr<MarketStore> m_oStore;
    // Stopped before the schema is dropped.
    std::vector<std::unique_ptr<ServerProcess>> m_aServers;
    std::shared_ptr<RemoteConnection> m_oLogins;
    std::shared_ptr<RemoteConnection> m_oCalls;
    std::set<int32_t> m_aAccounts;
    double m_dTestStarted = 0;
};

}  // namespace

FacadeTarget& Target() {
    static RemoteTarget s_oTarget;
    return s_oTarget;
}

}  // namespace qv::facade::testing
