#include "shell/market_session.h"

#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "facade/remote_connection.h"
#include "facade/sqlite_database.h"
#include "facade/watch_list_store.h"
#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/error_reporter.h"
#include "outside/facade_protocol.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "shell/chart_series.h"

#include <array>
#include <filesystem>
#include <functional>

namespace qv {

namespace {

namespace call = facade_protocol;

std::string PathOrDefault(const std::string& p_sPath) {
    if (p_sPath.empty()) {
        return facade::DefaultMarketDatabasePath();
    }
    const std::filesystem::path folder = std::filesystem::path(p_sPath).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        throw facade::FacadeError(p_sPath, 0,
                                  "there is no folder " + folder.string() +
                                      " (a database is only created in a folder that exists)");
    }
    return p_sPath;
}

[[noreturn]] void RefuseOnServer(const std::string& p_sWhat) {
    throw AutomationError(errors::kActionNotSupported, "MarketSession",
                          p_sWhat + ": " + kNotOnServer);
}

// What the shell reads of the market serves to offer choices and check names: a store that cannot
// answer (a server out of reach, a session another login has taken over) does not stop the
// window. The failure goes to the error reporter, as the viewer's own failures do, and the answer
// is p_fallback.
template <class Answer>
Answer Answered(std::string_view p_sLabel, Answer p_fallback,
                const std::function<Answer()>& p_fnRead) {
    try {
        return p_fnRead();
    } catch (const AutomationError& error) {
        PlatformContext::Current().Reporter().Report(p_sLabel, error);
        return p_fallback;
    }
}

Variant CallReader(std::string_view p_sProgId, std::string_view p_sMethod,
                   std::span<Variant> p_args) {
    return CallMethod(*CreateObject(p_sProgId), p_sMethod, p_args);
}

// The rows of a name list, one entry each.
std::vector<NamedCode> NamesOf(const Variant& p_vRows, const char* p_sCode, const char* p_sName) {
    std::vector<NamedCode> names;
    const std::shared_ptr<Recordset> rows = RecordsetOf(p_vRows);
    if (!rows || rows->RecordCount() == 0) {
        return names;
    }
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        names.push_back({rows->Value(p_sCode).ToLong(), rows->Value(p_sName).ToString(), 0});
    }
    return names;
}

int32_t DayOf(const Variant& p_vDay) {
    return p_vDay.IsEmpty() || p_vDay.IsNull() ? 0 : static_cast<int32_t>(p_vDay.ToDate());
}

}  // namespace

MarketSession::MarketSession(const std::string& p_sPath, const facade::ProgressFn& p_fProgress,
                             int32_t p_lOwnerId)
    : MarketSession(std::shared_ptr<facade::MarketStore>(
                        facade::OpenOrGenerateMarket(PathOrDefault(p_sPath), p_fProgress)),
                    p_lOwnerId) {
    m_sEmbeddedPath = p_sPath;
}

MarketSession::MarketSession(std::shared_ptr<facade::MarketStore> p_oStore, int32_t p_lOwnerId)
    : m_lOwnerId(p_lOwnerId) {
    OpenEmbedded(std::move(p_oStore));
}

MarketSession::MarketSession(std::shared_ptr<facade::RemoteConnection> p_oConnection,
                             std::string p_sEmbeddedPath)
    : m_sEmbeddedPath(std::move(p_sEmbeddedPath)),
      m_oConnection(std::move(p_oConnection)),
      m_lOwnerId(facade::kDemoOwnerId) {}

MarketSession::~MarketSession() = default;

void MarketSession::OpenEmbedded(std::shared_ptr<facade::MarketStore> p_oStore) {
    m_oStore = std::move(p_oStore);
    m_oBackend = std::make_shared<facade::FacadeBackend>(m_oStore);
    m_sPath = m_oStore->Name();
    LogIn();
}

void MarketSession::UseServer(std::shared_ptr<facade::RemoteConnection> p_oConnection) {
    LogOutOfServer();
    m_oConnection = std::move(p_oConnection);
    m_oFacts.reset();
}

void MarketSession::UseEmbedded(const facade::ProgressFn& p_fProgress) {
    if (!m_oStore) {
        OpenEmbedded(std::shared_ptr<facade::MarketStore>(
            facade::OpenOrGenerateMarket(PathOrDefault(m_sEmbeddedPath), p_fProgress)));
    }
    LogOutOfServer();
    m_oConnection.reset();
    m_oFacts.reset();
}

// A session left behind would stay on the server until it expires.
void MarketSession::LogOutOfServer() {
    if (m_oConnection) {
        m_oConnection->Logout();
    }
}

std::string MarketSession::Server() const {
    return OnServer() ? m_oConnection->Server() : std::string();
}

std::string MarketSession::OwnerName() const {
    return OnServer() ? m_oConnection->OwnerName() : std::string();
}

std::string MarketSession::StoreText() const {
    if (OnServer()) {
        return "Server " + m_oConnection->Server() + " as " + m_oConnection->OwnerName();
    }
    return "Embedded store: " + m_sPath;
}

const std::string& MarketSession::Path() const {
    if (OnServer()) {
        RefuseOnServer("The market file");
    }
    return m_sPath;
}

void MarketSession::LogIn() {
    if (OnServer()) {
        RefuseOnServer("Logging in again without the password");
    }
    m_sTimeCode = m_oBackend->Login(m_lOwnerId, "");
}

int32_t MarketSession::OwnerId() const {
    return OnServer() ? m_oConnection->OwnerId() : m_lOwnerId;
}

const std::string& MarketSession::TimeCode() const {
    return OnServer() ? m_oConnection->TimeCode() : m_sTimeCode;
}

