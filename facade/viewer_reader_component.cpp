#include "facade/viewer_reader_component.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/layout_access.h"
#include "facade/market_lists.h"
#include "facade/market_queries.h"
#include "facade/market_screen.h"
#include "facade/owner_store.h"
#include "facade/read_snapshot.h"
#include "facade/recordset_conversion.h"
#include "facade/sqlite_database.h"
#include "facade/system_layouts.h"
#include "outside/automation_error.h"
#include "outside/numeric_text.h"

namespace qv::facade {

namespace {

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

std::string Trimmed(std::string_view p_sText) {
    while (!p_sText.empty() && std::isspace(static_cast<unsigned char>(p_sText.front()))) {
        p_sText.remove_prefix(1);
    }
    while (!p_sText.empty() && std::isspace(static_cast<unsigned char>(p_sText.back()))) {
        p_sText.remove_suffix(1);
    }
    return std::string(p_sText);
}

std::vector<std::string> SplitList(const std::string& p_sText) {
    std::vector<std::string> aItems;
    size_t lStart = 0;
    while (lStart <= p_sText.size()) {
        const size_t lComma = std::min(p_sText.find(',', lStart), p_sText.size());
        std::string sItem = Trimmed(std::string_view(p_sText).substr(lStart, lComma - lStart));
        if (!sItem.empty()) {
            aItems.push_back(std::move(sItem));
        }
        lStart = lComma + 1;
    }
    return aItems;
}

bool IsNumber(const std::string& p_sText) {
    return ParseNumericText(p_sText).has_value();
}

// A stock search looks for symbols, or for company names with the name option. An industry or
// sector search looks for codes when the text is a list of numbers, else for names.
ListSearch SearchOf(const FacadeArguments& p_oArgs, size_t p_lTextIndex, int32_t p_lOption,
                    bool p_bCodes) {
    const std::string sText = p_oArgs.Text(p_lTextIndex, "SearchText");
    ListSearch oSearch;
    std::vector<std::string> aKeys = SplitList(sText);
    const bool bNumbers = !aKeys.empty() && std::all_of(aKeys.begin(), aKeys.end(), IsNumber);
    if (p_lOption == kNameSearch || (p_bCodes && !bNumbers)) {
        oSearch.m_sNameStart = Trimmed(sText);
        return oSearch;
    }
    if (p_bCodes) {
        for (std::string& sKey : aKeys) {
            sKey = std::to_string(p_oArgs.WholeNumber(p_lTextIndex, "SearchText", sKey));
        }
    }
    oSearch.m_aKeys = std::move(aKeys);
    return oSearch;
}

// The list scope decides between an industry and a sector when the caller sends both codes; a
// scope that names a code the caller did not send falls back to the codes.
ListScope StockScope(int32_t p_lIndCode, int32_t p_lSectorCode, int32_t p_lListScope) {
    ListScope oScope;
    if (p_lListScope == kSectorScope && p_lSectorCode > 0) {
        oScope.m_lSectorCode = p_lSectorCode;
    } else if (p_lIndCode > 0) {
        oScope.m_lIndCode = p_lIndCode;
    } else if (p_lSectorCode > 0) {
        oScope.m_lSectorCode = p_lSectorCode;
    }
    return oScope;
}

// The fields of the grid below a list: the caller's select list, else the layout's columns of
// that grid's table.
std::vector<std::string> SecondaryFields(const Variant& p_vList, const LayoutRecord& p_oLayout,
                                         int32_t p_lTableBit) {
    std::vector<std::string> aFields = SelectListFields(p_vList);
    return aFields.empty() ? FetchedFields(p_oLayout, p_lTableBit) : aFields;
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
            p_oArgs.Fail(1, "ResultType",
                         "result type " + std::to_string(p_lResultType) + " cannot be screened");
    }
}

ScreenCriterion ReadCriterion(FacadeArguments& p_oArgs, const VariantArray& p_aCriteria,
                              int32_t p_lEntry, RowKind p_eRows) {
    const int32_t lRow = p_aCriteria.LBound(1);
    const std::string sEntry = "criterion " + std::to_string(p_lEntry);
    ScreenCriterion oCriterion;
    try {
        const std::string sField = Trimmed(p_aCriteria.At(lRow, p_lEntry).ToString());
        const FieldDefinition* oField = FindFieldByName(sField);
        if (oField == nullptr || oField->SqlFor(p_eRows) == nullptr) {
            p_oArgs.Fail(2, "Criteria", sEntry + ": no field \"" + sField + "\" in these rows");
        }
        oCriterion.m_sField = oField->m_sColumnName;
        const std::string sOperator = Trimmed(p_aCriteria.At(lRow + 1, p_lEntry).ToString());
        const std::optional<ScreenOperator> eOperator = ScreenOperatorOf(sOperator);
        if (!eOperator) {
            p_oArgs.Fail(2, "Criteria", sEntry + ": unknown operator \"" + sOperator + "\"");
        }
        oCriterion.m_eOperator = *eOperator;
        const Variant& vValue = p_aCriteria.At(lRow + 2, p_lEntry);
        oCriterion.m_vValue = oField->m_eKind == FieldKind::Text ? FieldValue(vValue.ToString())
                                                                 : FieldValue(vValue.ToDouble());
    } catch (const AutomationError& oError) {
        if (oError.Number() == kFacadeErrorNumber) {
            throw;
        }
        p_oArgs.Fail(2, "Criteria", sEntry + ": " + oError.Description());
    }
    return oCriterion;
}

std::vector<ScreenCriterion> ReadCriteria(FacadeArguments& p_oArgs, RowKind p_eRows) {
    std::vector<ScreenCriterion> aCriteria;
    if (!p_oArgs.IsGiven(2)) {
        return aCriteria;
    }
    const Variant& vTable = p_oArgs.Value(2);
    if (!vTable.IsArray() || vTable.Array().Dimensions() != 2 ||
        vTable.Array().UBound(1) - vTable.Array().LBound(1) < 2) {
        p_oArgs.Fail(2, "Criteria", "not an array of 3 rows (field, operator, value) by n");
    }
    const VariantArray& aTable = vTable.Array();
    for (int32_t i = aTable.LBound(2); i <= aTable.UBound(2); ++i) {
        aCriteria.push_back(ReadCriterion(p_oArgs, aTable, i, p_eRows));
    }
    return aCriteria;
}

// Where a list call keeps the arguments it shares with the other list calls, 0-based in the
// callers' order; kNone for one it does not have. The login-conflict flag follows the time code.
constexpr size_t kNone = SIZE_MAX;

struct ListPlaces {
    size_t m_lStartDate;
    size_t m_lMaxRows;
    size_t m_lReturnAll;  // kNone: the limit comes by value and every row is never asked for
    size_t m_lLayoutInfo;
    size_t m_lRows;
    size_t m_lSecondaryRows;
    size_t m_lStartTimeId;
    size_t m_lParameterList;
    size_t m_lWatchListName;
    size_t m_lTimeCode;
};

constexpr ListPlaces kStockViewerPlaces{2, 3, 4, 6, 8, 9, 10, 15, 14, 18};
constexpr ListPlaces kSearchStocksPlaces{2, 3, kNone, 7, 9, 10, 11, kNone, kNone, kNone};
constexpr ListPlaces kIndustryViewerPlaces{1, 2, 3, 5, 7, 8, 9, 13, 14, 15};
constexpr ListPlaces kSectorViewerPlaces{1, 2, 3, 5, 6, kNone, 7, 8, kNone, 9};
constexpr ListPlaces kSearchIndustriesPlaces{2, 3, kNone, 6, 8, 9, 10, kNone, kNone, kNone};
constexpr ListPlaces kSearchSectorPlaces{2, 5, kNone, 6, 7, kNone, 8, kNone, kNone, kNone};

// True, with the flag written back, when the session's owner has logged in again since the
// session's or the caller's time code was handed out; the call then answers nothing else.
bool LoginConflict(FacadeBackend& p_oBackend, FacadeArguments& p_oArgs,
                   const ListPlaces& p_oPlaces) {
    if (!p_oBackend.HasNewerLogin(p_oArgs.Text(p_oPlaces.m_lTimeCode, "TimeCode"))) {
        return false;
    }
    p_oArgs.Out(p_oPlaces.m_lTimeCode + 1) = true;
    return true;
}

// The layout the caller sent.
std::optional<LayoutDescription> SentLayout(const FacadeArguments& p_oArgs,
                                            const ListPlaces& p_oPlaces) {
    return p_oArgs.Layout(p_oPlaces.m_lLayoutInfo, "LayoutInfo");
}

// The id in the header of the layout sent, for the calls that take no id of their own; 0 when
// none was sent.
int32_t SentLayoutId(const std::optional<LayoutDescription>& p_oSent) {
    return p_oSent ? p_oSent->Header.Id : 0;
}

LayoutInForce ListLayout(SqliteDatabase& p_oDatabase, const FacadeArguments& p_oArgs,
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
    ListQuery oQuery;
    oQuery.m_lOwnerId = p_lOwnerId;
    oQuery.m_lDate = p_oArgs.Day(p_oPlaces.m_lStartDate, "StartDate");
    oQuery.m_aFields = FetchedFields(p_oLayout);
    oQuery.m_sSort = SortTextOf(p_oLayout);
    const int32_t lMaxRows = p_oArgs.Long(p_oPlaces.m_lMaxRows, "MaxRows");
    const bool bReturnAll =
        p_oPlaces.m_lReturnAll != kNone && p_oArgs.Boolean(p_oPlaces.m_lReturnAll, "ReturnAll");
    oQuery.m_oLimits = p_oLists.ResolveLimits(p_lOwnerId, lMaxRows, bReturnAll);
    return oQuery;
}

// Writes back what the call answers by reference and returns its rows.
Variant AnswerList(FacadeBackend& p_oBackend, FacadeArguments& p_oArgs, const ListPlaces& p_oPlaces,
                   const ListQuery& p_oQuery, ListAnswer& p_oAnswer,
                   const LayoutInForce& p_oInForce) {
    const Variant vRows = RecordsetValue(std::move(p_oAnswer.m_oRows));
    if (p_oPlaces.m_lReturnAll != kNone) {
        p_oArgs.Out(p_oPlaces.m_lMaxRows) = p_oQuery.m_oLimits.m_lMaxRows;
        p_oArgs.Out(p_oPlaces.m_lReturnAll) = p_oQuery.m_oLimits.m_bReturnAll;
    }
    WriteBackLayout(p_oArgs.Out(p_oPlaces.m_lLayoutInfo), p_oInForce);
    p_oArgs.Out(p_oPlaces.m_lRows) = vRows;
    if (p_oPlaces.m_lSecondaryRows != kNone) {
        p_oArgs.Out(p_oPlaces.m_lSecondaryRows) = RecordsetValue(std::move(p_oAnswer.m_oSecondary));
    }
    p_oArgs.Out(p_oPlaces.m_lStartTimeId) = p_oAnswer.m_lTradingDay;
    if (p_oPlaces.m_lWatchListName != kNone) {
        p_oArgs.Out(p_oPlaces.m_lWatchListName) = p_oAnswer.m_sWatchListName;
    }
    if (p_oPlaces.m_lParameterList != kNone) {
        p_oArgs.Out(p_oPlaces.m_lParameterList) = RecordsetValue(p_oBackend.FieldCatalogue());
    }
    if (p_oPlaces.m_lTimeCode != kNone) {
        p_oArgs.Out(p_oPlaces.m_lTimeCode + 1) = false;
    }
    return vRows;
}

}  // namespace

