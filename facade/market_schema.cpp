#include "facade/market_schema.h"

#include <functional>
#include <string>
#include <vector>

#include "facade/field_catalogue.h"
#include "facade/market_rebuild.h"
#include "facade/sqlite_database.h"
#include "facade/system_layouts.h"

namespace qv::facade {

namespace {

// Dates are day serials (days since 1899-12-30), the automation runtime's dates without a time.
// stock_days holds the bar of a stock on a trading day together with the metrics derived from
// it and the bars before it: the importer and the generator write both in one pass, which keeps
// a full import close to the cost of storing the bars alone. Its rowid is the day key
// (kDayKeyStride). The previous close is not stored: it is close / (1 + pct_change / 100), and
// likewise the previous index value of a group. Prices and the price-like metrics are stored as
// whole ten-thousandths (kPriceScale), three or four bytes where a REAL takes eight, which
// nearly halves the largest table; the view stock_days gives them back as numbers, and every
// query reads through it (or, from version 5, through stock_days_traded).
constexpr const char* kTablesSql = R"sql(
CREATE TABLE schema_version (version INTEGER NOT NULL);
INSERT INTO schema_version (version) VALUES (0);

CREATE TABLE sectors (
    sector_code INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE
);
CREATE TABLE industries (
    ind_code INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE,
    sector_code INTEGER NOT NULL REFERENCES sectors (sector_code)
);
CREATE INDEX industries_by_sector ON industries (sector_code);
CREATE TABLE stocks (
    stock_id INTEGER PRIMARY KEY,
    symbol TEXT NOT NULL UNIQUE COLLATE NOCASE,
    company_name TEXT NOT NULL,
    ind_code INTEGER NOT NULL REFERENCES industries (ind_code)
);
CREATE INDEX stocks_by_industry ON stocks (ind_code);
CREATE TABLE fundamentals (
    stock_id INTEGER PRIMARY KEY REFERENCES stocks (stock_id) ON DELETE CASCADE,
    eps REAL,
    sales_musd REAL,
    shares_m REAL,
    growth_pct REAL,
    dividend_pct REAL
);

CREATE TABLE trading_days (trade_date INTEGER PRIMARY KEY);
CREATE TABLE stock_bars (
    day_key INTEGER PRIMARY KEY,
    open INTEGER,
    high INTEGER,
    low INTEGER,
    close INTEGER NOT NULL,
    adj_close INTEGER NOT NULL,
    volume INTEGER NOT NULL,
    pct_change REAL,
    avg_volume_50 INTEGER,
    high_52w INTEGER,
    low_52w INTEGER,
    ma_50 INTEGER,
    ma_200 INTEGER,
    rs_rank INTEGER
);
CREATE VIEW stock_days AS
SELECT day_key, day_key >> 22 AS stock_id, day_key & 4194303 AS trade_date,
    open / 10000.0 AS open, high / 10000.0 AS high, low / 10000.0 AS low,
    close / 10000.0 AS close, adj_close / 10000.0 AS adj_close, volume, pct_change,
    avg_volume_50, high_52w / 10000.0 AS high_52w, low_52w / 10000.0 AS low_52w,
    ma_50 / 10000.0 AS ma_50, ma_200 / 10000.0 AS ma_200, rs_rank
FROM stock_bars;
CREATE TABLE group_days (
    group_key INTEGER PRIMARY KEY,
    group_kind INTEGER GENERATED ALWAYS AS (group_key >> 42) VIRTUAL,
    group_code INTEGER GENERATED ALWAYS AS ((group_key >> 22) & 1048575) VIRTUAL,
    trade_date INTEGER GENERATED ALWAYS AS (group_key & 4194303) VIRTUAL,
    member_count INTEGER NOT NULL,
    advancing INTEGER NOT NULL,
    declining INTEGER NOT NULL,
    avg_pct_change REAL,
    avg_rank REAL,
    index_value REAL NOT NULL,
    total_volume INTEGER NOT NULL
);

CREATE TABLE field_catalogue (
    parameter_id INTEGER PRIMARY KEY,
    column_name TEXT NOT NULL UNIQUE COLLATE NOCASE,
    caption TEXT NOT NULL,
    data_type_id INTEGER NOT NULL,
    table_mask INTEGER NOT NULL,
    group_id INTEGER NOT NULL,
    column_format TEXT NOT NULL,
    sort_order INTEGER NOT NULL,
    meaning TEXT NOT NULL
);

CREATE TABLE owners (
    owner_id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE,
    default_max_rows INTEGER NOT NULL DEFAULT 500
);
INSERT INTO owners (owner_id, name) VALUES (0, 'system');
CREATE TABLE logins (
    owner_id INTEGER PRIMARY KEY REFERENCES owners (owner_id) ON DELETE CASCADE,
    time_code TEXT NOT NULL,
    login_time REAL NOT NULL
);

CREATE TABLE layouts (
    layout_id INTEGER PRIMARY KEY,
    owner_id INTEGER NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    description TEXT NOT NULL DEFAULT '',
    parent_id INTEGER NOT NULL DEFAULT 0,
    data_type INTEGER NOT NULL,
    finder_type INTEGER NOT NULL DEFAULT -1,
    sort_text TEXT NOT NULL DEFAULT '',
    pri_sort_id INTEGER NOT NULL DEFAULT 0,
    pri_sort_dir INTEGER NOT NULL DEFAULT 0,
    sec_sort_id INTEGER NOT NULL DEFAULT -1,
    sec_sort_dir INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX layouts_by_owner ON layouts (owner_id, data_type, finder_type);
CREATE TABLE layout_columns (
    layout_id INTEGER NOT NULL REFERENCES layouts (layout_id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    parameter_id INTEGER NOT NULL,
    state INTEGER NOT NULL,
    sql_column TEXT NOT NULL,
    caption TEXT NOT NULL,
    table_mask INTEGER NOT NULL,
    sequence INTEGER NOT NULL,
    column_format TEXT NOT NULL,
    PRIMARY KEY (layout_id, position)
) WITHOUT ROWID;
CREATE TABLE default_layouts (
    owner_id INTEGER NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    data_type INTEGER NOT NULL,
    finder_type INTEGER NOT NULL,
    layout_id INTEGER NOT NULL REFERENCES layouts (layout_id) ON DELETE CASCADE,
    PRIMARY KEY (owner_id, data_type, finder_type)
) WITHOUT ROWID;
CREATE INDEX default_layouts_by_layout ON default_layouts (layout_id);

CREATE TABLE watch_lists (
    watch_list_id INTEGER PRIMARY KEY,
    owner_id INTEGER NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    parent_id INTEGER NOT NULL DEFAULT 0,
    is_folder INTEGER NOT NULL DEFAULT 0,
    list_type INTEGER NOT NULL,
    name TEXT NOT NULL,
    comments TEXT NOT NULL DEFAULT ''
);
CREATE INDEX watch_lists_by_owner ON watch_lists (owner_id, list_type);
CREATE TABLE watch_list_items (
    watch_list_id INTEGER NOT NULL REFERENCES watch_lists (watch_list_id) ON DELETE CASCADE,
    item_code INTEGER NOT NULL,
    position INTEGER NOT NULL,
    PRIMARY KEY (watch_list_id, item_code)
) WITHOUT ROWID;

CREATE TABLE portfolios (
    portfolio_id INTEGER PRIMARY KEY,
    owner_id INTEGER NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    updated_date INTEGER
);
CREATE TABLE trades (
    trade_id INTEGER PRIMARY KEY,
    portfolio_id INTEGER NOT NULL REFERENCES portfolios (portfolio_id) ON DELETE CASCADE,
    stock_id INTEGER NOT NULL REFERENCES stocks (stock_id),
    buy_date INTEGER NOT NULL,
    shares REAL NOT NULL,
    initial_price REAL NOT NULL,
    commission REAL NOT NULL DEFAULT 0,
    is_short INTEGER NOT NULL DEFAULT 0,
    initial_req REAL NOT NULL DEFAULT 50,
    maintenance_pct REAL NOT NULL DEFAULT 30,
    realized_gain REAL NOT NULL DEFAULT 0
);
CREATE INDEX trades_by_portfolio ON trades (portfolio_id);
)sql";

// Every figure of a row on one basis, the stock's latest bar (daily_metrics.h): stock_bars keeps
// the bars as traded and adds the close on the latest basis (basis_close) and the shares now per
// share then (share_factor, 1 until a split, stored in no bytes). stock_days, which the lists
// read, gives the whole row on the latest basis; stock_days_traded gives the bars as traded, with
// the derived figures on the bar's own basis, for what was bought or sold at traded prices (the
// holdings) and for whoever asks for the raw figures. The derived data of a database written
// before is rebuilt on its bars, so no list shows a row of mixed bases.
constexpr const char* kLatestBasisSql = R"sql(
ALTER TABLE stock_bars ADD COLUMN basis_close INTEGER;
ALTER TABLE stock_bars ADD COLUMN share_factor REAL NOT NULL DEFAULT 1;
DROP VIEW stock_days;
CREATE VIEW stock_days AS
SELECT day_key, day_key >> 22 AS stock_id, day_key & 4194303 AS trade_date,
    open * (basis_close / 10000.0) / close AS open, high * (basis_close / 10000.0) / close AS high,
    low * (basis_close / 10000.0) / close AS low, basis_close / 10000.0 AS close,
    adj_close / 10000.0 AS adj_close, CAST(round(volume * share_factor) AS INTEGER) AS volume,
    pct_change, avg_volume_50, high_52w / 10000.0 AS high_52w, low_52w / 10000.0 AS low_52w,
    ma_50 / 10000.0 AS ma_50, ma_200 / 10000.0 AS ma_200, rs_rank
FROM stock_bars;
CREATE VIEW stock_days_traded AS
SELECT day_key, day_key >> 22 AS stock_id, day_key & 4194303 AS trade_date,
    open / 10000.0 AS open, high / 10000.0 AS high, low / 10000.0 AS low,
    close / 10000.0 AS close, adj_close / 10000.0 AS adj_close, volume, pct_change,
    CAST(round(avg_volume_50 / share_factor) AS INTEGER) AS avg_volume_50,
    high_52w / 10000.0 * close / basis_close AS high_52w,
    low_52w / 10000.0 * close / basis_close AS low_52w,
    ma_50 / 10000.0 * close / basis_close AS ma_50,
    ma_200 / 10000.0 * close / basis_close AS ma_200, rs_rank, share_factor
FROM stock_bars;
)sql";

void AdoptLatestBasis(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(kLatestBasisSql);
    if (p_oDatabase.QueryInt64("SELECT 1 FROM stock_bars LIMIT 1") != 0) {
        RewriteDailyData(p_oDatabase, LoadStockSeries(p_oDatabase), {});
    }
}

// Where the market came from, as keys and values: origin ('sample' or 'imported', no row while
// the database holds no market), source (the sample's options, or what was imported) and
// imported_on (the day serial of the latest import). A database written before kept no record,
// so its stocks tell: the generator gives every stock its fundamentals and the importer gives
// none, so a market whose every stock has them is a sample. Any other market holds imported
// stocks, and an import never removes those, so a doubtful market counts as imported.
constexpr const char* kMarketOriginSql = R"sql(
CREATE TABLE market_origin (key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;
INSERT INTO market_origin (key, value)
SELECT 'origin', CASE WHEN EXISTS (SELECT 1 FROM stocks s WHERE NOT EXISTS
    (SELECT 1 FROM fundamentals f WHERE f.stock_id = s.stock_id)) THEN 'imported' ELSE 'sample' END
WHERE EXISTS (SELECT 1 FROM stocks);
)sql";

void AddMarketOrigin(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(kMarketOriginSql);
}

// The trades a user analyses in the options program, in named groups of the owner. The viewer only
// reads them, for its context menu; nothing writes them until the program's trades are imported.
constexpr const char* kOptionsTradesSql = R"sql(
CREATE TABLE options_groups (
    group_id INTEGER PRIMARY KEY,
    owner_id INTEGER NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    name TEXT NOT NULL
);
CREATE INDEX options_groups_by_owner ON options_groups (owner_id);
CREATE TABLE options_trades (
    trade_id INTEGER PRIMARY KEY,
    group_id INTEGER NOT NULL REFERENCES options_groups (group_id) ON DELETE CASCADE,
    name TEXT NOT NULL
);
CREATE INDEX options_trades_by_group ON options_trades (group_id);
)sql";

void AddOptionsTrades(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(kOptionsTradesSql);
}

// Screens an owner keeps, and those shipped with the market under owner 0, which every owner reads.
// Names are unique per owner without regard to case (ASCII, as everywhere in the store); a shipped
// screen's name does not count against an owner's. The shipped ids stay below the owners' first
// (screen_store.h), so a later version can ship more. Modified is a Date: the shipped screens carry
// 7 December 2026, the day they first shipped.
constexpr const char* kScreensSql = R"sql(
CREATE TABLE screens (
    screen_id INTEGER PRIMARY KEY,
    owner_id INTEGER NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    result_type INTEGER NOT NULL,
    criteria TEXT NOT NULL,
    modified REAL NOT NULL
);
CREATE UNIQUE INDEX screens_by_owner_name ON screens (owner_id, name COLLATE NOCASE);
)sql";

