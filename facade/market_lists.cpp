#include "facade/market_lists.h"

#include <algorithm>
#include <set>
#include <utility>

#include "facade/field_catalogue.h"
#include "facade/market_queries.h"
#include "facade/owner_store.h"
#include "facade/portfolio_store.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

const std::vector<std::string> kStockKeys = {"Symbol", "IndCode", "SectorCode"};
const std::vector<std::string> kIndustryKeys = {"IndCode", "IndName", "SectorCode"};
const std::vector<std::string> kSectorKeys = {"SectorCode", "SectorName"};
// What the summary row of a watch list or portfolio is computed from.
const std::vector<std::string> kSummaryInputs = {"PctChange", "RSRank", "Volume", "Sales",
                                                 "IndCode"};

ListRequest BaseRequest(const ListQuery& p_oQuery, const std::vector<std::string>& p_aKeys) {
    ListRequest request;
    request.m_aFields = WithKeys(p_oQuery.m_aFields, p_aKeys);
    request.m_lDate = p_oQuery.m_lDate;
    request.m_sSort = p_oQuery.m_sSort;
    request.m_lMaxRows = p_oQuery.m_oLimits.m_bReturnAll ? -1 : p_oQuery.m_oLimits.m_lMaxRows;
    return request;
}

// False when the search can find nothing: it names no key and no name.
bool ApplySearch(ListRequest& p_oRequest, const std::optional<ListSearch>& p_oSearch) {
    if (!p_oSearch) {
        return true;
    }
    if (!p_oSearch->m_aKeys.empty()) {
        p_oRequest.m_aKeys = p_oSearch->m_aKeys;
        return true;
    }
    p_oRequest.m_sNameStart = TrimWhitespace(p_oSearch->m_sNameStart);
    return !p_oRequest.m_sNameStart.empty();
}

ListRequest GroupRows(const std::vector<std::string>& p_aFields,
                      const std::vector<std::string>& p_aKeys, int32_t p_lDate,
                      const char* p_sSort) {
    ListRequest request;
    request.m_aFields = WithKeys(p_aFields, p_aKeys);
    request.m_lDate = p_lDate;
    request.m_sSort = p_sSort;
    return request;
}

// The figures of a summary row, gathered over the member stocks of a day.
struct SummaryFigures {
    int64_t m_llMembers = 0;
    int64_t m_llAdvancing = 0;
    double m_dChangeSum = 0;
    int64_t m_llChanges = 0;
    double m_dRankSum = 0;
    int64_t m_llRanks = 0;
    int64_t m_llVolume = 0;
    double m_dSales = 0;
    bool m_bHasSales = false;
    std::set<int64_t> m_aIndustries;
};

void AddMembers(SummaryFigures& p_oFigures, const ResultTable& p_oMembers) {
    const int changeColumn = p_oMembers.ColumnIndex("PctChange");
    const int rankColumn = p_oMembers.ColumnIndex("RSRank");
    const int volumeColumn = p_oMembers.ColumnIndex("Volume");
    const int salesColumn = p_oMembers.ColumnIndex("Sales");
    const int codeColumn = p_oMembers.ColumnIndex("IndCode");
    const auto ValueAt = [&](size_t p_lRow, int p_lColumn) {
        return p_lColumn < 0 ? FieldValue()
                             : p_oMembers.Value(p_lRow, static_cast<size_t>(p_lColumn));
    };
    for (size_t i = 0; i < p_oMembers.RowCount(); ++i) {
        ++p_oFigures.m_llMembers;
        const FieldValue change = ValueAt(i, changeColumn);
        if (const auto* percent = std::get_if<double>(&change)) {
            p_oFigures.m_dChangeSum += *percent;
            ++p_oFigures.m_llChanges;
            p_oFigures.m_llAdvancing += *percent > 0 ? 1 : 0;
        }
        const FieldValue rank = ValueAt(i, rankColumn);
        if (const auto* value = std::get_if<int64_t>(&rank)) {
            p_oFigures.m_dRankSum += static_cast<double>(*value);
            ++p_oFigures.m_llRanks;
        }
        const FieldValue volume = ValueAt(i, volumeColumn);
        if (const auto* value = std::get_if<int64_t>(&volume)) {
            p_oFigures.m_llVolume += *value;
        }
        const FieldValue sales = ValueAt(i, salesColumn);
        if (const auto* value = std::get_if<double>(&sales)) {
            p_oFigures.m_dSales += *value;
            p_oFigures.m_bHasSales = true;
        }
        const FieldValue code = ValueAt(i, codeColumn);
        if (const auto* value = std::get_if<int64_t>(&code)) {
            p_oFigures.m_aIndustries.insert(*value);
        }
    }
}

