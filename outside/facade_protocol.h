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
// ByRef marks what the facade writes back into the caller's Variant; Type is how the facade
// reads the argument (Object for a recordset, Variant for a layout, a list or anything else).
#pragma once

#include <cstddef>
#include <string_view>

namespace qv::facade_protocol {

enum class ArgType { Long, Double, Text, Boolean, Date, Object, Variant };

struct Argument {
    size_t Position;
    std::string_view Name;
    bool ByRef;
    ArgType Type;
};

namespace prog_id {
constexpr std::string_view kViewerReader = "QorvantOnlineFacade.ViewerFNtr";
constexpr std::string_view kViewerWriter = "QorvantOnlineFacade.ViewerFTr";
constexpr std::string_view kWatchListReader = "QorvantOnlineFacade.WatchListFNTr";
constexpr std::string_view kWatchListWriter = "QorvantOnlineFacade.WatchListFTr";
constexpr std::string_view kPortfolioReader = "QorvantOnlineFacade.PortfolioFNTr";
constexpr std::string_view kPages = "QorvantOnlineFacade.PagesFNTr";
constexpr std::string_view kScreens = "QorvantOnlineFacade.ScreensFTr";
constexpr std::string_view kPortfolioWriter = "QorvantOnlineFacade.PortfolioFTr";
}  // namespace prog_id

// The stocks of the market, an industry, a sector, a watch list or a portfolio.
namespace stock_viewer {
constexpr std::string_view kMethod = "StockViewer";
constexpr size_t kCount = 20;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kLayoutId{1, "LayoutId", false, ArgType::Long};
constexpr Argument kStartDate{2, "StartDate", false, ArgType::Date};
constexpr Argument kMaxRows{3, "MaxRows", true, ArgType::Long};
constexpr Argument kReturnAll{4, "ReturnAll", true, ArgType::Boolean};
constexpr Argument kAvgType{5, "AvgType", false, ArgType::Text};
constexpr Argument kLayoutInfo{6, "LayoutInfo", true, ArgType::Variant};
constexpr Argument kSecondaryColumns{7, "SecondaryColumns", true, ArgType::Variant};
constexpr Argument kRows{8, "Rows", true, ArgType::Object};
constexpr Argument kSecondaryRows{9, "SecondaryRows", true, ArgType::Object};
constexpr Argument kStartTimeId{10, "StartTimeId", true, ArgType::Long};
constexpr Argument kIndCode{11, "IndCode", false, ArgType::Long};
constexpr Argument kSectorCode{12, "SectorCode", false, ArgType::Long};
constexpr Argument kWatchListId{13, "WatchListId", false, ArgType::Long};
constexpr Argument kWatchListName{14, "WatchListName", true, ArgType::Text};
constexpr Argument kParameterList{15, "ParameterList", true, ArgType::Object};
constexpr Argument kPortfolioID{16, "PortfolioID", false, ArgType::Long};
constexpr Argument kListScope{17, "ListScope", false, ArgType::Long};
constexpr Argument kTimeCode{18, "TimeCode", false, ArgType::Text};
constexpr Argument kLoginConflict{19, "LoginConflict", true, ArgType::Boolean};
}  // namespace stock_viewer

// The stocks whose symbols or company names match a search text.
namespace search_stocks {
constexpr std::string_view kMethod = "SearchStocks";
constexpr size_t kCount = 15;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kLayoutId{1, "LayoutId", false, ArgType::Long};
constexpr Argument kStartDate{2, "StartDate", false, ArgType::Date};
constexpr Argument kMaxRows{3, "MaxRows", false, ArgType::Long};
constexpr Argument kSearchText{4, "SearchText", true, ArgType::Text};
constexpr Argument kSearchOpt1{5, "SearchOpt1", true, ArgType::Long};
constexpr Argument kSearchOpt2{6, "SearchOpt2", true, ArgType::Long};
constexpr Argument kLayoutInfo{7, "LayoutInfo", true, ArgType::Variant};
constexpr Argument kSecondaryColumns{8, "SecondaryColumns", false, ArgType::Variant};
constexpr Argument kRows{9, "Rows", true, ArgType::Object};
constexpr Argument kSecondaryRows{10, "SecondaryRows", true, ArgType::Object};
constexpr Argument kStartTimeId{11, "StartTimeId", true, ArgType::Long};
constexpr Argument kWatchListId{12, "WatchListId", false, ArgType::Long};
constexpr Argument kIndCode{13, "IndCode", false, ArgType::Long};
constexpr Argument kSectorCode{14, "SectorCode", false, ArgType::Long};
}  // namespace search_stocks

// The industries of the market, a sector or a watch list.
namespace industry_viewer {
constexpr std::string_view kMethod = "IndustryViewer";
constexpr size_t kCount = 17;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kStartDate{1, "StartDate", false, ArgType::Date};
constexpr Argument kMaxRows{2, "MaxRows", true, ArgType::Long};
constexpr Argument kReturnAll{3, "ReturnAll", true, ArgType::Boolean};
constexpr Argument kAvgType{4, "AvgType", false, ArgType::Text};
constexpr Argument kLayoutInfo{5, "LayoutInfo", true, ArgType::Variant};
constexpr Argument kSecondaryColumns{6, "SecondaryColumns", false, ArgType::Variant};
constexpr Argument kRows{7, "Rows", true, ArgType::Object};
constexpr Argument kSecondaryRows{8, "SecondaryRows", true, ArgType::Object};
constexpr Argument kStartTimeId{9, "StartTimeId", true, ArgType::Long};
constexpr Argument kSectorCode{10, "SectorCode", false, ArgType::Long};
constexpr Argument kWatchListId{11, "WatchListId", false, ArgType::Long};
constexpr Argument kListScope{12, "ListScope", true, ArgType::Long};
constexpr Argument kParameterList{13, "ParameterList", true, ArgType::Object};
constexpr Argument kWatchListName{14, "WatchListName", true, ArgType::Text};
constexpr Argument kTimeCode{15, "TimeCode", false, ArgType::Text};
constexpr Argument kLoginConflict{16, "LoginConflict", true, ArgType::Boolean};
}  // namespace industry_viewer

// The sectors of the market.
namespace sector_viewer {
constexpr std::string_view kMethod = "SectorViewer";
constexpr size_t kCount = 11;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kStartDate{1, "StartDate", false, ArgType::Date};
constexpr Argument kMaxRows{2, "MaxRows", true, ArgType::Long};
constexpr Argument kReturnAll{3, "ReturnAll", true, ArgType::Boolean};
constexpr Argument kAvgType{4, "AvgType", false, ArgType::Text};
constexpr Argument kLayoutInfo{5, "LayoutInfo", true, ArgType::Variant};
constexpr Argument kRows{6, "Rows", true, ArgType::Object};
constexpr Argument kStartTimeId{7, "StartTimeId", true, ArgType::Long};
constexpr Argument kParameterList{8, "ParameterList", true, ArgType::Object};
constexpr Argument kTimeCode{9, "TimeCode", false, ArgType::Text};
constexpr Argument kLoginConflict{10, "LoginConflict", true, ArgType::Boolean};
}  // namespace sector_viewer

// The industries whose codes or names match a search text.
namespace search_industries {
constexpr std::string_view kMethod = "SearchIndustries";
constexpr size_t kCount = 14;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kLayoutId{1, "LayoutId", false, ArgType::Long};
constexpr Argument kStartDate{2, "StartDate", false, ArgType::Date};
constexpr Argument kMaxRows{3, "MaxRows", false, ArgType::Long};
constexpr Argument kSearchText{4, "SearchText", true, ArgType::Text};
constexpr Argument kSearchOpt1{5, "SearchOpt1", true, ArgType::Long};
constexpr Argument kLayoutInfo{6, "LayoutInfo", true, ArgType::Variant};
constexpr Argument kSecondaryColumns{7, "SecondaryColumns", false, ArgType::Variant};
constexpr Argument kRows{8, "Rows", true, ArgType::Object};
constexpr Argument kSecondaryRows{9, "SecondaryRows", true, ArgType::Object};
constexpr Argument kStartTimeId{10, "StartTimeId", true, ArgType::Long};
constexpr Argument kListScope{11, "ListScope", true, ArgType::Long};
constexpr Argument kSectorCode{12, "SectorCode", false, ArgType::Long};
constexpr Argument kWatchListId{13, "WatchListId", false, ArgType::Long};
}  // namespace search_industries

// The sectors whose codes or names match a search text.
namespace search_sector {
constexpr std::string_view kMethod = "SearchSector";
constexpr size_t kCount = 9;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kLayoutId{1, "LayoutId", false, ArgType::Long};
constexpr Argument kStartDate{2, "StartDate", false, ArgType::Date};
constexpr Argument kSearchText{3, "SearchText", true, ArgType::Text};
constexpr Argument kSearchOpt1{4, "SearchOpt1", true, ArgType::Long};
constexpr Argument kMaxRows{5, "MaxRows", false, ArgType::Long};
constexpr Argument kLayoutInfo{6, "LayoutInfo", true, ArgType::Variant};
constexpr Argument kRows{7, "Rows", true, ArgType::Object};
constexpr Argument kStartTimeId{8, "StartTimeId", true, ArgType::Long};
}  // namespace search_sector

// One sector's row, for the grid below the stocks of a sector.
namespace get_sector_detail {
constexpr std::string_view kMethod = "GetSectorDetail";
constexpr size_t kCount = 4;
constexpr Argument kStartTimeId{0, "StartTimeId", false, ArgType::Long};
constexpr Argument kSectorCode{1, "SectorCode", true, ArgType::Long};
constexpr Argument kAvgType{2, "AvgType", false, ArgType::Text};
constexpr Argument kSelectList{3, "SelectList", true, ArgType::Variant};
}  // namespace get_sector_detail

// The three histories of a stock, an industry and a sector differ only in their key: a symbol, an
// industry code or a sector code.
namespace history {
constexpr std::string_view kStockMethod = "HistoryStockEX";
constexpr std::string_view kIndustryMethod = "HistoryIndustryEX";
constexpr std::string_view kSectorMethod = "HistorySectorEX";
constexpr size_t kCount = 8;
constexpr Argument kStartDate{0, "StartDate", false, ArgType::Date};
constexpr Argument kEndDate{1, "EndDate", false, ArgType::Date};
constexpr Argument kKey{2, "Key", false, ArgType::Variant};
constexpr Argument kLayoutInfo{3, "LayoutInfo", true, ArgType::Variant};
constexpr Argument kParameterList{4, "ParameterList", true, ArgType::Object};
constexpr Argument kOwnerId{5, "OwnerId", false, ArgType::Long};
constexpr Argument kMaxRows{6, "MaxRows", true, ArgType::Long};
constexpr Argument kReturnAll{7, "ReturnAll", true, ArgType::Boolean};
// The key as the facade reads it for each of the three calls.
constexpr Argument kSymbol{2, "Symbol", false, ArgType::Text};
constexpr Argument kIndCode{2, "IndCode", false, ArgType::Long};
constexpr Argument kSectorCode{2, "SectorCode", false, ArgType::Long};
}  // namespace history

// The default layout of a viewer type and finder type, as a description.
namespace get_default_layout {
constexpr std::string_view kMethod = "GetDefaultLayout";
constexpr size_t kCount = 3;
constexpr Argument kOwnerId{0, "OwnerId", true, ArgType::Long};
constexpr Argument kViewerType{1, "ViewerType", true, ArgType::Long};
constexpr Argument kFinderType{2, "FinderType", true, ArgType::Long};
}  // namespace get_default_layout

// One layout by id, as a description.
namespace get_layout {
constexpr std::string_view kMethod = "GetLayout";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kLayoutId{1, "LayoutId", true, ArgType::Long};
}  // namespace get_layout

// The field catalogue, the same for every result type.
namespace get_custom_field_list {
constexpr std::string_view kMethod = "GetCustomFieldList";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kResultType{1, "ResultType", false, ArgType::Long};
}  // namespace get_custom_field_list

// The id of the default print layout of a print type, 0 when there is none.
namespace get_default_layout_id {
constexpr std::string_view kMethod = "GetDefaultLayoutID";
constexpr size_t kCount = 3;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPrintType{1, "PrintType", false, ArgType::Long};
constexpr Argument kResultType{2, "ResultType", true, ArgType::Long};
}  // namespace get_default_layout_id

// The company names starting with a text, within a scope.
namespace search_company_name {
constexpr std::string_view kMethod = "SearchCompanyName";
constexpr size_t kMinCount = 5;
constexpr size_t kMaxCount = 6;
constexpr Argument kSearchText{0, "SearchText", false, ArgType::Text};
constexpr Argument kIndCode{1, "IndCode", false, ArgType::Long};
constexpr Argument kSectorCode{2, "SectorCode", false, ArgType::Long};
constexpr Argument kWatchListId{3, "WatchListId", false, ArgType::Long};
constexpr Argument kDate{4, "Date", false, ArgType::Date};
constexpr Argument kOwnerId{5, "OwnerId", false, ArgType::Long};
}  // namespace search_company_name

// The industry names starting with a text, within a scope.
namespace search_industry_name {
constexpr std::string_view kMethod = "SearchIndustryName";
constexpr size_t kMinCount = 4;
constexpr size_t kMaxCount = 5;
constexpr Argument kSearchText{0, "SearchText", false, ArgType::Text};
constexpr Argument kSectorCode{1, "SectorCode", false, ArgType::Long};
constexpr Argument kWatchListId{2, "WatchListId", false, ArgType::Long};
constexpr Argument kDate{3, "Date", false, ArgType::Date};
constexpr Argument kOwnerId{4, "OwnerId", false, ArgType::Long};
}  // namespace search_industry_name

// The sector names starting with a text.
namespace search_sector_name {
constexpr std::string_view kMethod = "SearchSectorName";
constexpr size_t kCount = 2;
constexpr Argument kSearchText{0, "SearchText", false, ArgType::Text};
constexpr Argument kDate{1, "Date", false, ArgType::Date};
}  // namespace search_sector_name

// The names of the layouts the owner may load for a viewer type: a Recordset of "LayoutID" and
// "Name", the owner's own first, then the system's, each group by name.
namespace get_layout_names {
constexpr std::string_view kMethod = "GetLayoutNames";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kViewerType{1, "ViewerType", false, ArgType::Long};
}  // namespace get_layout_names

// The owner's row limit for a list kind.
namespace get_default_max_rows {
constexpr std::string_view kMethod = "getdefaultmaxrows";
constexpr size_t kCount = 4;
constexpr Argument kListKind{0, "ListKind", false, ArgType::Long};
constexpr Argument kMaxRows{1, "MaxRows", true, ArgType::Long};
constexpr Argument kReturnAll{2, "ReturnAll", true, ArgType::Boolean};
constexpr Argument kOwnerId{3, "OwnerId", false, ArgType::Long};
}  // namespace get_default_max_rows

// A new session for an owner: the time code the lists compare against later logins.
namespace login {
constexpr std::string_view kMethod = "Login";
constexpr size_t kMinCount = 1;
constexpr size_t kMaxCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kName{1, "Name", false, ArgType::Text};
}  // namespace login

// The rows of a result type that meet a screen's criteria. Criteria is either a text of the
// screen language (see below), or a table of three rows (field, operator, value) and a column per
// criterion, all of which a row must meet, or Empty for every row.
namespace run_screen {
constexpr std::string_view kMethod = "RunScreen";
constexpr size_t kMinCount = 4;
constexpr size_t kMaxCount = 6;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kResultType{1, "ResultType", false, ArgType::Long};
constexpr Argument kCriteria{2, "Criteria", false, ArgType::Variant};
constexpr Argument kDate{3, "Date", false, ArgType::Date};
constexpr Argument kMaxRows{4, "MaxRows", false, ArgType::Long};
constexpr Argument kReturnAll{5, "ReturnAll", false, ArgType::Boolean};
}  // namespace run_screen

// Saves a layout, a new one for layout id -1; true when saved.
namespace save_layout {
constexpr std::string_view kMethod = "SaveLayout";
constexpr size_t kCount = 12;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kLayoutId{1, "LayoutId", true, ArgType::Long};
constexpr Argument kName{2, "Name", true, ArgType::Text};
constexpr Argument kDescription{3, "Description", true, ArgType::Text};
constexpr Argument kParentId{4, "ParentId", true, ArgType::Long};
constexpr Argument kPriSortId{5, "PriSortId", true, ArgType::Long};
constexpr Argument kPriSortDir{6, "PriSortDir", true, ArgType::Long};
constexpr Argument kSecSortId{7, "SecSortId", true, ArgType::Long};
constexpr Argument kSecSortDir{8, "SecSortDir", true, ArgType::Long};
constexpr Argument kColumnTable{9, "ColumnTable", true, ArgType::Variant};
constexpr Argument kDataType{10, "DataType", true, ArgType::Long};
constexpr Argument kFinderType{11, "FinderType", true, ArgType::Long};
}  // namespace save_layout

// Deletes one of the owner's layouts and hands back the layout that stands in for it.
namespace delete_layout {
constexpr std::string_view kMethod = "DeleteLayout";
constexpr size_t kCount = 4;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kLayoutId{1, "LayoutId", false, ArgType::Long};
constexpr Argument kFinderResultsType{2, "FinderResultsType", false, ArgType::Long};
constexpr Argument kNewLayout{3, "NewLayout", true, ArgType::Variant};
}  // namespace delete_layout

// The default layout again, the owner's own default dropped unless only the user's is asked for.
namespace restore_default_layout {
constexpr std::string_view kMethod = "RestoreDefaultLayout";
constexpr size_t kCount = 4;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kViewerType{1, "ViewerType", false, ArgType::Long};
constexpr Argument kFinderType{2, "FinderType", true, ArgType::Long};
constexpr Argument kUserOnly{3, "UserOnly", true, ArgType::Boolean};
}  // namespace restore_default_layout

// Drops the owner's own default print layout of a print type.
namespace delete_custom_layout {
constexpr std::string_view kMethod = "DeleteCustomLayout";
constexpr size_t kCount = 3;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPrintType{1, "PrintType", false, ArgType::Long};
constexpr Argument kFinderType{2, "FinderType", true, ArgType::Long};
}  // namespace delete_custom_layout

// The owner's watch lists and folders of a type.
namespace get_watch_lists {
constexpr std::string_view kMethod = "GetWatchLists";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kWatchListType{1, "WatchListType", true, ArgType::Long};
}  // namespace get_watch_lists

// A new watch list holding the items; the new list's id.
namespace new_watch_list_and_items {
constexpr std::string_view kMethod = "NewWatchListAndItems";
constexpr size_t kCount = 6;
constexpr Argument kFolderId{0, "FolderId", true, ArgType::Long};
constexpr Argument kItems{1, "Items", true, ArgType::Variant};
constexpr Argument kWatchListType{2, "WatchListType", true, ArgType::Long};
constexpr Argument kName{3, "Name", true, ArgType::Text};
constexpr Argument kComments{4, "Comments", true, ArgType::Text};
constexpr Argument kOwnerId{5, "OwnerId", false, ArgType::Long};
}  // namespace new_watch_list_and_items

// A new watch list of the items that are, or are not, in another list; the new list's id.
namespace new_compared_watch_list {
constexpr std::string_view kMatchingMethod = "NewWatchListMatchingItems";
constexpr std::string_view kNonMatchingMethod = "NewWatchListNonMatchingItems";
constexpr size_t kCount = 7;
constexpr Argument kFolderId{0, "FolderId", true, ArgType::Long};
constexpr Argument kOtherListId{1, "OtherListId", false, ArgType::Long};
constexpr Argument kItems{2, "Items", true, ArgType::Variant};
constexpr Argument kWatchListType{3, "WatchListType", true, ArgType::Long};
constexpr Argument kName{4, "Name", true, ArgType::Text};
constexpr Argument kComments{5, "Comments", true, ArgType::Text};
constexpr Argument kOwnerId{6, "OwnerId", false, ArgType::Long};
}  // namespace new_compared_watch_list

// Adds items to a watch list; how many were new.
namespace add_watch_list_items {
constexpr std::string_view kMethod = "AddWatchListItems";
constexpr size_t kMinCount = 3;
constexpr size_t kMaxCount = 4;
constexpr Argument kWatchListId{0, "WatchListId", true, ArgType::Long};
constexpr Argument kItems{1, "Items", true, ArgType::Variant};
constexpr Argument kWatchListType{2, "WatchListType", true, ArgType::Long};
constexpr Argument kOwnerId{3, "OwnerId", false, ArgType::Long};
}  // namespace add_watch_list_items

// Removes items from one of the owner's watch lists; how many were removed.
namespace delete_watch_list_items {
constexpr std::string_view kMethod = "DeleteWatchListItems";
constexpr size_t kCount = 3;
constexpr Argument kWatchListId{0, "WatchListId", false, ArgType::Long};
constexpr Argument kItems{1, "Items", true, ArgType::Variant};
constexpr Argument kOwnerId{2, "OwnerId", false, ArgType::Long};
}  // namespace delete_watch_list_items

// A new watch-list folder; the new folder's id.
namespace new_watch_list_folder {
constexpr std::string_view kMethod = "NewWatchListFolder";
constexpr size_t kCount = 4;
constexpr Argument kFolderId{0, "FolderId", true, ArgType::Long};
constexpr Argument kWatchListType{1, "WatchListType", false, ArgType::Long};
constexpr Argument kName{2, "Name", false, ArgType::Text};
constexpr Argument kOwnerId{3, "OwnerId", false, ArgType::Long};
}  // namespace new_watch_list_folder

// The holdings of a portfolio on a day, with their gains.
namespace get_current_holdings {
constexpr std::string_view kMethod = "GetCurrentHoldings";
constexpr size_t kCount = 8;
constexpr Argument kPortfolioID{0, "PortfolioID", false, ArgType::Long};
constexpr Argument kOwnerId{1, "OwnerId", false, ArgType::Long};
constexpr Argument kDate{2, "Date", true, ArgType::Date};
constexpr Argument kWithTrades{3, "WithTrades", false, ArgType::Boolean};
constexpr Argument kTrades{4, "Trades", true, ArgType::Object};
constexpr Argument kLayoutInfo{5, "LayoutInfo", true, ArgType::Variant};
constexpr Argument kWithCatalogue{6, "WithCatalogue", false, ArgType::Boolean};
constexpr Argument kParameterList{7, "ParameterList", true, ArgType::Object};
}  // namespace get_current_holdings

// The owner's portfolios.
namespace get_portfolios {
constexpr std::string_view kMethod = "GetPortfolios";
constexpr size_t kCount = 1;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
}  // namespace get_portfolios

// The owner's options-analysis trades by group: a group's row has tradeID -1, a trade's row its
// own id and its group's Group_ID; no rows until the owner adds trades.
namespace get_options_trades {
constexpr std::string_view kMethod = "GetOptionsTrades";
constexpr size_t kCount = 1;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
}  // namespace get_options_trades

// The pages' calls ("QorvantOnlineFacade.PagesFNTr"). Days: Empty or the zero date mean the latest
// trading day, and for the first day of a range the first one; another day is read as the last
// trading day on or before it (for the first day of a range, the first on or after it), and a day
// before the first or after the last trading day of the store is refused. Figures of a day are on
// the stock's latest basis (splits undone, as the lists show them); "AdjClose" also carries
// dividends. Every unknown symbol or code, missing or non-numeric code, day outside the data or
// stock without a bar on the day is an automation error whose text names the argument and value.

// One stock on a day: a Recordset of one row with "Symbol", "CompanyName", "IndCode", "IndName",
// "SectorCode", "SectorName", "TradeDate", "Open", "High", "Low", "Close", "Volume", "High52",
// "Low52", "MA50", "MA200", "RelStrength" (the strength score the ranking sorts by:
// 2 r(63) + r(126) + r(189) + r(252), r(n) the return over n bars; Null under 20 bars), "RSRank"
// (1 to 99) and "REC" ("B", "S" or "H").
namespace stock_detail {
constexpr std::string_view kMethod = "StockDetail";
constexpr size_t kCount = 2;
constexpr Argument kSymbol{0, "Symbol", false, ArgType::Text};
constexpr Argument kDate{1, "Date", false, ArgType::Date};
}  // namespace stock_detail

// A stock's bars from the first to the last day, newest first: "TradeDate", then the prices as
// traded, "Open", "High", "Low", "Close", "Volume", then "AdjClose" (splits and dividends taken
// out, the series a chart draws) and "AdjFactor" (AdjClose / Close).
namespace price_history {
constexpr std::string_view kMethod = "PriceHistory";
constexpr size_t kCount = 3;
constexpr Argument kSymbol{0, "Symbol", false, ArgType::Text};
constexpr Argument kFirstDate{1, "FirstDate", false, ArgType::Date};
constexpr Argument kLastDate{2, "LastDate", false, ArgType::Date};
}  // namespace price_history

// An industry or a sector on a day. Returns a Recordset of one row: "Code", "Name", "SectorCode",
// "SectorName" (an industry's sector; the sector itself for a sector), "TradeDate", "IndexValue"
// (equal-weight index, 100 on the group's first day), "PctChange", "Advancing", "Declining",
// "MemberCount", "Volume", "RSRank" (the members' average ranking) and "Rank" (1 for the group
// with the highest average ranking of its kind that day). Members comes back with a row per
// member, by name: "Code" (symbol, or industry code), "Name", "Value" (close, or index),
// "PctChange", "Volume", "RSRank", "REC" (stocks; Null for industries), "Advancing" and
// "MemberCount" (industries; Null for stocks).
namespace group_detail {
constexpr std::string_view kIndustryMethod = "IndustryDetail";
constexpr std::string_view kSectorMethod = "SectorDetail";
constexpr size_t kCount = 3;
constexpr Argument kCode{0, "Code", false, ArgType::Long};
constexpr Argument kDate{1, "Date", false, ArgType::Date};
constexpr Argument kMembers{2, "Members", true, ArgType::Object};
}  // namespace group_detail

// What a page names by kind: 0 stocks (symbols, or Stock_ID values), 1 industries, 2 sectors
// (codes). Codes are joined by ",".
namespace page_kind {
constexpr int32_t kStocks = 0;
constexpr int32_t kIndustries = 1;
constexpr int32_t kSectors = 2;
}  // namespace page_kind

// Chart series of several codes in one answer: a row per code and trading day, by code in the
// order given, then by day: "TradeDate", "Code", "Value" (a stock's AdjClose; an industry's or a
// sector's equal-weight index, the day's average member return chained from 100), "Volume"; with
// Advanced also "MA50" and "MA200" (means of Value over the last 50 and 200 trading days, the
// days before FirstDate counted; Null until there are that many) and "RelStrength" (Value against
// the equal-weight market, both taken as 100 on the first day: 100 * (Value / first Value) /
// (Market / first Market), the market every stock with a bar that first day, bought in equal
// amounts then).
namespace chart_series {
constexpr std::string_view kMethod = "ChartSeries";
constexpr size_t kCount = 5;
constexpr Argument kKind{0, "Kind", false, ArgType::Long};
constexpr Argument kCodes{1, "Codes", false, ArgType::Text};
constexpr Argument kFirstDate{2, "FirstDate", false, ArgType::Date};
constexpr Argument kLastDate{3, "LastDate", false, ArgType::Date};
constexpr Argument kAdvanced{4, "Advanced", false, ArgType::Boolean};
}  // namespace chart_series

// A stock on a day beside its industry and sector: a Recordset of three rows, "Level" "Stock",
// "Industry", "Sector", with "Code", "Name", "TradeDate", "Value" (close, or index), "PctChange",
// "High52", "Low52" (Null for groups), "RSRank" (the groups' average), "REC" (the stock's; Null
// for groups), "Buy", "Hold", "Sell" (the counts of the group's members by recommendation; Null
// for the stock) and "MemberCount".
namespace stock_analysis {
constexpr std::string_view kMethod = "StockAnalysis";
constexpr size_t kCount = 2;
constexpr Argument kSymbol{0, "Symbol", false, ArgType::Text};
constexpr Argument kDate{1, "Date", false, ArgType::Date};
}  // namespace stock_analysis

// A quick test: equal amounts put into each chosen stock (for industries and sectors, into each
// group's equal-weight index) at the close of the first trading day on or after StartDate and
// held to EndDate, against the equal-weight market bought the same way (every stock with a bar
// that first day). A code without a value on that first day is not held: its Members row has a
// Null start price. Returns the daily lines, oldest first: "TradeDate", "Portfolio", "Market",
// both 100 on the first day; a day's value averages the holdings with a value that day. Figures
// in percent: TotalReturn and AnnualReturn (compounded over 365.25 calendar days a year) of the
// portfolio, MaxDrawdown (the largest fall from a previous high, positive), Volatility (stdev of
// the daily returns times sqrt(252)); BestCode and WorstCode the holdings of the highest and
// lowest return. Members: "Code", "Name", "StartPrice", "EndPrice", "Return" (percent), one row
// per code in the order given.
namespace quick_test {
constexpr std::string_view kMethod = "QuickTest";
constexpr size_t kCount = 11;
constexpr Argument kKind{0, "Kind", false, ArgType::Long};
constexpr Argument kCodes{1, "Codes", false, ArgType::Text};
constexpr Argument kStartDate{2, "StartDate", false, ArgType::Date};
constexpr Argument kEndDate{3, "EndDate", false, ArgType::Date};
constexpr Argument kMembers{4, "Members", true, ArgType::Object};
constexpr Argument kTotalReturn{5, "TotalReturn", true, ArgType::Variant};
constexpr Argument kAnnualReturn{6, "AnnualReturn", true, ArgType::Variant};
constexpr Argument kMaxDrawdown{7, "MaxDrawdown", true, ArgType::Variant};
constexpr Argument kVolatility{8, "Volatility", true, ArgType::Variant};
constexpr Argument kBestCode{9, "BestCode", true, ArgType::Variant};
constexpr Argument kWorstCode{10, "WorstCode", true, ArgType::Variant};
}  // namespace quick_test

// Dividends inferred from the store's prices, where the adjusted and the traded closes part by a
// step a split does not explain: a Recordset of "Symbol", "ExDate", "Amount" (per share as
// traded the day before), "Estimated" (False), and after each stock's last one a row of its next
// date estimated from the average spacing of its last four (when it has two or more),
// "Estimated" True and "Amount" the last amount. A stock without such steps has no rows.
namespace dividends {
constexpr std::string_view kMethod = "Dividends";
constexpr size_t kCount = 1;
constexpr Argument kSymbols{0, "Symbols", false, ArgType::Text};
}  // namespace dividends

// The members of one of the owner's watch lists, for its graph: returns their codes joined by ","
// in the list's order ("" for an empty list), symbols for a list of stocks and industry codes for
// a list of industry groups, as the quick test takes them; Name gets the list's name and Kind its
// page kind (0 stocks, 1 industries). A list id that is not one of the owner's lists (unknown, a
// folder, another owner's) answers like an empty list without a name, Kind -1.
namespace watch_list_members {
constexpr std::string_view kMethod = "WatchListMembers";
constexpr size_t kCount = 4;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kWatchListId{1, "WatchListId", false, ArgType::Long};
constexpr Argument kName{2, "Name", true, ArgType::Text};
constexpr Argument kKind{3, "Kind", true, ArgType::Long};
}  // namespace watch_list_members

// The market as a whole, for a viewer that has no store of its own to read it from: FirstDay and
// LastDay (its first and last trading days), TradingDay (the last trading day on or before Day;
// the latest for Empty; Empty when there is none), Origin (where the market came from, for
// people: "Generated sample market (…)" or "Imported from <folder> on <date>") and IsSample (True
// for the generated sample). A store without prices answers Empty days. Returns True.
namespace market_summary {
constexpr std::string_view kMethod = "MarketSummary";
constexpr size_t kCount = 6;
constexpr Argument kDay{0, "Day", false, ArgType::Date};
constexpr Argument kFirstDay{1, "FirstDay", true, ArgType::Date};
constexpr Argument kLastDay{2, "LastDay", true, ArgType::Date};
constexpr Argument kTradingDay{3, "TradingDay", true, ArgType::Date};
constexpr Argument kOrigin{4, "Origin", true, ArgType::Text};
constexpr Argument kIsSample{5, "IsSample", true, ArgType::Boolean};
}  // namespace market_summary

// An option on a stock priced by Black-Scholes from its close on a day: a Recordset of one row
// with "Symbol", "TradeDate", "Close", "HistVolatility" (percent: the standard deviation of the
// last 252 daily log returns of the adjusted close, times sqrt(252); Null under 20 returns),
// "Strike", "Days", "Rate", "Volatility" (the one priced with: Volatility when given, else the
// historical one), "CallPrice", "PutPrice", "CallDelta", "PutDelta", "Gamma", "Vega" (per point
// of volatility), "CallTheta", "PutTheta" (per calendar day). Rate and Volatility are percents a
// year; Days are calendar days to expiry. Strike Empty means the close. A strike, days,
// volatility or rate out of range, or no volatility to price with, is refused.
namespace option_price {
constexpr std::string_view kMethod = "OptionPrice";
constexpr size_t kCount = 6;
constexpr Argument kSymbol{0, "Symbol", false, ArgType::Text};
constexpr Argument kDate{1, "Date", false, ArgType::Date};
constexpr Argument kStrike{2, "Strike", false, ArgType::Double};
constexpr Argument kDays{3, "Days", false, ArgType::Long};
constexpr Argument kRate{4, "Rate", false, ArgType::Double};
constexpr Argument kVolatility{5, "Volatility", false, ArgType::Double};
}  // namespace option_price

// Stock screens ("QorvantOnlineFacade.ScreensFTr"): an owner's named screens, and the screens
// shipped with the market (owner 0), which every owner reads and none changes.
//
// The screen language compares catalogue fields, by "Column_Name" or in brackets by "Column_Name"
// or "Caption", with numbers, 'texts' (or "texts"), other fields and sums of them:
//
//     RSRank >= 80 AND Price > MA200
//     (SectorName = 'Energy' OR SectorName = 'Utilities') AND NOT REC = 'S'
//     Volume >= 2 * AvgVolume AND [% Off Hi] > -5
//
// Operators = <> != < <= > >= (also the signs "≤", "≥" and "≠"), + - * / and unary minus;
// AND binds tighter than OR, NOT tightest, parentheses group. Keywords and field names compare
// without regard to letter case, and so do texts. A field without a value on a row (or a division
// by zero on a row) makes its comparison false. A field the row kind has no value for, a text
// compared or computed with a number, a division by the number 0, and a text that does not parse
// are automation errors whose description quotes the token and its position (1-based):
// "Criteria: unknown field 'Pirce' at position 1 in 'Pirce > 10'".
//
// A screen: "Screen_ID", "Owner_ID" (0 for a shipped screen), "Name", "ResultType" (0 stocks,
// 1 industry groups, 2 sectors), "Criteria" (as saved), "Description" (the criteria as a person
// reads them, with captions: "RS >= 80 and Price > 200 Day MA"), "Modified" (a Date).

// The owner's screens by name, then the shipped ones by name.
namespace get_screens {
constexpr std::string_view kMethod = "GetScreens";
constexpr size_t kCount = 1;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
}  // namespace get_screens

// Saves a screen: a new one when ScreenId is 0 or less or names a screen the owner does not own
// (a shipped one saved under its own name is a copy of it), written back into ScreenId; else the
// owner's screen is replaced. The name (trimmed, 1 to 60 characters) must not be another of the
// owner's screens' names (any letter case) and the criteria must parse for the result type.
// Returns True.
namespace save_screen {
constexpr std::string_view kMethod = "SaveScreen";
constexpr size_t kCount = 5;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kScreenId{1, "ScreenId", true, ArgType::Long};
constexpr Argument kName{2, "Name", false, ArgType::Text};
constexpr Argument kResultType{3, "ResultType", false, ArgType::Long};
constexpr Argument kCriteria{4, "Criteria", false, ArgType::Text};
}  // namespace save_screen

// Deletes one of the owner's screens; a shipped screen or another owner's is refused.
namespace delete_screen {
constexpr std::string_view kMethod = "DeleteScreen";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kScreenId{1, "ScreenId", false, ArgType::Long};
}  // namespace delete_screen

// Checks criteria as a person types them: returns how many rows of the result type meet them on
// the day (a Long; no row limit), and writes the criteria as a person reads them into
// Description. Criteria that do not parse are the automation error described above.
namespace check_screen {
constexpr std::string_view kMethod = "CheckScreen";
constexpr size_t kCount = 5;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kResultType{1, "ResultType", false, ArgType::Long};
constexpr Argument kCriteria{2, "Criteria", false, ArgType::Text};
constexpr Argument kDate{3, "Date", false, ArgType::Date};
constexpr Argument kDescription{4, "Description", true, ArgType::Text};
}  // namespace check_screen

// Portfolios a person keeps ("QorvantOnlineFacade.PortfolioFTr"): the owner's portfolios and their
// trades. Every change is one transaction and acts for the session's owner only; a portfolio or
// trade of another owner answers like one that does not exist.
//
// A trade: "Trade_ID", "Symbol", "BuyDate" (a Date), "Commission", "InitialPrice" (per share, as
// traded), "Shares" (as traded on the buy date), "Short" (Boolean), "InitialReq" and
// "MaintenancePercent" (margin percents), "SellDate" and "SellPrice" (Null while the trade is
// open), "Version" (a Long that every change of the trade raises). Holdings count the open trades
// and the closed ones not yet sold on the list's day, with shares and prices adjusted for the
// splits after the buy date. A trade is refused with its argument and reason: an unknown symbol,
// a buy date before the stock's first bar, after the latest trading day or not a trading day,
// shares, price or sell price of 0 or less, a negative commission, margin percents outside 0 to
// 100, a sell date before the buy date or after the latest trading day, a sell price without a
// sell date (or the other way round).

// A new portfolio of the owner; returns its id. Names: trimmed, 1 to 60 characters, unique among
// the owner's portfolios without regard to case.
namespace new_portfolio {
constexpr std::string_view kMethod = "NewPortfolio";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kName{1, "Name", false, ArgType::Text};
}  // namespace new_portfolio

// Renames one of the owner's portfolios; returns True.
namespace rename_portfolio {
constexpr std::string_view kMethod = "RenamePortfolio";
constexpr size_t kCount = 3;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPortfolioId{1, "PortfolioId", false, ArgType::Long};
constexpr Argument kName{2, "Name", false, ArgType::Text};
}  // namespace rename_portfolio

// Deletes one of the owner's portfolios with its trades; returns True.
namespace delete_portfolio {
constexpr std::string_view kMethod = "DeletePortfolio";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPortfolioId{1, "PortfolioId", false, ArgType::Long};
}  // namespace delete_portfolio

// The trades of one of the owner's portfolios, open and closed, by buy date then id (a Recordset
// of the trade fields above).
namespace get_trades {
constexpr std::string_view kMethod = "GetTrades";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPortfolioId{1, "PortfolioId", false, ArgType::Long};
}  // namespace get_trades

// Saves a trade: a new one when TradeId is 0 or less (its id written back), else the owner's
// trade of that id, whose Version must be the one the caller read (else refused: "trade 12 was
// changed elsewhere since it was read; read it again"), so two windows never lose a change. The
// new Version is written back. Returns True.
namespace save_trade {
constexpr std::string_view kMethod = "SaveTrade";
constexpr size_t kCount = 14;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPortfolioId{1, "PortfolioId", false, ArgType::Long};
constexpr Argument kTradeId{2, "TradeId", true, ArgType::Long};
constexpr Argument kSymbol{3, "Symbol", false, ArgType::Text};
constexpr Argument kBuyDate{4, "BuyDate", false, ArgType::Date};
constexpr Argument kCommission{5, "Commission", false, ArgType::Double};
constexpr Argument kInitialPrice{6, "InitialPrice", false, ArgType::Double};
constexpr Argument kShares{7, "Shares", false, ArgType::Double};
constexpr Argument kShort{8, "Short", false, ArgType::Boolean};
constexpr Argument kInitialReq{9, "InitialReq", false, ArgType::Double};
constexpr Argument kMaintenancePercent{10, "MaintenancePercent", false, ArgType::Double};
constexpr Argument kSellDate{11, "SellDate", false, ArgType::Date};
constexpr Argument kSellPrice{12, "SellPrice", false, ArgType::Double};
constexpr Argument kVersion{13, "Version", true, ArgType::Long};
}  // namespace save_trade

// Deletes one of the owner's trades, at the Version the caller read; returns True.
namespace delete_trade {
constexpr std::string_view kMethod = "DeleteTrade";
constexpr size_t kCount = 3;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kTradeId{1, "TradeId", false, ArgType::Long};
constexpr Argument kVersion{2, "Version", false, ArgType::Long};
}  // namespace delete_trade

// Trades from CSV text (UTF-8, a header row naming the columns in any order: Symbol, BuyDate
// (YYYY-MM-DD or M/D/YYYY), Shares, Price, and optionally Commission, Short (true/false, yes/no,
// 1/0), InitialReq, MaintenancePercent, SellDate, SellPrice; numbers with "." as the decimal
// point, without thousands separators). Returns a Recordset of one row per data row: "Row"
// (1-based, the header not counted), "Symbol", "Status" ("ok", "error" or "duplicate": a row
// equal to a trade already in the portfolio or to an earlier row) and "Reason". With Commit False
// nothing is written (a preview); with Commit True the "ok" rows are added in one transaction,
// and only when no row has the status "error" (else nothing is written and the rows say why).
namespace import_trades {
constexpr std::string_view kMethod = "ImportTrades";
constexpr size_t kCount = 4;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPortfolioId{1, "PortfolioId", false, ArgType::Long};
constexpr Argument kCsv{2, "Csv", false, ArgType::Text};
constexpr Argument kCommit{3, "Commit", false, ArgType::Boolean};
}  // namespace import_trades

// The portfolio's trades as CSV text in the import's columns, which ImportTrades reads back.
namespace export_trades {
constexpr std::string_view kMethod = "ExportTrades";
constexpr size_t kCount = 2;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPortfolioId{1, "PortfolioId", false, ArgType::Long};
}  // namespace export_trades

// A holding's details for its page ("QorvantOnlineFacade.PagesFNTr"): the trades of the owner's
// portfolio in the symbol (a Recordset of the trade fields, each with "Cost", "Value" on the day,
// "RealizedGain" and "UnrealizedGain"), and Lines, a Recordset of "TradeDate", "Value" (the
// holding's value on each trading day from its first buy date to the day) and "Market" (the
// equal-weight market scaled to the holding's value on the first day).
namespace investment_details {
constexpr std::string_view kMethod = "InvestmentDetails";
constexpr size_t kCount = 5;
constexpr Argument kOwnerId{0, "OwnerId", false, ArgType::Long};
constexpr Argument kPortfolioId{1, "PortfolioId", false, ArgType::Long};
constexpr Argument kSymbol{2, "Symbol", false, ArgType::Text};
constexpr Argument kDate{3, "Date", false, ArgType::Date};
constexpr Argument kLines{4, "Lines", true, ArgType::Object};
}  // namespace investment_details

}  // namespace qv::facade_protocol
