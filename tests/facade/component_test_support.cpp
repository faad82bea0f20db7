#include "facade/component_test_support.h"

#include "facade/facade_components.h"
#include "facade/facade_test_files.h"
#include "facade/layout_access.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/automation_error.h"
#include "outside/dispatch.h"
#include "outside/platform_context.h"

namespace qv::facade::testing {

namespace {

std::shared_ptr<FacadeBackend> MakeBackend() {
    static ScratchFolder s_oFolder;
    auto oStore = std::make_shared<MarketStore>(s_oFolder.File("components.db"),
                                                MarketStore::Access::ReadWrite);
    SampleMarketOptions oOptions;
    oOptions.m_lStocks = 120;
    oOptions.m_lIndustries = 24;
    oOptions.m_lTradingDays = 260;
    oOptions.m_llSeed = 11;
    GenerateSampleMarket(*oStore, oOptions, {});
    return std::make_shared<FacadeBackend>(oStore);
}

const std::shared_ptr<FacadeBackend>& SharedBackend() {
    static const std::shared_ptr<FacadeBackend> s_oBackend = MakeBackend();
    return s_oBackend;
}

}  // namespace

std::vector<Variant> StockViewerCall::Args() const {
    return {m_lOwnerId,         m_lLayoutId,        m_vStartDate,  m_lMaxRows,
            m_bReturnAll,       m_sAvgType,         m_vLayoutInfo, m_vSecondaryColumns,
            Variant::Nothing(), Variant::Nothing(), Variant(),     m_lIndCode,
            m_lSectorCode,      m_lWatchListId,     Variant(),     Variant::Nothing(),
            m_lPortfolioId,     m_iListScope,       m_sTimeCode,   Variant()};
}

std::vector<Variant> IndustryViewerCall::Args() const {
    return {m_lOwnerId,         m_vStartDate,       m_lMaxRows,          m_bReturnAll,
            Variant("A"),       m_vLayoutInfo,      m_vSecondaryColumns, Variant::Nothing(),
            Variant::Nothing(), Variant(),          m_lSectorCode,       m_lWatchListId,
            m_lListScope,       Variant::Nothing(), Variant(),           m_sTimeCode,
            Variant()};
}

std::vector<Variant> SectorViewerCall::Args() const {
    return {m_lOwnerId,         m_vStartDate,  m_lMaxRows,         m_bReturnAll,
            Variant("A"),       m_vLayoutInfo, Variant::Nothing(), Variant(),
            Variant::Nothing(), m_sTimeCode,   Variant()};
}

Variant FreshDescription(int32_t p_lLayoutId) {
    return VariantArray::Vector(
        {VariantArray::Vector({p_lLayoutId, Variant(""), Variant(""), 0, 0}), Variant(),
         Variant()});
}

std::optional<LayoutRecord> LayoutOf(const Variant& p_vDescription) {
    if (p_vDescription.IsEmpty()) {
        return std::nullopt;
    }
    LayoutDescription oLayout = layout_codec::Parse(p_vDescription);
    if (oLayout.Columns.empty()) {
        return std::nullopt;
    }
    return RecordOf(std::move(oLayout));
}

int32_t LayoutIdOf(const Variant& p_vDescription) {
    return layout_codec::Parse(p_vDescription).Header.Id;
}

ComponentTest::ComponentTest() {
    RegisterFacadeComponents(m_oPlatform.Components(), SharedBackend());
    SharedBackend()->Login(kDemoOwnerId, "");
}

FacadeBackend& ComponentTest::Backend() {
    return *SharedBackend();
}

SqliteDatabase& ComponentTest::Database() {
    return SharedBackend()->Database();
}

int32_t ComponentTest::NewOwner() {
    static int32_t s_lNext = 100;
    SharedBackend()->Login(++s_lNext, "");
    return s_lNext;
}

std::vector<CallCase> ComponentTest::EveryCall(int32_t p_lOwnerId) {
    using namespace prog_id;
    constexpr OwnerAccess kWrite = OwnerAccess::Write;
    const int32_t lOwner = p_lOwnerId;
    const Variant vToday = Variant::Date(0);
    const Variant vLast = Variant::Date(LastDay());
    const Variant vEarlier = Variant::Date(LastDay() - 10);
    const Variant vColumns = Call(kViewerReader, "GetLayout", {0, 3}).Array().At(2);
    const Variant vNothing = Variant::Nothing();
    SqliteStatement oFirstSymbol = Database().Prepare("SELECT min(symbol) FROM stocks");
    const std::string sSymbol = oFirstSymbol.Step() ? oFirstSymbol.ColumnText(0) : std::string();
    const Variant vItems = VariantArray::Vector({Variant(sSymbol)});
    const int32_t lList =
        Call(kWatchListWriter, "NewWatchListAndItems", {0, vItems, 0, "Base", "", lOwner}).ToLong();
    const int32_t lPortfolio = static_cast<int32_t>(
        Database().QueryInt64("SELECT min(portfolio_id) FROM portfolios WHERE owner_id = " +
                              std::to_string(kDemoOwnerId)));
    StockViewerCall oStocks;
    oStocks.m_lOwnerId = lOwner;
    IndustryViewerCall oIndustries;
    oIndustries.m_lOwnerId = lOwner;
    SectorViewerCall oSectors;
    oSectors.m_lOwnerId = lOwner;
    return {
        {kViewerReader, "StockViewer", oStocks.Args(), 0},
        {kViewerReader,
         "SearchStocks",
         {lOwner, 3, vToday, -1, sSymbol, 0, 0, Variant(), Variant(), vNothing, vNothing, Variant(),
          0, 0, 0},
         0},
        {kViewerReader, "GetSectorDetail", {0, 1, "A", Variant()}},
        {kViewerReader, "IndustryViewer", oIndustries.Args(), 0},
        {kViewerReader, "SectorViewer", oSectors.Args(), 0},
        {kViewerReader,
         "SearchIndustries",
         {lOwner, 4, vToday, -1, "1", 0, Variant(), Variant(), vNothing, vNothing, Variant(), 0, 0,
          0},
         0},
        {kViewerReader,
         "SearchSector",
         {lOwner, 5, vToday, "A", 0, -1, Variant(), vNothing, Variant()},
         0},
        {kViewerReader,
         "HistoryStockEX",
         {vLast, vEarlier, sSymbol, Variant(), vNothing, lOwner, -1, false},
         5},
        {kViewerReader,
         "HistoryIndustryEX",
         {vLast, vEarlier, 1, Variant(), vNothing, lOwner, -1, false},
         5},
        {kViewerReader,
         "HistorySectorEX",
         {vLast, vEarlier, 1, Variant(), vNothing, lOwner, -1, false},
         5},
        {kViewerReader, "GetDefaultLayout", {lOwner, 0, -1}, 0},
        {kViewerReader, "GetLayout", {lOwner, 3}, 0},
        {kViewerReader, "GetCustomFieldList", {lOwner, 0}},
        {kViewerReader, "GetDefaultLayoutID", {lOwner, 9, -1}, 0},
        {kViewerReader, "SearchCompanyName", {"A", 0, 0, lList, "", lOwner}, 5},
        {kViewerReader, "SearchIndustryName", {"A", 0, 0, "", lOwner}, 4},
        {kViewerReader, "SearchSectorName", {"A", ""}},
        {kViewerReader, "getdefaultmaxrows", {3, Variant(), Variant(), lOwner}, 3},
        {kViewerReader, "Login", {lOwner, "Name " + std::to_string(lOwner)}},
        {kViewerReader, "RunScreen", {lOwner, 0, Variant(), vToday, 10}, 0},
        {kViewerWriter,
         "SaveLayout",
         {lOwner, -1, "Mine", "", 2, 6, 0, -1, 0, vColumns, 0, -1},
         0,
         kWrite},
        {kViewerWriter, "DeleteLayout", {lOwner, 3, 0, Variant()}, 0, kWrite},
        {kViewerWriter, "RestoreDefaultLayout", {lOwner, 0, -1, true}, 0, kWrite},
        {kViewerWriter, "DeleteCustomLayout", {lOwner, 9, -1}, 0, kWrite},
        {kWatchListReader, "GetWatchLists", {lOwner, 0}, 0},
        {kWatchListWriter, "NewWatchListAndItems", {0, vItems, 0, "New", "", lOwner}, 5, kWrite},
        {kWatchListWriter,
         "NewWatchListMatchingItems",
         {0, lList, vItems, 0, "Same", "", lOwner},
         6,
         kWrite},
        {kWatchListWriter,
         "NewWatchListNonMatchingItems",
         {0, lList, vItems, 0, "Other", "", lOwner},
         6,
         kWrite},
        {kWatchListWriter, "AddWatchListItems", {lList, vItems, 0, lOwner}, 3, kWrite},
        {kWatchListWriter, "NewWatchListFolder", {0, 0, "Folder", lOwner}, 3, kWrite},
        {kPortfolioReader,
         "GetCurrentHoldings",
         {lPortfolio, lOwner, Variant(), true, vNothing, Variant(), true, vNothing},
         1},
        {kPortfolioReader, "GetPortfolios", {lOwner}, 0},
    };
}

Variant ComponentTest::Call(std::string_view p_sProgId, std::string_view p_sMethod,
                            std::vector<Variant>& p_aArgs) {
    const std::shared_ptr<DispatchObject> oComponent = CreateObject(p_sProgId);
    return CallMethod(*oComponent, p_sMethod, p_aArgs);
}

Variant ComponentTest::Call(std::string_view p_sProgId, std::string_view p_sMethod,
                            std::vector<Variant>&& p_aArgs) {
    return Call(p_sProgId, p_sMethod, p_aArgs);
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

int32_t ComponentTest::LastDay() {
    return static_cast<int32_t>(Database().QueryInt64("SELECT max(trade_date) FROM trading_days"));
}

int32_t ComponentTest::DayBefore(int32_t p_lDay) {
    SqliteStatement oQuery =
        Database().Prepare("SELECT max(trade_date) FROM trading_days WHERE trade_date < ?1");
    oQuery.BindInt64(1, p_lDay);
    return oQuery.Step() ? static_cast<int32_t>(oQuery.ColumnInt64(0)) : 0;
}

int64_t ComponentTest::Count(const std::string& p_sSql, int64_t p_llBinding) const {
    SqliteStatement oQuery = Database().Prepare(p_sSql);
    oQuery.BindInt64(1, p_llBinding);
    return oQuery.Step() ? oQuery.ColumnInt64(0) : -1;
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
