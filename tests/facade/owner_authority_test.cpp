// Whose data the facade serves: every call on owned data against the session it acts for, the
// calls that leave their owner out, and logins that would take another owner's name.
#include "facade/owner_authority.h"

#include <gtest/gtest.h>

#include "facade/component_test_support.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/watch_list_store.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "support/test_helpers.h"

namespace qv::facade {
namespace {

using testing::CallCase;
using testing::ComponentTest;
using testing::RowsAt;

class OwnerAuthorityTest : public ComponentTest {
  protected:
    // Another process on the same file: a backend of its own, with no login until it logs in.
    struct OtherProcess {
        OtherProcess()
            : m_oBackend(std::make_shared<FacadeBackend>(std::make_shared<MarketStore>(
                  ComponentTest::Backend().Store().Name(), MarketStore::Access::ReadWrite))) {
            RegisterFacadeComponents(m_oComponents, m_oBackend);
        }
        std::string Refusal(const CallCase& p_oCall) {
            std::vector<Variant> aArgs = p_oCall.m_aArgs;
            return FailureOf([&] {
                       CallMethod(*m_oComponents.CreateObject(p_oCall.m_sProgId), p_oCall.m_sMethod,
                                  aArgs);
                   })
                .Description;
        }
        std::shared_ptr<FacadeBackend> m_oBackend;
        ComponentFactory m_oComponents;
    };

