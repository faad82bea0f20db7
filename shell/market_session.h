// The market the shell shows and the store that holds it: the embedded market database, or a
// facade server reached through a logged-in connection. Either way the shell reads the market
// by the facade's calls (on the components of the current platform context), so that the window
// and the headless modes take one path whichever store answers.
//
// The embedded database is the one qorvant-market uses (DefaultMarketDatabasePath unless a path
// is given); a first run finds it empty and generates the sample market into it, reporting each
// stage. A path given must be in a folder that exists: a mistyped folder is an error, not a new
// market. Opening logs in as the owner the shell acts for, so that the facade serves that owner's
// layouts, watch lists and portfolios (and no one else's); the viewer carries the time code. On a
// server the connection's login is the session: its owner and time code are the viewer's.
//
// A read the store cannot answer (a server out of reach or too slow, a session another login
// has taken over) is reported to the platform's error reporter, as the viewer's failures are,
// and answers as an empty market would: the window stays usable and says what happened.
//
// What only a file allows (importing a market into it) is the embedded store's alone; on a
// server Path refuses with a message that says so.
//
//     MarketSession session("", progress);
//     session.Register(PlatformContext::Current().Components());
//     viewer.SetOwnerId(session.OwnerId());
//     viewer.SetTimeCode(session.TimeCode());
#pragma once

#include "facade/progress.h"
#include "facade/sample_market.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class ComponentFactory;

namespace facade {
class FacadeBackend;
class MarketStore;
class RemoteConnection;
}  // namespace facade

// One entry of a scope list: an industry group, a sector, a watch list or a portfolio.
struct NamedCode {
    int32_t m_lCode = 0;
    std::string m_sName;
    // For a watch list: 0 for stocks, 1 for industry groups.
    int32_t m_lKind = 0;
};

// What a person is told of a command that needs the market file.
inline constexpr const char* kNotOnServer = "Not available on a facade server";

class MarketSession {
  public:
    // Opens (or on a first run creates and fills) the database at p_sPath, an empty path being the
    // default database, and logs in as p_lOwnerId. Failures are the facade's errors, naming the
    // file or the login.
    MarketSession(const std::string& p_sPath, const facade::ProgressFn& p_fProgress,
                  int32_t p_lOwnerId = facade::kDemoOwnerId);
    explicit MarketSession(std::shared_ptr<facade::MarketStore> p_oStore,
                           int32_t p_lOwnerId = facade::kDemoOwnerId);
    // The market of a server, through p_oConnection, which is logged in. p_sEmbeddedPath is the
    // database UseEmbedded opens later (empty for the default one).
    MarketSession(std::shared_ptr<facade::RemoteConnection> p_oConnection,
                  std::string p_sEmbeddedPath);
    ~MarketSession();
    MarketSession(const MarketSession&) = delete;
    MarketSession& operator=(const MarketSession&) = delete;

    // Registers the facade components of the store in use: the embedded ones on the database, or
    // the server's proxies.
    void Register(ComponentFactory& p_oFactory) const;

    // Moves to the server of p_oConnection (logged in) or back to the embedded database, opened
    // (or generated) on the first move back; what was read of the market is read again. Register
    // the components afterwards.
    void UseServer(std::shared_ptr<facade::RemoteConnection> p_oConnection);
    void UseEmbedded(const facade::ProgressFn& p_fProgress);
    bool OnServer() const { return m_oConnection != nullptr; }
    // The server's address and the name logged in there; empty on the embedded store.
    std::string Server() const;
    std::string OwnerName() const;
    // For the status bar: "Embedded store: <file>" or "Server <address> as <name>".
    std::string StoreText() const;
    // The embedded database's file; on a server an error saying the file is not available.
    const std::string& Path() const;

    // The first and last trading days as day serials; 0 when the market has no bars.
    int32_t FirstDay() const { return Summary().m_lFirstDay; }
    int32_t LastDay() const { return Summary().m_lLastDay; }
    // The last trading day on or before p_lDay; 0 when there is none.
    int32_t TradingDayOnOrBefore(int32_t p_lDay) const;
    // True when the market holds the stock (the symbol in any letter case).
    bool HasStock(const std::string& p_sSymbol) const;
    // The company name of the stock; empty when the market does not hold it or has no price of
    // it on the last day.
    std::string StockName(const std::string& p_sSymbol) const;
    // True when the store records its market as the generated sample, not imported data.
    bool IsSampleMarket() const { return Summary().m_bSample; }
    // Where the market came from, for people: "Generated sample market (…)" or "Imported from
    // <folder> on <date>".
    std::string DataSource() const { return Summary().m_sOrigin; }
    // Reads the market's first and last day and its origin again, after an import changed them.
    void Refresh();
    // The owner logged in, and the time code of the login.
    int32_t OwnerId() const;
    const std::string& TimeCode() const;
    // Logs in to the embedded database again, taking the owner back from a later login elsewhere
    // (another process), which the lists report as a login conflict; a viewer shown afterwards
    // carries the new time code. A server needs the password again: a new connection's login.
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
    struct MarketFacts {
        int32_t m_lFirstDay = 0;
        int32_t m_lLastDay = 0;
        std::string m_sOrigin;
        bool m_bSample = false;
    };

    const MarketFacts& Summary() const;
    std::vector<NamedCode> ReadWatchLists() const;
    void OpenEmbedded(std::shared_ptr<facade::MarketStore> p_oStore);
    void LogOutOfServer();

    std::string m_sEmbeddedPath;
    std::shared_ptr<facade::MarketStore> m_oStore;
    std::shared_ptr<facade::FacadeBackend> m_oBackend;
    std::shared_ptr<facade::RemoteConnection> m_oConnection;
    std::string m_sPath;
    int32_t m_lOwnerId;
    std::string m_sTimeCode;
    // Read on first use: the components are registered after the session is made.
    mutable std::optional<MarketFacts> m_oFacts;
};

}  // namespace qv
