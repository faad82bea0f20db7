#include "shell/market_session.h"

#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/layout_store.h"
#include "facade/market_lists.h"
#include "facade/market_queries.h"
#include "facade/market_store.h"
#include "facade/portfolio_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "facade/watch_list_store.h"

#include <filesystem>
#include <variant>

namespace qv {

namespace {

int32_t CodeOf(const facade::FieldValue& p_vValue) {
    if (const auto* integer = std::get_if<int64_t>(&p_vValue)) {
        return static_cast<int32_t>(*integer);
    }
    if (const auto* number = std::get_if<double>(&p_vValue)) {
        return static_cast<int32_t>(*number);
    }
    return 0;
}

std::string TextOf(const facade::FieldValue& p_vValue) {
    if (const auto* text = std::get_if<std::string>(&p_vValue)) {
        return *text;
    }
    return {};
}

std::vector<NamedCode> NamesOf(const facade::ResultTable& p_oTable, const char* p_sCode,
                               const char* p_sName) {
    std::vector<NamedCode> names;
    for (size_t row = 0; row < p_oTable.RowCount(); ++row) {
        names.push_back(
            {CodeOf(p_oTable.Value(row, p_sCode)), TextOf(p_oTable.Value(row, p_sName)), 0});
    }
    return names;
}

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

}  // namespace

MarketSession::MarketSession(const std::string& p_sPath, const facade::ProgressFn& p_fProgress,
                             int32_t p_lOwnerId)
    : MarketSession(std::shared_ptr<facade::MarketStore>(
                        facade::OpenOrGenerateMarket(PathOrDefault(p_sPath), p_fProgress)),
                    p_lOwnerId) {}

MarketSession::MarketSession(std::shared_ptr<facade::MarketStore> p_oStore, int32_t p_lOwnerId)
    : m_oStore(std::move(p_oStore)),
      m_oBackend(std::make_shared<facade::FacadeBackend>(m_oStore)),
      m_sPath(m_oStore->Name()),
      m_lOwnerId(p_lOwnerId) {
    LogIn();
    ReadSummary();
}

MarketSession::~MarketSession() = default;

void MarketSession::LogIn() {
    m_sTimeCode = m_oBackend->Login(m_lOwnerId, "");
}

void MarketSession::ReadSummary() {
    const facade::MarketSummary summary = m_oStore->Summary();
    m_lFirstDay = summary.m_lFirstDate;
    m_lLastDay = summary.m_lLastDate;
    m_oOrigin = summary.m_oOrigin;
}

void MarketSession::Register(ComponentFactory& p_oFactory) const {
    facade::RegisterFacadeComponents(p_oFactory, m_oBackend);
}

int32_t MarketSession::TradingDayOnOrBefore(int32_t p_lDay) const {
    return facade::MarketQueries(m_oStore->Database()).TradingDayOnOrBefore(p_lDay);
}

bool MarketSession::HasStock(const std::string& p_sSymbol) const {
    facade::HistoryRequest request;
    request.m_aFields = {"Symbol"};
    request.m_lMaxRows = 1;
    return !facade::MarketQueries(m_oStore->Database()).StockHistory(p_sSymbol, request).Empty();
}

std::string MarketSession::StockName(const std::string& p_sSymbol) const {
    facade::HistoryRequest request;
    request.m_aFields = {"CompanyName"};
    request.m_lMaxRows = 1;
    const facade::ResultTable rows =
        facade::MarketQueries(m_oStore->Database()).StockHistory(p_sSymbol, request);
    return rows.Empty() ? std::string() : TextOf(rows.Value(0, "CompanyName"));
}

bool MarketSession::IsSampleMarket() const {
    return m_oOrigin.m_eKind == facade::MarketOrigin::Kind::Sample;
}

std::string MarketSession::DataSource() const {
    return facade::MarketOriginText(m_oOrigin);
}

void MarketSession::Refresh() {
    ReadSummary();
}

std::vector<NamedCode> MarketSession::Industries() const {
    facade::MarketLists lists(m_oStore->Database());
    return NamesOf(lists.IndustryNames("", facade::ListScope{}, m_lLastDay, m_lOwnerId), "IndCode",
                   "IndName");
}

std::vector<NamedCode> MarketSession::Sectors() const {
    facade::MarketLists lists(m_oStore->Database());
    return NamesOf(lists.SectorNames("", m_lLastDay), "SectorCode", "SectorName");
}

std::vector<NamedCode> MarketSession::WatchLists() const {
    facade::WatchListStore store(m_oStore->Database());
    std::vector<NamedCode> lists;
    for (int32_t kind : {facade::watch_list_type::kStocks, facade::watch_list_type::kIndustries}) {
        for (const facade::WatchListEntry& entry : store.WatchLists(OwnerId(), kind)) {
            if (!entry.m_bFolder) {
                lists.push_back({entry.m_lId, entry.m_sName, kind});
            }
        }
    }
    return lists;
}

std::vector<NamedCode> MarketSession::Portfolios() const {
    facade::PortfolioStore store(m_oStore->Database());
    std::vector<NamedCode> portfolios;
    for (const auto& [id, name] : store.Portfolios(OwnerId())) {
        portfolios.push_back({id, name, 0});
    }
    return portfolios;
}

std::vector<NamedCode> MarketSession::Layouts(int32_t p_lViewerType) const {
    facade::LayoutStore store(m_oStore->Database());
    std::vector<NamedCode> layouts;
    for (const auto& [id, name] : store.LayoutNames(OwnerId(), p_lViewerType)) {
        layouts.push_back({id, name, 0});
    }
    return layouts;
}

}  // namespace qv
