#include "facade/viewer_reader_component.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/layout_access.h"
#include "facade/layout_store.h"
#include "facade/market_lists.h"
#include "facade/market_queries.h"
#include "facade/market_screen.h"
#include "facade/owner_store.h"
#include "facade/read_snapshot.h"
#include "facade/recordset_conversion.h"
#include "facade/screen_criteria.h"
#include "facade/sqlite_database.h"
#include "facade/system_layouts.h"
#include "outside/automation_error.h"
#include "outside/numeric_text.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

namespace sv = facade_protocol::stock_viewer;
namespace ss = facade_protocol::search_stocks;
namespace iv = facade_protocol::industry_viewer;
namespace sc = facade_protocol::sector_viewer;
namespace si = facade_protocol::search_industries;
namespace se = facade_protocol::search_sector;
namespace gsd = facade_protocol::get_sector_detail;
namespace history = facade_protocol::history;
namespace rs = facade_protocol::run_screen;

constexpr int32_t kStockViewer = 0;
constexpr int32_t kIndustryViewer = 1;
constexpr int32_t kSectorViewer = 2;
constexpr int32_t kStockHistory = 3;
constexpr int32_t kIndustryHistory = 4;
constexpr int32_t kSectorHistory = 5;
constexpr int32_t kFinderViewer = 6;
constexpr int32_t kNoFinderType = -1;

// List scopes as the viewer numbers them.
constexpr int32_t kSectorScope = 2;
constexpr int32_t kOneSectorScope = 3;

// The table bits of the grids below the lists.
constexpr int32_t kIndustryTable = 1;
constexpr int32_t kSectorTable = 2;

// The search option that asks for company names.
constexpr int32_t kNameSearch = 1;

bool IsNumber(const std::string& p_sText) {
    return ParseNumericText(p_sText).has_value();
}

// A stock search looks for symbols, or for company names with the name option. An industry or
// sector search looks for codes when the text is a list of numbers, else for names.
ListSearch SearchOf(const FacadeArguments& p_oArgs, const facade_protocol::Argument& p_oText,
                    int32_t p_lOption, bool p_bCodes) {
    const std::string text = p_oArgs.Text(p_oText);
    ListSearch search;
    std::vector<std::string> keys = SplitList(text);
    const bool numbers = !keys.empty() && std::all_of(keys.begin(), keys.end(), IsNumber);
    if (p_lOption == kNameSearch || (p_bCodes && !numbers)) {
        search.m_sNameStart = TrimWhitespace(text);
        return search;
    }
    if (p_bCodes) {
        for (std::string& key : keys) {
            key = std::to_string(p_oArgs.WholeNumber(p_oText, key));
        }
    }
    search.m_aKeys = std::move(keys);
    return search;
}

// The list scope decides between an industry and a sector when the caller sends both codes; a
// scope that names a code the caller did not send falls back to the codes.
ListScope StockScope(int32_t p_lIndCode, int32_t p_lSectorCode, int32_t p_lListScope) {
    ListScope scope;
    if (p_lListScope == kSectorScope && p_lSectorCode > 0) {
        scope.m_lSectorCode = p_lSectorCode;
    } else if (p_lIndCode > 0) {
        scope.m_lIndCode = p_lIndCode;
    } else if (p_lSectorCode > 0) {
        scope.m_lSectorCode = p_lSectorCode;
    }
    return scope;
}

// The fields of the grid below a list: the caller's select list, else the layout's columns of
// that grid's table.
std::vector<std::string> SecondaryFields(const Variant& p_vList, const LayoutRecord& p_oLayout,
                                         int32_t p_lTableBit) {
    std::vector<std::string> fields = SelectListFields(p_vList);
    return fields.empty() ? FetchedFields(p_oLayout, p_lTableBit) : fields;
}

// The layout a list without a layout id starts from: the watch-list layout for a watch list.
int32_t StartLayoutId(int32_t p_lLayoutId, int32_t p_lWatchListId, int32_t p_lWatchListLayout) {
    if (p_lLayoutId > 0) {
        return p_lLayoutId;
    }
    return p_lWatchListId > 0 ? p_lWatchListLayout : 0;
}

