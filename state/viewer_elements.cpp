#include "state/viewer_elements.h"

#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "outside/automation_error.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"

namespace qv {
namespace {

// Data type of catalogue fields that can never be sorted on.
constexpr int32_t kUnsortableDataType = 24;

// The industry and sector code fields sort and are named as the industry and sector names.
int32_t SortableId(int32_t p_lParameterId) {
    switch (p_lParameterId) {
        case 38:
            return 35;
        case 39:
            return 36;
        default:
            return p_lParameterId;
    }
}

std::string ParameterFilter(int32_t p_lParameterId) {
    return "Parameter_ID = " + std::to_string(p_lParameterId);
}

const char* DirectionWord(int32_t p_lDirection) {
    return p_lDirection == 0 ? " ASC" : " DESC";
}

// Puts a recordset's filter back as it was when the scope started, whichever way it ends; a
// filter that reads "0" (none) comes back as no filter.
class FilterRestorer {
  public:
    explicit FilterRestorer(Recordset& p_rRecordset)
        : m_rRecordset(p_rRecordset), m_vFilter(p_rRecordset.Filter()) {}
    ~FilterRestorer() {
        try {
            const bool none = m_vFilter.ToString() == "0";
            m_rRecordset.SetFilter(none ? Variant("") : m_vFilter);
        } catch (const AutomationError&) {
            // The filter was valid when it was read, so putting it back cannot fail in practice;
            // a destructor must not throw in any case.
        }
    }
    FilterRestorer(const FilterRestorer&) = delete;
    FilterRestorer& operator=(const FilterRestorer&) = delete;

  private:
    Recordset& m_rRecordset;
    Variant m_vFilter;
};

size_t GridSlot(GridType p_eGridType) {
    if (p_eGridType != gtPrimary && p_eGridType != gtSecondary) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange,
                          "no grid " + std::to_string(static_cast<int32_t>(p_eGridType)));
    }
    return static_cast<size_t>(p_eGridType);
}

}  // namespace

ViewerElements::ViewerElements() : m_oGridLayout(std::make_shared<qv::GridLayout>()) {
    m_dStartDate = PlatformContext::Current().Time().Now();
    m_dEndDate = m_dStartDate;
}

ViewerElements::~ViewerElements() = default;

int32_t ViewerElements::ResultType() const {
    return m_eViewerType == vt_FinderResults ? m_lFinderResultsType
                                             : static_cast<int32_t>(m_eViewerType);
}

std::shared_ptr<qv::GridColumns> ViewerElements::GridColumns(GridType p_eGridType) {
    std::shared_ptr<qv::GridColumns>& columns = m_oGridColumns[GridSlot(p_eGridType)];
    if (!columns) {
        columns = std::make_shared<qv::GridColumns>();
    }
    return columns;
}

void ViewerElements::SetGridColumns(GridType p_eGridType,
                                    std::shared_ptr<qv::GridColumns> p_oColumns) {
    m_oGridColumns[GridSlot(p_eGridType)] = std::move(p_oColumns);
}

std::optional<LayoutSort> ViewerElements::SortBlock() const {
    if (m_sSort.empty()) {
        return std::nullopt;
    }
    return LayoutSort{m_sSort, m_lPriSortFieldId, m_lPriSortDir, m_lSecSortFieldId, m_lSecSortDir};
}

Variant ViewerElements::SortInfo() const {
    return layout_codec::SortBlockToVariant(SortBlock());
}

std::string ViewerElements::FieldNameOf(int32_t p_lParameterId) const {
    if (!m_rParameterList) {
        return "";
    }
    const std::shared_ptr<Recordset> catalogue = m_rParameterList->Clone();
    if (p_lParameterId == -1) {
        return "";
    }
    catalogue->SetFilter(ParameterFilter(SortableId(p_lParameterId)));
    if (catalogue->IsEOF()) {
        return "";
    }
    const Variant name = catalogue->Value("Column_Name");
    return name.IsNull() ? "" : name.ToString();
}

bool ViewerElements::IsNeverSortField(int32_t p_lParameterId) const {
    FilterRestorer restorer(*m_rParameterList);
    m_rParameterList->SetFilter(ParameterFilter(p_lParameterId));
    if (m_rParameterList->IsEOF()) {
        return false;
    }
    const Variant dataType = m_rParameterList->Value("DataType_ID");
    return !dataType.IsNull() && dataType.ToLong() == kUnsortableDataType;
}