Variant ViewerReaderComponent::StockViewer(DispatchArgs p_args) {
    FacadeArguments oArgs("StockViewer", p_args);
    const ListPlaces& oPlaces = kStockViewerPlaces;
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lOwnerId = Backend().ListOwner(oArgs.Method(), oArgs.Long(0, "OwnerId"));
    if (LoginConflict(Backend(), oArgs, oPlaces)) {
        return Variant::Nothing();
    }
    const int32_t lSectorCode = oArgs.Long(12, "SectorCode");
    const int32_t lWatchListId = oArgs.Long(13, "WatchListId");
    const LayoutInForce oInForce = ListLayout(
        oDatabase, oArgs, SentLayout(oArgs, oPlaces), lOwnerId,
        StartLayoutId(oArgs.Long(1, "LayoutId"), lWatchListId, system_layout::kStockWatchList),
        kStockViewer);
    MarketLists oLists(oDatabase);
    ListQuery oQuery = BaseQuery(oArgs, oPlaces, oLists, lOwnerId, oInForce.m_oLayout);
    oQuery.m_oScope =
        StockScope(oArgs.Long(11, "IndCode"), lSectorCode, oArgs.Long(17, "ListScope"));
    oQuery.m_oScope.m_lWatchListId = lWatchListId;
    oQuery.m_oScope.m_lPortfolioId = oArgs.Long(16, "PortfolioID");
    oQuery.m_lSectorGridCode = std::max(lSectorCode, 0);
    oQuery.m_aSecondaryFields = SecondaryFields(oArgs.Value(7), oInForce.m_oLayout,
                                                lSectorCode > 0 ? kSectorTable : kIndustryTable);
    ListAnswer oAnswer = oLists.Stocks(oQuery);
    return AnswerList(Backend(), oArgs, oPlaces, oQuery, oAnswer, oInForce);
}

