#include "shell/startup_array.h"

#include <string>

namespace qv {

namespace {

bool IsPlainList(int32_t p_lViewerType) {
    return p_lViewerType == vt_Stocks || p_lViewerType == vt_Industries ||
           p_lViewerType == vt_Sectors;
}

bool IsHistory(int32_t p_lViewerType) {
    return p_lViewerType == vt_StockHistory || p_lViewerType == vt_IndustryHistory ||
           p_lViewerType == vt_SectorHistory;
}

// A row limit of 0 is every row; -1 leaves the owner's default to the query.
std::string RowLimit(int32_t p_lMaxRows) {
    if (p_lMaxRows == 0) {
        return "0,True";
    }
    return std::to_string(p_lMaxRows) + ",False";
}

// A list of stocks or industry groups is scoped by its industry group, else by its sector; a
// history names its subject.
Variant ScopeCode(const ViewerRequest& p_oRequest, int16_t& p_iHelperCode) {
    p_iHelperCode = 0;
    switch (p_oRequest.m_lViewerType) {
        case vt_Stocks:
        case vt_Industries:
            if (p_oRequest.m_lIndCode == 0 && p_oRequest.m_lSectorCode != 0) {
                p_iHelperCode = p_oRequest.m_lViewerType == vt_Stocks ? kStocksInSectorCode
                                                                      : kIndustriesInSectorCode;
                return Variant(p_oRequest.m_lSectorCode);
            }
            return Variant(p_oRequest.m_lIndCode);
        case vt_IndustryHistory:
            return Variant(p_oRequest.m_lIndCode);
        case vt_StockHistory:
            return Variant(p_oRequest.m_sSymbol);
        case vt_SectorHistory:
            return Variant(p_oRequest.m_lSectorCode);
        default:
            return Variant(int32_t{0});
    }
}

}  // namespace

bool IsWatchListStartup(const ViewerRequest& p_oRequest) {
    return IsPlainList(p_oRequest.m_lViewerType) &&
           (p_oRequest.m_lWatchListId != 0 || p_oRequest.m_lPortfolioId != 0);
}

bool IsPortfolioScope(const ViewerRequest& p_oRequest) {
    return IsPlainList(p_oRequest.m_lViewerType) && p_oRequest.m_lWatchListId == 0 &&
           p_oRequest.m_lPortfolioId > 0;
}

Variant StartupArray(const StartupValues& p_oValues) {
    const ViewerRequest& request = p_oValues.m_oRequest;
    const bool portfolio = IsPortfolioScope(request);
    VariantArray startup = VariantArray::Vector(0, portfolio ? 10 : 11);
    int16_t helperCode = 0;
    const Variant day = Variant::Date(request.m_lDate);
    startup.At(0) = Variant(static_cast<int16_t>(request.m_lViewerType));
    startup.At(1) = Variant(p_oValues.m_lOwnerId);
    startup.At(3) = Variant(RowLimit(request.m_lMaxRows));
    startup.At(4) = day;
    startup.At(5) = day;
    startup.At(8) = ScopeCode(request, helperCode);
    startup.At(6) = Variant(helperCode);
    startup.At(7) = Variant(IsWatchListStartup(request));
    startup.At(9) = Variant::Date(IsHistory(request.m_lViewerType) ? p_oValues.m_lHistoryStart : 0);
    if (portfolio) {
        startup.At(10) = Variant(request.m_lPortfolioId);
    } else {
        startup.At(11) = Variant(p_oValues.m_lProgramsMask);
    }
    return Variant(std::move(startup));
}

}  // namespace qv
