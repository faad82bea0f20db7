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

TEST(FieldCatalogue, HoldsThePortfolioFieldsOfTheTradeReadOuts) {
    for (const char* sName : {"Trade_ID", "Symbol", "BuyDate", "Commission", "InitialPrice",
                              "Shares", "Short", "InitialReq", "MaintenancePercent", "NumShares"}) {
        const FieldDefinition* oField = FindFieldByName(sName);
        ASSERT_NE(oField, nullptr) << sName;
        EXPECT_TRUE(HasBit(oField->m_lTableMask, 3)) << sName;
    }
}

// Stored layouts, exports and column widths refer to fields by these ids, some by name too.
TEST(FieldCatalogue, KnowsTheIdsAndNamesStoredLayoutsAndExportsUse) {
    const std::pair<int32_t, int32_t> aRanges[] = {
        {1, 26},    {28, 37},   {40, 41},   {221, 221},   {225, 225},   {228, 228},
        {236, 236}, {251, 251}, {318, 318}, {1347, 1347}, {1387, 1393}, {1395, 1410}};
    for (const auto& [lFirst, lLast] : aRanges) {
        for (int32_t lId = lFirst; lId <= lLast; ++lId) {
            EXPECT_NE(FindField(lId), nullptr) << lId;
        }
    }
    const std::vector<std::pair<int32_t, std::string>> aKnown = {
        {4, "CompanyName"}, {5, "Symbol"},     {35, "IndName"},    {36, "SectorName"},
        {37, "RTRanking"},  {38, "IndCode"},   {39, "SectorCode"}, {41, "Trading_Date"},
        {1418, "Stock_ID"}, {237, "Trade_ID"}, {1483, "Short"},    {1393, "NumShares"}};
    for (const auto& [lId, sName] : aKnown) {
        const FieldDefinition* oField = FindField(lId);
        ASSERT_NE(oField, nullptr) << lId;
        EXPECT_EQ(oField->m_sColumnName, sName);
    }
}

TEST(FieldCatalogue, CarriesEveryCaptionTheGridColours) {
    std::set<std::string> aCaptions;
    for (const FieldDefinition& oField : FieldDefinitions()) {
        aCaptions.insert(ToUpperAscii(oField.m_sCaption));
    }
    for (const char* sCaption :
         {"REC", "%PRC", "$ CHANGE", "GAIN / SHARE", "GAIN", "ROI", "REALIZED GAIN", "GRT", "EPS",
          "EY", "P/E", "GPE", "%VOL", "SALES($M)", "SPS", "SALES ($M)"}) {
        EXPECT_TRUE(aCaptions.contains(sCaption)) << sCaption;
    }
    EXPECT_EQ(FindFieldByName("rec"), FindField(24));
}

TEST(FieldCatalogue, UsesTheDataTypesGroupsAndMasksTheViewerTellsApart) {
    std::set<int32_t> aTypes;
    std::set<int32_t> aGroups;
    std::set<int32_t> aIds;
    std::set<std::string> aNames;
    for (const FieldDefinition& oField : FieldDefinitions()) {
        aTypes.insert(oField.m_lDataTypeId);
        aGroups.insert(oField.m_lGroup);
        EXPECT_TRUE(aIds.insert(oField.m_lParameterId).second) << oField.m_lParameterId;
        EXPECT_TRUE(aNames.insert(ToUpperAscii(oField.m_sColumnName)).second)
            << oField.m_sColumnName;
        EXPECT_EQ(oField.m_lTableMask & ~(1 | 2 | 4 | 8 | 32), 0) << oField.m_sColumnName;
        // Every field the portfolio grid shows carries the stock bit its refetch check reads.
        if (HasBit(oField.m_lTableMask, 3)) {
            EXPECT_TRUE(HasBit(oField.m_lTableMask, 0)) << oField.m_sColumnName;
        }
        const bool bHoldingOnly = oField.m_sStockSql == nullptr && oField.m_sHoldingSql != nullptr;
        if (oField.m_lDataTypeId >= 21 && oField.m_lDataTypeId <= 23) {
            EXPECT_TRUE(bHoldingOnly) << oField.m_sColumnName;
            EXPECT_EQ(oField.m_lTableMask, 9) << oField.m_sColumnName;
        }
        // A field that applies to a kind of row has a value for it (a holding field for holdings
        // only, stock rows get an empty column).
        EXPECT_EQ(HasBit(oField.m_lTableMask, 0), oField.m_sStockSql != nullptr || bHoldingOnly)
            << oField.m_sColumnName;
        EXPECT_EQ(HasBit(oField.m_lTableMask, 1), oField.m_sIndustrySql != nullptr)
            << oField.m_sColumnName;
        EXPECT_EQ(HasBit(oField.m_lTableMask, 2), oField.m_sSectorSql != nullptr)
            << oField.m_sColumnName;
        if (HasBit(oField.m_lTableMask, 3)) {
            EXPECT_NE(oField.SqlFor(RowKind::Holding), nullptr) << oField.m_sColumnName;
        }
    }
    for (const int32_t lType : {12, 21, 22, 23, 24, 26}) {
        EXPECT_TRUE(aTypes.contains(lType)) << lType;
    }
    for (const int32_t lGroup : {-3, 5, 0}) {
        EXPECT_TRUE(aGroups.contains(lGroup)) << lGroup;
    }
    EXPECT_TRUE(std::any_of(aGroups.begin(), aGroups.end(),
                            [](int32_t p_lGroup) { return p_lGroup < 0 && p_lGroup != -3; }));
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
    SqliteDatabase& oDatabase = oStore.Database();
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
