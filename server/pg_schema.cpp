#include "server/pg_schema.h"

#include <functional>
#include <string>
#include <vector>

#include "facade/field_catalogue.h"
#include "facade/market_schema.h"
#include "facade/market_store.h"
#include "facade/sql_database.h"
#include "facade/sqlite_database.h"
#include "facade/system_layouts.h"
#include "server/pg_database.h"

namespace qv::server {

namespace {

using facade::SqlDatabase;

// The embedded store's tables as its latest schema has them. What PostgreSQL spells otherwise:
// SQLite's INTEGER is BIGINT, 64 bits as in SQLite, since the queries work keys out of codes
// and ids (a code times 4194304) in the columns' own type; the ids a store lets the database choose
// are identity columns, read back with RETURNING; generated columns are stored, PostgreSQL having
// no virtual ones; texts compare byte by byte (collation "C"), as SQLite's do, whatever the
// database's locale, and the names SQLite compares without regard to case use the collation nocase
// (ICU, case-insensitive; no LIKE on such a column). The views compute in double precision, as
// SQLite does with REAL.
constexpr const char* kMarketTablesSql = R"sql(
CREATE COLLATION IF NOT EXISTS nocase (provider = icu, locale = 'und-u-ks-level2',
    deterministic = false);
-- SQLite's instr, with which the facade's queries split a list of keys. Inlined by the planner.
CREATE FUNCTION instr(p_text TEXT, p_part TEXT) RETURNS INTEGER LANGUAGE sql IMMUTABLE STRICT
    AS 'SELECT strpos(p_text, p_part)';

CREATE TABLE sectors (
    sector_code BIGINT PRIMARY KEY,
    name TEXT COLLATE "C" NOT NULL UNIQUE
);
CREATE TABLE industries (
    ind_code BIGINT PRIMARY KEY,
    name TEXT COLLATE "C" NOT NULL UNIQUE,
    sector_code BIGINT NOT NULL REFERENCES sectors (sector_code)
);
CREATE INDEX industries_by_sector ON industries (sector_code);
CREATE TABLE stocks (
    stock_id BIGINT PRIMARY KEY,
    symbol TEXT COLLATE nocase NOT NULL UNIQUE,
    company_name TEXT COLLATE "C" NOT NULL,
    ind_code BIGINT NOT NULL REFERENCES industries (ind_code)
);
CREATE INDEX stocks_by_industry ON stocks (ind_code);
CREATE TABLE fundamentals (
    stock_id BIGINT PRIMARY KEY REFERENCES stocks (stock_id) ON DELETE CASCADE,
    eps DOUBLE PRECISION,
    sales_musd DOUBLE PRECISION,
    shares_m DOUBLE PRECISION,
    growth_pct DOUBLE PRECISION,
    dividend_pct DOUBLE PRECISION
);

CREATE TABLE trading_days (trade_date BIGINT PRIMARY KEY);
CREATE TABLE stock_bars (
    day_key BIGINT PRIMARY KEY,
    open BIGINT,
    high BIGINT,
    low BIGINT,
    close BIGINT NOT NULL,
    adj_close BIGINT NOT NULL,
    volume BIGINT NOT NULL,
    pct_change DOUBLE PRECISION,
    avg_volume_50 BIGINT,
    high_52w BIGINT,
    low_52w BIGINT,
    ma_50 BIGINT,
    ma_200 BIGINT,
    rs_rank BIGINT,
    basis_close BIGINT,
    share_factor DOUBLE PRECISION NOT NULL DEFAULT 1
);
CREATE VIEW stock_days AS
SELECT day_key, day_key >> 22 AS stock_id, day_key & 4194303 AS trade_date,
    open * (basis_close / 10000.0::float8) / close AS open,
    high * (basis_close / 10000.0::float8) / close AS high,
    low * (basis_close / 10000.0::float8) / close AS low, basis_close / 10000.0::float8 AS close,
    adj_close / 10000.0::float8 AS adj_close, CAST(round(volume * share_factor) AS BIGINT) AS volume,
    pct_change, avg_volume_50, high_52w / 10000.0::float8 AS high_52w,
    low_52w / 10000.0::float8 AS low_52w, ma_50 / 10000.0::float8 AS ma_50,
    ma_200 / 10000.0::float8 AS ma_200, rs_rank
FROM stock_bars;
CREATE VIEW stock_days_traded AS
SELECT day_key, day_key >> 22 AS stock_id, day_key & 4194303 AS trade_date,
    open / 10000.0::float8 AS open, high / 10000.0::float8 AS high, low / 10000.0::float8 AS low,
    close / 10000.0::float8 AS close, adj_close / 10000.0::float8 AS adj_close, volume, pct_change,
    CAST(round(avg_volume_50 / share_factor) AS BIGINT) AS avg_volume_50,
    high_52w / 10000.0::float8 * close / basis_close AS high_52w,
    low_52w / 10000.0::float8 * close / basis_close AS low_52w,
    ma_50 / 10000.0::float8 * close / basis_close AS ma_50,
    ma_200 / 10000.0::float8 * close / basis_close AS ma_200, rs_rank, share_factor
FROM stock_bars;
CREATE TABLE group_days (
    group_key BIGINT PRIMARY KEY,
    group_kind BIGINT GENERATED ALWAYS AS (group_key >> 42) STORED,
    group_code BIGINT GENERATED ALWAYS AS ((group_key >> 22) & 1048575) STORED,
    trade_date BIGINT GENERATED ALWAYS AS (group_key & 4194303) STORED,
    member_count BIGINT NOT NULL,
    advancing BIGINT NOT NULL,
    declining BIGINT NOT NULL,
    avg_pct_change DOUBLE PRECISION,
    avg_rank DOUBLE PRECISION,
    index_value DOUBLE PRECISION NOT NULL,
    total_volume BIGINT NOT NULL
);

CREATE TABLE field_catalogue (
    parameter_id BIGINT PRIMARY KEY,
    column_name TEXT COLLATE nocase NOT NULL UNIQUE,
    caption TEXT COLLATE "C" NOT NULL,
    data_type_id BIGINT NOT NULL,
    table_mask BIGINT NOT NULL,
    group_id BIGINT NOT NULL,
    column_format TEXT COLLATE "C" NOT NULL,
    sort_order BIGINT NOT NULL,
    meaning TEXT COLLATE "C" NOT NULL
);

CREATE TABLE owners (
    owner_id BIGINT PRIMARY KEY,
    name TEXT COLLATE "C" NOT NULL UNIQUE,
    default_max_rows BIGINT NOT NULL DEFAULT 500
);
INSERT INTO owners (owner_id, name) VALUES (0, 'system');
CREATE TABLE logins (
    owner_id BIGINT PRIMARY KEY REFERENCES owners (owner_id) ON DELETE CASCADE,
    time_code TEXT COLLATE "C" NOT NULL,
    login_time DOUBLE PRECISION NOT NULL
);

CREATE TABLE layouts (
    layout_id BIGINT PRIMARY KEY,
    owner_id BIGINT NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    name TEXT COLLATE "C" NOT NULL,
    description TEXT COLLATE "C" NOT NULL DEFAULT '',
    parent_id BIGINT NOT NULL DEFAULT 0,
    data_type BIGINT NOT NULL,
    finder_type BIGINT NOT NULL DEFAULT -1,
    sort_text TEXT COLLATE "C" NOT NULL DEFAULT '',
    pri_sort_id BIGINT NOT NULL DEFAULT 0,
    pri_sort_dir BIGINT NOT NULL DEFAULT 0,
    sec_sort_id BIGINT NOT NULL DEFAULT -1,
    sec_sort_dir BIGINT NOT NULL DEFAULT 0
);
CREATE INDEX layouts_by_owner ON layouts (owner_id, data_type, finder_type);
CREATE TABLE layout_columns (
    layout_id BIGINT NOT NULL REFERENCES layouts (layout_id) ON DELETE CASCADE,
    position BIGINT NOT NULL,
    parameter_id BIGINT NOT NULL,
    state BIGINT NOT NULL,
    sql_column TEXT COLLATE "C" NOT NULL,
    caption TEXT COLLATE "C" NOT NULL,
    table_mask BIGINT NOT NULL,
    sequence BIGINT NOT NULL,
    column_format TEXT COLLATE "C" NOT NULL,
    PRIMARY KEY (layout_id, position)
);
CREATE TABLE default_layouts (
    owner_id BIGINT NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    data_type BIGINT NOT NULL,
    finder_type BIGINT NOT NULL,
    layout_id BIGINT NOT NULL REFERENCES layouts (layout_id) ON DELETE CASCADE,
    PRIMARY KEY (owner_id, data_type, finder_type)
);
CREATE INDEX default_layouts_by_layout ON default_layouts (layout_id);

CREATE TABLE watch_lists (
    watch_list_id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    owner_id BIGINT NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    parent_id BIGINT NOT NULL DEFAULT 0,
    is_folder BIGINT NOT NULL DEFAULT 0,
    list_type BIGINT NOT NULL,
    name TEXT COLLATE "C" NOT NULL,
    comments TEXT COLLATE "C" NOT NULL DEFAULT ''
);
CREATE INDEX watch_lists_by_owner ON watch_lists (owner_id, list_type);
CREATE TABLE watch_list_items (
    watch_list_id BIGINT NOT NULL REFERENCES watch_lists (watch_list_id) ON DELETE CASCADE,
    item_code BIGINT NOT NULL,
    position BIGINT NOT NULL,
    PRIMARY KEY (watch_list_id, item_code)
);

CREATE TABLE portfolios (
    portfolio_id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    owner_id BIGINT NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    name TEXT COLLATE "C" NOT NULL,
    updated_date BIGINT
);
CREATE UNIQUE INDEX portfolios_by_owner_name ON portfolios (owner_id, name COLLATE nocase);
CREATE TABLE trades (
    trade_id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    portfolio_id BIGINT NOT NULL REFERENCES portfolios (portfolio_id) ON DELETE CASCADE,
    stock_id BIGINT NOT NULL REFERENCES stocks (stock_id),
    buy_date BIGINT NOT NULL,
    shares DOUBLE PRECISION NOT NULL,
    initial_price DOUBLE PRECISION NOT NULL,
    commission DOUBLE PRECISION NOT NULL DEFAULT 0,
    is_short BIGINT NOT NULL DEFAULT 0,
    initial_req DOUBLE PRECISION NOT NULL DEFAULT 50,
    maintenance_pct DOUBLE PRECISION NOT NULL DEFAULT 30,
    realized_gain DOUBLE PRECISION NOT NULL DEFAULT 0,
    sell_date BIGINT,
    sell_price DOUBLE PRECISION,
    version BIGINT NOT NULL DEFAULT 1
);
CREATE INDEX trades_by_portfolio ON trades (portfolio_id);

CREATE TABLE market_origin (key TEXT COLLATE "C" PRIMARY KEY, value TEXT COLLATE "C" NOT NULL);

CREATE TABLE options_groups (
    group_id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    owner_id BIGINT NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    name TEXT COLLATE "C" NOT NULL
);
CREATE INDEX options_groups_by_owner ON options_groups (owner_id);
CREATE TABLE options_trades (
    trade_id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    group_id BIGINT NOT NULL REFERENCES options_groups (group_id) ON DELETE CASCADE,
    name TEXT COLLATE "C" NOT NULL
);
CREATE INDEX options_trades_by_group ON options_trades (group_id);

CREATE TABLE screens (
    screen_id BIGINT PRIMARY KEY,
    owner_id BIGINT NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    name TEXT COLLATE "C" NOT NULL,
    result_type BIGINT NOT NULL,
    criteria TEXT COLLATE "C" NOT NULL,
    modified DOUBLE PRECISION NOT NULL
);
CREATE UNIQUE INDEX screens_by_owner_name ON screens (owner_id, name COLLATE nocase);
)sql";

// The field catalogue, the system layouts and the shipped screens are written by the code that
// writes them into the embedded store, from the same definitions.
void CreateMarketTables(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(kMarketTablesSql);
    facade::SeedFieldCatalogue(p_oDatabase);
    facade::SeedSystemLayouts(p_oDatabase);
    facade::SeedShippedScreens(p_oDatabase);
}

// The server's logins: a password hash per owner (NULL: the owner cannot log in with a password)
// and the sessions every server process sees, one per time code.
constexpr const char* kSessionsSql = R"sql(
ALTER TABLE owners ADD COLUMN password_hash TEXT COLLATE "C";
CREATE TABLE sessions (
    time_code TEXT COLLATE "C" PRIMARY KEY,
    owner_id BIGINT NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    started DOUBLE PRECISION NOT NULL,
    expires DOUBLE PRECISION NOT NULL
);
CREATE INDEX sessions_by_owner ON sessions (owner_id);
)sql";

