// The support library's quick-test component: a back-test of chosen stocks, industry groups or
// sectors from a start day to an end day, shown by the service's quick-test page.
//
// The viewer hands the component the report title, the ids of the rows to test and the days, and
// the component opens the test as a relative page address, which the grid raises as Navigate so
// that the host resolves and opens it like every other page:
//
//     QuickTestRequest request;
//     request.ReportTitle = "Sector Viewer - Quick Test Report";
//     request.Kind = QuickTestKind::Sectors;
//     request.Ids = {"10", "20"};
//     ...
//     QuickTestPageAddress(request)
//     // "QuickTest.asp?sectorcodes=10,20&title=Sector%20Viewer%20-%20Quick%20Test%20Report
//     //  &date=12%2F1%2F2026&enddate=12%2F4%2F2026&owner=7&viewertype=2&win32=0"
//
// The ids go under the key of their kind ("symbols" for stocks, as the grid menu's own
// "QuickTest.asp?symbols=" has it, "indcodes", "sectorcodes"), joined by ","; a test of finder
// results also carries the finder's result type ("finderresultstype"). Every value is
// URL-encoded, so a title with "&" or "#" cannot end the address early; dates are in the text
// form page addresses use for dates.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

enum class QuickTestKind { Stocks, Industries, Sectors };

struct QuickTestRequest {
    std::string ReportTitle;
    QuickTestKind Kind = QuickTestKind::Stocks;
    std::vector<std::string> Ids;
    // The first and last day tested.
    double CurrentDate = 0;
    double EndDate = 0;
    bool IsWin32 = false;
    int32_t ViewerType = 0;
    int32_t OwnerId = 0;
    // Given for finder results only.
    std::optional<int32_t> FinderResultsType;
};

inline constexpr const char* kQuickTestPage = "QuickTest.asp";

// The page that shows the test of p_request; "" when it has no ids, as there is nothing to test.
std::string QuickTestPageAddress(const QuickTestRequest& p_request);

}  // namespace qv