FieldValue Average(double p_dSum, int64_t p_llCount) {
    if (p_llCount == 0) {
        return std::monostate();
    }
    return p_dSum / static_cast<double>(p_llCount);
}

FieldValue SummaryValue(const std::string& p_sField, const SummaryFigures& p_oFigures,
                        const std::string& p_sName) {
    const auto Is = [&](std::string_view p_sCandidate) {
        return EqualsIgnoreCase(p_sField, p_sCandidate);
    };
    if (Is("IndName") || Is("SectorName")) {
        return p_sName;
    }
    if (Is("IndCode") || Is("SectorCode")) {
        return int64_t{0};
    }
    if (Is("PctChange")) {
        return Average(p_oFigures.m_dChangeSum, p_oFigures.m_llChanges);
    }
    if (Is("RTRanking")) {
        return Average(p_oFigures.m_dRankSum, p_oFigures.m_llRanks);
    }
    if (Is("Members")) {
        return p_oFigures.m_llMembers;
    }
    if (Is("Advancing")) {
        return p_oFigures.m_llAdvancing;
    }
    if (Is("PctAdvancing")) {
        return Average(static_cast<double>(p_oFigures.m_llAdvancing) * 100.0,
                       p_oFigures.m_llMembers);
    }
    if (Is("GroupVolume")) {
        return static_cast<double>(p_oFigures.m_llVolume) / 1000000.0;
    }
    if (Is("GroupSales")) {
        return p_oFigures.m_bHasSales ? FieldValue(p_oFigures.m_dSales) : std::monostate();
    }
    if (Is("IndustryCount")) {
        return static_cast<int64_t>(p_oFigures.m_aIndustries.size());
    }
    return std::monostate();
}

}  // namespace

const std::vector<std::string>& KeyFields(RowKind p_eRows) {
    switch (p_eRows) {
        case RowKind::Industry:
            return kIndustryKeys;
        case RowKind::Sector:
            return kSectorKeys;
        default:
            return kStockKeys;
    }
}

std::vector<std::string> WithKeys(std::vector<std::string> p_aFields,
                                  const std::vector<std::string>& p_aKeys) {
    for (const std::string& key : p_aKeys) {
        const bool present =
            std::any_of(p_aFields.begin(), p_aFields.end(),
                        [&](const std::string& field) { return EqualsIgnoreCase(field, key); });
        if (!present) {
            p_aFields.push_back(key);
        }
    }
    return p_aFields;
}

ResultTable EmptyTable(const std::vector<std::string>& p_aFields) {
    std::vector<ResultColumn> columns;
    for (const std::string& requested : p_aFields) {
        const std::string name(TrimWhitespace(requested));
        const bool taken = std::any_of(columns.begin(), columns.end(), [&](const ResultColumn& c) {
            return EqualsIgnoreCase(c.m_sName, name);
        });
        if (name.empty() || taken) {
            continue;
        }
        const FieldDefinition* field = FindFieldByName(name);
        columns.push_back({field != nullptr ? field->m_sColumnName : name,
                           field != nullptr ? field->m_eKind : FieldKind::Text});
    }
    return ResultTable(std::move(columns));
}

ListLimits MarketLists::ResolveLimits(int32_t p_lOwnerId, int32_t p_lMaxRows, bool p_bReturnAll) {
    ListLimits limits;
    limits.m_bReturnAll = p_bReturnAll;
    limits.m_lMaxRows =
        p_lMaxRows > 0 ? p_lMaxRows : OwnerStore(m_oDatabase).DefaultMaxRows(p_lOwnerId);
    return limits;
}

