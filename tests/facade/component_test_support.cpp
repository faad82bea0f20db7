#include "facade/component_test_support.h"

#include "facade/facade_components.h"
#include "facade/facade_test_files.h"
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

ComponentTest::ComponentTest() {
    RegisterFacadeComponents(m_oPlatform.Components(), SharedBackend());
}

FacadeBackend& ComponentTest::Backend() {
    return *SharedBackend();
}

SqliteDatabase& ComponentTest::Database() {
    return SharedBackend()->Database();
}

int32_t ComponentTest::NewOwner() {
    static int32_t s_lNext = 100;
    return ++s_lNext;
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

std::shared_ptr<Recordset> RecordsetOf(const Variant& p_vValue) {
    return p_vValue.IsObject() ? p_vValue.ToObjectAs<Recordset>() : nullptr;
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
