// Whose data the facade serves: every call on owned data against the session it acts for, the
// calls that leave their owner out, and logins that would take another owner's name.
#include "facade/owner_authority.h"

#include <gtest/gtest.h>

#include "facade/component_test_support.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/watch_list_store.h"
#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"

namespace qv::facade {
namespace {

using testing::CallCase;
using testing::ComponentTest;

class OwnerAuthorityTest : public ComponentTest {
  protected:
    // Another process on the same file: a backend of its own, with no login until it logs in.
    struct OtherProcess {
        OtherProcess()
            : m_oBackend(std::make_shared<FacadeBackend>(std::make_shared<MarketStore>(
                  ComponentTest::Backend().Store().Path(), MarketStore::Access::ReadWrite))) {
            RegisterFacadeComponents(m_oComponents, m_oBackend);
        }
        Variant Call(const CallCase& p_oCall) {
            std::vector<Variant> aArgs = p_oCall.m_aArgs;
            return CallMethod(*m_oComponents.CreateObject(p_oCall.m_sProgId), p_oCall.m_sMethod,
                              aArgs);
        }
        std::shared_ptr<FacadeBackend> m_oBackend;
        ComponentFactory m_oComponents;
    };

    // The refusal of p_oCall, or "" when it was served.
    template <class CallFn>
    static std::string Refusal(CallFn p_fCall) {
        try {
            p_fCall();
        } catch (const AutomationError& oError) {
            return oError.Description();
        }
        return "";
    }

    std::vector<std::string> Symbols(int32_t p_lCount) {
        SqliteStatement oQuery =
            Database().Prepare("SELECT symbol FROM stocks ORDER BY stock_id LIMIT ?1");
        oQuery.BindInt64(1, p_lCount);
        std::vector<std::string> aSymbols;
        while (oQuery.Step()) {
            aSymbols.push_back(oQuery.ColumnText(0));
        }
        return aSymbols;
    }

