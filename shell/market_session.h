// The market the shell shows: the open market database, the facade components registered on it,
// the login they act for, and the name lists a host offers for choosing a list's scope.
//
// The database is the one qorvant-market uses (DefaultMarketDatabasePath unless a path is given);
// a first run finds it empty and generates the sample market into it, reporting each stage. A path
// given must be in a folder that exists: a mistyped folder is an error, not a new market.
// Opening logs in as the owner the shell acts for, so that the facade serves that owner's
// layouts, watch lists and portfolios (and no one else's); the viewer carries the time code.
//
//     MarketSession session("", progress);
//     session.Register(PlatformContext::Current().Components());
//     viewer.SetOwnerId(session.OwnerId());
//     viewer.SetTimeCode(session.TimeCode());
#pragma once

#include "facade/market_store.h"
#include "facade/progress.h"
#include "facade/sample_market.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class ComponentFactory;
class Recordset;

namespace facade {
class FacadeBackend;
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
    // Opens (or on a first run creates and fills) the database at p_sPath, an empty path being the
    // default database, and logs in as p_lOwnerId. Failures are the facade's errors, naming the
    // file or the login.
    MarketSession(const std::string& p_sPath, const facade::ProgressFn& p_fProgress,
                  int32_t p_lOwnerId = facade::kDemoOwnerId);
    explicit MarketSession(std::shared_ptr<facade::MarketStore> p_oStore,
                           int32_t p_lOwnerId = facade::kDemoOwnerId);
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
    // The company name of the stock; empty when the market does not hold it.
    std::string StockName(const std::string& p_sSymbol) const;
    // True when the database records its market as the generated sample, not imported data.
    bool IsSampleMarket() const;
    // Where the market came from, for people: "Generated sample market (…)" or "Imported from
    // <folder> on <date>".
    std::string DataSource() const;
    // Reads the market's first and last day and its origin again, after an import changed them.
    void Refresh();
    // The owner logged in, and the time code of the login.
    int32_t OwnerId() const { return m_lOwnerId; }
    const std::string& TimeCode() const { return m_sTimeCode; }
    // Logs in again, taking the owner back from a later login elsewhere (another process), which
    // the lists report as a login conflict; a viewer shown afterwards carries the new time code.
    void LogIn();

    std::vector<NamedCode> Industries() const;
    std::vector<NamedCode> Sectors() const;
    // The owner's watch lists of both kinds, stock lists first; folders left out.
    std::vector<NamedCode> WatchLists() const;
    std::vector<NamedCode> Portfolios() const;
    // The layouts the owner may load for a list kind (a viewer type): its own first, then the
    // system's, each group by name.
    std::vector<NamedCode> Layouts(int32_t p_lViewerType) const;

  private:
    void ReadSummary();

    std::shared_ptr<facade::MarketStore> m_oStore;
    std::shared_ptr<facade::FacadeBackend> m_oBackend;
    std::string m_sPath;
    int32_t m_lOwnerId;
    std::string m_sTimeCode;
    int32_t m_lFirstDay = 0;
    int32_t m_lLastDay = 0;
    facade::MarketOrigin m_oOrigin;
};

}  // namespace qv
