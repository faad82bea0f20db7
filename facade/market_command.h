// The market tool's commands (create, import, info, portfolio import) on the store --db names,
// shared by qorvant-market, which opens market files, and qorvant-facade-server's "market"
// command, which also opens PostgreSQL databases.
//
//     MarketCommand command{"qorvant-market", "PATH", OpenMarketFile};
//     return RunMarketCommand(command, {"--db", path, "info"});
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "facade/market_store.h"

namespace qv::facade {

using MarketStoreOpener =
    std::function<std::shared_ptr<MarketStore>(const std::string&, MarketStore::Access)>;

struct MarketCommand {
    std::string m_sProgram;       // in messages and the usage
    std::string m_sDatabaseWord;  // what --db takes, in the usage
    MarketStoreOpener m_fnOpen;
};

std::shared_ptr<MarketStore> OpenMarketFile(const std::string& p_sPath,
                                            MarketStore::Access p_eAccess);

// Runs one command line (without the program name); the exit status: 0, 1 for a failure, 2 for
// a wrong command line. Messages go to standard error, results to standard output.
int RunMarketCommand(const MarketCommand& p_oCommand, const std::vector<std::string>& p_aArgs);

}  // namespace qv::facade