void MarketSession::Register(ComponentFactory& p_oFactory) const {
    if (OnServer()) {
        facade::RegisterRemoteComponents(p_oFactory, m_oConnection);
        return;
    }
    facade::RegisterFacadeComponents(p_oFactory, m_oBackend);
}

const MarketSession::MarketFacts& MarketSession::Summary() const {
    if (m_oFacts) {
        return *m_oFacts;
    }
    namespace summary = call::market_summary;
    // Nothing is kept of a read that failed: the next use asks again.
    static const MarketFacts s_none;
    return Answered<const MarketFacts&>(
        "MarketSession:Summary", s_none, [this]() -> const MarketFacts& {
            std::array<Variant, summary::kCount> args;
            CallPages(summary::kMethod, args);
            m_oFacts = MarketFacts{DayOf(args[summary::kFirstDay.Position]),
                                   DayOf(args[summary::kLastDay.Position]),
                                   args[summary::kOrigin.Position].ToString(),
                                   args[summary::kIsSample.Position].ToBool()};
            return *m_oFacts;
        });
}

void MarketSession::Refresh() {
    m_oFacts.reset();
}

int32_t MarketSession::TradingDayOnOrBefore(int32_t p_lDay) const {
    namespace summary = call::market_summary;
    if (p_lDay == 0) {
        return 0;
    }
    return Answered<int32_t>("MarketSession:TradingDayOnOrBefore", 0, [p_lDay] {
        std::array<Variant, summary::kCount> args;
        args[summary::kDay.Position] = DayArgument(p_lDay);
        CallPages(summary::kMethod, args);
        return DayOf(args[summary::kTradingDay.Position]);
    });
}

// The price history of the last day alone is the cheapest question the market answers about a
// symbol; a symbol it does not hold is refused naming the argument, while any other failure (a
// server out of reach) is reported.
bool MarketSession::HasStock(const std::string& p_sSymbol) const {
    namespace history = call::price_history;
    const int32_t last = LastDay();
    return Answered<bool>("MarketSession:HasStock", false, [&p_sSymbol, last] {
        std::array<Variant, history::kCount> args{Variant(p_sSymbol), DayArgument(last),
                                                  DayArgument(last)};
        try {
            CallPages(history::kMethod, args);
            return true;
        } catch (const AutomationError& error) {
            const std::string named = "(" + std::string(history::kSymbol.Name) + ")";
            if (error.Description().find(named) != std::string::npos) {
                return false;
            }
            throw;
        }
    });
}

std::string MarketSession::StockName(const std::string& p_sSymbol) const {
    namespace detail = call::stock_detail;
    std::array<Variant, detail::kCount> args{Variant(p_sSymbol), Variant()};
    try {
        const std::shared_ptr<Recordset> row = RecordsetOf(CallPages(detail::kMethod, args));
        return row && row->RecordCount() > 0 ? row->Value("CompanyName").ToString() : "";
    } catch (const AutomationError&) {
        return {};
    }
}

std::vector<NamedCode> MarketSession::Industries() const {
    namespace names = call::search_industry_name;
    std::array<Variant, names::kMaxCount> args{Variant(""), Variant(0), Variant(0),
                                               DayArgument(LastDay()), Variant(OwnerId())};
    return Answered<std::vector<NamedCode>>("MarketSession:Industries", {}, [&args] {
        return NamesOf(CallReader(call::prog_id::kViewerReader, names::kMethod, args), "IndCode",
                       "IndName");
    });
}

std::vector<NamedCode> MarketSession::Sectors() const {
    namespace names = call::search_sector_name;
    std::array<Variant, names::kCount> args{Variant(""), DayArgument(LastDay())};
    return Answered<std::vector<NamedCode>>("MarketSession:Sectors", {}, [&args] {
        return NamesOf(CallReader(call::prog_id::kViewerReader, names::kMethod, args), "SectorCode",
                       "SectorName");
    });
}

std::vector<NamedCode> MarketSession::WatchLists() const {
    return Answered<std::vector<NamedCode>>("MarketSession:WatchLists", {},
                                            [this] { return ReadWatchLists(); });
}

std::vector<NamedCode> MarketSession::ReadWatchLists() const {
    namespace lists = call::get_watch_lists;
    std::vector<NamedCode> found;
    for (int32_t kind : {facade::watch_list_type::kStocks, facade::watch_list_type::kIndustries}) {
        std::array<Variant, lists::kCount> args{Variant(OwnerId()), Variant(kind)};
        const std::shared_ptr<Recordset> rows =
            RecordsetOf(CallReader(call::prog_id::kWatchListReader, lists::kMethod, args));
        if (!rows || rows->RecordCount() == 0) {
            continue;
        }
        for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
            if (!rows->Value("IsFolder").ToBool()) {
                found.push_back({rows->Value("id").ToLong(), rows->Value("Name").ToString(), kind});
            }
        }
    }
    return found;
}

std::vector<NamedCode> MarketSession::Portfolios() const {
    namespace portfolios = call::get_portfolios;
    std::array<Variant, portfolios::kCount> args{Variant(OwnerId())};
    return Answered<std::vector<NamedCode>>("MarketSession:Portfolios", {}, [&args] {
        return NamesOf(CallReader(call::prog_id::kPortfolioReader, portfolios::kMethod, args), "id",
                       "Name");
    });
}

std::vector<NamedCode> MarketSession::Layouts(int32_t p_lViewerType) const {
    namespace layouts = call::get_layout_names;
    std::array<Variant, layouts::kCount> args{Variant(OwnerId()), Variant(p_lViewerType)};
    return Answered<std::vector<NamedCode>>("MarketSession:Layouts", {}, [&args] {
        return NamesOf(CallReader(call::prog_id::kViewerReader, layouts::kMethod, args), "LayoutID",
                       "Name");
    });
}

}  // namespace qv
