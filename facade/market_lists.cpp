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
    ListRequest oRequest;
    oRequest.m_aFields = WithKeys(p_oQuery.m_aFields, p_aKeys);
    oRequest.m_lDate = p_oQuery.m_lDate;
    oRequest.m_sSort = p_oQuery.m_sSort;
    oRequest.m_lMaxRows = p_oQuery.m_oLimits.m_bReturnAll ? -1 : p_oQuery.m_oLimits.m_lMaxRows;
    return oRequest;
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
    ListRequest oRequest;
    oRequest.m_aFields = WithKeys(p_aFields, p_aKeys);
    oRequest.m_lDate = p_lDate;
    oRequest.m_sSort = p_sSort;
    return oRequest;
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
    for (size_t i = 0; i < p_oMembers.m_aRows.size(); ++i) {
        ++p_oFigures.m_llMembers;
        if (const auto* dChange = std::get_if<double>(&p_oMembers.Value(i, "PctChange"))) {
            p_oFigures.m_dChangeSum += *dChange;
            ++p_oFigures.m_llChanges;
            p_oFigures.m_llAdvancing += *dChange > 0 ? 1 : 0;
        }
        if (const auto* llRank = std::get_if<int64_t>(&p_oMembers.Value(i, "RSRank"))) {
            p_oFigures.m_dRankSum += static_cast<double>(*llRank);
            ++p_oFigures.m_llRanks;
        }
        if (const auto* llVolume = std::get_if<int64_t>(&p_oMembers.Value(i, "Volume"))) {
            p_oFigures.m_llVolume += *llVolume;
        }
        if (const auto* dSales = std::get_if<double>(&p_oMembers.Value(i, "Sales"))) {
            p_oFigures.m_dSales += *dSales;
            p_oFigures.m_bHasSales = true;
        }
        if (const auto* llCode = std::get_if<int64_t>(&p_oMembers.Value(i, "IndCode"))) {
            p_oFigures.m_aIndustries.insert(*llCode);
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
    for (const std::string& sKey : p_aKeys) {
        const bool bPresent =
            std::any_of(p_aFields.begin(), p_aFields.end(),
                        [&](const std::string& sField) { return EqualsIgnoreCase(sField, sKey); });
        if (!bPresent) {
            p_aFields.push_back(sKey);
        }
    }
    return p_aFields;
}

ResultTable EmptyTable(const std::vector<std::string>& p_aFields) {
    ResultTable oTable;
    for (const std::string& sRequested : p_aFields) {
        const std::string sName(TrimWhitespace(sRequested));
        if (sName.empty() || oTable.ColumnIndex(sName) >= 0) {
            continue;
        }
        const FieldDefinition* oField = FindFieldByName(sName);
        oTable.m_aColumns.push_back({oField != nullptr ? oField->m_sColumnName : sName,
                                     oField != nullptr ? oField->m_eKind : FieldKind::Text});
    }
    return oTable;
}

ListLimits MarketLists::ResolveLimits(int32_t p_lOwnerId, int32_t p_lMaxRows, bool p_bReturnAll) {
    ListLimits oLimits;
    oLimits.m_bReturnAll = p_bReturnAll;
    oLimits.m_lMaxRows =
        p_lMaxRows > 0 ? p_lMaxRows : OwnerStore(m_oDatabase).DefaultMaxRows(p_lOwnerId);
    return oLimits;
}

std::optional<WatchListEntry> MarketLists::OwnedWatchList(int32_t p_lOwnerId,
                                                          int32_t p_lWatchListId,
                                                          int32_t p_lListType) {
    if (p_lOwnerId <= 0 || p_lWatchListId <= 0) {
        return std::nullopt;
    }
    for (WatchListEntry& oEntry : WatchListStore(m_oDatabase).WatchLists(p_lOwnerId, p_lListType)) {
        if (oEntry.m_lId == p_lWatchListId && !oEntry.m_bFolder) {
            return std::move(oEntry);
        }
    }
    return std::nullopt;
}

std::optional<std::string> MarketLists::OwnedPortfolio(int32_t p_lOwnerId, int32_t p_lPortfolioId) {
    PortfolioStore oPortfolios(m_oDatabase);
    if (p_lOwnerId <= 0 || oPortfolios.OwnerOf(p_lPortfolioId) != p_lOwnerId) {
        return std::nullopt;
    }
    for (auto& [lId, sName] : oPortfolios.Portfolios(p_lOwnerId)) {
        if (lId == p_lPortfolioId) {
            return std::move(sName);
        }
    }
    return std::nullopt;
}

ListAnswer MarketLists::Stocks(const ListQuery& p_oQuery) {
    MarketQueries oQueries(m_oDatabase);
    const ListScope& oScope = p_oQuery.m_oScope;
    ListRequest oRequest = BaseRequest(p_oQuery, kStockKeys);
    oRequest.m_lIndCode = oScope.m_lIndCode;
    oRequest.m_lSectorCode = oScope.m_lSectorCode;
    ListAnswer oAnswer;
    bool bFindsRows = ApplySearch(oRequest, p_oQuery.m_oSearch);
    std::optional<std::string> sSummaryName;
    if (oScope.m_lWatchListId > 0) {
        const std::optional<WatchListEntry> oList =
            OwnedWatchList(p_oQuery.m_lOwnerId, oScope.m_lWatchListId, watch_list_type::kStocks);
        bFindsRows = bFindsRows && oList;
        if (oList) {
            oRequest.m_lWatchListId = oScope.m_lWatchListId;
            oAnswer.m_sWatchListName = oList->m_sName;
            sSummaryName = oList->m_sName;
        }
    }
    if (oScope.m_lPortfolioId > 0) {
        const std::optional<std::string> sPortfolio =
            OwnedPortfolio(p_oQuery.m_lOwnerId, oScope.m_lPortfolioId);
        bFindsRows = bFindsRows && sPortfolio;
        if (sPortfolio) {
            oRequest.m_lPortfolioId = oScope.m_lPortfolioId;
            sSummaryName = sSummaryName.value_or(*sPortfolio);
        }
    }
    if (bFindsRows) {
        ListResult oResult = oQueries.Stocks(oRequest);
        oAnswer.m_oRows = std::move(oResult.m_oTable);
        oAnswer.m_lTradingDay = oResult.m_lTradingDay;
    } else {
        oAnswer.m_oRows = EmptyTable(oRequest.m_aFields);
        oAnswer.m_lTradingDay = oQueries.TradingDayOnOrBefore(p_oQuery.m_lDate);
    }
    if (p_oQuery.m_aSecondaryFields.empty()) {
        return oAnswer;
    }
    const bool bSectorGrid = p_oQuery.m_lSectorGridCode > 0;
    if (oScope.m_lWatchListId > 0 || oScope.m_lPortfolioId > 0) {
        oAnswer.m_oSecondary =
            sSummaryName ? Summary(p_oQuery, *sSummaryName, false, bSectorGrid)
                         : EmptyTable(WithKeys(p_oQuery.m_aSecondaryFields,
                                               bSectorGrid ? kSectorKeys : kIndustryKeys));
    } else if (bSectorGrid) {
        oAnswer.m_oSecondary =
            SectorRow(p_oQuery.m_lDate, p_oQuery.m_lSectorGridCode, p_oQuery.m_aSecondaryFields);
    } else {
        ListRequest oIndustries =
            GroupRows(p_oQuery.m_aSecondaryFields, kIndustryKeys, p_oQuery.m_lDate, "IndName ASC");
        if (oScope.m_lIndCode > 0) {
            oIndustries.m_aKeys = {std::to_string(oScope.m_lIndCode)};
        }
        oAnswer.m_oSecondary = oQueries.Industries(oIndustries).m_oTable;
    }
    return oAnswer;
}

ListAnswer MarketLists::Industries(const ListQuery& p_oQuery) {
    MarketQueries oQueries(m_oDatabase);
    const ListScope& oScope = p_oQuery.m_oScope;
    ListRequest oRequest = BaseRequest(p_oQuery, kIndustryKeys);
    oRequest.m_lSectorCode = oScope.m_lSectorCode;
    ListAnswer oAnswer;
    bool bFindsRows = ApplySearch(oRequest, p_oQuery.m_oSearch);
    std::optional<WatchListEntry> oList;
    if (oScope.m_lWatchListId > 0) {
        oList = OwnedWatchList(p_oQuery.m_lOwnerId, oScope.m_lWatchListId,
                               watch_list_type::kIndustries);
        bFindsRows = bFindsRows && oList;
        if (oList) {
            oRequest.m_lWatchListId = oScope.m_lWatchListId;
            oAnswer.m_sWatchListName = oList->m_sName;
        }
    }
    if (bFindsRows) {
        ListResult oResult = oQueries.Industries(oRequest);
        oAnswer.m_oRows = std::move(oResult.m_oTable);
        oAnswer.m_lTradingDay = oResult.m_lTradingDay;
    } else {
        oAnswer.m_oRows = EmptyTable(oRequest.m_aFields);
        oAnswer.m_lTradingDay = oQueries.TradingDayOnOrBefore(p_oQuery.m_lDate);
    }
    if (p_oQuery.m_aSecondaryFields.empty()) {
        return oAnswer;
    }
    if (oScope.m_lWatchListId > 0) {
        oAnswer.m_oSecondary = oList
                                   ? Summary(p_oQuery, oList->m_sName, true, true)
                                   : EmptyTable(WithKeys(p_oQuery.m_aSecondaryFields, kSectorKeys));
    } else if (oScope.m_lSectorCode > 0) {
        oAnswer.m_oSecondary =
            SectorRow(p_oQuery.m_lDate, oScope.m_lSectorCode, p_oQuery.m_aSecondaryFields);
    } else {
        oAnswer.m_oSecondary = oQueries
                                   .Sectors(GroupRows(p_oQuery.m_aSecondaryFields, kSectorKeys,
                                                      p_oQuery.m_lDate, "SectorName ASC"))
                                   .m_oTable;
    }
    return oAnswer;
}

ListAnswer MarketLists::Sectors(const ListQuery& p_oQuery) {
    MarketQueries oQueries(m_oDatabase);
    ListRequest oRequest = BaseRequest(p_oQuery, kSectorKeys);
    ListAnswer oAnswer;
    if (ApplySearch(oRequest, p_oQuery.m_oSearch)) {
        ListResult oResult = oQueries.Sectors(oRequest);
        oAnswer.m_oRows = std::move(oResult.m_oTable);
        oAnswer.m_lTradingDay = oResult.m_lTradingDay;
    } else {
        oAnswer.m_oRows = EmptyTable(oRequest.m_aFields);
        oAnswer.m_lTradingDay = oQueries.TradingDayOnOrBefore(p_oQuery.m_lDate);
    }
    return oAnswer;
}

ResultTable MarketLists::SectorRow(int32_t p_lDate, int32_t p_lSectorCode,
                                   const std::vector<std::string>& p_aFields) {
    ListRequest oRequest = GroupRows(p_aFields, kSectorKeys, p_lDate, "");
    if (p_lSectorCode <= 0) {
        return EmptyTable(oRequest.m_aFields);
    }
    oRequest.m_aKeys = {std::to_string(p_lSectorCode)};
    return MarketQueries(m_oDatabase).Sectors(oRequest).m_oTable;
}

ListAnswer MarketLists::Holdings(int32_t p_lOwnerId, int32_t p_lPortfolioId, int32_t p_lDate,
                                 const std::vector<std::string>& p_aFields,
                                 const std::string& p_sSort) {
    MarketQueries oQueries(m_oDatabase);
    ListAnswer oAnswer;
    if (!OwnedPortfolio(p_lOwnerId, p_lPortfolioId)) {
        oAnswer.m_oRows = EmptyTable(p_aFields);
        oAnswer.m_lTradingDay = oQueries.TradingDayOnOrBefore(p_lDate);
        return oAnswer;
    }
    ListRequest oRequest;
    oRequest.m_aFields = p_aFields;
    oRequest.m_lDate = p_lDate;
    oRequest.m_lPortfolioId = p_lPortfolioId;
    oRequest.m_sSort = p_sSort;
    ListResult oResult = oQueries.Holdings(oRequest);
    oAnswer.m_oRows = std::move(oResult.m_oTable);
    oAnswer.m_lTradingDay = oResult.m_lTradingDay;
    return oAnswer;
}

ResultTable MarketLists::CompanyNames(const std::string& p_sText, const ListScope& p_oScope,
                                      int32_t p_lDate, int32_t p_lOwnerId) {
    ListRequest oRequest;
    oRequest.m_aFields = {"CompanyName", "Symbol"};
    oRequest.m_lDate = p_lDate;
    oRequest.m_sSort = "CompanyName ASC";
    oRequest.m_sNameStart = TrimWhitespace(p_sText);
    oRequest.m_lIndCode = p_oScope.m_lIndCode;
    oRequest.m_lSectorCode = p_oScope.m_lSectorCode;
    if (p_oScope.m_lWatchListId > 0) {
        if (!OwnedWatchList(p_lOwnerId, p_oScope.m_lWatchListId, watch_list_type::kStocks)) {
            return EmptyTable(oRequest.m_aFields);
        }
        oRequest.m_lWatchListId = p_oScope.m_lWatchListId;
    }
    return MarketQueries(m_oDatabase).Stocks(oRequest).m_oTable;
}

ResultTable MarketLists::IndustryNames(const std::string& p_sText, const ListScope& p_oScope,
                                       int32_t p_lDate, int32_t p_lOwnerId) {
    ListRequest oRequest;
    oRequest.m_aFields = {"IndName", "IndCode"};
    oRequest.m_lDate = p_lDate;
    oRequest.m_sSort = "IndName ASC";
    oRequest.m_sNameStart = TrimWhitespace(p_sText);
    oRequest.m_lSectorCode = p_oScope.m_lSectorCode;
    if (p_oScope.m_lWatchListId > 0) {
        if (!OwnedWatchList(p_lOwnerId, p_oScope.m_lWatchListId, watch_list_type::kIndustries)) {
            return EmptyTable(oRequest.m_aFields);
        }
        oRequest.m_lWatchListId = p_oScope.m_lWatchListId;
    }
    return MarketQueries(m_oDatabase).Industries(oRequest).m_oTable;
}

ResultTable MarketLists::SectorNames(const std::string& p_sText, int32_t p_lDate) {
    ListRequest oRequest;
    oRequest.m_aFields = {"SectorName", "SectorCode"};
    oRequest.m_lDate = p_lDate;
    oRequest.m_sSort = "SectorName ASC";
    oRequest.m_sNameStart = TrimWhitespace(p_sText);
    return MarketQueries(m_oDatabase).Sectors(oRequest).m_oTable;
}

ResultTable MarketLists::Summary(const ListQuery& p_oQuery, const std::string& p_sName,
                                 bool p_bOfIndustries, bool p_bSectorShape) {
    MarketQueries oQueries(m_oDatabase);
    const ListScope& oScope = p_oQuery.m_oScope;
    ListRequest oMembers;
    oMembers.m_aFields = kSummaryInputs;
    oMembers.m_lDate = p_oQuery.m_lDate;
    SummaryFigures oFigures;
    if (p_bOfIndustries) {
        for (const int64_t llCode : WatchListStore(m_oDatabase).ItemCodes(oScope.m_lWatchListId)) {
            oMembers.m_lIndCode = static_cast<int32_t>(llCode);
            AddMembers(oFigures, oQueries.Stocks(oMembers).m_oTable);
        }
    } else {
        oMembers.m_lIndCode = oScope.m_lIndCode;
        oMembers.m_lSectorCode = oScope.m_lSectorCode;
        oMembers.m_lWatchListId = oScope.m_lWatchListId;
        oMembers.m_lPortfolioId = oScope.m_lPortfolioId;
        AddMembers(oFigures, oQueries.Stocks(oMembers).m_oTable);
    }
    ResultTable oTable = EmptyTable(
        WithKeys(p_oQuery.m_aSecondaryFields, p_bSectorShape ? kSectorKeys : kIndustryKeys));
    std::vector<FieldValue> aRow;
    for (const ResultColumn& oColumn : oTable.m_aColumns) {
        aRow.push_back(SummaryValue(oColumn.m_sName, oFigures, p_sName));
    }
    oTable.m_aRows.push_back(std::move(aRow));
    return oTable;
}

}  // namespace qv::facade