Variant ViewerReaderComponent::SearchStocks(DispatchArgs p_args) {
    FacadeArguments oArgs("SearchStocks", p_args);
    const ListPlaces& oPlaces = kSearchStocksPlaces;
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    const int32_t lWatchListId = oArgs.Long(12, "WatchListId");
    const int32_t lSectorCode = oArgs.Long(14, "SectorCode");
    const LayoutInForce oInForce = ListLayout(
        oDatabase, oArgs, SentLayout(oArgs, oPlaces), lOwnerId,
        StartLayoutId(oArgs.Long(1, "LayoutId"), lWatchListId, system_layout::kStockWatchList),
        kStockViewer);
    MarketLists oLists(oDatabase);
    ListQuery oQuery = BaseQuery(oArgs, oPlaces, oLists, lOwnerId, oInForce.m_oLayout);
    oQuery.m_oScope = StockScope(oArgs.Long(13, "IndCode"), lSectorCode, 0);
    oQuery.m_oScope.m_lWatchListId = lWatchListId;
    oQuery.m_oSearch = SearchOf(oArgs, 4, oArgs.Long(5, "SearchOpt1"), false);
    oQuery.m_lSectorGridCode = std::max(lSectorCode, 0);
    oQuery.m_aSecondaryFields = SecondaryFields(oArgs.Value(8), oInForce.m_oLayout,
                                                lSectorCode > 0 ? kSectorTable : kIndustryTable);
    ListAnswer oAnswer = oLists.Stocks(oQuery);
    return AnswerList(Backend(), oArgs, oPlaces, oQuery, oAnswer, oInForce);
}