void AddScreens(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(kScreensSql);
    SeedShippedScreens(p_oDatabase);
}

// Trades a person keeps and closes: the sale (both NULL while the trade is open) and a version that
// every change raises, so that of two windows editing one trade the later save sees the earlier.
// An owner tells portfolios apart by name, so two of them may not share one whatever the letter
// case; where a database written before has such twins, the later ones take their id in brackets.
constexpr const char* kTradeClosingSql = R"sql(
ALTER TABLE trades ADD COLUMN sell_date INTEGER;
ALTER TABLE trades ADD COLUMN sell_price REAL;
ALTER TABLE trades ADD COLUMN version INTEGER NOT NULL DEFAULT 1;
UPDATE portfolios SET name = name || ' (' || portfolio_id || ')'
WHERE EXISTS (SELECT 1 FROM portfolios q WHERE q.owner_id = portfolios.owner_id
    AND q.name = portfolios.name COLLATE NOCASE AND q.portfolio_id < portfolios.portfolio_id);
CREATE UNIQUE INDEX portfolios_by_owner_name ON portfolios (owner_id, name COLLATE NOCASE);
)sql";

void AddTradeClosing(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(kTradeClosingSql);
}

// The facade server's accounts and sessions. An owner without a password hash cannot log in to the
// server with a password. A session is found by its time code from any server process sharing the
// database; its times are seconds since 1970-01-01 UTC, so that hosts in other time zones agree
// on when it expires.
constexpr const char* kSessionsSql = R"sql(
ALTER TABLE owners ADD COLUMN password_hash TEXT;
CREATE TABLE sessions (
    time_code TEXT PRIMARY KEY,
    owner_id INTEGER NOT NULL REFERENCES owners (owner_id) ON DELETE CASCADE,
    started REAL NOT NULL,
    expires REAL NOT NULL
);
CREATE INDEX sessions_by_owner ON sessions (owner_id);
)sql";

