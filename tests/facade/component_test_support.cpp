#include "facade/component_test_support.h"

#include "facade/facade_target.h"
#include "facade/layout_access.h"
#include "facade/sql_database.h"
#include "outside/automation_error.h"
#include "outside/dispatch.h"
#include "outside/platform_context.h"

namespace qv::facade::testing {

namespace {

// Short names keep the argument lists of the calls on a few lines.
const Variant kNone = Variant();
const Variant kNothing = Variant::Nothing();

// A query with its ?1, if it has one, bound.
SqlStatement Query(const std::string& p_sSql, int64_t p_llBinding) {
    SqlStatement oQuery = Target().Database().Prepare(p_sSql);
    if (p_sSql.find("?1") != std::string::npos) {
        oQuery.BindInt64(1, p_llBinding);
    }
    return oQuery;
}

}  // namespace

std::vector<Variant> StockViewerCall::Args() const {
    return {m_lOwnerId, m_lLayoutId,    m_vStartDate,  m_lMaxRows,     m_bReturnAll,
            "A",        m_vLayoutInfo,  kNone,         kNothing,       kNothing,
            kNone,      m_lIndCode,     m_lSectorCode, m_lWatchListId, kNone,
            kNothing,   m_lPortfolioId, m_iListScope,  m_sTimeCode,    kNone};
}

std::vector<Variant> IndustryViewerCall::Args() const {
    return {m_lOwnerId,   Variant::Date(0), -1,       false, "A",           m_vLayoutInfo,
            kNone,        kNothing,         kNothing, kNone, m_lSectorCode, m_lWatchListId,
            m_lListScope, kNothing,         kNone,    "",    kNone};
}

std::vector<Variant> SectorViewerCall::Args() const {
    return {m_lOwnerId, m_vStartDate, -1, false, "A", kNone, kNothing, kNone, kNothing, "", kNone};
}

std::vector<Variant> SearchStocksArgs(int32_t p_lOwnerId, const Variant& p_vText, int16_t p_iOption,
                                      double p_dDate) {
    const Variant vDate = Variant::Date(p_dDate);
    return {p_lOwnerId, 3,        vDate,    -1,    p_vText, p_iOption, int16_t{0}, kNone,
            kNone,      kNothing, kNothing, kNone, 0,       0,         0};
}

std::vector<Variant> SearchIndustriesArgs(int32_t p_lOwnerId, const Variant& p_vText,
                                          double p_dDate) {
    const Variant vDate = Variant::Date(p_dDate);
    return {p_lOwnerId, 4,        vDate,    -1,    p_vText, int16_t{0}, kNone,
            kNone,      kNothing, kNothing, kNone, 0,       0,          0};
}

std::vector<Variant> HistoryArgs(double p_dStart, double p_dEnd, const Variant& p_vKey,
                                 int32_t p_lOwnerId, int32_t p_lMaxRows) {
    const Variant vStart = Variant::Date(p_dStart), vEnd = Variant::Date(p_dEnd);
    return {vStart, vEnd, p_vKey, kNone, kNothing, p_lOwnerId, p_lMaxRows, false};
}

std::vector<Variant> SaveLayoutArgs(int32_t p_lOwnerId, const Variant& p_vColumns,
                                    const Variant& p_vDataType) {
    return {p_lOwnerId, -1, "Mine", "", 2, 6, 0, -1, 0, p_vColumns, p_vDataType, -1};
}
Variant Items(const std::vector<std::string>& p_aKeys) {
    VariantArray aItems = VariantArray::Vector(0, static_cast<int32_t>(p_aKeys.size()) - 1);
    for (size_t i = 0; i < p_aKeys.size(); ++i) {
        aItems.At(static_cast<int32_t>(i)) = p_aKeys[i];
    }
    return aItems;
}

std::optional<LayoutRecord> LayoutOf(const Variant& p_vDescription) {
    LayoutDescription oLayout =
        p_vDescription.IsEmpty() ? LayoutDescription{} : layout_codec::Parse(p_vDescription);
    return oLayout.Columns.empty() ? std::nullopt : std::optional(RecordOf(std::move(oLayout)));
}

int32_t LayoutIdOf(const Variant& p_vDescription) {
    return layout_codec::Parse(p_vDescription).Header.Id;
}

void ComponentTest::SetUp() {
    FacadeTarget& oTarget = Target();
    if (const std::string sWhy = oTarget.Unavailable(); !sWhy.empty()) {
        GTEST_SKIP() << sWhy;
    }
    oTarget.Register(m_oPlatform.Components());
    LogIn(kDemoOwnerId);
}

SqlDatabase& ComponentTest::Database() {
    return Target().Database();
}

void ComponentTest::LogIn(int32_t p_lOwnerId, const std::string& p_sName) {
    Target().LogIn(p_lOwnerId, p_sName);
}

int32_t ComponentTest::NewOwner() {
    static int32_t s_lNext = 100;
    LogIn(++s_lNext);
    return s_lNext;
}

std::shared_ptr<Recordset> RowsAt(const std::vector<Variant>& p_aArgs,
                                  facade_protocol::Argument p_oArgument) {
    return RecordsetOf(p_aArgs[p_oArgument.Position]);
}

std::vector<CallCase> ComponentTest::EveryCall(int32_t lOwner) {
    using namespace prog_id;
    constexpr OwnerAccess kWrite = OwnerAccess::Write;
    const Variant vToday = Variant::Date(0), vItems = Items(Symbols(1));
    const double dLast = LastDay();
    const std::string sSymbol = Symbols(1)[0];
    const int32_t lList = NewList(lOwner, {sSymbol});
    const int32_t lScreen = NewScreen(lOwner);
    const auto lPortfolio = static_cast<int32_t>(
        Count("SELECT min(portfolio_id) FROM portfolios WHERE owner_id = ?1", kDemoOwnerId));
    const std::vector<Variant> aHoldings{lPortfolio, lOwner, kNone, true,
                                         kNothing,   kNone,  true,  kNothing};
    const auto NewPortfolio = [&](const std::string& p_sName) {
        return Call(kPortfolioWriter, "NewPortfolio", {lOwner, p_sName}).ToLong();
    };
    const int32_t lKept = NewPortfolio("Kept"), lGone = NewPortfolio("Gone");
    const std::vector<Variant> aTrade{lOwner, lKept, 0,     sSymbol, Variant::Date(dLast),
                                      0.0,    10.0,  5.0,   false,   50.0,
                                      30.0,   kNone, kNone, 0};
    std::vector<Variant> aSaved = aTrade;
    Call(kPortfolioWriter, "SaveTrade", aSaved);
    const Variant vTrade = aSaved[2];
    const auto NewFrom = [&](const char* p_sMethod) {
        return CallCase{
            kWatchListWriter, p_sMethod, {0, lList, vItems, 0, p_sMethod, "", lOwner}, 6, kWrite};
    };
    return {
        {kViewerReader, "StockViewer", StockViewerCall{.m_lOwnerId = lOwner}.Args(), 0},
        {kViewerReader, "SearchStocks", SearchStocksArgs(lOwner, sSymbol), 0},
        {kViewerReader, "GetSectorDetail", {0, 1, "A", kNone}},
        {kViewerReader, "IndustryViewer", IndustryViewerCall{.m_lOwnerId = lOwner}.Args(), 0},
        {kViewerReader, "SectorViewer", SectorViewerCall{.m_lOwnerId = lOwner}.Args(), 0},
        {kViewerReader, "SearchIndustries", SearchIndustriesArgs(lOwner, "1"), 0},
        {kViewerReader, "SearchSector", {lOwner, 5, vToday, "A", 0, -1, kNone, kNothing, kNone}, 0},
        {kViewerReader, "HistoryStockEX", HistoryArgs(dLast, dLast - 10, sSymbol, lOwner), 5},
        {kViewerReader, "HistoryIndustryEX", HistoryArgs(dLast, dLast - 10, 1, lOwner), 5},
        {kViewerReader, "HistorySectorEX", HistoryArgs(dLast, dLast - 10, 1, lOwner), 5},
        {kViewerReader, "GetDefaultLayout", {lOwner, 0, -1}, 0},
        {kViewerReader, "GetLayout", {lOwner, 3}, 0},
        {kViewerReader, "GetCustomFieldList", {lOwner, 0}},
        {kViewerReader, "GetDefaultLayoutID", {lOwner, 9, -1}, 0},
        {kViewerReader, "SearchCompanyName", {"A", 0, 0, lList, "", lOwner}, 5},
        {kViewerReader, "SearchIndustryName", {"A", 0, 0, "", lOwner}, 4},
        {kViewerReader, "SearchSectorName", {"A", ""}},
        {kViewerReader, "getdefaultmaxrows", {3, kNone, kNone, lOwner}, 3},
        {kViewerReader, "GetLayoutNames", {lOwner, 0}, 0},
        {kViewerReader, "Login", {lOwner, "Name " + std::to_string(lOwner)}},
        {kViewerReader, "RunScreen", {lOwner, 0, kNone, vToday, 10}, 0},
        {kPages, "StockDetail", {sSymbol, vToday}},
        {kPages, "PriceHistory", {sSymbol, dLast - 30, dLast}},
        {kPages, "IndustryDetail", {1, vToday, kNothing}},
        {kPages, "SectorDetail", {1, vToday, kNothing}},
        {kPages, "ChartSeries", {0, sSymbol, dLast - 30, dLast, true}},
        {kPages, "StockAnalysis", {sSymbol, vToday}},
        {kPages,
         "QuickTest",
         {0, sSymbol, dLast - 30, dLast, kNothing, kNone, kNone, kNone, kNone, kNone, kNone}},
        {kPages, "Dividends", {sSymbol}},
        {kPages, "WatchListMembers", {lOwner, lList, kNone, kNone}, 0},
        {kPages, "OptionPrice", {sSymbol, vToday, kNone, 30, 4.0, kNone}},
        {kPages, "InvestmentDetails", {lOwner, lKept, sSymbol, vToday, kNothing}, 0},
        {kPages, "MarketSummary", {vToday, kNone, kNone, kNone, kNone, kNone}},
        {kViewerWriter, "SaveLayout", SaveLayoutArgs(lOwner, StockColumns()), 0, kWrite},
        {kViewerWriter, "DeleteLayout", {lOwner, 3, 0, kNone}, 0, kWrite},
        {kViewerWriter, "RestoreDefaultLayout", {lOwner, 0, -1, true}, 0, kWrite},
        {kViewerWriter, "DeleteCustomLayout", {lOwner, 9, -1}, 0, kWrite},
        {kWatchListReader, "GetWatchLists", {lOwner, 0}, 0},
        {kWatchListWriter, "NewWatchListAndItems", {0, vItems, 0, "New", "", lOwner}, 5, kWrite},
        NewFrom("NewWatchListMatchingItems"),
        NewFrom("NewWatchListNonMatchingItems"),
        {kWatchListWriter, "AddWatchListItems", {lList, vItems, 0, lOwner}, 3, kWrite},
        {kWatchListWriter, "DeleteWatchListItems", {lList, vItems, lOwner}, 2, kWrite},
        {kWatchListWriter, "NewWatchListFolder", {0, 0, "Folder", lOwner}, 3, kWrite},
        {kScreens, "GetScreens", {lOwner}, 0},
        {kScreens, "CheckScreen", {lOwner, 1, "PctAdvancing >= 50", vToday, kNone}, 0},
        {kScreens, "SaveScreen", {lOwner, lScreen, "Saved", 0, "RSRank >= 80"}, 0, kWrite},
        {kScreens, "DeleteScreen", {lOwner, lScreen}, 0, kWrite},
        {kPortfolioReader, "GetCurrentHoldings", aHoldings, 1},
        {kPortfolioReader, "GetOptionsTrades", {lOwner}, 0},
        {kPortfolioWriter, "NewPortfolio", {lOwner, "New"}, 0, kWrite},
        {kPortfolioWriter, "RenamePortfolio", {lOwner, lKept, "Kept"}, 0, kWrite},
        {kPortfolioWriter, "GetTrades", {lOwner, lKept}, 0},
        {kPortfolioWriter, "SaveTrade", aTrade, 0, kWrite},
        {kPortfolioWriter, "DeleteTrade", {lOwner, vTrade, 1}, 0, kWrite},
        {kPortfolioWriter,
         "ImportTrades",
         {lOwner, lKept, "Symbol,BuyDate,Shares,Price", true},
         0,
         kWrite},
        {kPortfolioWriter, "ExportTrades", {lOwner, lKept}, 0},
        {kPortfolioWriter, "DeletePortfolio", {lOwner, lGone}, 0, kWrite},
        {kPortfolioReader, "GetPortfolios", {lOwner}, 0},
    };
}

Variant ComponentTest::StockColumns() {
    return Call(prog_id::kViewerReader, "GetLayout", {0, 3}).Array().At(2);
}

int32_t ComponentTest::NewList(int32_t p_lOwnerId, const std::vector<std::string>& p_aKeys,
                               int32_t p_lType) {
    // A name of its own: an owner's lists of a type never share one.
    static int32_t s_lLists = 0;
    return Call(prog_id::kWatchListWriter, "NewWatchListAndItems",
                {0, Items(p_aKeys), p_lType, "List " + std::to_string(++s_lLists), "notes",
                 p_lOwnerId})
        .ToLong();
}

int32_t ComponentTest::NewScreen(int32_t p_lOwnerId, int32_t p_lResultType,
                                 const std::string& p_sCriteria) {
    static int32_t s_lScreens = 0;
    std::vector<Variant> aArgs{p_lOwnerId, 0, "Screen " + std::to_string(++s_lScreens),
                               p_lResultType, p_sCriteria};
    Call(prog_id::kScreens, "SaveScreen", aArgs);
    return aArgs[facade_protocol::save_screen::kScreenId.Position].ToLong();
}

Variant ComponentTest::Call(std::string_view p_sProgId, std::string_view p_sMethod,
                            std::vector<Variant>& p_aArgs) {
    return CallMethod(*CreateObject(p_sProgId), p_sMethod, p_aArgs);
}

AutomationError ComponentTest::CallError(std::string_view p_sProgId, std::string_view p_sMethod,
                                         std::vector<Variant> p_aArgs) {
    try {
        Call(p_sProgId, p_sMethod, p_aArgs);
    } catch (const AutomationError& oError) {
        return oError;
    }
    ADD_FAILURE() << p_sMethod << " raised no error";
    return AutomationError(0, "", "");
}

bool ComponentTest::IsSaveTime(const Variant& p_vWhen) {
    return p_vWhen.Type() == VarType::Date &&
           Target().IsSaveTime(p_vWhen.ToDate(), m_oPlatform.Time());
}

int32_t ComponentTest::LastDay() {
    return static_cast<int32_t>(Count("SELECT max(trade_date) FROM trading_days"));
}

int32_t ComponentTest::DayBefore(int32_t p_lDay) {
    return static_cast<int32_t>(
        Count("SELECT max(trade_date) FROM trading_days WHERE trade_date < ?1", p_lDay));
}

int64_t ComponentTest::Count(const std::string& p_sSql, int64_t p_llBinding) {
    SqlStatement oQuery = Query(p_sSql, p_llBinding);
    return oQuery.Step() ? oQuery.ColumnInt64(0) : -1;
}

std::vector<std::string> ComponentTest::Strings(const std::string& p_sSql, int64_t p_llBinding) {
    SqlStatement oQuery = Query(p_sSql, p_llBinding);
    std::vector<std::string> aTexts;
    while (oQuery.Step()) {
        aTexts.push_back(oQuery.ColumnText(0));
    }
    return aTexts;
}

std::vector<std::string> ComponentTest::Symbols(int p_lCount, int p_lSkip) {
    return Strings("SELECT symbol FROM stocks ORDER BY stock_id LIMIT " + std::to_string(p_lCount) +
                   " OFFSET " + std::to_string(p_lSkip));
}

std::vector<std::string> FieldNames(const Recordset& p_rRows) {
    std::vector<std::string> aNames;
    for (int32_t i = 0; i < p_rRows.Fields().Count(); ++i) {
        aNames.push_back(p_rRows.Fields().Item(i).Name());
    }
    return aNames;
}

std::vector<Variant> Column(Recordset& p_rRows, std::string_view p_sField) {
    std::vector<Variant> aValues;
    if (p_rRows.RecordCount() == 0) {
        return aValues;
    }
    for (p_rRows.MoveFirst(); !p_rRows.IsEOF(); p_rRows.MoveNext()) {
        aValues.push_back(p_rRows.Value(p_sField));
    }
    p_rRows.MoveFirst();
    return aValues;
}

std::vector<std::string> Texts(Recordset& p_rRows, std::string_view p_sField) {
    std::vector<std::string> aTexts;
    for (const Variant& vValue : Column(p_rRows, p_sField)) {
        aTexts.push_back(vValue.IsNull() ? std::string() : vValue.ToString());
    }
    return aTexts;
}

}  // namespace qv::facade::testing
