// The versioned schema of the market database. Each migration takes the schema from version n-1
// to n; the version lives in the table schema_version and the file carries our SQLite
// application id, which is how a foreign SQLite file is told apart from ours.
//
//   1  tables and indexes, owner 0 (the system)
//   2  the field catalogue rows
//   3  the system layouts (owner 0) and their defaults
//   4  holding fields carry the stock bit in the catalogue and in stored layouts
//   5  every figure of a stock's row on the basis of its latest bar, the bars kept as traded
//   6  where the market came from (market_origin): the generated sample or an import
//   7  the owners' options-analysis trades (options_groups, options_trades), empty at first
//   8  the owners' stock screens (screens) and the screens shipped with the market (owner 0)
//   9  closing trades (their sale and version), portfolio names unique per owner
//  10  the facade server's password hashes (owners.password_hash) and sessions
#pragma once

#include <cstdint>

namespace qv::facade {

class SqlDatabase;

// "QVMD" in the application-id field of the SQLite header.
constexpr int32_t kMarketApplicationId = 0x51564D44;

// The key of a stock's bar of a day: stock id * kDayKeyStride + day serial (days 0 to
// kDayKeyStride - 1, that is 1899-12-30 to beyond the year 9999). As the rowid of stock_days it
// keeps a stock's bars together in date order, so bars written stock by stock go in at the end
// of the table, and a stock's day is one rowid lookup; stock id and day are columns computed from
// it. group_days is keyed the same way, with (kind * kGroupKindStride + code) in place of the
// stock id. SQL text writes the strides as 4194304 and 1048576.
constexpr int64_t kDayKeyStride = int64_t{1} << 22;
constexpr int64_t kGroupKindStride = int64_t{1} << 20;
constexpr int64_t kIndustryGroupKind = 1;
constexpr int64_t kSectorGroupKind = 2;

// Prices are stored as whole multiples of 1 / kPriceScale; the SQL view divides by 10000.0.
constexpr double kPriceScale = 10000.0;

// What the store holds exactly. A price is at least one unit of the scale (less would be stored
// as 0); prices in units and volumes stay below 2^53, the whole numbers a double holds exactly,
// as the derived metrics (averages, 52-week range) are computed in doubles and stored back as
// integers.
constexpr double kMinPrice = 1 / kPriceScale;
constexpr double kMaxPrice = 900'000'000'000.0;
constexpr int64_t kMaxVolume = 9'000'000'000'000'000;

constexpr int64_t DayKey(int64_t p_llStockId, int32_t p_lDay) {
    return p_llStockId * kDayKeyStride + p_lDay;
}

constexpr int64_t GroupDayKey(int64_t p_llKind, int64_t p_llCode, int32_t p_lDay) {
    return (p_llKind * kGroupKindStride + p_llCode) * kDayKeyStride + p_lDay;
}

int LatestSchemaVersion();

// Inserts the screens every market ships with (owner 0), in the caller's transaction.
void SeedShippedScreens(SqlDatabase& p_oDatabase);

// The schema version of an open database: 0 when it has no schema_version table.
int SchemaVersion(SqlDatabase& p_oDatabase);

// Brings the schema up to p_lTargetVersion (the latest by default) in one immediate transaction.
// The version is read again inside the transaction, so two processes migrating the same new file
// at once leave one schema. A database newer than the target is left alone.
void MigrateSchema(SqlDatabase& p_oDatabase, int p_lTargetVersion = LatestSchemaVersion());

}  // namespace qv::facade