    int32_t NewList(int32_t p_lOwnerId, const std::vector<std::string>& p_aSymbols) {
        VariantArray aItems = VariantArray::Vector(0, static_cast<int32_t>(p_aSymbols.size()) - 1);
        for (size_t i = 0; i < p_aSymbols.size(); ++i) {
            aItems.At(static_cast<int32_t>(i)) = p_aSymbols[i];
        }
        return Call(prog_id::kWatchListWriter, "NewWatchListAndItems",
                    {0, Variant(aItems), 0, Variant("Mine"), Variant(""), p_lOwnerId})
            .ToLong();
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
    const std::string sOtherRefused = "owner " + std::to_string(lOther) +
                                      " is not the owner logged in (" + std::to_string(lOwner) +
                                      ")";
    OtherProcess oNoSession;
    for (const CallCase& oCall : EveryCall(lOwner)) {
        if (!oCall.m_lOwnerPlace) {
            continue;
        }
        const std::string& sMethod = oCall.m_sMethod;
        const size_t lPlace = *oCall.m_lOwnerPlace;
        const auto Refused = [&](std::vector<Variant> p_aArgs) {
            return Refusal([&] { Call(oCall.m_sProgId, sMethod, p_aArgs); });
        };
        std::vector<Variant> aOther = oCall.m_aArgs;
        aOther[lPlace] = lOther;
        std::vector<Variant> aSystem = oCall.m_aArgs;
        aSystem[lPlace] = kSystemOwnerId;

        EXPECT_EQ(Refusal([&] { oNoSession.Call(oCall); }), sMethod + ": no owner is logged in");
        EXPECT_EQ(Refused(aOther), sMethod + ": " + sOtherRefused);
        EXPECT_EQ(Refused(oCall.m_aArgs), "") << sMethod;
        // The system's layouts and lists are anyone's to read, and no one's to change.
        const std::string sSystem = Refused(aSystem);
        if (oCall.m_eAccess == OwnerAccess::Read) {
            EXPECT_EQ(sSystem, "") << sMethod;
            EXPECT_EQ(Refusal([&] {
                          oNoSession.Call({oCall.m_sProgId, sMethod, aSystem});
                      }),
                      "")
                << sMethod;
        } else {
            EXPECT_EQ(sSystem, sMethod + ": owner 0 is not the owner logged in (" +
                                   std::to_string(lOwner) + ")");
        }
    }
}

TEST_F(OwnerAuthorityTest, ANewerLoginElsewhereEndsTheSession) {
    const int32_t lOwner = NewOwner();
    const std::vector<CallCase> aCalls = EveryCall(lOwner);
    OtherProcess oElsewhere;
    oElsewhere.m_oBackend->Login(lOwner, "");
    for (const CallCase& oCall : aCalls) {
        if (!oCall.m_lOwnerPlace) {
            continue;
        }
        std::vector<Variant> aArgs = oCall.m_aArgs;
        const std::string sRefusal =
            Refusal([&] { Call(oCall.m_sProgId, oCall.m_sMethod, aArgs); });
        if (ReportsLoginConflict(oCall.m_sMethod)) {
            EXPECT_EQ(sRefusal, "") << oCall.m_sMethod;
            EXPECT_EQ(aArgs.back(), Variant(true)) << oCall.m_sMethod << " flags the conflict";
        } else {
            EXPECT_EQ(sRefusal, oCall.m_sMethod + ": owner " + std::to_string(lOwner) +
                                    " has logged in elsewhere since; this session is no longer "
                                    "current");
        }
    }
    // Logging in again makes this process's session the current one.
    Backend().Login(lOwner, "");
    std::vector<Variant> aArgs = aCalls.front().m_aArgs;
    Call(aCalls.front().m_sProgId, aCalls.front().m_sMethod, aArgs);
    EXPECT_EQ(aArgs.back(), Variant(false));
    EXPECT_EQ(Refusal([&] { oElsewhere.Call(aCalls.back()); }),
              "GetPortfolios: owner " + std::to_string(lOwner) +
                  " has logged in elsewhere since; this session is no longer current");
}

TEST_F(OwnerAuthorityTest, AddWatchListItemsWithoutAnOwnerAppendedToAnotherOwnersList) {
    const int32_t lOwner = NewOwner();
    const std::vector<std::string> aSymbols = Symbols(3);
    const int32_t lList = NewList(lOwner, {aSymbols[0]});
    NewOwner();
    const AutomationError oError =
        CallError(prog_id::kWatchListWriter, "AddWatchListItems",
                  {lList, VariantArray::Vector({Variant(aSymbols[1]), Variant(aSymbols[2])}), 0});
    EXPECT_NE(oError.Description().find("not found"), std::string::npos) << oError.Description();
    EXPECT_EQ(WatchListStore(Database()).ItemCodes(lList).size(), 1u);
}

TEST_F(OwnerAuthorityTest, SearchCompanyNameWithoutAnOwnerListedAnotherOwnersList) {
    const int32_t lOwner = NewOwner();
    const int32_t lList = NewList(lOwner, Symbols(2));
    const auto Found = [&] {
        return RecordsetOf(Call(prog_id::kViewerReader, "SearchCompanyName",
                                {"", int16_t{0}, int16_t{0}, lList, Variant::Date(0)}))
            ->RecordCount();
    };
    EXPECT_EQ(Found(), 2);
    NewOwner();
    EXPECT_EQ(Found(), 0);
}

TEST_F(OwnerAuthorityTest, ALoginUnderAnotherOwnersNameLockedThatOwnerOut) {
    const int32_t lCarol = NewOwner();
    const std::string sCarol = "Carol " + std::to_string(lCarol);
    Backend().Login(lCarol, sCarol);
    const int32_t lIntruder = NewOwner();
    const int32_t lNotYetSeen = lIntruder + 1000;
    struct Case {
        std::string m_sName;
        bool m_bRefused;
    };
    const std::vector<Case> aCases = {
        {sCarol, true},
        {"CAROL " + std::to_string(lCarol), true},
        {DefaultOwnerName(lNotYetSeen), true},
        {"Owner " + std::to_string(lCarol), true},
        {DefaultOwnerName(lIntruder), false},
        {"owner 0" + std::to_string(lCarol), false},
        {"Intruder " + std::to_string(lIntruder), false},
    };
    for (const Case& oCase : aCases) {
        const std::string sRefusal = Refusal([&] { Backend().Login(lIntruder, oCase.m_sName); });
        EXPECT_EQ(sRefusal, oCase.m_bRefused ? "Login: the name \"" + oCase.m_sName +
                                                   "\" belongs to another owner"
                                             : "")
            << oCase.m_sName;
    }
    OwnerStore oOwners(Database());
    EXPECT_EQ(oOwners.OwnerName(lIntruder), "Intruder " + std::to_string(lIntruder));
    EXPECT_NO_THROW(Backend().Login(lCarol, sCarol));
    EXPECT_NO_THROW(Backend().Login(lNotYetSeen, ""));
    EXPECT_EQ(oOwners.OwnerName(lNotYetSeen), DefaultOwnerName(lNotYetSeen));

    // A database written before names were guarded may hold the default name of an owner not yet
    // seen under another owner; that owner is told so, and gets in by giving a name.
    const int32_t lLockedOut = lNotYetSeen + 1;
    oOwners.PutOwner(lIntruder, DefaultOwnerName(lLockedOut));
    EXPECT_EQ(Refusal([&] { Backend().Login(lLockedOut, ""); }),
              "Login: the name \"" + DefaultOwnerName(lLockedOut) +
                  "\" belongs to another owner; log in with a name");
    EXPECT_NO_THROW(Backend().Login(lLockedOut, "Locked out " + std::to_string(lLockedOut)));
}

}  // namespace
}  // namespace qv::facade
