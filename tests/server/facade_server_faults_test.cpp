// What a viewer meets when the program serving it dies, or the database drops the program's
// connections: the calls in between fail naming the server, the calls after them work again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/remote_connection.h"
#include "facade/sample_market.h"
#include "facade/session_store.h"
#include "facade/sql_database.h"
#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "pg_test_database.h"
#include "server/password_hash.h"
#include "server/pg_schema.h"
#include "server_process.h"

namespace qv::server::test {
namespace {

constexpr int32_t kAda = 601;

class FacadeServerFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        QV_REQUIRE_POSTGRES(sUrl);
        m_oSchema = std::make_unique<ScratchSchema>(*sUrl);
        const std::shared_ptr<facade::MarketStore> oStore = OpenPgMarketStore(m_oSchema->Url());
        facade::GenerateSampleMarket(
            *oStore, {.m_lStocks = 20, .m_lIndustries = 4, .m_lTradingDays = 20}, {});
        facade::OwnerStore(oStore->Database()).PutOwner(kAda, "Ada");
        facade::SessionStore(oStore->Database())
            .SetPasswordHash(kAda, HashPassword("lovelace", PasswordCost::Minimal));
        // Named, so that the test ends this server's connections and no other program's.
        m_sApplication = "qv_faults_" + std::to_string(getpid());
        m_oServer = std::make_unique<ServerProcess>(m_oSchema->Url() +
                                                    "&application_name=" + m_sApplication);
        m_oViewer = std::make_unique<facade::RemoteConnection>(m_oServer->Address());
        m_oViewer->Login("ada", "lovelace");
    }

    // One list call of the viewer; its rows.
    int32_t WatchLists() {
        std::vector<Variant> aArgs{kAda, 0};
        const Variant vLists =
            m_oViewer->Call(facade_protocol::prog_id::kWatchListReader, "GetWatchLists", aArgs);
        return RecordsetOf(vLists)->RecordCount();
    }

    std::unique_ptr<ScratchSchema> m_oSchema;
    std::string m_sApplication;
    std::unique_ptr<ServerProcess> m_oServer;
    std::unique_ptr<facade::RemoteConnection> m_oViewer;
};

TEST_F(FacadeServerFaults, AKilledServerFailsTheCallNamingItAndTheSessionWorksOnceItIsBack) {
    const int32_t lLists = WatchLists();
    m_oServer->Kill();
    try {
        WatchLists();
        ADD_FAILURE() << "a call to a killed server succeeded";
    } catch (const AutomationError& oError) {
        EXPECT_NE(oError.Description().find(m_oServer->Address()), std::string::npos)
            << oError.Description();
    }
    m_oServer->Restart();
    EXPECT_EQ(WatchLists(), lLists);
}

TEST_F(FacadeServerFaults, ConnectionsTheDatabaseEndedAreOpenedAgainForTheNextCall) {
    const int32_t lLists = WatchLists();
    // Ended means gone: the termination waits until the server's connections are closed, as
    // they are after a restart of the database.
    facade::SqlStatement oEnd = m_oSchema->Admin().Prepare(
        "SELECT count(pg_terminate_backend(pid, 10000)) FROM pg_stat_activity WHERE "
        "application_name = ?1");
    oEnd.BindText(1, m_sApplication);
    ASSERT_TRUE(oEnd.Step());
    ASSERT_GT(oEnd.ColumnInt64(0), 0);
    EXPECT_EQ(WatchLists(), lLists);
}

}  // namespace
}  // namespace qv::server::test