std::optional<WatchListEntry> MarketLists::OwnedWatchList(int32_t p_lOwnerId,
                                                          int32_t p_lWatchListId,
                                                          int32_t p_lListType) {
    if (p_lOwnerId <= 0 || p_lWatchListId <= 0) {
        return std::nullopt;
    }
    for (WatchListEntry& entry : WatchListStore(m_oDatabase).WatchLists(p_lOwnerId, p_lListType)) {
        if (entry.m_lId == p_lWatchListId && !entry.m_bFolder) {
            return std::move(entry);
        }
    }
    return std::nullopt;
}

std::optional<std::string> MarketLists::OwnedPortfolio(int32_t p_lOwnerId, int32_t p_lPortfolioId) {
    PortfolioStore portfolios(m_oDatabase);
    if (!portfolios.IsOwners(p_lOwnerId, p_lPortfolioId)) {
        return std::nullopt;
    }
    for (auto& [id, name] : portfolios.Portfolios(p_lOwnerId)) {
        if (id == p_lPortfolioId) {
            return std::move(name);
        }
    }
    return std::nullopt;
}

ListAnswer MarketLists::Stocks(const ListQuery& p_oQuery) {
    MarketQueries queries(m_oDatabase);
    const ListScope& scope = p_oQuery.m_oScope;
    ListRequest request = BaseRequest(p_oQuery, kStockKeys);
    request.m_lIndCode = scope.m_lIndCode;
    request.m_lSectorCode = scope.m_lSectorCode;
    ListAnswer answer;
    bool findsRows = ApplySearch(request, p_oQuery.m_oSearch);
    std::optional<std::string> summaryName;
    if (scope.m_lWatchListId > 0) {
        const std::optional<WatchListEntry> list =
            OwnedWatchList(p_oQuery.m_lOwnerId, scope.m_lWatchListId, watch_list_type::kStocks);
        findsRows = findsRows && list;
        if (list) {
            request.m_lWatchListId = scope.m_lWatchListId;
            answer.m_sWatchListName = list->m_sName;
            summaryName = list->m_sName;
        }
    }
    if (scope.m_lPortfolioId > 0) {
        const std::optional<std::string> portfolio =
            OwnedPortfolio(p_oQuery.m_lOwnerId, scope.m_lPortfolioId);
        findsRows = findsRows && portfolio;
        if (portfolio) {
            request.m_lPortfolioId = scope.m_lPortfolioId;
            summaryName = summaryName.value_or(*portfolio);
        }
    }
    if (findsRows) {
        ListResult result = queries.Stocks(request);
        answer.m_oRows = std::move(result.m_oTable);
        answer.m_lTradingDay = result.m_lTradingDay;
    } else {
        answer.m_oRows = EmptyTable(request.m_aFields);
        answer.m_lTradingDay = queries.TradingDayOnOrBefore(p_oQuery.m_lDate);
    }
    if (p_oQuery.m_aSecondaryFields.empty()) {
        return answer;
    }
    const bool sectorGrid = p_oQuery.m_lSectorGridCode > 0;
    if (scope.m_lWatchListId > 0 || scope.m_lPortfolioId > 0) {
        answer.m_oSecondary = summaryName
                                  ? Summary(p_oQuery, *summaryName, false, sectorGrid)
                                  : EmptyTable(WithKeys(p_oQuery.m_aSecondaryFields,
                                                        sectorGrid ? kSectorKeys : kIndustryKeys));
    } else if (sectorGrid) {
        answer.m_oSecondary =
            SectorRow(p_oQuery.m_lDate, p_oQuery.m_lSectorGridCode, p_oQuery.m_aSecondaryFields);
    } else {
        ListRequest industries =
            GroupRows(p_oQuery.m_aSecondaryFields, kIndustryKeys, p_oQuery.m_lDate, "IndName ASC");
        if (scope.m_lIndCode > 0) {
            industries.m_aKeys = {std::to_string(scope.m_lIndCode)};
        }
        answer.m_oSecondary = queries.Industries(industries).m_oTable;
    }
    return answer;
}