void AddSessions(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(kSessionsSql);
}

void CreateTables(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute("PRAGMA application_id = " + std::to_string(kMarketApplicationId));
    p_oDatabase.Execute(kTablesSql);
}

const std::vector<std::function<void(SqlDatabase&)>>& Migrations() {
    static const std::vector<std::function<void(SqlDatabase&)>> migrations = {
        CreateTables,     SeedFieldCatalogue, SeedSystemLayouts, RealignHoldingMasks,
        AdoptLatestBasis, AddMarketOrigin,    AddOptionsTrades,  AddScreens,
        AddTradeClosing,  AddSessions,
    };
    return migrations;
}

// The facade server's PostgreSQL database keeps its applied versions as rows of
// schema_migrations (server/pg_schema.h), numbered as the versions here.
bool HasVersionTable(SqlDatabase& p_oDatabase) {
    if (p_oDatabase.Dialect() == SqlDialect::Postgres) {
        return p_oDatabase.QueryInt64("SELECT to_regclass('schema_migrations') IS NOT NULL") != 0;
    }
    return p_oDatabase.QueryInt64(
               "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND "
               "name = 'schema_version'") > 0;
}

}  // namespace

// The screens every market ships with, read by all and changed by none.
void SeedShippedScreens(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute(R"sql(
INSERT INTO screens (screen_id, owner_id, name, result_type, criteria, modified) VALUES
    (1, 0, 'Rated Buy', 0, 'REC = ''B''', 46363),
    (2, 0, 'RS leaders', 0, 'RSRank >= 80 AND Price > MA200', 46363),
    (3, 0, 'Volume surge', 0, 'Volume >= 2 * AvgVolume AND PctChange > 0', 46363),
    (4, 0, 'Near 52-week high', 0, 'PctFromHigh >= -5', 46363),
    (5, 0, 'Broad industry advances', 1, 'PctAdvancing >= 60', 46363),
    (6, 0, 'Sectors up', 2, 'PctChange > 0', 46363);
)sql");
}

int LatestSchemaVersion() {
    return static_cast<int>(Migrations().size());
}

int SchemaVersion(SqlDatabase& p_oDatabase) {
    if (!HasVersionTable(p_oDatabase)) {
        return 0;
    }
    return static_cast<int>(p_oDatabase.QueryInt64(
        p_oDatabase.Dialect() == SqlDialect::Postgres ? "SELECT max(version) FROM schema_migrations"
                                                      : "SELECT max(version) FROM schema_version"));
}

void MigrateSchema(SqlDatabase& p_oDatabase, int p_lTargetVersion) {
    if (SchemaVersion(p_oDatabase) >= p_lTargetVersion) {
        return;
    }
    SqlTransaction work(p_oDatabase);
    for (int version = SchemaVersion(p_oDatabase); version < p_lTargetVersion; ++version) {
        Migrations().at(static_cast<size_t>(version))(p_oDatabase);
        SqlStatement setVersion = p_oDatabase.Prepare("UPDATE schema_version SET version = ?1");
        setVersion.BindInt64(1, version + 1);
        setVersion.Run();
    }
    work.Commit();
}

}  // namespace qv::facade
