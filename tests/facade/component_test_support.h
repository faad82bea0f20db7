// What the facade component tests share: a generated market of their own (they write layouts,
// watch lists, screens and logins into it), the components of the program's target
// (facade_target.h) registered in each test's platform with the demo owner logged in, and the
// argument lists of the callers, built in the callers' orders.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/layout_store.h"
#include "facade/owner_authority.h"
#include "facade/sample_market.h"
#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "outside/variant.h"

namespace qv::facade {
class MarketStore;
class SqlDatabase;
}  // namespace qv::facade

namespace qv::facade::testing {

// The market every target generates, so that the tests meet the same stocks and days on each.
inline constexpr SampleMarketOptions kComponentMarket{
    .m_lStocks = 120, .m_lIndustries = 24, .m_lTradingDays = 260, .m_llSeed = 11};

// A "StockViewer" call as the stock strategy makes it; fields left alone keep the values of a
// first query of the whole market.
struct StockViewerCall {
    static constexpr std::string_view kMethod = "StockViewer";
    int32_t m_lOwnerId = 0;
    int32_t m_lLayoutId = 3;
    Variant m_vStartDate = Variant::Date(0);
    int32_t m_lMaxRows = -1;
    bool m_bReturnAll = false;
    Variant m_vLayoutInfo{};
    int32_t m_lIndCode = 0, m_lSectorCode = 0, m_lWatchListId = 0, m_lPortfolioId = 0;
    int16_t m_iListScope = 0;
    std::string m_sTimeCode{};

    std::vector<Variant> Args() const;
};

struct IndustryViewerCall {
    static constexpr std::string_view kMethod = "IndustryViewer";
    int32_t m_lOwnerId = 0;
    Variant m_vLayoutInfo{};
    int32_t m_lSectorCode = 0, m_lWatchListId = 0, m_lListScope = 0;

    std::vector<Variant> Args() const;
};

struct SectorViewerCall {
    static constexpr std::string_view kMethod = "SectorViewer";
    int32_t m_lOwnerId = 0;
    Variant m_vStartDate = Variant::Date(0);

    std::vector<Variant> Args() const;
};

// The searches and histories of the viewer, with the arguments the tests vary.
std::vector<Variant> SearchStocksArgs(int32_t p_lOwnerId, const Variant& p_vText,
                                      int16_t p_iOption = 0, double p_dDate = 0);
std::vector<Variant> SearchIndustriesArgs(int32_t p_lOwnerId, const Variant& p_vText,
                                          double p_dDate = 0);
std::vector<Variant> HistoryArgs(double p_dStart, double p_dEnd, const Variant& p_vKey,
                                 int32_t p_lOwnerId = 0, int32_t p_lMaxRows = -1);
std::vector<Variant> SaveLayoutArgs(int32_t p_lOwnerId, const Variant& p_vColumns,
                                    const Variant& p_vDataType = 0);
Variant Items(const std::vector<std::string>& p_aKeys);

// A layout a call returned or wrote back; none for Empty and for a description without columns,
// which only names a layout.
std::optional<LayoutRecord> LayoutOf(const Variant& p_vDescription);
// The id in the header of a description.
int32_t LayoutIdOf(const Variant& p_vDescription);

// The recordset a call handed back in the argument.
std::shared_ptr<Recordset> RowsAt(const std::vector<Variant>& p_aArgs,
                                  facade_protocol::Argument p_oArgument);

// One call of a facade method, in the callers' order. For a call on owned data, the place of its
// owner argument and whether it reads or writes.
struct CallCase {
    std::string_view m_sProgId;
    std::string m_sMethod;
    std::vector<Variant> m_aArgs;
    std::optional<size_t> m_lOwnerPlace = std::nullopt;
    OwnerAccess m_eAccess = OwnerAccess::Read;
};

class ComponentTest : public ::testing::Test {
  protected:
    // Skips the test when the target cannot serve; else registers its components and logs the
    // demo owner in.
    void SetUp() override;

    // The embedded target's backend, for the tests of its own session handling.
    static FacadeBackend& Backend();
    static SqlDatabase& Database();
    // Logs the owner in (a remote target makes it an account first): the calls that follow act
    // for it.
    static void LogIn(int32_t p_lOwnerId, const std::string& p_sName = "");
    // A new owner for each call, so that tests that write do not meet each other. The owner is
    // logged in.
    static int32_t NewOwner();

    // One valid call of every method the components answer, acting for p_lOwnerId (who must
    // be logged in: a watch list, a screen and portfolios of its own are created for the calls
    // that compare or add to one, or delete one).
    std::vector<CallCase> EveryCall(int32_t p_lOwnerId);

    Variant Call(std::string_view p_sProgId, std::string_view p_sMethod,
                 std::vector<Variant>& p_aArgs);
    // For calls whose by-reference results the test does not read.
    Variant Call(std::string_view p_sProgId, std::string_view p_sMethod,
                 std::vector<Variant>&& p_aArgs) {
        return Call(p_sProgId, p_sMethod, p_aArgs);
    }

    // A list call of the viewer reader; the arguments as the call left them.
    template <class ListCall>
    std::vector<Variant> Run(const ListCall& p_oCall) {
        std::vector<Variant> aArgs = p_oCall.Args();
        Call(prog_id::kViewerReader, ListCall::kMethod, aArgs);
        return aArgs;
    }

    // The automation error a call raises; fails the test when it raises none.
    AutomationError CallError(std::string_view p_sProgId, std::string_view p_sMethod,
                              std::vector<Variant> p_aArgs);

    // The column table of the system stock list layout.
    Variant StockColumns();
    // A stock watch list (or, of type 1, an industry list) of the owner with the given items.
    int32_t NewList(int32_t p_lOwnerId, const std::vector<std::string>& p_aKeys,
                    int32_t p_lType = 0);
    // A screen of the owner, under a name of its own.
    int32_t NewScreen(int32_t p_lOwnerId, int32_t p_lResultType = 0,
                      const std::string& p_sCriteria = "Price > 10");

    // Whether a time a call wrote back is the time of this test's saves.
    bool IsSaveTime(const Variant& p_vWhen);

    // The last trading day of the market, and the one before it.
    static int32_t LastDay();
    static int32_t DayBefore(int32_t p_lDay);
    static int64_t Count(const std::string& p_sSql, int64_t p_llBinding = 0);
    // The first column of every row of a query, as text.
    static std::vector<std::string> Strings(const std::string& p_sSql, int64_t p_llBinding = 0);
    // Symbols in stock id order.
    static std::vector<std::string> Symbols(int p_lCount, int p_lSkip = 0);

    ScopedTestPlatform m_oPlatform;
};

std::vector<std::string> FieldNames(const Recordset& p_rRows);
// The values of one field over every row, from the first.
std::vector<Variant> Column(Recordset& p_rRows, std::string_view p_sField);
std::vector<std::string> Texts(Recordset& p_rRows, std::string_view p_sField);

}  // namespace qv::facade::testing