Variant ViewerReaderComponent::GetSectorDetail(DispatchArgs p_args) {
    FacadeArguments oArgs("GetSectorDetail", p_args);
    ReadSnapshot oSnapshot(Backend().Database());
    return RecordsetValue(MarketLists(Backend().Database())
                              .SectorRow(std::max(oArgs.Long(0, "StartTimeId"), 0),
                                         oArgs.Long(1, "SectorCode"),
                                         SelectListFields(oArgs.Value(3))));
}

Variant ViewerReaderComponent::IndustryViewer(DispatchArgs p_args) {
    FacadeArguments oArgs("IndustryViewer", p_args);
    const ListPlaces& oPlaces = kIndustryViewerPlaces;
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lOwnerId = Backend().ListOwner(oArgs.Method(), oArgs.Long(0, "OwnerId"));
    if (LoginConflict(Backend(), oArgs, oPlaces)) {
        return Variant::Nothing();
    }
    const int32_t lSectorCode = std::max(oArgs.Long(10, "SectorCode"), 0);
    const int32_t lWatchListId = oArgs.Long(11, "WatchListId");
    std::optional<LayoutDescription> oSent = SentLayout(oArgs, oPlaces);
    const int32_t lLayoutId =
        StartLayoutId(SentLayoutId(oSent), lWatchListId, system_layout::kIndustryWatchList);
    const LayoutInForce oInForce =
        ListLayout(oDatabase, oArgs, std::move(oSent), lOwnerId, lLayoutId, kIndustryViewer);
    MarketLists oLists(oDatabase);
    ListQuery oQuery = BaseQuery(oArgs, oPlaces, oLists, lOwnerId, oInForce.m_oLayout);
    oQuery.m_oScope.m_lSectorCode = lSectorCode;
    oQuery.m_oScope.m_lWatchListId = lWatchListId;
    oQuery.m_aSecondaryFields = SecondaryFields(oArgs.Value(6), oInForce.m_oLayout, kSectorTable);
    ListAnswer oAnswer = oLists.Industries(oQuery);
    oArgs.Out(12) = lSectorCode > 0 ? kOneSectorScope : 0;
    return AnswerList(Backend(), oArgs, oPlaces, oQuery, oAnswer, oInForce);
}