void ViewerElements::SetSortInfo(int32_t p_lPriFieldId, int32_t p_lPriDir, int32_t p_lSecFieldId,
                                 int32_t p_lSecDir) {
    if (m_rParameterList && IsNeverSortField(p_lPriFieldId)) {
        p_lPriFieldId = 0;
    }
    m_lPriSortFieldId = p_lPriFieldId >= 1 ? SortableId(p_lPriFieldId) : p_lPriFieldId;
    if (p_lPriFieldId >= 1) {
        m_lPriSortDir = p_lPriDir;
    }
    m_lSecSortFieldId = p_lSecFieldId >= 1 ? SortableId(p_lSecFieldId) : p_lSecFieldId;
    if (p_lSecFieldId >= 1) {
        m_lSecSortDir = p_lSecDir;
    }
    if (m_lPriSortFieldId == m_lSecSortFieldId) {
        m_lSecSortFieldId = -1;
        m_lSecSortDir = 1;
    }
    std::string sort = FieldNameOf(m_lPriSortFieldId) + DirectionWord(m_lPriSortDir);
    if (m_lSecSortFieldId >= 0) {
        sort += ", " + FieldNameOf(m_lSecSortFieldId) + DirectionWord(m_lSecSortDir);
    }
    m_sSort = std::move(sort);
}

std::string ViewerElements::PriSortField() const {
    return FieldNameOf(m_lPriSortFieldId);
}

std::string ViewerElements::SecSortField() const {
    return FieldNameOf(m_lSecSortFieldId);
}

LayoutDescription ViewerElements::GridLayoutDescription() {
    return {m_oGridLayout->Header(), SortBlock(), GridColumns(gtPrimary)->LayoutColumns()};
}

void ViewerElements::SetGridLayoutDescription(const LayoutDescription& p_layout) {
    if (!p_layout.Sort) {
        RaiseRuntimeError(errors::kTypeMismatch,
                          "layout description: element 1 holds no sort block");
    }
    m_oGridLayout->SetHeader(p_layout.Header);
    const LayoutSort& sort = *p_layout.Sort;
    SetSortInfo(sort.PriSortId, sort.PriSortDir, sort.SecSortId, sort.SecSortDir);
    const std::shared_ptr<qv::GridColumns> columns = GridColumns(gtPrimary);
    columns->Clear();
    m_lLeftColIndex = 0;
    for (size_t i = 0; i < p_layout.Columns.size(); ++i) {
        const LayoutColumn& entry = p_layout.Columns[i];
        columns->Add(entry.SQLColumn, static_cast<ColumnState>(entry.State), entry.Caption,
                     entry.ParameterId, entry.Sequence, entry.TableMask, 0, entry.ColumnFormat);
        if (entry.Sequence == 1) {
            m_lLeftColIndex = static_cast<int32_t>(i);
        }
    }
}

Variant ViewerElements::GridLayoutInfo() {
    return layout_codec::ToVariant(GridLayoutDescription());
}

void ViewerElements::SetGridLayoutInfo(const Variant& p_vLayoutInfo) {
    SetGridLayoutDescription(layout_codec::Parse(p_vLayoutInfo));
}

qv::ViewerType ViewerElements::PrintType() const {
    if (m_eViewerType >= vt_Stocks && m_eViewerType <= vt_Portfolio) {
        return static_cast<qv::ViewerType>(m_eViewerType + 9);
    }
    return m_eViewerType;
}

int32_t ViewerElements::MainResultData() const {
    switch (m_eViewerType) {
        case vt_Industries:
        case vt_IndustryHistory:
        case vt_Industries_Print:
        case vt_IndustryHistory_Print:
            return 1;
        case vt_Sectors:
        case vt_SectorHistory:
        case vt_Sectrors_Print:
        case vt_SectorHistory_Print:
            return 2;
        case vt_FinderResults:
        case vt_FinderResults_Print:
            return m_lFinderResultsType;
        case vt_Portfolio:
        case vt_BuyFromSearch:
        case vt_Portfolio_Print:
            return 3;
        default:
            return 0;
    }
}

}  // namespace qv
