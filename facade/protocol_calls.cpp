#include "facade/protocol_calls.h"

#include <unordered_map>

#include "outside/text_util.h"

namespace qv::facade {

namespace {

using namespace facade_protocol;

// Keyed by the protocol's own names, which live as long as the program.
using CallTable =
    std::unordered_map<std::string_view, std::vector<Argument>, IgnoreCaseHash, IgnoreCaseEqual>;

const CallTable& Calls() {
    // Methods that differ only in what they read take one list: the three histories read their
    // key (position 2) under three names, listed once as Key.
    static const std::vector<Argument> kHistoryArguments = {
        history::kStartDate,     history::kEndDate, history::kKey,     history::kLayoutInfo,
        history::kParameterList, history::kOwnerId, history::kMaxRows, history::kReturnAll};
    static const std::vector<Argument> kNewComparedWatchListArguments = {
        new_compared_watch_list::kFolderId, new_compared_watch_list::kOtherListId,
        new_compared_watch_list::kItems,    new_compared_watch_list::kWatchListType,
        new_compared_watch_list::kName,     new_compared_watch_list::kComments,
        new_compared_watch_list::kOwnerId};
    static const std::vector<Argument> kGroupDetailArguments = {
        group_detail::kCode, group_detail::kDate, group_detail::kMembers};

    static const CallTable calls = {
        {stock_viewer::kMethod, {stock_viewer::kOwnerId,       stock_viewer::kLayoutId,
                                 stock_viewer::kStartDate,     stock_viewer::kMaxRows,
                                 stock_viewer::kReturnAll,     stock_viewer::kAvgType,
                                 stock_viewer::kLayoutInfo,    stock_viewer::kSecondaryColumns,
                                 stock_viewer::kRows,          stock_viewer::kSecondaryRows,
                                 stock_viewer::kStartTimeId,   stock_viewer::kIndCode,
                                 stock_viewer::kSectorCode,    stock_viewer::kWatchListId,
                                 stock_viewer::kWatchListName, stock_viewer::kParameterList,
                                 stock_viewer::kPortfolioID,   stock_viewer::kListScope,
                                 stock_viewer::kTimeCode,      stock_viewer::kLoginConflict}},
        {search_stocks::kMethod,
         {search_stocks::kOwnerId, search_stocks::kLayoutId, search_stocks::kStartDate,
          search_stocks::kMaxRows, search_stocks::kSearchText, search_stocks::kSearchOpt1,
          search_stocks::kSearchOpt2, search_stocks::kLayoutInfo, search_stocks::kSecondaryColumns,
          search_stocks::kRows, search_stocks::kSecondaryRows, search_stocks::kStartTimeId,
          search_stocks::kWatchListId, search_stocks::kIndCode, search_stocks::kSectorCode}},
        {industry_viewer::kMethod,
         {industry_viewer::kOwnerId, industry_viewer::kStartDate, industry_viewer::kMaxRows,
          industry_viewer::kReturnAll, industry_viewer::kAvgType, industry_viewer::kLayoutInfo,
          industry_viewer::kSecondaryColumns, industry_viewer::kRows,
          industry_viewer::kSecondaryRows, industry_viewer::kStartTimeId,
          industry_viewer::kSectorCode, industry_viewer::kWatchListId, industry_viewer::kListScope,
          industry_viewer::kParameterList, industry_viewer::kWatchListName,
          industry_viewer::kTimeCode, industry_viewer::kLoginConflict}},
        {sector_viewer::kMethod,
         {sector_viewer::kOwnerId, sector_viewer::kStartDate, sector_viewer::kMaxRows,
          sector_viewer::kReturnAll, sector_viewer::kAvgType, sector_viewer::kLayoutInfo,
          sector_viewer::kRows, sector_viewer::kStartTimeId, sector_viewer::kParameterList,
          sector_viewer::kTimeCode, sector_viewer::kLoginConflict}},
        {search_industries::kMethod,
         {search_industries::kOwnerId, search_industries::kLayoutId, search_industries::kStartDate,
          search_industries::kMaxRows, search_industries::kSearchText,
          search_industries::kSearchOpt1, search_industries::kLayoutInfo,
          search_industries::kSecondaryColumns, search_industries::kRows,
          search_industries::kSecondaryRows, search_industries::kStartTimeId,
          search_industries::kListScope, search_industries::kSectorCode,
          search_industries::kWatchListId}},
        {search_sector::kMethod,
         {search_sector::kOwnerId, search_sector::kLayoutId, search_sector::kStartDate,
          search_sector::kSearchText, search_sector::kSearchOpt1, search_sector::kMaxRows,
          search_sector::kLayoutInfo, search_sector::kRows, search_sector::kStartTimeId}},
        {get_sector_detail::kMethod,
         {get_sector_detail::kStartTimeId, get_sector_detail::kSectorCode,
          get_sector_detail::kAvgType, get_sector_detail::kSelectList}},
        {history::kStockMethod, kHistoryArguments},
        {history::kIndustryMethod, kHistoryArguments},
        {history::kSectorMethod, kHistoryArguments},
        {get_default_layout::kMethod,
         {get_default_layout::kOwnerId, get_default_layout::kViewerType,
          get_default_layout::kFinderType}},
        {get_layout::kMethod, {get_layout::kOwnerId, get_layout::kLayoutId}},
        {get_custom_field_list::kMethod,
         {get_custom_field_list::kOwnerId, get_custom_field_list::kResultType}},
        {get_default_layout_id::kMethod,
         {get_default_layout_id::kOwnerId, get_default_layout_id::kPrintType,
          get_default_layout_id::kResultType}},
        {search_company_name::kMethod,
         {search_company_name::kSearchText, search_company_name::kIndCode,
          search_company_name::kSectorCode, search_company_name::kWatchListId,
          search_company_name::kDate, search_company_name::kOwnerId}},
        {search_industry_name::kMethod,
         {search_industry_name::kSearchText, search_industry_name::kSectorCode,
          search_industry_name::kWatchListId, search_industry_name::kDate,
          search_industry_name::kOwnerId}},
        {search_sector_name::kMethod, {search_sector_name::kSearchText, search_sector_name::kDate}},
        {get_default_max_rows::kMethod,
         {get_default_max_rows::kListKind, get_default_max_rows::kMaxRows,
          get_default_max_rows::kReturnAll, get_default_max_rows::kOwnerId}},
        {login::kMethod, {login::kOwnerId, login::kName}},
        {run_screen::kMethod,
         {run_screen::kOwnerId, run_screen::kResultType, run_screen::kCriteria, run_screen::kDate,
          run_screen::kMaxRows, run_screen::kReturnAll}},
        {save_layout::kMethod,
         {save_layout::kOwnerId, save_layout::kLayoutId, save_layout::kName,
          save_layout::kDescription, save_layout::kParentId, save_layout::kPriSortId,
          save_layout::kPriSortDir, save_layout::kSecSortId, save_layout::kSecSortDir,
          save_layout::kColumnTable, save_layout::kDataType, save_layout::kFinderType}},
        {delete_layout::kMethod,
         {delete_layout::kOwnerId, delete_layout::kLayoutId, delete_layout::kFinderResultsType,
          delete_layout::kNewLayout}},
        {restore_default_layout::kMethod,
         {restore_default_layout::kOwnerId, restore_default_layout::kViewerType,
          restore_default_layout::kFinderType, restore_default_layout::kUserOnly}},
        {delete_custom_layout::kMethod,
         {delete_custom_layout::kOwnerId, delete_custom_layout::kPrintType,
          delete_custom_layout::kFinderType}},
        {get_watch_lists::kMethod, {get_watch_lists::kOwnerId, get_watch_lists::kWatchListType}},
        {new_watch_list_and_items::kMethod,
         {new_watch_list_and_items::kFolderId, new_watch_list_and_items::kItems,
          new_watch_list_and_items::kWatchListType, new_watch_list_and_items::kName,
          new_watch_list_and_items::kComments, new_watch_list_and_items::kOwnerId}},
        {new_compared_watch_list::kMatchingMethod, kNewComparedWatchListArguments},
        {new_compared_watch_list::kNonMatchingMethod, kNewComparedWatchListArguments},
        {add_watch_list_items::kMethod,
         {add_watch_list_items::kWatchListId, add_watch_list_items::kItems,
          add_watch_list_items::kWatchListType, add_watch_list_items::kOwnerId}},
        {delete_watch_list_items::kMethod,
         {delete_watch_list_items::kWatchListId, delete_watch_list_items::kItems,
          delete_watch_list_items::kOwnerId}},
        {new_watch_list_folder::kMethod,
         {new_watch_list_folder::kFolderId, new_watch_list_folder::kWatchListType,
          new_watch_list_folder::kName, new_watch_list_folder::kOwnerId}},
        {get_current_holdings::kMethod,
         {get_current_holdings::kPortfolioID, get_current_holdings::kOwnerId,
          get_current_holdings::kDate, get_current_holdings::kWithTrades,
          get_current_holdings::kTrades, get_current_holdings::kLayoutInfo,
          get_current_holdings::kWithCatalogue, get_current_holdings::kParameterList}},
        {get_portfolios::kMethod, {get_portfolios::kOwnerId}},
        {get_options_trades::kMethod, {get_options_trades::kOwnerId}},
        {stock_detail::kMethod, {stock_detail::kSymbol, stock_detail::kDate}},
        {price_history::kMethod,
         {price_history::kSymbol, price_history::kFirstDate, price_history::kLastDate}},
        {group_detail::kIndustryMethod, kGroupDetailArguments},
        {group_detail::kSectorMethod, kGroupDetailArguments},
        {chart_series::kMethod,
         {chart_series::kKind, chart_series::kCodes, chart_series::kFirstDate,
          chart_series::kLastDate, chart_series::kAdvanced}},
        {stock_analysis::kMethod, {stock_analysis::kSymbol, stock_analysis::kDate}},
        {quick_test::kMethod,
         {quick_test::kKind, quick_test::kCodes, quick_test::kStartDate, quick_test::kEndDate,
          quick_test::kMembers, quick_test::kTotalReturn, quick_test::kAnnualReturn,
          quick_test::kMaxDrawdown, quick_test::kVolatility, quick_test::kBestCode,
          quick_test::kWorstCode}},
        {dividends::kMethod, {dividends::kSymbols}},
        {watch_list_members::kMethod,
         {watch_list_members::kOwnerId, watch_list_members::kWatchListId, watch_list_members::kName,
          watch_list_members::kKind}},
        {option_price::kMethod,
         {option_price::kSymbol, option_price::kDate, option_price::kStrike, option_price::kDays,
          option_price::kRate, option_price::kVolatility}},
        {get_screens::kMethod, {get_screens::kOwnerId}},
        {save_screen::kMethod,
         {save_screen::kOwnerId, save_screen::kScreenId, save_screen::kName,
          save_screen::kResultType, save_screen::kCriteria}},
        {delete_screen::kMethod, {delete_screen::kOwnerId, delete_screen::kScreenId}},
        {check_screen::kMethod,
         {check_screen::kOwnerId, check_screen::kResultType, check_screen::kCriteria,
          check_screen::kDate, check_screen::kDescription}},
        {new_portfolio::kMethod, {new_portfolio::kOwnerId, new_portfolio::kName}},
        {rename_portfolio::kMethod,
         {rename_portfolio::kOwnerId, rename_portfolio::kPortfolioId, rename_portfolio::kName}},
        {delete_portfolio::kMethod, {delete_portfolio::kOwnerId, delete_portfolio::kPortfolioId}},
        {get_trades::kMethod, {get_trades::kOwnerId, get_trades::kPortfolioId}},
        {save_trade::kMethod,
         {save_trade::kOwnerId, save_trade::kPortfolioId, save_trade::kTradeId, save_trade::kSymbol,
          save_trade::kBuyDate, save_trade::kCommission, save_trade::kInitialPrice,
          save_trade::kShares, save_trade::kShort, save_trade::kInitialReq,
          save_trade::kMaintenancePercent, save_trade::kSellDate, save_trade::kSellPrice,
          save_trade::kVersion}},
        {delete_trade::kMethod,
         {delete_trade::kOwnerId, delete_trade::kTradeId, delete_trade::kVersion}},
        {import_trades::kMethod,
         {import_trades::kOwnerId, import_trades::kPortfolioId, import_trades::kCsv,
          import_trades::kCommit}},
        {export_trades::kMethod, {export_trades::kOwnerId, export_trades::kPortfolioId}},
        {investment_details::kMethod,
         {investment_details::kOwnerId, investment_details::kPortfolioId,
          investment_details::kSymbol, investment_details::kDate, investment_details::kLines}},
    };
    return calls;
}

}  // namespace

const std::vector<facade_protocol::Argument>* FindCallArguments(std::string_view p_sMethod) {
    const CallTable& calls = Calls();
    const auto found = calls.find(p_sMethod);
    return found == calls.end() ? nullptr : &found->second;
}

}  // namespace qv::facade