ListAnswer MarketLists::Industries(const ListQuery& p_oQuery) {
    MarketQueries queries(m_oDatabase);
    const ListScope& scope = p_oQuery.m_oScope;
    ListRequest request = BaseRequest(p_oQuery, kIndustryKeys);
    request.m_lSectorCode = scope.m_lSectorCode;
    ListAnswer answer;
    bool findsRows = ApplySearch(request, p_oQuery.m_oSearch);
    std::optional<WatchListEntry> list;
    if (scope.m_lWatchListId > 0) {
        list =
            OwnedWatchList(p_oQuery.m_lOwnerId, scope.m_lWatchListId, watch_list_type::kIndustries);
        findsRows = findsRows && list;
        if (list) {
            request.m_lWatchListId = scope.m_lWatchListId;
            answer.m_sWatchListName = list->m_sName;
        }
    }
    if (findsRows) {
        ListResult result = queries.Industries(request);
        answer.m_oRows = std::move(result.m_oTable);
        answer.m_lTradingDay = result.m_lTradingDay;
    } else {
        answer.m_oRows = EmptyTable(request.m_aFields);
        answer.m_lTradingDay = queries.TradingDayOnOrBefore(p_oQuery.m_lDate);
    }
    if (p_oQuery.m_aSecondaryFields.empty()) {
        return answer;
    }
    if (scope.m_lWatchListId > 0) {
        answer.m_oSecondary = list ? Summary(p_oQuery, list->m_sName, true, true)
                                   : EmptyTable(WithKeys(p_oQuery.m_aSecondaryFields, kSectorKeys));
    } else if (scope.m_lSectorCode > 0) {
        answer.m_oSecondary =
            SectorRow(p_oQuery.m_lDate, scope.m_lSectorCode, p_oQuery.m_aSecondaryFields);
    } else {
        answer.m_oSecondary = queries
                                  .Sectors(GroupRows(p_oQuery.m_aSecondaryFields, kSectorKeys,
                                                     p_oQuery.m_lDate, "SectorName ASC"))
                                  .m_oTable;
    }
    return answer;
}

ListAnswer MarketLists::Sectors(const ListQuery& p_oQuery) {
    MarketQueries queries(m_oDatabase);
    ListRequest request = BaseRequest(p_oQuery, kSectorKeys);
    ListAnswer answer;
    if (ApplySearch(request, p_oQuery.m_oSearch)) {
        ListResult result = queries.Sectors(request);
        answer.m_oRows = std::move(result.m_oTable);
        answer.m_lTradingDay = result.m_lTradingDay;
    } else {
        answer.m_oRows = EmptyTable(request.m_aFields);
        answer.m_lTradingDay = queries.TradingDayOnOrBefore(p_oQuery.m_lDate);
    }
    return answer;
}

ResultTable MarketLists::SectorRow(int32_t p_lDate, int32_t p_lSectorCode,
                                   const std::vector<std::string>& p_aFields) {
    ListRequest request = GroupRows(p_aFields, kSectorKeys, p_lDate, "");
    if (p_lSectorCode <= 0) {
        return EmptyTable(request.m_aFields);
    }
    request.m_aKeys = {std::to_string(p_lSectorCode)};
    return MarketQueries(m_oDatabase).Sectors(request).m_oTable;
}

ListAnswer MarketLists::Holdings(int32_t p_lOwnerId, int32_t p_lPortfolioId, int32_t p_lDate,
                                 const std::vector<std::string>& p_aFields,
                                 const std::string& p_sSort) {
    MarketQueries queries(m_oDatabase);
    ListAnswer answer;
    if (!OwnedPortfolio(p_lOwnerId, p_lPortfolioId)) {
        answer.m_oRows = EmptyTable(p_aFields);
        answer.m_lTradingDay = queries.TradingDayOnOrBefore(p_lDate);
        return answer;
    }
    ListRequest request;
    request.m_aFields = p_aFields;
    request.m_lDate = p_lDate;
    request.m_lPortfolioId = p_lPortfolioId;
    request.m_sSort = p_sSort;
    ListResult result = queries.Holdings(request);
    answer.m_oRows = std::move(result.m_oTable);
    answer.m_lTradingDay = result.m_lTradingDay;
    return answer;
}

