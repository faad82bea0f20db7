// The portfolios a person keeps through "QorvantOnlineFacade.PortfolioFTr": each call's success
// and refusals in one table run in order (a later case sees what an earlier one wrote), a holding
// valued across a split on a market small enough to compute by hand, and trade files imported
// row by row.
#include "facade/portfolio_writer_component.h"

#include <gtest/gtest.h>

#include <cmath>

#include "facade/component_test_support.h"
#include "facade/facade_backend.h"
#include "facade/facade_test_files.h"
#include "facade/market_lists.h"
#include "facade/market_rebuild.h"
#include "facade/market_store.h"
#include "facade/pages_component.h"
#include "facade/portfolio_store.h"
#include "facade/sqlite_database.h"
#include "outside/dispatch.h"
#include "outside/vb_date.h"

namespace qv::facade {
namespace {

using namespace testing;
using prog_id::kPortfolioWriter;

const Variant kNone = Variant();

// A "SaveTrade" call; fields left alone make a valid new long trade of 100 shares at 10.
struct SaveTradeCall {
    int32_t m_lOwnerId = 0;
    int32_t m_lPortfolioId = 0;
    int32_t m_lTradeId = 0;
    std::string m_sSymbol;
    int32_t m_lBuyDate = 0;
    Variant m_vCommission = 5.0;
    Variant m_vPrice = 10.0;
    Variant m_vShares = 100.0;
    Variant m_vInitialReq = 50.0;
    Variant m_vSellDate{};
    Variant m_vSellPrice{};
    int32_t m_lVersion = 0;

    std::vector<Variant> Args() const {
        return {m_lOwnerId,    m_lPortfolioId, m_lTradeId,   m_sSymbol, Variant::Date(m_lBuyDate),
                m_vCommission, m_vPrice,       m_vShares,    false,     m_vInitialReq,
                30.0,          m_vSellDate,    m_vSellPrice, m_lVersion};
    }
};

class PortfolioWriter : public ComponentTest {
  protected:
    // The refusal of a call, "" when it succeeds.
    std::string Refusal(const std::string& p_sMethod, std::vector<Variant>& p_aArgs) {
        try {
            Call(kPortfolioWriter, p_sMethod, p_aArgs);
        } catch (const AutomationError& oError) {
            return oError.Description();
        }
        return "";
    }

    int32_t NewPortfolio(int32_t p_lOwnerId, const std::string& p_sName) {
        return Call(kPortfolioWriter, "NewPortfolio", {p_lOwnerId, p_sName}).ToLong();
    }

    // Saves the trade; its id and version come back in the call.
    SaveTradeCall Saved(SaveTradeCall p_oCall) {
        std::vector<Variant> aArgs = p_oCall.Args();
        Call(kPortfolioWriter, "SaveTrade", aArgs);
        p_oCall.m_lTradeId = aArgs[2].ToLong();
        p_oCall.m_lVersion = aArgs[13].ToLong();
        return p_oCall;
    }

    static int32_t FirstBarOf(int64_t p_llStockId) {
        return static_cast<int32_t>(
            Count("SELECT min(day_key) & 4194303 FROM stock_bars WHERE day_key BETWEEN "
                  "?1 * 4194304 AND ?1 * 4194304 + 4194303",
                  p_llStockId));
    }

