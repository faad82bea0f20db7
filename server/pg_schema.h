// The market database's schema on PostgreSQL: the tables, indexes and shipped rows of the
// embedded store's schema, spelled for PostgreSQL, and the server's own tables (passwords and
// sessions). Versions count as the embedded store's do, so a version names the same schema in
// both; the applied versions are rows of schema_migrations.
//
// Each migration runs in a transaction of its own under an advisory lock, so of two servers
// starting on a new database one migrates and the other finds the work done. A database of a
// newer schema than this program knows is refused, never changed.
#pragma once

#include <memory>
#include <string>

namespace qv::facade {
class MarketStore;
class SqlDatabase;
}  // namespace qv::facade

namespace qv::server {

int LatestPgSchemaVersion();

// The highest version applied: 0 for a database that holds no market schema.
int PgSchemaVersion(facade::SqlDatabase& p_oDatabase);

// Applies the migrations the database lacks; throws a FacadeError for a newer schema.
void MigratePgSchema(facade::SqlDatabase& p_oDatabase);

// The market store on the database at p_sUrl (pg_database.h), its schema made current. Opening a
// current database costs one connection and the two queries that read its version.
std::shared_ptr<facade::MarketStore> OpenPgMarketStore(const std::string& p_sUrl);

}  // namespace qv::server
