// The Grid's quick test: the ids of the rows to test, handed to the quick-test component, whose
// page goes to the host as Navigate.
#include "grid/grid.h"

#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/quick_test_component.h"
#include "outside/text_util.h"
#include "state/viewer_elements.h"

#include <optional>

namespace qv {

namespace {

struct QuickTestRows {
    QuickTestKind Kind;
    const char* IdField;
};

// Holdings and rows of other kinds have no quick test.
std::optional<QuickTestRows> QuickTestRowsOf(int32_t p_lDataType) {
    switch (p_lDataType) {
        case 0:
        case 5:
            return QuickTestRows{QuickTestKind::Stocks, "Stock_ID"};
        case 1:
            return QuickTestRows{QuickTestKind::Industries, "IndCode"};
        case 2:
            return QuickTestRows{QuickTestKind::Sectors, "SectorCode"};
        default:
            return std::nullopt;
    }
}

// The ids after the "=", without the empty ones a row without an id leaves.
std::vector<std::string> IdsOf(const std::string& p_sQuickTest) {
    std::vector<std::string> ids;
    const size_t equals = p_sQuickTest.find('=');
    if (equals == std::string::npos) {
        return ids;
    }
    for (const std::string& part : SplitText(p_sQuickTest.substr(equals + 1), ',')) {
        const std::string_view id = TrimWhitespace(part);
        if (!id.empty()) {
            ids.emplace_back(id);
        }
    }
    return ids;
}

}  // namespace

void Grid::ShowQuikTest(std::string& p_sQuickTest, const std::string& p_sReportTitle) {
    Reported("Grid:ShowQuicktest", [&] {
        const std::optional<QuickTestRows> rows = QuickTestRowsOf(m_lViewerDataType);
        if (!rows) {
            return;
        }
        if (p_sQuickTest.empty()) {
            p_sQuickTest = "QuickTest=" + GetSelectedItems(rows->IdField);
        }
        QuickTestRequest request;
        request.Ids = IdsOf(p_sQuickTest);
        if (request.Ids.empty()) {
            return;
        }
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        if (!elements) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "the grid has no viewer state");
        }
        request.ReportTitle = p_sReportTitle;
        request.Kind = rows->Kind;
        request.CurrentDate = m_dCurrentDate;
        request.EndDate = elements->EndDate();
        request.IsWin32 = elements->IsWin32();
        request.ViewerType = elements->ViewerType();
        request.OwnerId = elements->OwnerId();
        if (elements->ViewerType() == vt_FinderResults) {
            request.FinderResultsType = elements->FinderResultsType();
        }
        const std::string address = QuickTestPageAddress(request);
        m_sinks.Raise([&](GridEvents& sink) { sink.Navigate(address); });
    });
}

}  // namespace qv
