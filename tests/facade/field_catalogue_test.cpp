#include "facade/field_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/market_queries.h"
#include "facade/market_schema.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::facade {
namespace {

bool HasBit(int32_t p_lMask, int p_lBit) {
    return (p_lMask & (1 << p_lBit)) != 0;
}

// Stored layouts, exports and column widths refer to fields by these ids, some by name too.
TEST(FieldCatalogue, KnowsTheIdsAndNamesStoredLayoutsAndExportsUse) {
    const int32_t aRanges[][2] = {{1, 26},    {28, 37},     {40, 41},     {221, 221},
                                  {225, 225}, {228, 228},   {236, 236},   {251, 251},
                                  {318, 318}, {1347, 1347}, {1387, 1393}, {1395, 1410}};
    for (const auto& aRange : aRanges) {
        for (int32_t lId = aRange[0]; lId <= aRange[1]; ++lId) {
            EXPECT_NE(FindField(lId), nullptr) << lId;
        }
    }
    const std::pair<int32_t, const char*> aNames[] = {
        {4, "CompanyName"}, {5, "Symbol"},     {35, "IndName"},    {36, "SectorName"},
        {37, "RTRanking"},  {38, "IndCode"},   {39, "SectorCode"}, {41, "Trading_Date"},
        {1418, "Stock_ID"}, {237, "Trade_ID"}, {1483, "Short"},    {1393, "NumShares"}};
    for (const auto& [lId, sName] : aNames) {
        ASSERT_NE(FindField(lId), nullptr) << lId;
        EXPECT_STREQ(FindField(lId)->m_sColumnName, sName);
    }
    EXPECT_EQ(FindFieldByName("rec"), FindField(24));
    // The captions the grid colours its cells by.
    std::set<std::string> aCaptions;
    for (const FieldDefinition& oField : FieldDefinitions()) {
        aCaptions.insert(ToUpperAscii(oField.m_sCaption));
    }
    for (const char* sCaption :
         {"REC", "%PRC", "$ CHANGE", "GAIN / SHARE", "GAIN", "ROI", "REALIZED GAIN", "GRT", "EPS",
          "EY", "P/E", "GPE", "%VOL", "SALES($M)", "SPS", "SALES ($M)"}) {
        EXPECT_TRUE(aCaptions.contains(sCaption)) << sCaption;
    }
}

// Ids and names are unique, and a field applies to a kind of row (its mask bit) exactly when it
// has a value for it; a holding field for holdings only gives stock rows an empty column.
TEST(FieldCatalogue, MasksAgreeWithTheExpressionsOfEachKindOfRow) {
    std::set<int32_t> aIds;
    std::set<std::string> aNames;
    for (const FieldDefinition& oField : FieldDefinitions()) {
        SCOPED_TRACE(oField.m_sColumnName);
        EXPECT_TRUE(aIds.insert(oField.m_lParameterId).second);
        EXPECT_TRUE(aNames.insert(ToUpperAscii(oField.m_sColumnName)).second);
        const int32_t lMask = oField.m_lTableMask;
        EXPECT_EQ(lMask & ~(1 | 2 | 4 | 8 | 32), 0);
        const bool bHoldingOnly = oField.m_sStockSql == nullptr && oField.m_sHoldingSql != nullptr;
        if (oField.m_lDataTypeId >= 21 && oField.m_lDataTypeId <= 23) {
            EXPECT_TRUE(bHoldingOnly);
            EXPECT_EQ(lMask, 9);
        }
        // Every field the portfolio grid shows carries the stock bit its refetch check reads.
        EXPECT_TRUE(!HasBit(lMask, 3) || (HasBit(lMask, 0) && oField.SqlFor(RowKind::Holding)));
        EXPECT_EQ(HasBit(lMask, 0), oField.m_sStockSql != nullptr || bHoldingOnly);
        EXPECT_EQ(HasBit(lMask, 1), oField.m_sIndustrySql != nullptr);
        EXPECT_EQ(HasBit(lMask, 2), oField.m_sSectorSql != nullptr);
    }
}

// A database made before holding fields carried the stock bit kept the old masks in its stored
// layouts, and its portfolio viewer still never refetched holdings.
TEST(FieldCatalogue, StoredHoldingColumnsWithoutTheStockBitGainItOnUpgrade) {
    testing::ScratchFolder oFolder;
    const std::string sPath = oFolder.File("market.db");
    const std::string kHoldingIds =
        "(SELECT parameter_id FROM field_catalogue WHERE data_type_id BETWEEN 21 AND 23)";
    {
        SqliteDatabase oOld(sPath, SqliteDatabase::OpenMode::Create);
        MigrateSchema(oOld, 3);
        oOld.Execute("UPDATE layout_columns SET table_mask = 8 WHERE parameter_id IN " +
                     kHoldingIds);
        oOld.Execute("UPDATE field_catalogue SET table_mask = 8 WHERE parameter_id IN " +
                     kHoldingIds);
    }
    MarketStore oStore(sPath, MarketStore::Access::ReadWrite);
    SqlDatabase& oDatabase = oStore.Database();
    EXPECT_GT(oDatabase.QueryInt64(
                  "SELECT count(*) FROM layout_columns WHERE table_mask = 9 AND parameter_id IN " +
                  kHoldingIds),
              0);
    EXPECT_EQ(oDatabase.QueryInt64("SELECT count(*) FROM layout_columns WHERE table_mask = 8"), 0);
    EXPECT_EQ(oDatabase.QueryInt64("SELECT count(*) FROM field_catalogue WHERE table_mask = 8"), 0);
}

// Every expression runs against real rows, and a field whose kind of row has data yields a value
// somewhere (the sample market has fundamentals, the demo owner has a portfolio).
TEST(FieldCatalogue, EveryExpressionRunsAndDeliversValues) {
    MarketStore& oStore = testing::SharedSampleMarket();
    MarketQueries oQueries(oStore.Database());
    ListRequest oRequest;
    for (const FieldDefinition& oField : FieldDefinitions()) {
        oRequest.m_aFields.push_back(oField.m_sColumnName);
    }
    oRequest.m_lPortfolioId = 0;
    const auto CheckFilled = [](const ResultTable& p_oTable, RowKind p_eKind, const char* p_sWhat) {
        ASSERT_FALSE(p_oTable.Empty()) << p_sWhat;
        for (size_t lColumn = 0; lColumn < p_oTable.Columns().size(); ++lColumn) {
            const FieldDefinition* oField = FindFieldByName(p_oTable.Columns()[lColumn].m_sName);
            if (oField->SqlFor(p_eKind) == nullptr) {
                continue;
            }
            bool bAny = false;
            for (size_t lRow = 0; lRow < p_oTable.RowCount() && !bAny; ++lRow) {
                bAny = !std::holds_alternative<std::monostate>(p_oTable.Value(lRow, lColumn));
            }
            EXPECT_TRUE(bAny) << p_sWhat << ": " << oField->m_sColumnName;
        }
    };
    CheckFilled(oQueries.Stocks(oRequest).m_oTable, RowKind::Stock, "stocks");
    CheckFilled(oQueries.Industries(oRequest).m_oTable, RowKind::Industry, "industries");
    CheckFilled(oQueries.Sectors(oRequest).m_oTable, RowKind::Sector, "sectors");
    oRequest.m_lPortfolioId = static_cast<int32_t>(
        oStore.Database().QueryInt64("SELECT min(portfolio_id) FROM portfolios"));
    CheckFilled(oQueries.Holdings(oRequest).m_oTable, RowKind::Holding, "holdings");
}

}  // namespace
}  // namespace qv::facade