    // A weekday or weekend day between two trading days on which the market did not trade.
    static int32_t ClosedDay() {
        return static_cast<int32_t>(
            Count("SELECT min(trade_date) + 1 FROM trading_days t WHERE trade_date < ?1 AND NOT "
                  "EXISTS (SELECT 1 FROM trading_days u WHERE u.trade_date = t.trade_date + 1)",
                  LastDay()));
    }
};

struct WriterCase {
    const char* m_sWhat;
    std::string m_sMethod;
    std::vector<Variant> m_aArgs;
    std::string m_sRefusal;  // "" for a call that succeeds
};

TEST_F(PortfolioWriter, EveryCallSucceedsOrRefusesNamingTheArgumentAndTheReason) {
    const std::string sSymbol = Symbols(1)[0];
    const int32_t lOther = NewOwner();
    const int32_t lOthers = NewPortfolio(lOther, "Theirs");
    const SaveTradeCall oTheirTrade = Saved({.m_lOwnerId = lOther,
                                             .m_lPortfolioId = lOthers,
                                             .m_sSymbol = sSymbol,
                                             .m_lBuyDate = LastDay()});
    const int32_t lOwner = NewOwner();
    const int32_t lMine = NewPortfolio(lOwner, "Mine");
    const int32_t lSpare = NewPortfolio(lOwner, "Spare");
    const int32_t lLast = LastDay();
    const int32_t lFirst = FirstBarOf(Count("SELECT min(stock_id) FROM stocks"));
    const SaveTradeCall oNew{.m_lOwnerId = lOwner,
                             .m_lPortfolioId = lMine,
                             .m_sSymbol = sSymbol,
                             .m_lBuyDate = DayBefore(lLast)};
    const SaveTradeCall oMine = Saved(oNew);
    const auto Save = [](SaveTradeCall p_oCall) { return p_oCall.Args(); };
    const auto With = [&](auto p_fChange) {
        SaveTradeCall oCall = oNew;
        p_fChange(oCall);
        return oCall.Args();
    };
    const std::string sTheirs = std::to_string(lOthers);
    const std::string sTheirTrade = std::to_string(oTheirTrade.m_lTradeId);
    const std::string sMyTrade = std::to_string(oMine.m_lTradeId);
    const std::string sLast = IsoDateText(lLast);
    const std::vector<WriterCase> aCases = {
        {"a new portfolio", "NewPortfolio", {lOwner, "  Growth  "}, ""},
        {"no name",
         "NewPortfolio",
         {lOwner, " "},
         "NewPortfolio: argument 2 (Name): a portfolio needs a name"},
        {"a name too long",
         "NewPortfolio",
         {lOwner, std::string(61, 'x')},
         "NewPortfolio: argument 2 (Name): a portfolio's name may hold at most 60 characters; "
         "this one has 61"},
        {"a name taken in other letters",
         "NewPortfolio",
         {lOwner, "GROWTH"},
         "NewPortfolio: argument 2 (Name): there is already a portfolio named \"GROWTH\""},
        {"another owner's name is free", "NewPortfolio", {lOwner, "theirs"}, ""},
        {"a rename", "RenamePortfolio", {lOwner, lSpare, "Spare 2"}, ""},
        {"a rename to its own name in other letters",
         "RenamePortfolio",
         {lOwner, lSpare, "SPARE 2"},
         ""},
        {"a rename to a name taken",
         "RenamePortfolio",
         {lOwner, lSpare, "mine"},
         "RenamePortfolio: argument 3 (Name): there is already a portfolio named \"mine\""},
        {"a rename of another owner's",
         "RenamePortfolio",
         {lOwner, lOthers, "Mine now"},
         "RenamePortfolio: argument 2 (PortfolioId): portfolio " + sTheirs + " not found"},
        {"the trades", "GetTrades", {lOwner, lMine}, ""},
        {"a trade in an unknown symbol", "SaveTrade",
         With([](SaveTradeCall& c) { c.m_sSymbol = "ZZZZ9"; }),
         "SaveTrade: argument 4 (Symbol): there is no stock 'ZZZZ9'"},
        {"a buy before the stock's first bar", "SaveTrade",
         With([&](SaveTradeCall& c) { c.m_lBuyDate = lFirst - 7; }),
         "SaveTrade: argument 5 (BuyDate): " + IsoDateText(lFirst - 7) + " is before " + sSymbol +
             "'s first trading day, " + IsoDateText(lFirst)},
        {"a buy after the latest trading day", "SaveTrade",
         With([&](SaveTradeCall& c) { c.m_lBuyDate = lLast + 1; }),
         "SaveTrade: argument 5 (BuyDate): " + IsoDateText(lLast + 1) +
             " is after the latest trading day, " + sLast},
        {"a buy on a closed day", "SaveTrade",
         With([&](SaveTradeCall& c) { c.m_lBuyDate = ClosedDay(); }),
         "SaveTrade: argument 5 (BuyDate): " + IsoDateText(ClosedDay()) + " is not a trading day"},
        {"no shares", "SaveTrade", With([](SaveTradeCall& c) { c.m_vShares = 0.0; }),
         "SaveTrade: argument 8 (Shares): must be more than 0"},
        {"a negative price", "SaveTrade", With([](SaveTradeCall& c) { c.m_vPrice = -1.0; }),
         "SaveTrade: argument 7 (InitialPrice): must be more than 0"},
        {"a negative commission", "SaveTrade",
         With([](SaveTradeCall& c) { c.m_vCommission = -0.01; }),
         "SaveTrade: argument 6 (Commission): cannot be negative"},
        {"a margin over 100 %", "SaveTrade",
         With([](SaveTradeCall& c) { c.m_vInitialReq = 100.5; }),
         "SaveTrade: argument 10 (InitialReq): must be a percent from 0 to 100"},
        {"a sale before the buy", "SaveTrade", With([&](SaveTradeCall& c) {
             c.m_vSellDate = Variant::Date(DayBefore(c.m_lBuyDate));
             c.m_vSellPrice = 12.0;
         }),
         "SaveTrade: argument 12 (SellDate): " + IsoDateText(DayBefore(oNew.m_lBuyDate)) +
             " is before the buy date, " + IsoDateText(oNew.m_lBuyDate)},
        {"a sale after the latest trading day", "SaveTrade", With([&](SaveTradeCall& c) {
             c.m_vSellDate = Variant::Date(lLast + 3);
             c.m_vSellPrice = 12.0;
         }),
         "SaveTrade: argument 12 (SellDate): " + IsoDateText(lLast + 3) +
             " is after the latest trading day, " + sLast},
        {"a sell price without a day", "SaveTrade",
         With([](SaveTradeCall& c) { c.m_vSellPrice = 12.0; }),
         "SaveTrade: argument 12 (SellDate): a trade with a sell price needs a sell date"},
        {"a sell day without a price", "SaveTrade",
         With([&](SaveTradeCall& c) { c.m_vSellDate = Variant::Date(lLast); }),
         "SaveTrade: argument 13 (SellPrice): a trade with a sell date needs a sell price"},
        {"a sale at no price", "SaveTrade", With([&](SaveTradeCall& c) {
             c.m_vSellDate = Variant::Date(lLast);
             c.m_vSellPrice = 0.0;
         }),
         "SaveTrade: argument 13 (SellPrice): must be more than 0"},
        {"a trade into another owner's portfolio", "SaveTrade",
         With([&](SaveTradeCall& c) { c.m_lPortfolioId = lOthers; }),
         "SaveTrade: argument 2 (PortfolioId): portfolio " + sTheirs + " not found"},
        {"another owner's trade", "SaveTrade", With([&](SaveTradeCall& c) {
             c.m_lTradeId = oTheirTrade.m_lTradeId;
             c.m_lVersion = 1;
         }),
         "SaveTrade: argument 3 (TradeId): trade " + sTheirTrade + " not found"},
        {"the first window closes the trade", "SaveTrade",
         Save({.m_lOwnerId = lOwner,
               .m_lPortfolioId = lMine,
               .m_lTradeId = oMine.m_lTradeId,
               .m_sSymbol = sSymbol,
               .m_lBuyDate = oMine.m_lBuyDate,
               .m_vSellDate = Variant::Date(lLast),
               .m_vSellPrice = 11.0,
               .m_lVersion = 1}),
         ""},
        {"the second window saves what it read before", "SaveTrade",
         Save({.m_lOwnerId = lOwner,
               .m_lPortfolioId = lMine,
               .m_lTradeId = oMine.m_lTradeId,
               .m_sSymbol = sSymbol,
               .m_lBuyDate = oMine.m_lBuyDate,
               .m_vShares = 50.0,
               .m_lVersion = 1}),
         "SaveTrade: argument 14 (Version): trade " + sMyTrade +
             " was changed elsewhere since it was read; read it again"},
        {"a delete at the version before",
         "DeleteTrade",
         {lOwner, oMine.m_lTradeId, 1},
         "DeleteTrade: argument 3 (Version): trade " + sMyTrade +
             " was changed elsewhere since it was read; read it again"},
        {"a delete of another owner's trade",
         "DeleteTrade",
         {lOwner, oTheirTrade.m_lTradeId, 1},
         "DeleteTrade: argument 2 (TradeId): trade " + sTheirTrade + " not found"},
        {"a delete at the version read", "DeleteTrade", {lOwner, oMine.m_lTradeId, 2}, ""},
        {"a delete of another owner's portfolio",
         "DeletePortfolio",
         {lOwner, lOthers},
         "DeletePortfolio: argument 2 (PortfolioId): portfolio " + sTheirs + " not found"},
        {"a delete of a portfolio", "DeletePortfolio", {lOwner, lSpare}, ""},
        {"an import into another owner's portfolio",
         "ImportTrades",
         {lOwner, lOthers, "Symbol,BuyDate,Shares,Price\n", true},
         "ImportTrades: argument 2 (PortfolioId): portfolio " + sTheirs + " not found"},
        {"an import without a Price column",
         "ImportTrades",
         {lOwner, lMine, "Symbol,BuyDate,Shares\n", false},
         "ImportTrades: argument 3 (Csv): the header has no Price column; a trade file names at "
         "least Symbol, BuyDate, Shares and Price"},
    };
    for (const WriterCase& oCase : aCases) {
        std::vector<Variant> aArgs = oCase.m_aArgs;
        EXPECT_EQ(Refusal(oCase.m_sMethod, aArgs), oCase.m_sRefusal) << oCase.m_sWhat;
    }
    // Another owner's trades read as none.
    EXPECT_EQ(RecordsetOf(Call(kPortfolioWriter, "GetTrades", {lOwner, lOthers}))->RecordCount(),
              0);
    EXPECT_EQ(Call(kPortfolioWriter, "ExportTrades", {lOwner, lOthers}).ToString(),
              "Symbol,BuyDate,Shares,Price,Commission,Short,InitialReq,MaintenancePercent,SellDate,"
              "SellPrice\r\n");
    // What the successes left: the names as trimmed, the other owner's things untouched.
    EXPECT_EQ(
        Strings("SELECT name FROM portfolios WHERE owner_id = ?1 ORDER BY portfolio_id", lOwner),
        (std::vector<std::string>{"Mine", "Growth", "theirs"}));
    EXPECT_EQ(Count("SELECT count(*) FROM trades WHERE portfolio_id = ?1", lMine), 0);
    EXPECT_EQ(Count("SELECT version FROM trades WHERE trade_id = ?1", oTheirTrade.m_lTradeId), 1);
    EXPECT_EQ(Strings("SELECT name FROM portfolios WHERE portfolio_id = ?1", lOthers),
              (std::vector<std::string>{"Theirs"}));
}

struct ImportRow {
    std::string m_sSymbol;
    std::string m_sStatus;
    std::string m_sReason;
    bool operator==(const ImportRow&) const = default;
};

std::ostream& operator<<(std::ostream& p_oOut, const ImportRow& p_oRow) {
    return p_oOut << p_oRow.m_sSymbol << " | " << p_oRow.m_sStatus << " | " << p_oRow.m_sReason;
}

TEST_F(PortfolioWriter, AnImportSaysWhatBecomesOfEachRowAndWritesAllOrNothing) {
    const int32_t lOwner = NewOwner();
    const int32_t lPortfolio = NewPortfolio(lOwner, "Imported");
    const std::string sA = Symbols(1)[0], sB = Symbols(1, 1)[0];
    const int32_t lDay = DayBefore(LastDay());
    const int32_t lFirst = FirstBarOf(Count("SELECT min(stock_id) FROM stocks"));
    const std::string sDay = IsoDateText(lDay);
    const DateParts oParts = CivilFromDaySerial(lDay);
    const std::string sUsDay = std::to_string(oParts.Month) + "/" + std::to_string(oParts.Day) +
                               "/" + std::to_string(oParts.Year);
    const SaveTradeCall oHeld = Saved({.m_lOwnerId = lOwner,
                                       .m_lPortfolioId = lPortfolio,
                                       .m_sSymbol = sA,
                                       .m_lBuyDate = lDay,
                                       .m_vPrice = 9.0,
                                       .m_vShares = 7.0});
    const std::string sGood = sA + "," + sDay + ",100,10.5,1,false,,\n" + sB + "," + sUsDay +
                              ",50,20,0,yes,,\n" + sA + "," + sDay + ",100,10.5,1,false,,\n" + sA +
                              "," + sDay + ",7,9,5,no,,\n";
    const std::string sBad = "ZZZZ9," + sDay + ",1,1,,,,\n" + sA + ",1990-01-02,1,1,,,,\n" + sA +
                             "," + sDay + ",0,10,,,,\n" + sA + "," + sDay + ",1,-2,,,,\n" + sA +
                             "," + sDay + ",1,10,,," + IsoDateText(DayBefore(lDay)) + ",11\n" + sA +
                             "," + sDay + ",1,\"1,234.50\",,,,\n" + "Soci\xE9t\xE9," + sDay +
                             ",1,1,,,,\n" + sA + "," + sDay + ",1,10,,maybe,,\n" + sA + "," + sDay +
                             ",1\n";
    const std::string sHeader =
        "\xEF\xBB\xBFSymbol,BuyDate,Shares,Price,Commission,Short,SellDate,"
        "SellPrice\r\n";
    const std::string sBefore = IsoDateText(DayBefore(lDay));
    const std::vector<ImportRow> aExpected = {
        {sA, "ok", ""},
        {sB, "ok", ""},
        {sA, "duplicate", "the same as row 1"},
        {sA, "duplicate",
         "the same as trade " + std::to_string(oHeld.m_lTradeId) + " of the portfolio"},
        {"ZZZZ9", "error", "Symbol: there is no stock 'ZZZZ9'"},
        {sA, "error",
         "BuyDate: 1990-01-02 is before " + sA + "'s first trading day, " + IsoDateText(lFirst)},
        {sA, "error", "Shares: must be more than 0"},
        {sA, "error", "Price: must be more than 0"},
        {sA, "error", "SellDate: " + sBefore + " is before the buy date, " + sDay},
        {sA, "error", "Price: '1,234.50' has a thousands separator; write numbers without them"},
        {"", "error", "not UTF-8: save the file as UTF-8"},
        {sA, "error", "Short: 'maybe' is not true/false, yes/no or 1/0"},
        {sA, "error", "has 3 fields where the header has 8"},
    };
    const auto Import = [&](const std::string& p_sCsv, bool p_bCommit) {
        std::shared_ptr<Recordset> rRows = RecordsetOf(
            Call(kPortfolioWriter, "ImportTrades", {lOwner, lPortfolio, p_sCsv, p_bCommit}));
        std::vector<ImportRow> aRows;
        for (rRows->MoveFirst(); !rRows->IsEOF(); rRows->MoveNext()) {
            EXPECT_EQ(rRows->Value("Row").ToLong(), static_cast<int32_t>(aRows.size() + 1));
            aRows.push_back({rRows->Value("Symbol").ToString(), rRows->Value("Status").ToString(),
                             rRows->Value("Reason").ToString()});
        }
        return aRows;
    };
    const auto Trades = [&] {
        return Count("SELECT count(*) FROM trades WHERE portfolio_id = ?1", lPortfolio);
    };
    EXPECT_EQ(Import(sHeader + sGood + sBad, false), aExpected) << "a preview";
    EXPECT_EQ(Trades(), 1) << "a preview writes nothing";
    EXPECT_EQ(Import(sHeader + sGood + sBad, true), aExpected);
    EXPECT_EQ(Trades(), 1) << "rows in error keep the whole file out";
    const std::vector<ImportRow> aGood(aExpected.begin(), aExpected.begin() + 4);
    EXPECT_EQ(Import(sHeader + sGood, true), aGood);
    EXPECT_EQ(Trades(), 3) << "the rows that are ok, once each";
    std::shared_ptr<Recordset> rTrades =
        RecordsetOf(Call(kPortfolioWriter, "GetTrades", {lOwner, lPortfolio}));
    EXPECT_EQ(Texts(*rTrades, "Symbol"), (std::vector<std::string>{sA, sA, sB}));
    EXPECT_EQ(Column(*rTrades, "SellDate"), std::vector<Variant>(3, Variant::Null()));
    EXPECT_EQ(Column(*rTrades, "Version"), std::vector<Variant>(3, Variant(1)));
    // An export reads back as the trades already there.
    const std::string sExport =
        Call(kPortfolioWriter, "ExportTrades", {lOwner, lPortfolio}).ToString();
    const std::vector<ImportRow> aAgain = Import(sExport, true);
    ASSERT_EQ(aAgain.size(), 3u);
    for (const ImportRow& oRow : aAgain) {
        EXPECT_EQ(oRow.m_sStatus, "duplicate") << oRow;
    }
    EXPECT_EQ(Trades(), 3);
}

// Four days of two stocks. AAA splits 2:1 on the third day: as traded it closes 20, 22, then 12
// and 9, its adjusted closes 10, 11, 12, 9. BBB closes 20, 21, 22, 24.
class HoldingsOnHandMarket : public ::testing::Test {
  protected:
    void SetUp() override {
        m_oStore = std::make_shared<MarketStore>(m_oFolder.File("hand.db"),
                                                 MarketStore::Access::ReadWrite);
        SqlDatabase& oDatabase = m_oStore->Database();
        oDatabase.Execute(
            "INSERT INTO sectors VALUES (1, 'Tech'); INSERT INTO industries VALUES (10, 'Chips', "
            "1); INSERT INTO stocks VALUES (1, 'AAA', 'Alpha', 10), (2, 'BBB', 'Beta', 10)");
        SqlTransaction oWork(oDatabase);
        RewriteDailyData(oDatabase,
                         {HandSeries(1, m_aDays, {{20, 10}, {22, 11}, {12, 12}, {9, 9}}),
                          HandSeries(2, m_aDays, {{20, 20}, {21, 21}, {22, 22}, {24, 24}})},
                         {});
        oWork.Commit();
        PortfolioStore oPortfolios(oDatabase);
        m_lPortfolio = oPortfolios.CreatePortfolio(kOwner, "Hand");
        // 10 AAA bought at 20 with 1 commission before the split, 5 BBB sold short at 21 and
        // bought back on the third day, 4 AAA bought at 12 after the split.
        oPortfolios.AddTrade(m_lPortfolio, {.m_llStockId = 1,
                                            .m_lBuyDate = m_aDays[0],
                                            .m_dShares = 10,
                                            .m_dInitialPrice = 20,
                                            .m_dCommission = 1});
        oPortfolios.AddTrade(m_lPortfolio, {.m_llStockId = 2,
                                            .m_lBuyDate = m_aDays[1],
                                            .m_dShares = 5,
                                            .m_dInitialPrice = 21,
                                            .m_bShort = true,
                                            .m_lSellDate = m_aDays[2],
                                            .m_dSellPrice = 22});
        oPortfolios.AddTrade(
            m_lPortfolio,
            {.m_llStockId = 1, .m_lBuyDate = m_aDays[2], .m_dShares = 4, .m_dInitialPrice = 12});
    }

