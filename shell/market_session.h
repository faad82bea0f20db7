// The market the shell shows: the open market database, the facade components registered on it,
// and the name lists a host offers for choosing a list's scope.
//
// The database is the one qorvant-market uses (DefaultMarketDatabasePath unless a path is given);
// a first run finds it empty and generates the sample market into it, reporting each stage. A path
// given must be in a folder that exists: a mistyped folder is an error, not a new market.
//
//     MarketSession session("", progress);
//     session.Register(PlatformContext::Current().Components());
//     for (const NamedCode& industry : session.Industries()) { ... }
#pragma once

#include "facade/progress.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class ComponentFactory;
class Recordset;

namespace facade {
class FacadeBackend;
class MarketStore;
}  // namespace facade

// One entry of a scope list: an industry group, a sector, a watch list or a portfolio.
struct NamedCode {
    int32_t m_lCode = 0;
    std::string m_sName;
    // For a watch list: 0 for stocks, 1 for industry groups.
    int32_t m_lKind = 0;
};

class MarketSession {
  public:
    // Opens (or on a first run creates and fills) the database at p_sPath; an empty path is the
    // default database. Failures are the facade's errors, naming the file.
    MarketSession(const std::string& p_sPath, const facade::ProgressFn& p_fProgress);
    explicit MarketSession(std::shared_ptr<facade::MarketStore> p_oStore);
    ~MarketSession();
    MarketSession(const MarketSession&) = delete;
    MarketSession& operator=(const MarketSession&) = delete;

    // Registers the facade components on this market.
    void Register(ComponentFactory& p_oFactory) const;

    const std::string& Path() const { return m_sPath; }
    // The first and last trading days as day serials; 0 when the market has no bars.
    int32_t FirstDay() const { return m_lFirstDay; }
    int32_t LastDay() const { return m_lLastDay; }
    // The last trading day on or before p_lDay; 0 when there is none.
    int32_t TradingDayOnOrBefore(int32_t p_lDay) const;
    // True when the market has bars of the stock (the symbol in any letter case).
    bool HasStock(const std::string& p_sSymbol) const;
    // The owner the shell logs in as: the demo owner of the sample market.
    static int32_t OwnerId();

    std::vector<NamedCode> Industries() const;
    std::vector<NamedCode> Sectors() const;
    // The owner's watch lists of both kinds, stock lists first; folders left out.
    std::vector<NamedCode> WatchLists() const;
    std::vector<NamedCode> Portfolios() const;

  private:
    void ReadSummary();

    std::shared_ptr<facade::MarketStore> m_oStore;
    std::shared_ptr<facade::FacadeBackend> m_oBackend;
    std::string m_sPath;
    int32_t m_lFirstDay = 0;
    int32_t m_lLastDay = 0;
};

}  // namespace qv