void AddSessions(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(kSessionsSql);
}

struct Migration {
    int m_lVersion;
    std::function<void(SqlDatabase&)> m_oApply;
};

// A new database takes the embedded store's latest schema in one step; later versions follow it
// one by one, as they do in the embedded store.
const std::vector<Migration>& Migrations() {
    static const std::vector<Migration> migrations = {
        {9, CreateMarketTables},
        {10, AddSessions},
    };
    return migrations;
}

constexpr const char* kMigrationsTableSql = R"sql(
CREATE TABLE IF NOT EXISTS schema_migrations (
    version INTEGER PRIMARY KEY,
    applied TIMESTAMP WITH TIME ZONE NOT NULL DEFAULT now()
)
)sql";

[[noreturn]] void RefuseNewer(SqlDatabase& p_oDatabase, int p_lVersion) {
    throw facade::FacadeError(
        p_oDatabase.Name(), 0,
        "the database has schema version " + std::to_string(p_lVersion) +
            ", written by a newer version of the program; this one knows versions up to " +
            std::to_string(LatestPgSchemaVersion()) + " and leaves the database as it is");
}

// One migration in its own transaction. The lock is held until the transaction ends, and the
// version is read again under it: another server may have applied the migration meanwhile.
void Apply(SqlDatabase& p_oDatabase, const Migration& p_oMigration) {
    facade::SqlTransaction work(p_oDatabase);
    facade::SqlStatement lock = p_oDatabase.Prepare("SELECT pg_advisory_xact_lock(?1)");
    lock.BindInt64(1, facade::kMarketApplicationId);
    lock.Run();
    p_oDatabase.Execute(kMigrationsTableSql);
    const int version = PgSchemaVersion(p_oDatabase);
    if (version > LatestPgSchemaVersion()) {
        RefuseNewer(p_oDatabase, version);
    }
    if (version >= p_oMigration.m_lVersion) {
        return;
    }
    p_oMigration.m_oApply(p_oDatabase);
    facade::SqlStatement record =
        p_oDatabase.Prepare("INSERT INTO schema_migrations (version) VALUES (?1)");
    record.BindInt64(1, p_oMigration.m_lVersion);
    record.Run();
    work.Commit();
}

}  // namespace

int LatestPgSchemaVersion() {
    return Migrations().back().m_lVersion;
}

int PgSchemaVersion(SqlDatabase& p_oDatabase) {
    return facade::SchemaVersion(p_oDatabase);
}

std::shared_ptr<facade::MarketStore> OpenPgMarketStore(const std::string& p_sUrl) {
    auto database = std::make_unique<PgDatabase>(p_sUrl);
    MigratePgSchema(*database);
    return std::make_shared<facade::MarketStore>(std::move(database));
}

void MigratePgSchema(SqlDatabase& p_oDatabase) {
    const int version = PgSchemaVersion(p_oDatabase);
    if (version > LatestPgSchemaVersion()) {
        RefuseNewer(p_oDatabase, version);
    }
    for (const Migration& migration : Migrations()) {
        if (migration.m_lVersion > version) {
            Apply(p_oDatabase, migration);
        }
    }
}

}  // namespace qv::server
