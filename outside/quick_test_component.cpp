#include "outside/quick_test_component.h"

#include "outside/text_util.h"
#include "outside/variant.h"

namespace qv {

namespace {

const char* IdsKey(QuickTestKind p_eKind) {
    switch (p_eKind) {
        case QuickTestKind::Industries:
            return "indcodes";
        case QuickTestKind::Sectors:
            return "sectorcodes";
        case QuickTestKind::Stocks:
            break;
    }
    return "symbols";
}

std::string DateValue(double p_dDate) {
    return UrlEncode(Variant::Date(p_dDate).ToString());
}

}  // namespace

std::string QuickTestPageAddress(const QuickTestRequest& p_request) {
    if (p_request.Ids.empty()) {
        return std::string();
    }
    std::string address = std::string(kQuickTestPage) + "?" + IdsKey(p_request.Kind) + "=";
    for (size_t i = 0; i < p_request.Ids.size(); ++i) {
        address += (i > 0 ? "," : "") + UrlEncode(p_request.Ids[i]);
    }
    address += "&title=" + UrlEncode(p_request.ReportTitle);
    address += "&date=" + DateValue(p_request.CurrentDate);
    address += "&enddate=" + DateValue(p_request.EndDate);
    address += "&owner=" + std::to_string(p_request.OwnerId);
    address += "&viewertype=" + std::to_string(p_request.ViewerType);
    address += std::string("&win32=") + (p_request.IsWin32 ? "1" : "0");
    if (p_request.FinderResultsType) {
        address += "&finderresultstype=" + std::to_string(*p_request.FinderResultsType);
    }
    return address;
}

}  // namespace qv