RowKind ScreenRows(FacadeArguments& p_oArgs, int32_t p_lResultType) {
    switch (p_lResultType) {
        case 0:
        case 5:
            return RowKind::Stock;
        case 1:
            return RowKind::Industry;
        case 2:
            return RowKind::Sector;
        default:
            p_oArgs.Fail(rs::kResultType,
                         "result type " + std::to_string(p_lResultType) + " cannot be screened");
    }
}

ScreenCriterion ReadCriterion(FacadeArguments& p_oArgs, const VariantArray& p_aCriteria,
                              int32_t p_lEntry, RowKind p_eRows) {
    const int32_t row = p_aCriteria.LBound(1);
    const std::string entry = "criterion " + std::to_string(p_lEntry);
    ScreenCriterion criterion;
    try {
        const std::string fieldName(TrimWhitespace(p_aCriteria.At(row, p_lEntry).ToString()));
        const FieldDefinition* definition = FindFieldByName(fieldName);
        if (definition == nullptr || definition->SqlFor(p_eRows) == nullptr) {
            p_oArgs.Fail(rs::kCriteria, entry + ": no field \"" + fieldName + "\" in these rows");
        }
        criterion.m_sField = definition->m_sColumnName;
        const std::string operatorText(
            TrimWhitespace(p_aCriteria.At(row + 1, p_lEntry).ToString()));
        const std::optional<ScreenOperator> parsedOperator = ScreenOperatorOf(operatorText);
        if (!parsedOperator) {
            p_oArgs.Fail(rs::kCriteria, entry + ": unknown operator \"" + operatorText + "\"");
        }
        criterion.m_eOperator = *parsedOperator;
        const Variant& value = p_aCriteria.At(row + 2, p_lEntry);
        criterion.m_vValue = definition->m_eKind == FieldKind::Text ? FieldValue(value.ToString())
                                                                    : FieldValue(value.ToDouble());
    } catch (const AutomationError& error) {
        if (error.Number() == kFacadeErrorNumber) {
            throw;
        }
        p_oArgs.Fail(rs::kCriteria, entry + ": " + error.Description());
    }
    return criterion;
}

// The criteria as one condition: a text of the screen language, the table of criteria, or none.
ScreenSql ReadScreen(FacadeArguments& p_oArgs, RowKind p_eRows) {
    if (!p_oArgs.IsGiven(rs::kCriteria)) {
        return {};
    }
    const Variant& criteriaValue = p_oArgs.Value(rs::kCriteria);
    if (criteriaValue.IsString()) {
        try {
            return CompileScreenCriteria(criteriaValue.ToString(), p_eRows);
        } catch (const ScreenCriteriaError& error) {
            p_oArgs.Fail(rs::kCriteria, error.what());
        }
    }
    if (!criteriaValue.IsArray() || criteriaValue.Array().Dimensions() != 2 ||
        criteriaValue.Array().UBound(1) - criteriaValue.Array().LBound(1) < 2) {
        p_oArgs.Fail(rs::kCriteria,
                     "neither criteria text nor an array of 3 rows (field, operator, value) by n");
    }
    const VariantArray& criteriaTable = criteriaValue.Array();
    std::vector<ScreenCriterion> criteria;
    for (int32_t i = criteriaTable.LBound(2); i <= criteriaTable.UBound(2); ++i) {
        criteria.push_back(ReadCriterion(p_oArgs, criteriaTable, i, p_eRows));
    }
    return TableScreen(criteria, p_eRows);
}

// Where a list call keeps the arguments it shares with the other list calls; kAbsent for one it
// does not have.
constexpr facade_protocol::Argument kAbsent{SIZE_MAX, "", false, facade_protocol::ArgType::Variant};

struct ListPlaces {
    facade_protocol::Argument m_oStartDate;
    facade_protocol::Argument m_oMaxRows;
    facade_protocol::Argument m_oReturnAll;  // absent: the limit comes by value and every row is
                                             // never asked for
    facade_protocol::Argument m_oLayoutInfo;
    facade_protocol::Argument m_oRows;
    facade_protocol::Argument m_oSecondaryRows;
    facade_protocol::Argument m_oStartTimeId;
    facade_protocol::Argument m_oParameterList;
    facade_protocol::Argument m_oWatchListName;
    facade_protocol::Argument m_oTimeCode;
    facade_protocol::Argument m_oLoginConflict;
};

bool Has(const facade_protocol::Argument& p_oArg) {
    return p_oArg.Position != kAbsent.Position;
}