    // The refusal of the call, or "" when it was served.
    std::string Refusal(const CallCase& p_oCall, std::vector<Variant>& p_aArgs) {
        return FailureOf([&] { Call(p_oCall.m_sProgId, p_oCall.m_sMethod, p_aArgs); }).Description;
    }
};

// The list calls that carry a time code answer a stale session with their login-conflict flag.
bool ReportsLoginConflict(const std::string& p_sMethod) {
    return p_sMethod == "StockViewer" || p_sMethod == "IndustryViewer" ||
           p_sMethod == "SectorViewer";
}

TEST_F(OwnerAuthorityTest, EveryOwnedCallServesOnlyTheSessionsOwner) {
    const int32_t lOwner = NewOwner();
    const int32_t lOther = lOwner + 1000;
    const auto NotLoggedIn = [&](int32_t p_lOwnerId) {
        return ": owner " + std::to_string(p_lOwnerId) + " is not the owner logged in (" +
               std::to_string(lOwner) + ")";
    };
    OtherProcess oNoSession;
    for (const CallCase& oCall : EveryCall(lOwner)) {
        if (!oCall.m_lOwnerPlace) {
            continue;
        }
        const std::string& sMethod = oCall.m_sMethod;
        std::vector<Variant> aArgs = oCall.m_aArgs;
        EXPECT_EQ(oNoSession.Refusal(oCall), sMethod + ": no owner is logged in");
        EXPECT_EQ(Refusal(oCall, aArgs), "") << sMethod;
        aArgs = oCall.m_aArgs;
        aArgs[*oCall.m_lOwnerPlace] = lOther;
        EXPECT_EQ(Refusal(oCall, aArgs), sMethod + NotLoggedIn(lOther));
        // The system's layouts and lists are anyone's to read, and no one's to change.
        aArgs[*oCall.m_lOwnerPlace] = kSystemOwnerId;
        const CallCase oSystemCall{oCall.m_sProgId, sMethod, aArgs};
        if (oCall.m_eAccess == OwnerAccess::Read) {
            EXPECT_EQ(Refusal(oCall, aArgs), "") << sMethod;
            EXPECT_EQ(oNoSession.Refusal(oSystemCall), "") << sMethod;
        } else {
            EXPECT_EQ(Refusal(oCall, aArgs), sMethod + NotLoggedIn(0));
        }
    }
}

TEST_F(OwnerAuthorityTest, ANewerLoginElsewhereEndsTheSession) {
    const int32_t lOwner = NewOwner();
    const std::vector<CallCase> aCalls = EveryCall(lOwner);
    const std::string sEnded = ": owner " + std::to_string(lOwner) +
                               " has logged in elsewhere since; this session is no longer current";
    OtherProcess oElsewhere;
    oElsewhere.m_oBackend->Login(lOwner, "");
    for (const CallCase& oCall : aCalls) {
        if (!oCall.m_lOwnerPlace) {
            continue;
        }
        std::vector<Variant> aArgs = oCall.m_aArgs;
        const std::string sRefusal = Refusal(oCall, aArgs);
        if (ReportsLoginConflict(oCall.m_sMethod)) {
            EXPECT_EQ(sRefusal, "") << oCall.m_sMethod;
            EXPECT_EQ(aArgs.back(), Variant(true)) << oCall.m_sMethod << " flags the conflict";
        } else {
            EXPECT_EQ(sRefusal, oCall.m_sMethod + sEnded);
        }
    }
    // Logging in again makes this process's session the current one.
    LogIn(lOwner);
    std::vector<Variant> aArgs = aCalls.front().m_aArgs;
    Refusal(aCalls.front(), aArgs);
    EXPECT_EQ(aArgs.back(), Variant(false));
    EXPECT_EQ(oElsewhere.Refusal(aCalls.back()), "GetPortfolios" + sEnded);
}

// Regressions: a call that leaves its owner out (as the viewer's do) served another owner's
// list to the owner logged in.
TEST_F(OwnerAuthorityTest, CallsWithoutAnOwnerReachOnlyTheListsOfTheOwnerLoggedIn) {
    const int32_t lOwner = NewOwner();
    const std::vector<std::string> aSymbols = Symbols(3);
    const int32_t lList = NewList(lOwner, {aSymbols[0], aSymbols[1]});
    const int32_t lGroups = NewList(lOwner, {"1"}, 1);
    const Variant vToday = Variant::Date(0);
    int32_t lCaller = lOwner;
    const auto Rows = [&](const char* p_sMethod, std::vector<Variant> p_aArgs) {
        return RecordsetOf(Call(prog_id::kViewerReader, p_sMethod, p_aArgs))->RecordCount();
    };
    // Stocks and industry groups by name in the lists, and the industry list of the caller.
    const auto Found = [&] {
        const testing::IndustryViewerCall oGroups{.m_lOwnerId = lCaller, .m_lWatchListId = lGroups};
        return std::vector<int32_t>{
            Rows("SearchCompanyName", {"", int16_t{0}, int16_t{0}, lList, vToday}),
            Rows("SearchIndustryName", {"", int16_t{0}, lGroups, vToday}),
            RowsAt(Run(oGroups), facade_protocol::industry_viewer::kRows)->RecordCount()};
    };
    EXPECT_EQ(Found(), (std::vector<int32_t>{2, 1, 1}));
    lCaller = NewOwner();
    EXPECT_EQ(Found(), (std::vector<int32_t>{0, 0, 0}));
    CallError(prog_id::kWatchListWriter, "AddWatchListItems",
              {lList, testing::Items({aSymbols[2]}), 0});
    EXPECT_EQ(WatchListStore(Database()).ItemCodes(lList).size(), 2u);
}

TEST_F(OwnerAuthorityTest, ALoginUnderAnotherOwnersNameLockedThatOwnerOut) {
    const int32_t lCarol = NewOwner();
    const std::string sCarol = "Carol " + std::to_string(lCarol);
    LogIn(lCarol, sCarol);
    const int32_t lIntruder = NewOwner();
    const int32_t lNotYetSeen = lIntruder + 1000;
    const auto Refusal = [&](int32_t p_lOwnerId, const std::string& p_sName) {
        return FailureOf([&] { LogIn(p_lOwnerId, p_sName); }).Description;
    };
    const std::string sCarolNo = std::to_string(lCarol);
    for (const auto& [sName, bRefused] : {std::pair{sCarol, true},
                                          {"CAROL " + sCarolNo, true},
                                          {DefaultOwnerName(lNotYetSeen), true},
                                          {"Owner " + sCarolNo, true},
                                          {DefaultOwnerName(lIntruder), false},
                                          {"owner 0" + sCarolNo, false},
                                          {"Intruder " + std::to_string(lIntruder), false}}) {
        EXPECT_EQ(Refusal(lIntruder, sName),
                  bRefused ? "Login: the name \"" + sName + "\" belongs to another owner" : "")
            << sName;
    }
    OwnerStore oOwners(Database());
    EXPECT_EQ(oOwners.OwnerName(lIntruder), "Intruder " + std::to_string(lIntruder));
    EXPECT_EQ(Refusal(lCarol, sCarol), "");
    EXPECT_EQ(Refusal(lNotYetSeen, ""), "");
    EXPECT_EQ(oOwners.OwnerName(lNotYetSeen), DefaultOwnerName(lNotYetSeen));

    // A database written before names were guarded may hold the default name of an owner not yet
    // seen under another owner; that owner is told so, and gets in by giving a name.
    const int32_t lLockedOut = lNotYetSeen + 1;
    oOwners.PutOwner(lIntruder, DefaultOwnerName(lLockedOut));
    EXPECT_EQ(Refusal(lLockedOut, ""), "Login: the name \"" + DefaultOwnerName(lLockedOut) +
                                           "\" belongs to another owner; log in with a name");
    EXPECT_EQ(Refusal(lLockedOut, "Locked out " + std::to_string(lLockedOut)), "");
}

}  // namespace
}  // namespace qv::facade