ResultTable MarketLists::CompanyNames(const std::string& p_sText, const ListScope& p_oScope,
                                      int32_t p_lDate, int32_t p_lOwnerId) {
    ListRequest request;
    request.m_aFields = {"CompanyName", "Symbol"};
    request.m_lDate = p_lDate;
    request.m_sSort = "CompanyName ASC";
    request.m_sNameStart = TrimWhitespace(p_sText);
    request.m_lIndCode = p_oScope.m_lIndCode;
    request.m_lSectorCode = p_oScope.m_lSectorCode;
    if (p_oScope.m_lWatchListId > 0) {
        if (!OwnedWatchList(p_lOwnerId, p_oScope.m_lWatchListId, watch_list_type::kStocks)) {
            return EmptyTable(request.m_aFields);
        }
        request.m_lWatchListId = p_oScope.m_lWatchListId;
    }
    return MarketQueries(m_oDatabase).Stocks(request).m_oTable;
}

ResultTable MarketLists::IndustryNames(const std::string& p_sText, const ListScope& p_oScope,
                                       int32_t p_lDate, int32_t p_lOwnerId) {
    ListRequest request;
    request.m_aFields = {"IndName", "IndCode"};
    request.m_lDate = p_lDate;
    request.m_sSort = "IndName ASC";
    request.m_sNameStart = TrimWhitespace(p_sText);
    request.m_lSectorCode = p_oScope.m_lSectorCode;
    if (p_oScope.m_lWatchListId > 0) {
        if (!OwnedWatchList(p_lOwnerId, p_oScope.m_lWatchListId, watch_list_type::kIndustries)) {
            return EmptyTable(request.m_aFields);
        }
        request.m_lWatchListId = p_oScope.m_lWatchListId;
    }
    return MarketQueries(m_oDatabase).Industries(request).m_oTable;
}

ResultTable MarketLists::SectorNames(const std::string& p_sText, int32_t p_lDate) {
    ListRequest request;
    request.m_aFields = {"SectorName", "SectorCode"};
    request.m_lDate = p_lDate;
    request.m_sSort = "SectorName ASC";
    request.m_sNameStart = TrimWhitespace(p_sText);
    return MarketQueries(m_oDatabase).Sectors(request).m_oTable;
}

ResultTable MarketLists::Summary(const ListQuery& p_oQuery, const std::string& p_sName,
                                 bool p_bOfIndustries, bool p_bSectorShape) {
    MarketQueries queries(m_oDatabase);
    const ListScope& scope = p_oQuery.m_oScope;
    ListRequest members;
    members.m_aFields = kSummaryInputs;
    members.m_lDate = p_oQuery.m_lDate;
    SummaryFigures figures;
    if (p_bOfIndustries) {
        for (const int64_t code : WatchListStore(m_oDatabase).ItemCodes(scope.m_lWatchListId)) {
            members.m_lIndCode = static_cast<int32_t>(code);
            AddMembers(figures, queries.Stocks(members).m_oTable);
        }
    } else {
        members.m_lIndCode = scope.m_lIndCode;
        members.m_lSectorCode = scope.m_lSectorCode;
        members.m_lWatchListId = scope.m_lWatchListId;
        members.m_lPortfolioId = scope.m_lPortfolioId;
        AddMembers(figures, queries.Stocks(members).m_oTable);
    }
    ResultTable table = EmptyTable(
        WithKeys(p_oQuery.m_aSecondaryFields, p_bSectorShape ? kSectorKeys : kIndustryKeys));
    std::vector<FieldValue> row;
    for (const ResultColumn& column : table.Columns()) {
        row.push_back(SummaryValue(column.m_sName, figures, p_sName));
    }
    table.AppendRow(std::move(row));
    return table;
}

}  // namespace qv::facade