Variant ViewerReaderComponent::SectorViewer(DispatchArgs p_args) {
    FacadeArguments oArgs("SectorViewer", p_args);
    const ListPlaces& oPlaces = kSectorViewerPlaces;
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lOwnerId = Backend().ListOwner(oArgs.Method(), oArgs.Long(0, "OwnerId"));
    if (LoginConflict(Backend(), oArgs, oPlaces)) {
        return Variant::Nothing();
    }
    std::optional<LayoutDescription> oSent = SentLayout(oArgs, oPlaces);
    const int32_t lLayoutId = SentLayoutId(oSent);
    const LayoutInForce oInForce =
        ListLayout(oDatabase, oArgs, std::move(oSent), lOwnerId, lLayoutId, kSectorViewer);
    MarketLists oLists(oDatabase);
    const ListQuery oQuery = BaseQuery(oArgs, oPlaces, oLists, lOwnerId, oInForce.m_oLayout);
    ListAnswer oAnswer = oLists.Sectors(oQuery);
    return AnswerList(Backend(), oArgs, oPlaces, oQuery, oAnswer, oInForce);
}

Variant ViewerReaderComponent::SearchIndustries(DispatchArgs p_args) {
    FacadeArguments oArgs("SearchIndustries", p_args);
    const ListPlaces& oPlaces = kSearchIndustriesPlaces;
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    const int32_t lSectorCode = std::max(oArgs.Long(12, "SectorCode"), 0);
    const int32_t lWatchListId = oArgs.Long(13, "WatchListId");
    const LayoutInForce oInForce = ListLayout(
        oDatabase, oArgs, SentLayout(oArgs, oPlaces), lOwnerId,
        StartLayoutId(oArgs.Long(1, "LayoutId"), lWatchListId, system_layout::kIndustryWatchList),
        kIndustryViewer);
    MarketLists oLists(oDatabase);
    ListQuery oQuery = BaseQuery(oArgs, oPlaces, oLists, lOwnerId, oInForce.m_oLayout);
    oQuery.m_oScope.m_lSectorCode = lSectorCode;
    oQuery.m_oScope.m_lWatchListId = lWatchListId;
    oQuery.m_oSearch = SearchOf(oArgs, 4, oArgs.Long(5, "SearchOpt1"), true);
    oQuery.m_aSecondaryFields = SecondaryFields(oArgs.Value(7), oInForce.m_oLayout, kSectorTable);
    ListAnswer oAnswer = oLists.Industries(oQuery);
    oArgs.Out(11) = lSectorCode > 0 ? kOneSectorScope : 0;
    return AnswerList(Backend(), oArgs, oPlaces, oQuery, oAnswer, oInForce);
}