    // The holdings of the day, one row of p_aFields' values each, by trade.
    std::vector<std::vector<double>> Holdings(int32_t p_lDay,
                                              const std::vector<std::string>& p_aFields) {
        const ResultTable oRows = MarketLists(m_oStore->Database())
                                      .Holdings(kOwner, m_lPortfolio, p_lDay, p_aFields, "")
                                      .m_oRows;
        std::vector<std::vector<double>> aRows(oRows.RowCount());
        for (size_t lRow = 0; lRow < oRows.RowCount(); ++lRow) {
            for (const std::string& sField : p_aFields) {
                const FieldValue vValue = oRows.Value(lRow, sField);
                const auto* pInteger = std::get_if<int64_t>(&vValue);
                aRows[lRow].push_back(pInteger != nullptr ? static_cast<double>(*pInteger)
                                                          : std::get<double>(vValue));
            }
        }
        return aRows;
    }

    // "InvestmentDetails" of the symbol on the day, as the owner; the trades and the lines.
    std::pair<std::shared_ptr<Recordset>, std::shared_ptr<Recordset>> Investment(
        const char* p_sSymbol, int32_t p_lDay) {
        auto oBackend = std::make_shared<FacadeBackend>(m_oStore);
        oBackend->Login(kOwner, "");
        PagesComponent oPages(oBackend);
        std::vector<Variant> aArgs{kOwner, m_lPortfolio, p_sSymbol, Variant::Date(p_lDay),
                                   Variant::Nothing()};
        std::shared_ptr<Recordset> rTrades =
            RecordsetOf(CallMethod(oPages, "InvestmentDetails", aArgs));
        return {rTrades, RecordsetOf(aArgs[4])};
    }

