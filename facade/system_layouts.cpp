#include "facade/system_layouts.h"

#include <string>

#include "facade/field_catalogue.h"
#include "facade/sqlite_database.h"

namespace qv::facade {

namespace {

constexpr int32_t kStockViewer = 0;
constexpr int32_t kIndustryViewer = 1;
constexpr int32_t kSectorViewer = 2;
constexpr int32_t kStockHistoryViewer = 3;
constexpr int32_t kIndustryHistoryViewer = 4;
constexpr int32_t kSectorHistoryViewer = 5;
constexpr int32_t kFinderViewer = 6;
constexpr int32_t kPortfolioViewer = 7;
constexpr int32_t kPrintTypeOffset = 9;

constexpr int32_t kAscending = 0;
constexpr int32_t kDescending = 1;

// Appends an entry unless one with the same id and table mask is there already, in which case
// only its state changes.
void AddFieldToLayout(std::vector<LayoutColumn>& p_aColumns, int32_t p_lParameterId,
                      int32_t p_lState, const char* p_sSQLColumn, const char* p_sCaption,
                      int32_t p_lTableMask, const char* p_sColumnFormat) {
    for (LayoutColumn& column : p_aColumns) {
        if (column.ParameterId == p_lParameterId && column.TableMask == p_lTableMask) {
            column.State = p_lState;
            return;
        }
    }
    p_aColumns.push_back({p_lParameterId, p_lState, p_sSQLColumn, p_sCaption, p_lTableMask,
                          static_cast<int32_t>(p_aColumns.size()) + 1, p_sColumnFormat});
}

void AddCatalogueField(std::vector<LayoutColumn>& p_aColumns, int32_t p_lState,
                       int32_t p_lParameterId) {
    const FieldDefinition* field = FindField(p_lParameterId);
    if (field != nullptr) {
        AddFieldToLayout(p_aColumns, p_lParameterId, p_lState, field->m_sColumnName,
                         field->m_sCaption, field->m_lTableMask, field->m_sColumnFormat);
    }
}

// 0, 3 and 5 list stocks, 1 industries, 2 sectors; other finder types have no key columns.
int32_t FinderRowViewer(int32_t p_lFinderType) {
    switch (p_lFinderType) {
        case 0:
        case 3:
        case 5:
            return kStockViewer;
        case 1:
            return kIndustryViewer;
        case 2:
            return kSectorViewer;
        default:
            return -1;
    }
}

void AddKeyColumns(std::vector<LayoutColumn>& p_aColumns, int32_t p_lViewerType,
                   int32_t p_lFinderType) {
    using column_state::kAlwaysVisible;
    using column_state::kSystem;
    switch (p_lViewerType) {
        case kStockViewer:
        case kPortfolioViewer:
            AddCatalogueField(p_aColumns, kAlwaysVisible, 4);
            AddCatalogueField(p_aColumns, kAlwaysVisible, 5);
            break;
        case kIndustryViewer:
            AddCatalogueField(p_aColumns, kAlwaysVisible, 35);
            break;
        case kSectorViewer:
            AddCatalogueField(p_aColumns, kAlwaysVisible, 36);
            break;
        case kStockHistoryViewer:
            AddCatalogueField(p_aColumns, kAlwaysVisible, 41);
            AddCatalogueField(p_aColumns, kSystem, 5);
            break;
        case kIndustryHistoryViewer:
        case kSectorHistoryViewer:
            AddCatalogueField(p_aColumns, kAlwaysVisible, 41);
            break;
        case kFinderViewer: {
            const int32_t rows = FinderRowViewer(p_lFinderType);
            if (rows >= 0) {
                AddKeyColumns(p_aColumns, rows, -1);
            }
            break;
        }
        default:
            break;
    }
}

std::vector<int32_t> TrailingSystemIds(int32_t p_lViewerType, int32_t p_lFinderType) {
    switch (p_lViewerType) {
        case kStockViewer:
        case kStockHistoryViewer:
            return {1418, 38, 39};
        case kIndustryViewer:
            return {38, 39};
        case kSectorViewer:
            return {39};
        case kIndustryHistoryViewer:
            return {1418, 38, 39, 35};
        case kSectorHistoryViewer:
            return {39, 36};
        case kFinderViewer: {
            const int32_t rows = FinderRowViewer(p_lFinderType);
            return rows >= 0 ? TrailingSystemIds(rows, -1) : std::vector<int32_t>{};
        }
        case kPortfolioViewer:
            return {1418, 38, 39, 237, 1483, 1393};
        default:
            return {};
    }
}

struct LayoutPlan {
    int32_t m_lId;
    const char* m_sName;
    const char* m_sDescription;
    int32_t m_lDataType;
    int32_t m_lFinderType;
    bool m_bDefault;
    int32_t m_lPriSortId;
    int32_t m_lPriSortDir;
    int32_t m_lSecSortId;
    int32_t m_lSecSortDir;
    std::vector<int32_t> m_aChosen;
};

const std::vector<int32_t> kStockFields = {2,  7,  6,  16, 8,  9,  24,  12, 13,
                                           14, 15, 22, 25, 35, 36, 221, 225};
const std::vector<int32_t> kStockWatchFields = {2, 7, 6, 16, 8, 9, 24, 14, 15, 35, 36, 221, 225};
const std::vector<int32_t> kIndustryFields = {6, 7, 221, 225, 251, 228, 37, 1347, 36};
const std::vector<int32_t> kSectorFields = {6, 7, 221, 225, 236, 251, 228, 37, 1347, 1411};
const std::vector<int32_t> kStockHistoryFields = {1, 3, 10, 2, 7, 6, 16, 8, 12, 13, 9, 24};
const std::vector<int32_t> kGroupHistoryFields = {221, 7, 6, 225, 251, 228, 37, 1347};
const std::vector<int32_t> kPortfolioFields = {1409, 1388, 1390, 1396, 1397, 1391, 1392,
                                               1399, 1400, 1401, 1402, 6,    24};
const std::vector<int32_t> kFinderStockFields = {2, 6, 7, 16, 8, 9, 24, 22, 25, 31, 29, 35};
const std::vector<int32_t> kFinderHoldingFields = {2, 6, 1390, 1392, 1400, 1401};

std::vector<LayoutPlan> LayoutPlans() {
    const int32_t kPrint = system_layout::kPrintOffset + kPrintTypeOffset;
    const int32_t kFinder = system_layout::kFinderFirst;
    const int32_t kFinderPrint = system_layout::kFinderPrintFirst;
    const int32_t kFinderPrintType = kFinderViewer + kPrintTypeOffset;
    return {
        {system_layout::kStockList, "Stock List", "Prices, strength and trend of each stock",
         kStockViewer, -1, true, 9, kDescending, 5, kAscending, kStockFields},
        {system_layout::kStockWatchList, "Stock Watch List", "The stocks of a watch list",
         kStockViewer, -1, false, 5, kAscending, -1, kAscending, kStockWatchFields},
        {system_layout::kIndustryList, "Industry Groups", "Industry groups with their members",
         kIndustryViewer, -1, true, 37, kDescending, 35, kAscending, kIndustryFields},
        {system_layout::kIndustryWatchList, "Industry Watch List",
         "The industry groups of a watch list", kIndustryViewer, -1, false, 35, kAscending, -1,
         kAscending, kIndustryFields},
        {system_layout::kSectorList, "Business Sectors", "Business sectors with their members",
         kSectorViewer, -1, true, 6, kDescending, 36, kAscending, kSectorFields},
        {system_layout::kStockHistory, "Stock History", "Daily history of one stock",
         kStockHistoryViewer, -1, true, 41, kDescending, -1, kAscending, kStockHistoryFields},
        {system_layout::kIndustryHistory, "Industry History", "Daily history of an industry group",
         kIndustryHistoryViewer, -1, true, 41, kDescending, -1, kAscending, kGroupHistoryFields},
        {system_layout::kSectorHistory, "Sector History", "Daily history of a business sector",
         kSectorHistoryViewer, -1, true, 41, kDescending, -1, kAscending, kGroupHistoryFields},
        {system_layout::kPortfolio, "Portfolio", "Current holdings with their gains",
         kPortfolioViewer, -1, true, 5, kAscending, -1, kAscending, kPortfolioFields},
        {kFinder + 0, "Screen Results", "Stocks found by a screen", kFinderViewer, 0, true, 9,
         kDescending, 5, kAscending, kFinderStockFields},
        {kFinder + 1, "Screen Results: Industries", "Industry groups found by a screen",
         kFinderViewer, 1, true, 37, kDescending, -1, kAscending, kIndustryFields},
        {kFinder + 2, "Screen Results: Sectors", "Business sectors found by a screen",
         kFinderViewer, 2, true, 6, kDescending, -1, kAscending, kSectorFields},
        {kFinder + 3, "Screen Results: Holdings", "Portfolio holdings found by a screen",
         kFinderViewer, 3, true, 5, kAscending, -1, kAscending, kFinderHoldingFields},
        {kFinder + 5, "Screen Results: Stocks", "Stocks found by a screen", kFinderViewer, 5, true,
         9, kDescending, 5, kAscending, kFinderStockFields},
        {system_layout::kFinderWithoutCaption,
         "Screen Results: Technical",
         "Trend and strength of the stocks found, without the buy/sell/hold count",
         kFinderViewer,
         0,
         false,
         9,
         kDescending,
         -1,
         kAscending,
         {2, 6, 9, 24, 12, 13, 14, 15, 18, 19}},
        {kPrint + kStockViewer,
         "Stock List (print)",
         "Stock list for printing",
         kStockViewer + kPrintTypeOffset,
         -1,
         true,
         9,
         kDescending,
         5,
         kAscending,
         {2, 7, 6, 16, 9, 24, 35}},
        {kPrint + kIndustryViewer,
         "Industry Groups (print)",
         "Industry groups for printing",
         kIndustryViewer + kPrintTypeOffset,
         -1,
         true,
         37,
         kDescending,
         -1,
         kAscending,
         {6, 7, 221, 225, 37, 36}},
        {kPrint + kSectorViewer,
         "Business Sectors (print)",
         "Business sectors for printing",
         kSectorViewer + kPrintTypeOffset,
         -1,
         true,
         6,
         kDescending,
         -1,
         kAscending,
         {6, 7, 221, 225, 236, 37}},
        {kPrint + kStockHistoryViewer,
         "Stock History (print)",
         "Stock history for printing",
         kStockHistoryViewer + kPrintTypeOffset,
         -1,
         true,
         41,
         kDescending,
         -1,
         kAscending,
         {2, 7, 6, 16, 9, 24}},
        {kPrint + kIndustryHistoryViewer,
         "Industry History (print)",
         "Industry history for printing",
         kIndustryHistoryViewer + kPrintTypeOffset,
         -1,
         true,
         41,
         kDescending,
         -1,
         kAscending,
         {221, 7, 6, 225, 37}},
        {kPrint + kSectorHistoryViewer,
         "Sector History (print)",
         "Sector history for printing",
         kSectorHistoryViewer + kPrintTypeOffset,
         -1,
         true,
         41,
         kDescending,
         -1,
         kAscending,
         {221, 7, 6, 225, 37}},
        {kPrint + kPortfolioViewer,
         "Portfolio (print)",
         "Holdings for printing",
         kPortfolioViewer + kPrintTypeOffset,
         -1,
         true,
         5,
         kAscending,
         -1,
         kAscending,
         {1409, 1390, 1396, 1397, 1392, 1400, 1401}},
        {kFinderPrint + 0,
         "Screen Results (print)",
         "Stocks found, for printing",
         kFinderPrintType,
         0,
         true,
         9,
         kDescending,
         -1,
         kAscending,
         {2, 6, 9, 24, 35}},
        {kFinderPrint + 1,
         "Screen Results: Industries (print)",
         "Industry groups found, for printing",
         kFinderPrintType,
         1,
         true,
         37,
         kDescending,
         -1,
         kAscending,
         {6, 221, 225, 37}},
        {kFinderPrint + 2,
         "Screen Results: Sectors (print)",
         "Business sectors found, for printing",
         kFinderPrintType,
         2,
         true,
         6,
         kDescending,
         -1,
         kAscending,
         {6, 221, 225, 37}},
        {kFinderPrint + 3,
         "Screen Results: Holdings (print)",
         "Holdings found, for printing",
         kFinderPrintType,
         3,
         true,
         5,
         kAscending,
         -1,
         kAscending,
         {2, 6, 1390, 1400}},
        {kFinderPrint + 5,
         "Screen Results: Stocks (print)",
         "Stocks found, for printing",
         kFinderPrintType,
         5,
         true,
         9,
         kDescending,
         -1,
         kAscending,
         {2, 6, 9, 24, 35}},
    };
}

std::string SortFieldName(int32_t p_lParameterId) {
    const int32_t id = p_lParameterId == 38 ? 35 : p_lParameterId == 39 ? 36 : p_lParameterId;
    const FieldDefinition* field = FindField(id);
    return field != nullptr ? field->m_sColumnName : "";
}

const char* DirectionWord(int32_t p_lDirection) {
    return p_lDirection == kAscending ? " ASC" : " DESC";
}

}  // namespace

std::vector<LayoutColumn> BuildLayoutColumns(const std::vector<int32_t>& p_aChosenIds,
                                             int32_t p_lViewerType, int32_t p_lFinderType) {
    std::vector<LayoutColumn> columns;
    AddKeyColumns(columns, p_lViewerType, p_lFinderType);
    for (const int32_t id : p_aChosenIds) {
        const FieldDefinition* field = FindField(id);
        if (field == nullptr) {
            continue;
        }
        columns.push_back({id, column_state::kVisible, field->m_sColumnName, field->m_sCaption,
                           field->m_lTableMask, static_cast<int32_t>(columns.size()) + 1,
                           field->m_sColumnFormat});
    }
    for (const int32_t id : TrailingSystemIds(p_lViewerType, p_lFinderType)) {
        AddCatalogueField(columns, column_state::kSystem, id);
    }
    if (p_lViewerType == kStockViewer) {
        AddFieldToLayout(columns, 37, column_state::kAlwaysVisible, "RTRanking", "RT Ranking",
                         table_mask::kGroups, "0");
    }
    return columns;
}

LayoutSort MakeLayoutSort(int32_t p_lPriSortId, int32_t p_lPriSortDir, int32_t p_lSecSortId,
                          int32_t p_lSecSortDir) {
    LayoutSort sort{"", p_lPriSortId, p_lPriSortDir, p_lSecSortId, p_lSecSortDir};
    sort.SortText = SortFieldName(p_lPriSortId) + DirectionWord(p_lPriSortDir);
    if (p_lSecSortId >= 0) {
        sort.SortText += ", " + SortFieldName(p_lSecSortId) + DirectionWord(p_lSecSortDir);
    }
    return sort;
}

std::vector<LayoutRecord> SystemLayouts() {
    std::vector<LayoutRecord> layouts;
    for (const LayoutPlan& plan : LayoutPlans()) {
        LayoutRecord layout;
        layout.Header.Id = plan.m_lId;
        layout.Header.Name = plan.m_sName;
        layout.Header.Description = plan.m_sDescription;
        layout.Header.OwnerId = 0;
        layout.m_lDataType = plan.m_lDataType;
        layout.m_lFinderType = plan.m_lFinderType;
        layout.Sort = MakeLayoutSort(plan.m_lPriSortId, plan.m_lPriSortDir, plan.m_lSecSortId,
                                     plan.m_lSecSortDir);
        const int32_t viewerType = plan.m_lDataType >= kPrintTypeOffset
                                       ? plan.m_lDataType - kPrintTypeOffset
                                       : plan.m_lDataType;
        layout.Columns = BuildLayoutColumns(plan.m_aChosen, viewerType, plan.m_lFinderType);
        layouts.push_back(std::move(layout));
    }
    return layouts;
}

void SeedSystemLayouts(SqlDatabase& p_oDatabase) {
    LayoutStore store(p_oDatabase);
    const std::vector<LayoutPlan> plans = LayoutPlans();
    const std::vector<LayoutRecord> built = SystemLayouts();
    for (size_t i = 0; i < built.size(); ++i) {
        store.PutLayout(built[i]);
        if (plans[i].m_bDefault) {
            store.SetDefault(0, built[i].m_lDataType, built[i].m_lFinderType, built[i].Header.Id);
        }
    }
}

}  // namespace qv::facade