Variant ViewerReaderComponent::SearchSector(DispatchArgs p_args) {
    FacadeArguments oArgs("SearchSector", p_args);
    const ListPlaces& oPlaces = kSearchSectorPlaces;
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    const LayoutInForce oInForce = ListLayout(oDatabase, oArgs, SentLayout(oArgs, oPlaces),
                                              lOwnerId, oArgs.Long(1, "LayoutId"), kSectorViewer);
    MarketLists oLists(oDatabase);
    ListQuery oQuery = BaseQuery(oArgs, oPlaces, oLists, lOwnerId, oInForce.m_oLayout);
    oQuery.m_oSearch = SearchOf(oArgs, 3, oArgs.Long(4, "SearchOpt1"), true);
    ListAnswer oAnswer = oLists.Sectors(oQuery);
    return AnswerList(Backend(), oArgs, oPlaces, oQuery, oAnswer, oInForce);
}

Variant ViewerReaderComponent::History(std::string_view p_sMethod, int32_t p_lViewerType,
                                       DispatchArgs p_args) {
    FacadeArguments oArgs(p_sMethod, p_args);
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lOwnerId = Owner(oArgs, 5, OwnerAccess::Read);
    std::optional<LayoutDescription> oSent = oArgs.Layout(3, "LayoutInfo");
    const int32_t lLayoutId = SentLayoutId(oSent);
    const LayoutInForce oInForce = LayoutAccess(oDatabase).InForce(
        p_sMethod, lOwnerId, std::move(oSent), lLayoutId, p_lViewerType, kNoFinderType);
    const LayoutRecord& oLayout = oInForce.m_oLayout;
    const ListLimits oLimits = MarketLists(oDatabase).ResolveLimits(
        lOwnerId, oArgs.Long(6, "MaxRows"), oArgs.Boolean(7, "ReturnAll"));
    HistoryRequest oRequest;
    oRequest.m_aFields = WithKeys(FetchedFields(oLayout), {"Trading_Date"});
    oRequest.m_lFirstDate = oArgs.Day(0, "StartDate");
    oRequest.m_lLastDate = oArgs.Day(1, "EndDate");
    oRequest.m_sSort = SortTextOf(oLayout);
    oRequest.m_lMaxRows = oLimits.m_bReturnAll ? -1 : oLimits.m_lMaxRows;
    MarketQueries oQueries(oDatabase);
    ResultTable oRows;
    if (p_lViewerType == kStockHistory) {
        oRows = oQueries.StockHistory(oArgs.Text(2, "Symbol"), oRequest);
    } else if (p_lViewerType == kIndustryHistory) {
        oRows = oQueries.IndustryHistory(oArgs.Long(2, "IndCode"), oRequest);
    } else {
        oRows = oQueries.SectorHistory(oArgs.Long(2, "SectorCode"), oRequest);
    }

    const Variant vRows = RecordsetValue(std::move(oRows));
    WriteBackLayout(oArgs.Out(3), oInForce);
    oArgs.Out(4) = RecordsetValue(Backend().FieldCatalogue());
    oArgs.Out(6) = oLimits.m_lMaxRows;
    oArgs.Out(7) = oLimits.m_bReturnAll;
    return vRows;
}