constexpr ListPlaces kStockViewerPlaces{sv::kStartDate,   sv::kMaxRows,       sv::kReturnAll,
                                        sv::kLayoutInfo,  sv::kRows,          sv::kSecondaryRows,
                                        sv::kStartTimeId, sv::kParameterList, sv::kWatchListName,
                                        sv::kTimeCode,    sv::kLoginConflict};
constexpr ListPlaces kSearchStocksPlaces{
    ss::kStartDate,   ss::kMaxRows, kAbsent, ss::kLayoutInfo, ss::kRows, ss::kSecondaryRows,
    ss::kStartTimeId, kAbsent,      kAbsent, kAbsent,         kAbsent};
constexpr ListPlaces kIndustryViewerPlaces{iv::kStartDate,   iv::kMaxRows,       iv::kReturnAll,
                                           iv::kLayoutInfo,  iv::kRows,          iv::kSecondaryRows,
                                           iv::kStartTimeId, iv::kParameterList, iv::kWatchListName,
                                           iv::kTimeCode,    iv::kLoginConflict};
constexpr ListPlaces kSectorViewerPlaces{sc::kStartDate,   sc::kMaxRows,       sc::kReturnAll,
                                         sc::kLayoutInfo,  sc::kRows,          kAbsent,
                                         sc::kStartTimeId, sc::kParameterList, kAbsent,
                                         sc::kTimeCode,    sc::kLoginConflict};
constexpr ListPlaces kSearchIndustriesPlaces{
    si::kStartDate,   si::kMaxRows, kAbsent, si::kLayoutInfo, si::kRows, si::kSecondaryRows,
    si::kStartTimeId, kAbsent,      kAbsent, kAbsent,         kAbsent};
constexpr ListPlaces kSearchSectorPlaces{
    se::kStartDate,   se::kMaxRows, kAbsent, se::kLayoutInfo, se::kRows, kAbsent,
    se::kStartTimeId, kAbsent,      kAbsent, kAbsent,         kAbsent};

// True, with the flag written back, when the session's owner has logged in again since the
// session's or the caller's time code was handed out; the call then answers nothing else.
bool LoginConflict(FacadeBackend& p_oBackend, FacadeArguments& p_oArgs,
                   const ListPlaces& p_oPlaces) {
    if (!p_oBackend.HasNewerLogin(p_oArgs.Text(p_oPlaces.m_oTimeCode))) {
        return false;
    }
    p_oArgs.Out(p_oPlaces.m_oLoginConflict) = true;
    return true;
}

// The layout the caller sent.
std::optional<LayoutDescription> SentLayout(const FacadeArguments& p_oArgs,
                                            const ListPlaces& p_oPlaces) {
    return p_oArgs.Layout(p_oPlaces.m_oLayoutInfo);
}

// The id in the header of the layout sent, for the calls that take no id of their own; 0 when
// none was sent.
int32_t SentLayoutId(const std::optional<LayoutDescription>& p_oSent) {
    return p_oSent ? p_oSent->Header.Id : 0;
}

LayoutInForce ListLayout(SqlDatabase& p_oDatabase, const FacadeArguments& p_oArgs,
                         std::optional<LayoutDescription> p_oSent, int32_t p_lOwnerId,
                         int32_t p_lLayoutId, int32_t p_lViewerType) {
    return LayoutAccess(p_oDatabase)
        .InForce(p_oArgs.Method(), p_lOwnerId, std::move(p_oSent), p_lLayoutId, p_lViewerType,
                 kNoFinderType);
}

// The query of a list call before its scope: the day, the fields and order of the layout in
// force, and the row limit.
ListQuery BaseQuery(const FacadeArguments& p_oArgs, const ListPlaces& p_oPlaces,
                    MarketLists& p_oLists, int32_t p_lOwnerId, const LayoutRecord& p_oLayout) {
    ListQuery query;
    query.m_lOwnerId = p_lOwnerId;
    query.m_lDate = p_oArgs.Day(p_oPlaces.m_oStartDate);
    query.m_aFields = FetchedFields(p_oLayout);
    query.m_sSort = SortTextOf(p_oLayout);
    const int32_t maxRows = p_oArgs.Long(p_oPlaces.m_oMaxRows);
    const bool returnAll = Has(p_oPlaces.m_oReturnAll) && p_oArgs.Boolean(p_oPlaces.m_oReturnAll);
    query.m_oLimits = p_oLists.ResolveLimits(p_lOwnerId, maxRows, returnAll);
    return query;
}

