// The data facade's calls as both sides see them: the viewer's strategies build their argument
// arrays and read the answers back by these positions, and the facade's components read and
// write the same places, so an argument's place is written down once.
//
//     std::array<Variant, stock_viewer::kCount> args{...};        // caller, in position order
//     CallMethod(*facade, stock_viewer::kMethod, args);
//     const int32_t maxRows = args[stock_viewer::kMaxRows.Position].ToLong();
//
//     args.Long(stock_viewer::kSectorCode);                      // facade, named in its errors
//
// ByRef marks what the facade writes back into the caller's Variant.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv::facade_protocol {

struct Argument {
    size_t Position;
    std::string_view Name;
    bool ByRef;
};

namespace prog_id {
constexpr std::string_view kViewerReader = "QorvantOnlineFacade.ViewerFNtr";
constexpr std::string_view kViewerWriter = "QorvantOnlineFacade.ViewerFTr";
constexpr std::string_view kWatchListReader = "QorvantOnlineFacade.WatchListFNTr";
constexpr std::string_view kWatchListWriter = "QorvantOnlineFacade.WatchListFTr";
constexpr std::string_view kPortfolioReader = "QorvantOnlineFacade.PortfolioFNTr";
}  // namespace prog_id

namespace stock_viewer {
constexpr std::string_view kMethod = "StockViewer";
constexpr size_t kCount = 20;
constexpr Argument kOwnerId{0, "OwnerId", false};
constexpr Argument kLayoutId{1, "LayoutId", false};
constexpr Argument kStartDate{2, "StartDate", false};
constexpr Argument kMaxRows{3, "MaxRows", true};
constexpr Argument kReturnAll{4, "ReturnAll", true};
constexpr Argument kAvgType{5, "AvgType", false};
constexpr Argument kLayoutInfo{6, "LayoutInfo", true};
constexpr Argument kSecondaryColumns{7, "SecondaryColumns", true};
constexpr Argument kRows{8, "Rows", true};
constexpr Argument kSecondaryRows{9, "SecondaryRows", true};
constexpr Argument kStartTimeId{10, "StartTimeId", true};
constexpr Argument kIndCode{11, "IndCode", false};
constexpr Argument kSectorCode{12, "SectorCode", false};
constexpr Argument kWatchListId{13, "WatchListId", false};
constexpr Argument kWatchListName{14, "WatchListName", true};
constexpr Argument kParameterList{15, "ParameterList", true};
constexpr Argument kPortfolioID{16, "PortfolioID", false};
constexpr Argument kListScope{17, "ListScope", false};
constexpr Argument kTimeCode{18, "TimeCode", false};
constexpr Argument kLoginConflict{19, "LoginConflict", true};
}  // namespace stock_viewer

namespace search_stocks {
constexpr std::string_view kMethod = "SearchStocks";
constexpr size_t kCount = 15;
constexpr Argument kOwnerId{0, "OwnerId", false};
constexpr Argument kLayoutId{1, "LayoutId", false};
constexpr Argument kStartDate{2, "StartDate", false};
constexpr Argument kMaxRows{3, "MaxRows", false};
constexpr Argument kSearchText{4, "SearchText", true};
constexpr Argument kSearchOpt1{5, "SearchOpt1", true};
constexpr Argument kSearchOpt2{6, "SearchOpt2", true};
constexpr Argument kLayoutInfo{7, "LayoutInfo", true};
constexpr Argument kSecondaryColumns{8, "SecondaryColumns", false};
constexpr Argument kRows{9, "Rows", true};
constexpr Argument kSecondaryRows{10, "SecondaryRows", true};
constexpr Argument kStartTimeId{11, "StartTimeId", true};
constexpr Argument kWatchListId{12, "WatchListId", false};
constexpr Argument kIndCode{13, "IndCode", false};
constexpr Argument kSectorCode{14, "SectorCode", false};
}  // namespace search_stocks