Variant ViewerReaderComponent::GetDefaultLayout(DispatchArgs p_args) {
    FacadeArguments oArgs("GetDefaultLayout", p_args);
    ReadSnapshot oSnapshot(Backend().Database());
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    const std::optional<LayoutRecord> oLayout =
        LayoutAccess(Backend().Database())
            .Default(lOwnerId, oArgs.Long(1, "ViewerType"), oArgs.Long(2, "FinderType"));
    return oLayout ? layout_codec::ToVariant(*oLayout) : Variant();
}

Variant ViewerReaderComponent::GetLayout(DispatchArgs p_args) {
    FacadeArguments oArgs("GetLayout", p_args);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    const std::optional<LayoutRecord> oLayout =
        LayoutAccess(Backend().Database()).Readable(lOwnerId, oArgs.Long(1, "LayoutId"));
    return oLayout ? layout_codec::ToVariant(*oLayout) : Variant();
}

Variant ViewerReaderComponent::GetCustomFieldList(DispatchArgs p_args) {
    return RecordsetValue(Backend().FieldCatalogue());
}

Variant ViewerReaderComponent::GetDefaultLayoutID(DispatchArgs p_args) {
    FacadeArguments oArgs("GetDefaultLayoutID", p_args);
    ReadSnapshot oSnapshot(Backend().Database());
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    const std::optional<LayoutRecord> oLayout =
        LayoutAccess(Backend().Database())
            .Default(lOwnerId, oArgs.Long(1, "PrintType"), oArgs.Long(2, "ResultType"));
    return oLayout ? oLayout->Header.Id : 0;
}

Variant ViewerReaderComponent::SearchCompanyName(DispatchArgs p_args) {
    FacadeArguments oArgs("SearchCompanyName", p_args);
    ReadSnapshot oSnapshot(Backend().Database());
    const int32_t lOwnerId = OptionalOwner(oArgs, 5, OwnerAccess::Read);
    ListScope oScope;
    oScope.m_lIndCode = oArgs.Long(1, "IndCode");
    oScope.m_lSectorCode = oArgs.Long(2, "SectorCode");
    oScope.m_lWatchListId = oArgs.Long(3, "WatchListId");
    return RecordsetValue(
        MarketLists(Backend().Database())
            .CompanyNames(oArgs.Text(0, "SearchText"), oScope, oArgs.Day(4, "Date"), lOwnerId));
}

Variant ViewerReaderComponent::SearchIndustryName(DispatchArgs p_args) {
    FacadeArguments oArgs("SearchIndustryName", p_args);
    ReadSnapshot oSnapshot(Backend().Database());
    const int32_t lOwnerId = OptionalOwner(oArgs, 4, OwnerAccess::Read);
    ListScope oScope;
    oScope.m_lSectorCode = oArgs.Long(1, "SectorCode");
    oScope.m_lWatchListId = oArgs.Long(2, "WatchListId");
    return RecordsetValue(
        MarketLists(Backend().Database())
            .IndustryNames(oArgs.Text(0, "SearchText"), oScope, oArgs.Day(3, "Date"), lOwnerId));
}

Variant ViewerReaderComponent::SearchSectorName(DispatchArgs p_args) {
    FacadeArguments oArgs("SearchSectorName", p_args);
    ReadSnapshot oSnapshot(Backend().Database());
    return RecordsetValue(MarketLists(Backend().Database())
                              .SectorNames(oArgs.Text(0, "SearchText"), oArgs.Day(1, "Date")));
}

Variant ViewerReaderComponent::GetDefaultMaxRows(DispatchArgs p_args) {
    FacadeArguments oArgs("getdefaultmaxrows", p_args);
    const int32_t lMaxRows =
        OwnerStore(Backend().Database()).DefaultMaxRows(Owner(oArgs, 3, OwnerAccess::Read));
    oArgs.Out(1) = lMaxRows;
    oArgs.Out(2) = false;
    return lMaxRows;
}

Variant ViewerReaderComponent::Login(DispatchArgs p_args) {
    FacadeArguments oArgs("Login", p_args);
    return Backend().Login(oArgs.Long(0, "OwnerId"), Trimmed(oArgs.Text(1, "Name")));
}