// Writes back what the call answers by reference and returns its rows.
Variant AnswerList(FacadeBackend& p_oBackend, FacadeArguments& p_oArgs, const ListPlaces& p_oPlaces,
                   const ListQuery& p_oQuery, ListAnswer& p_oAnswer,
                   const LayoutInForce& p_oInForce) {
    const Variant rows = RecordsetValue(std::move(p_oAnswer.m_oRows));
    if (Has(p_oPlaces.m_oReturnAll)) {
        p_oArgs.Out(p_oPlaces.m_oMaxRows) = p_oQuery.m_oLimits.m_lMaxRows;
        p_oArgs.Out(p_oPlaces.m_oReturnAll) = p_oQuery.m_oLimits.m_bReturnAll;
    }
    WriteBackLayout(p_oArgs.Out(p_oPlaces.m_oLayoutInfo), p_oInForce);
    p_oArgs.Out(p_oPlaces.m_oRows) = rows;
    if (Has(p_oPlaces.m_oSecondaryRows)) {
        p_oArgs.Out(p_oPlaces.m_oSecondaryRows) = RecordsetValue(std::move(p_oAnswer.m_oSecondary));
    }
    p_oArgs.Out(p_oPlaces.m_oStartTimeId) = p_oAnswer.m_lTradingDay;
    if (Has(p_oPlaces.m_oWatchListName)) {
        p_oArgs.Out(p_oPlaces.m_oWatchListName) = p_oAnswer.m_sWatchListName;
    }
    if (Has(p_oPlaces.m_oParameterList)) {
        p_oArgs.Out(p_oPlaces.m_oParameterList) = RecordsetValue(p_oBackend.FieldCatalogue());
    }
    if (Has(p_oPlaces.m_oLoginConflict)) {
        p_oArgs.Out(p_oPlaces.m_oLoginConflict) = false;
    }
    return rows;
}

}  // namespace

Variant ViewerReaderComponent::StockViewer(DispatchArgs p_args) {
    FacadeArguments args(sv::kMethod, p_args);
    const ListPlaces& places = kStockViewerPlaces;
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Backend().ListOwner(args.Method(), args.Long(sv::kOwnerId));
    if (LoginConflict(Backend(), args, places)) {
        return Variant::Nothing();
    }
    const int32_t sectorCode = args.Long(sv::kSectorCode);
    const int32_t watchListId = args.Long(sv::kWatchListId);
    const LayoutInForce inForce = ListLayout(
        database, args, SentLayout(args, places), ownerId,
        StartLayoutId(args.Long(sv::kLayoutId), watchListId, system_layout::kStockWatchList),
        kStockViewer);
    MarketLists lists(database);
    ListQuery query = BaseQuery(args, places, lists, ownerId, inForce.m_oLayout);
    query.m_oScope = StockScope(args.Long(sv::kIndCode), sectorCode, args.Long(sv::kListScope));
    query.m_oScope.m_lWatchListId = watchListId;
    query.m_oScope.m_lPortfolioId = args.Long(sv::kPortfolioID);
    query.m_lSectorGridCode = std::max(sectorCode, 0);
    query.m_aSecondaryFields = SecondaryFields(args.Value(sv::kSecondaryColumns), inForce.m_oLayout,
                                               sectorCode > 0 ? kSectorTable : kIndustryTable);
    ListAnswer answer = lists.Stocks(query);
    return AnswerList(Backend(), args, places, query, answer, inForce);
}

Variant ViewerReaderComponent::SearchStocks(DispatchArgs p_args) {
    FacadeArguments args(ss::kMethod, p_args);
    const ListPlaces& places = kSearchStocksPlaces;
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Owner(args, ss::kOwnerId, OwnerAccess::Read);
    const int32_t watchListId = args.Long(ss::kWatchListId);
    const int32_t sectorCode = args.Long(ss::kSectorCode);
    const LayoutInForce inForce = ListLayout(
        database, args, SentLayout(args, places), ownerId,
        StartLayoutId(args.Long(ss::kLayoutId), watchListId, system_layout::kStockWatchList),
        kStockViewer);
    MarketLists lists(database);
    ListQuery query = BaseQuery(args, places, lists, ownerId, inForce.m_oLayout);
    query.m_oScope = StockScope(args.Long(ss::kIndCode), sectorCode, 0);
    query.m_oScope.m_lWatchListId = watchListId;
    query.m_oSearch = SearchOf(args, ss::kSearchText, args.Long(ss::kSearchOpt1), false);
    query.m_lSectorGridCode = std::max(sectorCode, 0);
    query.m_aSecondaryFields = SecondaryFields(args.Value(ss::kSecondaryColumns), inForce.m_oLayout,
                                               sectorCode > 0 ? kSectorTable : kIndustryTable);
    ListAnswer answer = lists.Stocks(query);
    return AnswerList(Backend(), args, places, query, answer, inForce);
}