    static constexpr int32_t kOwner = 7;
    // Monday 2 to Thursday 5 March 2026.
    const int32_t m_aDays[4] = {DaySerialFromCivil(2026, 3, 2), DaySerialFromCivil(2026, 3, 3),
                                DaySerialFromCivil(2026, 3, 4), DaySerialFromCivil(2026, 3, 5)};
    ScratchFolder m_oFolder;
    std::shared_ptr<MarketStore> m_oStore;
    int32_t m_lPortfolio = 0;
};

void ExpectRows(const std::vector<std::vector<double>>& p_aRows,
                const std::vector<std::vector<double>>& p_aExpected, const char* p_sDay) {
    ASSERT_EQ(p_aRows.size(), p_aExpected.size()) << p_sDay;
    for (size_t i = 0; i < p_aRows.size(); ++i) {
        ASSERT_EQ(p_aRows[i].size(), p_aExpected[i].size());
        for (size_t j = 0; j < p_aRows[i].size(); ++j) {
            EXPECT_NEAR(p_aRows[i][j], p_aExpected[i][j], 1e-9)
                << p_sDay << " row " << i << " field " << j;
        }
    }
}

// By hand. The second day: AAA 10 x 22 = 220 against 200 + 1, BBB short 5 x 21 = 105 at no
// gain; weights 220 / 325 and 105 / 325. The third day: AAA is 20 shares bought at 10 worth
// 20 x 12 = 240, the BBB short is closed that day, the new AAA 4 x 12 = 48. The fourth day:
// 20 x 9 = 180 against 201, a gain of -21 (-10.4478 % of 201); 4 x 9 = 36, a gain of -12.
TEST_F(HoldingsOnHandMarket, ASplitAfterTheBuyCountsTheSharesAndPriceOnTheDaysBasis) {
    const std::vector<std::string> aFields = {"Trade_ID",     "Shares",    "InitialPrice",
                                              "CurrentPrice", "CostBasis", "MarketValue",
                                              "Gain",         "ROI",       "Weight"};
    ExpectRows(Holdings(m_aDays[1], aFields),
               {{1, 10, 20, 22, 201, 220, 19, 19 * 100.0 / 201, 220 * 100.0 / 325},
                {2, 5, 21, 21, 105, 105, 0, 0, 105 * 100.0 / 325}},
               "second day");
    ExpectRows(Holdings(m_aDays[2], aFields),
               {{1, 20, 10, 12, 201, 240, 39, 39 * 100.0 / 201, 240 * 100.0 / 288},
                {3, 4, 12, 12, 48, 48, 0, 0, 48 * 100.0 / 288}},
               "third day");
    ExpectRows(Holdings(m_aDays[3], aFields),
               {{1, 20, 10, 9, 201, 180, -21, -21 * 100.0 / 201, 180 * 100.0 / 216},
                {3, 4, 12, 9, 48, 36, -12, -25, 36 * 100.0 / 216}},
               "fourth day");
}

// By hand, on the fourth day. AAA: the first trade cost 201 and is worth 20 x 9 = 180, -21 not yet
// realised; the second cost 48 and is worth 36. The holding was worth 10 x 20 = 200, 220, then
// (20 + 4) x 12 = 288 and 24 x 9 = 216; the market of AAA (adjusted 10, 11, 12, 9) and BBB (20,
// 21, 22, 24) grew by 1.075, 1.15 and 1.05 from 200. BBB: sold short at 21 and bought back at
// 22, 5 lost, worth nothing once closed.
TEST_F(HoldingsOnHandMarket, AHoldingsDetailsShowEachTradesGainsAndItsValueBesideTheMarket) {
    const auto Numbers = [](Recordset& p_rRows, std::string_view p_sField) {
        std::vector<double> aValues;
        for (const Variant& vValue : Column(p_rRows, p_sField)) {
            aValues.push_back(vValue.ToDouble());
        }
        return aValues;
    };
    const auto [rTrades, rLines] = Investment("aaa", m_aDays[3]);
    ExpectRows(
        {Numbers(*rTrades, "Trade_ID"), Numbers(*rTrades, "Cost"), Numbers(*rTrades, "Value"),
         Numbers(*rTrades, "RealizedGain"), Numbers(*rTrades, "UnrealizedGain")},
        {{1, 3}, {201, 48}, {180, 36}, {0, 0}, {-21, -12}}, "AAA trades");
    ExpectRows(
        {Numbers(*rLines, "TradeDate"), Numbers(*rLines, "Value"), Numbers(*rLines, "Market")},
        {{static_cast<double>(m_aDays[0]), static_cast<double>(m_aDays[1]),
          static_cast<double>(m_aDays[2]), static_cast<double>(m_aDays[3])},
         {200, 220, 288, 216},
         {200, 215, 230, 210}},
        "AAA lines");
    const auto [rShort, rShortLines] = Investment("BBB", m_aDays[3]);
    ExpectRows({Numbers(*rShort, "Cost"), Numbers(*rShort, "Value"),
                Numbers(*rShort, "RealizedGain"), Numbers(*rShort, "UnrealizedGain")},
               {{105}, {0}, {-5}, {0}}, "BBB trade");
    EXPECT_EQ(Numbers(*rShortLines, "Value"), (std::vector<double>{105, 0, 0}));
}

}  // namespace
}  // namespace qv::facade