Variant ViewerReaderComponent::RunScreen(DispatchArgs p_args) {
    FacadeArguments oArgs("RunScreen", p_args);
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    const int32_t lResultType = oArgs.Long(1, "ResultType");
    ScreenRequest oRequest;
    oRequest.m_eRows = ScreenRows(oArgs, lResultType);
    oRequest.m_aCriteria = ReadCriteria(oArgs, oRequest.m_eRows);
    const std::optional<LayoutRecord> oLayout =
        LayoutAccess(oDatabase).Default(lOwnerId, kFinderViewer, lResultType);
    if (!oLayout) {
        RaiseFacadeError(oArgs.Method(), "there is no finder layout for result type " +
                                             std::to_string(lResultType));
    }
    oRequest.m_lDate = oArgs.Day(3, "Date");
    oRequest.m_aFields = WithKeys(FetchedFields(*oLayout), KeyFields(oRequest.m_eRows));
    oRequest.m_sSort = SortTextOf(*oLayout);
    const bool bReturnAll = oArgs.IsGiven(5) && oArgs.Boolean(5, "ReturnAll");
    const ListLimits oLimits =
        MarketLists(oDatabase).ResolveLimits(lOwnerId, oArgs.Long(4, "MaxRows"), bReturnAll);
    oRequest.m_lMaxRows = oLimits.m_bReturnAll ? -1 : oLimits.m_lMaxRows;
    return RecordsetValue(facade::RunScreen(oDatabase, oRequest));
}

const DispatchTable& ViewerReaderComponent::Table() const {
    using Self = ViewerReaderComponent;
    static const DispatchTable oTable =
        DispatchTable::Builder<Self>()
            .Method("StockViewer", 20, 20,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.StockViewer(aArgs); })
            .Method("SearchStocks", 15, 15,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.SearchStocks(aArgs); })
            .Method("GetSectorDetail", 4, 4,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetSectorDetail(aArgs); })
            .Method("IndustryViewer", 17, 17,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.IndustryViewer(aArgs); })
            .Method("SectorViewer", 11, 11,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.SectorViewer(aArgs); })
            .Method("SearchIndustries", 14, 14,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.SearchIndustries(aArgs); })
            .Method("SearchSector", 9, 9,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.SearchSector(aArgs); })
            .Method("HistoryStockEX", 8, 8,
                    [](Self& oSelf, DispatchArgs aArgs) {
                        return oSelf.History("HistoryStockEX", kStockHistory, aArgs);
                    })
            .Method("HistoryIndustryEX", 8, 8,
                    [](Self& oSelf, DispatchArgs aArgs) {
                        return oSelf.History("HistoryIndustryEX", kIndustryHistory, aArgs);
                    })
            .Method("HistorySectorEX", 8, 8,
                    [](Self& oSelf, DispatchArgs aArgs) {
                        return oSelf.History("HistorySectorEX", kSectorHistory, aArgs);
                    })
            .Method("GetDefaultLayout", 3, 3,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetDefaultLayout(aArgs); })
            .Method("GetLayout", 2, 2,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetLayout(aArgs); })
            .Method("GetCustomFieldList", 2, 2,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetCustomFieldList(aArgs); })
            .Method("GetDefaultLayoutID", 3, 3,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetDefaultLayoutID(aArgs); })
            .Method("SearchCompanyName", 5, 6,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.SearchCompanyName(aArgs); })
            .Method("SearchIndustryName", 4, 5,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.SearchIndustryName(aArgs); })
            .Method("SearchSectorName", 2, 2,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.SearchSectorName(aArgs); })
            .Method("getdefaultmaxrows", 4, 4,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetDefaultMaxRows(aArgs); })
            .Method("Login", 1, 2,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.Login(aArgs); })
            .Method("RunScreen", 4, 6,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.RunScreen(aArgs); })
            .Build();
    return oTable;
}

}  // namespace qv::facade