Variant ViewerReaderComponent::GetSectorDetail(DispatchArgs p_args) {
    FacadeArguments args(gsd::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    return RecordsetValue(MarketLists(Backend().Database())
                              .SectorRow(std::max(args.Long(gsd::kStartTimeId), 0),
                                         args.Long(gsd::kSectorCode),
                                         SelectListFields(args.Value(gsd::kSelectList))));
}

Variant ViewerReaderComponent::IndustryViewer(DispatchArgs p_args) {
    FacadeArguments args(iv::kMethod, p_args);
    const ListPlaces& places = kIndustryViewerPlaces;
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Backend().ListOwner(args.Method(), args.Long(iv::kOwnerId));
    if (LoginConflict(Backend(), args, places)) {
        return Variant::Nothing();
    }
    const int32_t sectorCode = std::max(args.Long(iv::kSectorCode), 0);
    const int32_t watchListId = args.Long(iv::kWatchListId);
    std::optional<LayoutDescription> sent = SentLayout(args, places);
    const int32_t layoutId =
        StartLayoutId(SentLayoutId(sent), watchListId, system_layout::kIndustryWatchList);
    const LayoutInForce inForce =
        ListLayout(database, args, std::move(sent), ownerId, layoutId, kIndustryViewer);
    MarketLists lists(database);
    ListQuery query = BaseQuery(args, places, lists, ownerId, inForce.m_oLayout);
    query.m_oScope.m_lSectorCode = sectorCode;
    query.m_oScope.m_lWatchListId = watchListId;
    query.m_aSecondaryFields =
        SecondaryFields(args.Value(iv::kSecondaryColumns), inForce.m_oLayout, kSectorTable);
    ListAnswer answer = lists.Industries(query);
    args.Out(iv::kListScope) = sectorCode > 0 ? kOneSectorScope : 0;
    return AnswerList(Backend(), args, places, query, answer, inForce);
}

Variant ViewerReaderComponent::SectorViewer(DispatchArgs p_args) {
    FacadeArguments args(sc::kMethod, p_args);
    const ListPlaces& places = kSectorViewerPlaces;
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Backend().ListOwner(args.Method(), args.Long(sc::kOwnerId));
    if (LoginConflict(Backend(), args, places)) {
        return Variant::Nothing();
    }
    std::optional<LayoutDescription> sent = SentLayout(args, places);
    const int32_t layoutId = SentLayoutId(sent);
    const LayoutInForce inForce =
        ListLayout(database, args, std::move(sent), ownerId, layoutId, kSectorViewer);
    MarketLists lists(database);
    const ListQuery query = BaseQuery(args, places, lists, ownerId, inForce.m_oLayout);
    ListAnswer answer = lists.Sectors(query);
    return AnswerList(Backend(), args, places, query, answer, inForce);
}

Variant ViewerReaderComponent::SearchIndustries(DispatchArgs p_args) {
    FacadeArguments args(si::kMethod, p_args);
    const ListPlaces& places = kSearchIndustriesPlaces;
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Owner(args, si::kOwnerId, OwnerAccess::Read);
    const int32_t sectorCode = std::max(args.Long(si::kSectorCode), 0);
    const int32_t watchListId = args.Long(si::kWatchListId);
    const LayoutInForce inForce = ListLayout(
        database, args, SentLayout(args, places), ownerId,
        StartLayoutId(args.Long(si::kLayoutId), watchListId, system_layout::kIndustryWatchList),
        kIndustryViewer);
    MarketLists lists(database);
    ListQuery query = BaseQuery(args, places, lists, ownerId, inForce.m_oLayout);
    query.m_oScope.m_lSectorCode = sectorCode;
    query.m_oScope.m_lWatchListId = watchListId;
    query.m_oSearch = SearchOf(args, si::kSearchText, args.Long(si::kSearchOpt1), true);
    query.m_aSecondaryFields =
        SecondaryFields(args.Value(si::kSecondaryColumns), inForce.m_oLayout, kSectorTable);
    ListAnswer answer = lists.Industries(query);
    args.Out(si::kListScope) = sectorCode > 0 ? kOneSectorScope : 0;
    return AnswerList(Backend(), args, places, query, answer, inForce);
}

Variant ViewerReaderComponent::SearchSector(DispatchArgs p_args) {
    FacadeArguments args(se::kMethod, p_args);
    const ListPlaces& places = kSearchSectorPlaces;
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Owner(args, se::kOwnerId, OwnerAccess::Read);
    const LayoutInForce inForce = ListLayout(database, args, SentLayout(args, places), ownerId,
                                             args.Long(se::kLayoutId), kSectorViewer);
    MarketLists lists(database);
    ListQuery query = BaseQuery(args, places, lists, ownerId, inForce.m_oLayout);
    query.m_oSearch = SearchOf(args, se::kSearchText, args.Long(se::kSearchOpt1), true);
    ListAnswer answer = lists.Sectors(query);
    return AnswerList(Backend(), args, places, query, answer, inForce);
}

Variant ViewerReaderComponent::History(std::string_view p_sMethod, int32_t p_lViewerType,
                                       DispatchArgs p_args) {
    FacadeArguments args(p_sMethod, p_args);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Owner(args, history::kOwnerId, OwnerAccess::Read);
    std::optional<LayoutDescription> sent = args.Layout(history::kLayoutInfo);
    const int32_t layoutId = SentLayoutId(sent);
    const LayoutInForce inForce = LayoutAccess(database).InForce(
        p_sMethod, ownerId, std::move(sent), layoutId, p_lViewerType, kNoFinderType);
    const LayoutRecord& layout = inForce.m_oLayout;
    const ListLimits limits = MarketLists(database).ResolveLimits(
        ownerId, args.Long(history::kMaxRows), args.Boolean(history::kReturnAll));
    HistoryRequest request;
    request.m_aFields = WithKeys(FetchedFields(layout), {"Trading_Date"});
    request.m_lFirstDate = args.Day(history::kStartDate);
    request.m_lLastDate = args.Day(history::kEndDate);
    request.m_sSort = SortTextOf(layout);
    request.m_lMaxRows = limits.m_bReturnAll ? -1 : limits.m_lMaxRows;
    MarketQueries queries(database);
    ResultTable historyRows;
    if (p_lViewerType == kStockHistory) {
        historyRows = queries.StockHistory(args.Text(history::kSymbol), request);
    } else if (p_lViewerType == kIndustryHistory) {
        historyRows = queries.IndustryHistory(args.Long(history::kIndCode), request);
    } else {
        historyRows = queries.SectorHistory(args.Long(history::kSectorCode), request);
    }

    const Variant historyValue = RecordsetValue(std::move(historyRows));
    WriteBackLayout(args.Out(history::kLayoutInfo), inForce);
    args.Out(history::kParameterList) = RecordsetValue(Backend().FieldCatalogue());
    args.Out(history::kMaxRows) = limits.m_lMaxRows;
    args.Out(history::kReturnAll) = limits.m_bReturnAll;
    return historyValue;
}

Variant ViewerReaderComponent::GetDefaultLayout(DispatchArgs p_args) {
    namespace call = facade_protocol::get_default_layout;
    FacadeArguments args(call::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    const int32_t ownerId = Owner(args, call::kOwnerId, OwnerAccess::Read);
    const std::optional<LayoutRecord> layout =
        LayoutAccess(Backend().Database())
            .Default(ownerId, args.Long(call::kViewerType), args.Long(call::kFinderType));
    return layout ? layout_codec::ToVariant(*layout) : Variant();
}

Variant ViewerReaderComponent::GetLayout(DispatchArgs p_args) {
    namespace call = facade_protocol::get_layout;
    FacadeArguments args(call::kMethod, p_args);
    const int32_t ownerId = Owner(args, call::kOwnerId, OwnerAccess::Read);
    const std::optional<LayoutRecord> layout =
        LayoutAccess(Backend().Database()).Readable(ownerId, args.Long(call::kLayoutId));
    return layout ? layout_codec::ToVariant(*layout) : Variant();
}

Variant ViewerReaderComponent::GetCustomFieldList(DispatchArgs p_args) {
    return RecordsetValue(Backend().FieldCatalogue());
}

Variant ViewerReaderComponent::GetDefaultLayoutID(DispatchArgs p_args) {
    namespace call = facade_protocol::get_default_layout_id;
    FacadeArguments args(call::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    const int32_t ownerId = Owner(args, call::kOwnerId, OwnerAccess::Read);
    const std::optional<LayoutRecord> layout =
        LayoutAccess(Backend().Database())
            .Default(ownerId, args.Long(call::kPrintType), args.Long(call::kResultType));
    return layout ? layout->Header.Id : 0;
}

Variant ViewerReaderComponent::SearchCompanyName(DispatchArgs p_args) {
    namespace call = facade_protocol::search_company_name;
    FacadeArguments args(call::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    const int32_t ownerId = OptionalOwner(args, call::kOwnerId, OwnerAccess::Read);
    ListScope scope;
    scope.m_lIndCode = args.Long(call::kIndCode);
    scope.m_lSectorCode = args.Long(call::kSectorCode);
    scope.m_lWatchListId = args.Long(call::kWatchListId);
    return RecordsetValue(
        MarketLists(Backend().Database())
            .CompanyNames(args.Text(call::kSearchText), scope, args.Day(call::kDate), ownerId));
}

Variant ViewerReaderComponent::SearchIndustryName(DispatchArgs p_args) {
    namespace call = facade_protocol::search_industry_name;
    FacadeArguments args(call::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    const int32_t ownerId = OptionalOwner(args, call::kOwnerId, OwnerAccess::Read);
    ListScope scope;
    scope.m_lSectorCode = args.Long(call::kSectorCode);
    scope.m_lWatchListId = args.Long(call::kWatchListId);
    return RecordsetValue(
        MarketLists(Backend().Database())
            .IndustryNames(args.Text(call::kSearchText), scope, args.Day(call::kDate), ownerId));
}

Variant ViewerReaderComponent::SearchSectorName(DispatchArgs p_args) {
    namespace call = facade_protocol::search_sector_name;
    FacadeArguments args(call::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    return RecordsetValue(MarketLists(Backend().Database())
                              .SectorNames(args.Text(call::kSearchText), args.Day(call::kDate)));
}

Variant ViewerReaderComponent::GetDefaultMaxRows(DispatchArgs p_args) {
    namespace call = facade_protocol::get_default_max_rows;
    FacadeArguments args(call::kMethod, p_args);
    const int32_t maxRows = OwnerStore(Backend().Database())
                                .DefaultMaxRows(Owner(args, call::kOwnerId, OwnerAccess::Read));
    args.Out(call::kMaxRows) = maxRows;
    args.Out(call::kReturnAll) = false;
    return maxRows;
}

Variant ViewerReaderComponent::GetLayoutNames(DispatchArgs p_args) {
    namespace call = facade_protocol::get_layout_names;
    FacadeArguments args(call::kMethod, p_args);
    const int32_t ownerId = Owner(args, call::kOwnerId, OwnerAccess::Read);
    ResultTable table({{"LayoutID", FieldKind::Integer}, {"Name", FieldKind::Text}});
    for (auto& [id, name] :
         LayoutStore(Backend().Database()).LayoutNames(ownerId, args.Long(call::kViewerType))) {
        table.AppendRow({int64_t{id}, std::move(name)});
    }
    return RecordsetValue(std::move(table));
}

Variant ViewerReaderComponent::Login(DispatchArgs p_args) {
    namespace call = facade_protocol::login;
    FacadeArguments args(call::kMethod, p_args);
    return Backend().Login(args.Long(call::kOwnerId),
                           std::string(TrimWhitespace(args.Text(call::kName))));
}

Variant ViewerReaderComponent::RunScreen(DispatchArgs p_args) {
    FacadeArguments args(rs::kMethod, p_args);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Owner(args, rs::kOwnerId, OwnerAccess::Read);
    const int32_t resultType = args.Long(rs::kResultType);
    ScreenRequest request;
    request.m_eRows = ScreenRows(args, resultType);
    request.m_oScreen = ReadScreen(args, request.m_eRows);
    const std::optional<LayoutRecord> layout =
        LayoutAccess(database).Default(ownerId, kFinderViewer, resultType);
    if (!layout) {
        RaiseFacadeError(args.Method(),
                         "there is no finder layout for result type " + std::to_string(resultType));
    }
    request.m_lDate = args.Day(rs::kDate);
    request.m_aFields = WithKeys(FetchedFields(*layout), KeyFields(request.m_eRows));
    request.m_sSort = SortTextOf(*layout);
    const bool returnAll = args.IsGiven(rs::kReturnAll) && args.Boolean(rs::kReturnAll);
    const ListLimits limits =
        MarketLists(database).ResolveLimits(ownerId, args.Long(rs::kMaxRows), returnAll);
    request.m_lMaxRows = limits.m_bReturnAll ? -1 : limits.m_lMaxRows;
    return RecordsetValue(facade::RunScreen(database, request));
}

const DispatchTable& ViewerReaderComponent::Table() const {
    using Self = ViewerReaderComponent;
    using namespace facade_protocol;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method(sv::kMethod, sv::kCount, sv::kCount,
                    [](Self& self, DispatchArgs args) { return self.StockViewer(args); })
            .Method(ss::kMethod, ss::kCount, ss::kCount,
                    [](Self& self, DispatchArgs args) { return self.SearchStocks(args); })
            .Method(gsd::kMethod, gsd::kCount, gsd::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetSectorDetail(args); })
            .Method(iv::kMethod, iv::kCount, iv::kCount,
                    [](Self& self, DispatchArgs args) { return self.IndustryViewer(args); })
            .Method(sc::kMethod, sc::kCount, sc::kCount,
                    [](Self& self, DispatchArgs args) { return self.SectorViewer(args); })
            .Method(si::kMethod, si::kCount, si::kCount,
                    [](Self& self, DispatchArgs args) { return self.SearchIndustries(args); })
            .Method(se::kMethod, se::kCount, se::kCount,
                    [](Self& self, DispatchArgs args) { return self.SearchSector(args); })
            .Method(history::kStockMethod, history::kCount, history::kCount,
                    [](Self& self, DispatchArgs args) {
                        return self.History(history::kStockMethod, kStockHistory, args);
                    })
            .Method(history::kIndustryMethod, history::kCount, history::kCount,
                    [](Self& self, DispatchArgs args) {
                        return self.History(history::kIndustryMethod, kIndustryHistory, args);
                    })
            .Method(history::kSectorMethod, history::kCount, history::kCount,
                    [](Self& self, DispatchArgs args) {
                        return self.History(history::kSectorMethod, kSectorHistory, args);
                    })
            .Method(get_default_layout::kMethod, get_default_layout::kCount,
                    get_default_layout::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetDefaultLayout(args); })
            .Method(get_layout::kMethod, get_layout::kCount, get_layout::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetLayout(args); })
            .Method(get_custom_field_list::kMethod, get_custom_field_list::kCount,
                    get_custom_field_list::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetCustomFieldList(args); })
            .Method(get_default_layout_id::kMethod, get_default_layout_id::kCount,
                    get_default_layout_id::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetDefaultLayoutID(args); })
            .Method(search_company_name::kMethod, search_company_name::kMinCount,
                    search_company_name::kMaxCount,
                    [](Self& self, DispatchArgs args) { return self.SearchCompanyName(args); })
            .Method(search_industry_name::kMethod, search_industry_name::kMinCount,
                    search_industry_name::kMaxCount,
                    [](Self& self, DispatchArgs args) { return self.SearchIndustryName(args); })
            .Method(search_sector_name::kMethod, search_sector_name::kCount,
                    search_sector_name::kCount,
                    [](Self& self, DispatchArgs args) { return self.SearchSectorName(args); })
            .Method(get_default_max_rows::kMethod, get_default_max_rows::kCount,
                    get_default_max_rows::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetDefaultMaxRows(args); })
            .Method(get_layout_names::kMethod, get_layout_names::kCount, get_layout_names::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetLayoutNames(args); })
            .Method(login::kMethod, login::kMinCount, login::kMaxCount,
                    [](Self& self, DispatchArgs args) { return self.Login(args); })
            .Method(rs::kMethod, rs::kMinCount, rs::kMaxCount,
                    [](Self& self, DispatchArgs args) { return self.RunScreen(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