namespace industry_viewer {
constexpr std::string_view kMethod = "IndustryViewer";
constexpr size_t kCount = 17;
constexpr Argument kOwnerId{0, "OwnerId", false};
constexpr Argument kStartDate{1, "StartDate", false};
constexpr Argument kMaxRows{2, "MaxRows", true};
constexpr Argument kReturnAll{3, "ReturnAll", true};
constexpr Argument kAvgType{4, "AvgType", false};
constexpr Argument kLayoutInfo{5, "LayoutInfo", true};
constexpr Argument kSecondaryColumns{6, "SecondaryColumns", false};
constexpr Argument kRows{7, "Rows", true};
constexpr Argument kSecondaryRows{8, "SecondaryRows", true};
constexpr Argument kStartTimeId{9, "StartTimeId", true};
constexpr Argument kSectorCode{10, "SectorCode", false};
constexpr Argument kWatchListId{11, "WatchListId", false};
constexpr Argument kListScope{12, "ListScope", true};
constexpr Argument kParameterList{13, "ParameterList", true};
constexpr Argument kWatchListName{14, "WatchListName", true};
constexpr Argument kTimeCode{15, "TimeCode", false};
constexpr Argument kLoginConflict{16, "LoginConflict", true};
}  // namespace industry_viewer

namespace sector_viewer {
constexpr std::string_view kMethod = "SectorViewer";
constexpr size_t kCount = 11;
constexpr Argument kOwnerId{0, "OwnerId", false};
constexpr Argument kStartDate{1, "StartDate", false};
constexpr Argument kMaxRows{2, "MaxRows", true};
constexpr Argument kReturnAll{3, "ReturnAll", true};
constexpr Argument kAvgType{4, "AvgType", false};
constexpr Argument kLayoutInfo{5, "LayoutInfo", true};
constexpr Argument kRows{6, "Rows", true};
constexpr Argument kStartTimeId{7, "StartTimeId", true};
constexpr Argument kParameterList{8, "ParameterList", true};
constexpr Argument kTimeCode{9, "TimeCode", false};
constexpr Argument kLoginConflict{10, "LoginConflict", true};
}  // namespace sector_viewer

namespace search_industries {
constexpr std::string_view kMethod = "SearchIndustries";
constexpr size_t kCount = 14;
constexpr Argument kOwnerId{0, "OwnerId", false};
constexpr Argument kLayoutId{1, "LayoutId", false};
constexpr Argument kStartDate{2, "StartDate", false};
constexpr Argument kMaxRows{3, "MaxRows", false};
constexpr Argument kSearchText{4, "SearchText", true};
constexpr Argument kSearchOpt1{5, "SearchOpt1", true};
constexpr Argument kLayoutInfo{6, "LayoutInfo", true};
constexpr Argument kSecondaryColumns{7, "SecondaryColumns", false};
constexpr Argument kRows{8, "Rows", true};
constexpr Argument kSecondaryRows{9, "SecondaryRows", true};
constexpr Argument kStartTimeId{10, "StartTimeId", true};
constexpr Argument kListScope{11, "ListScope", true};
constexpr Argument kSectorCode{12, "SectorCode", false};
constexpr Argument kWatchListId{13, "WatchListId", false};
}  // namespace search_industries

namespace search_sector {
constexpr std::string_view kMethod = "SearchSector";
constexpr size_t kCount = 9;
constexpr Argument kOwnerId{0, "OwnerId", false};
constexpr Argument kLayoutId{1, "LayoutId", false};
constexpr Argument kStartDate{2, "StartDate", false};
constexpr Argument kSearchText{3, "SearchText", true};
constexpr Argument kSearchOpt1{4, "SearchOpt1", true};
constexpr Argument kMaxRows{5, "MaxRows", false};
constexpr Argument kLayoutInfo{6, "LayoutInfo", true};
constexpr Argument kRows{7, "Rows", true};
constexpr Argument kStartTimeId{8, "StartTimeId", true};
}  // namespace search_sector

namespace get_sector_detail {
constexpr std::string_view kMethod = "GetSectorDetail";
constexpr size_t kCount = 4;
constexpr Argument kStartTimeId{0, "StartTimeId", false};
constexpr Argument kSectorCode{1, "SectorCode", true};
constexpr Argument kAvgType{2, "AvgType", false};
constexpr Argument kSelectList{3, "SelectList", true};
}  // namespace get_sector_detail

// "StockHistory", "IndustryHistory" and "SectorHistory" differ only in their key: a symbol, an
// industry code or a sector code.
namespace history {
constexpr size_t kCount = 8;
constexpr Argument kStartDate{0, "StartDate", false};
constexpr Argument kEndDate{1, "EndDate", false};
constexpr Argument kKey{2, "Key", false};
constexpr Argument kLayoutInfo{3, "LayoutInfo", true};
constexpr Argument kParameterList{4, "ParameterList", true};
constexpr Argument kOwnerId{5, "OwnerId", false};
constexpr Argument kMaxRows{6, "MaxRows", true};
constexpr Argument kReturnAll{7, "ReturnAll", true};
}  // namespace history

}  // namespace qv::facade_protocol
