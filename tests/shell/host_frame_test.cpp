// The host framework of the shell: the start-up array a request becomes, the navigator, and the
// frame the control master drives.
#include "shell/host_frame.h"

#include "outside/variant.h"
#include "shell/host_navigator.h"
#include "shell/startup_array.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace qv::test {
namespace {

constexpr int32_t kDay = 46300;
constexpr int32_t kStart = 46200;
constexpr int32_t kMask = 4;

// The elements a case checks, as text; "-" where the array has no element, "" for Empty.
struct StartupCase {
    const char* m_sName;
    ViewerRequest m_oRequest;
    std::vector<std::string> m_expected;  // elements 0, 3, 6, 7, 8, 9 (a day), 10, 11
};

std::string ElementText(const VariantArray& p_array, int32_t p_lIndex) {
    if (p_lIndex > p_array.UBound()) {
        return "-";
    }
    const Variant& value = p_array.At(p_lIndex);
    return value.IsDate() ? std::to_string(static_cast<int32_t>(value.ToDouble()))
                          : value.ToString();
}

TEST(StartupArray, EachRequestBecomesTheElementsTheMasterReads) {
    const std::vector<StartupCase> cases = {
        {"stocks",
         {.m_lViewerType = vt_Stocks, .m_lDate = kDay, .m_sSymbol = "", .m_lMaxRows = 250},
         {"0", "250,False", "0", "False", "0", "0", "", "4"}},
        {"every row",
         {.m_lViewerType = vt_Sectors, .m_lDate = kDay, .m_sSymbol = "", .m_lMaxRows = 0},
         {"2", "0,True", "0", "False", "0", "0", "", "4"}},
        {"owner's default",
         {.m_lViewerType = vt_FinderResults, .m_lDate = kDay, .m_sSymbol = ""},
         {"6", "-1,False", "0", "False", "0", "0", "", "4"}},
        {"stocks of an industry group and a sector",
         {.m_lViewerType = vt_Stocks,
          .m_lDate = kDay,
          .m_lIndCode = 12,
          .m_lSectorCode = 3,
          .m_sSymbol = ""},
         {"0", "-1,False", "0", "False", "12", "0", "", "4"}},
        {"stocks of a sector",
         {.m_lViewerType = vt_Stocks, .m_lDate = kDay, .m_lSectorCode = 3, .m_sSymbol = ""},
         {"0", "-1,False", "7", "False", "3", "0", "", "4"}},
        {"industries of a sector",
         {.m_lViewerType = vt_Industries, .m_lDate = kDay, .m_lSectorCode = 3, .m_sSymbol = ""},
         {"1", "-1,False", "8", "False", "3", "0", "", "4"}},
        {"a watch list",
         {.m_lViewerType = vt_Industries, .m_lDate = kDay, .m_lWatchListId = 9, .m_sSymbol = ""},
         {"1", "-1,False", "0", "True", "0", "0", "", "4"}},
        {"a portfolio scope",
         {.m_lViewerType = vt_Stocks, .m_lDate = kDay, .m_lPortfolioId = 5, .m_sSymbol = ""},
         {"0", "-1,False", "0", "True", "0", "0", "5", "-"}},
        {"a portfolio's holdings",
         {.m_lViewerType = vt_Portfolio, .m_lDate = kDay, .m_lPortfolioId = 5, .m_sSymbol = ""},
         {"7", "-1,False", "0", "False", "0", "0", "", "4"}},
        {"a stock history",
         {.m_lViewerType = vt_StockHistory, .m_lDate = kDay, .m_sSymbol = "QA"},
         {"3", "-1,False", "0", "False", "QA", "46200", "", "4"}},
        {"an industry history",
         {.m_lViewerType = vt_IndustryHistory, .m_lDate = kDay, .m_lIndCode = 12, .m_sSymbol = ""},
         {"4", "-1,False", "0", "False", "12", "46200", "", "4"}},
        {"a sector history",
         {.m_lViewerType = vt_SectorHistory, .m_lDate = kDay, .m_lSectorCode = 3, .m_sSymbol = ""},
         {"5", "-1,False", "0", "False", "3", "46200", "", "4"}},
    };
    for (const StartupCase& entry : cases) {
        SCOPED_TRACE(entry.m_sName);
        const Variant startup = StartupArray({entry.m_oRequest, 77, kStart, kMask});
        const VariantArray& array = startup.Array();
        std::vector<std::string> actual;
        for (const int32_t index : {0, 3, 6, 7, 8, 9, 10, 11}) {
            actual.push_back(ElementText(array, index));
        }
        EXPECT_EQ(actual, entry.m_expected);
        EXPECT_EQ(array.At(1).ToLong(), 77);
        EXPECT_EQ(array.At(4).ToDouble(), kDay);
        EXPECT_EQ(array.At(5).ToDouble(), kDay);
    }
}

TEST(HostNavigator, NavigateByNameOpensEveryAddressButAnEmptyOne) {
    HostNavigator navigator;
    std::vector<std::string> opened;
    navigator.SetOnNavigate([&](const std::string& p_sAddress) { opened.push_back(p_sAddress); });
    std::array<Variant, 2> args{Variant(std::string()), Variant(true)};
    CallMethod(navigator, "Navigate", args);
    args[0] = Variant(std::string("QuickTest.asp?symbols=QA"));
    CallMethod(navigator, "navigate", args);
    EXPECT_EQ(opened, std::vector<std::string>{"QuickTest.asp?symbols=QA"});
}

}  // namespace
}  // namespace qv::test
