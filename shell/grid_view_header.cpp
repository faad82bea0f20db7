#include "shell/grid_view_header.h"

#include "control/viewer.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <exception>

namespace qv {

namespace {

// Read while painting, where a failure must not reach the event loop: a viewer whose state cannot
// be read has nothing to add to the picture.
std::shared_ptr<ViewerElements> ElementsOf(const std::weak_ptr<Viewer>& p_oViewer) {
    const std::shared_ptr<Viewer> viewer = p_oViewer.lock();
    if (!viewer || !viewer->Strategy()) {
        return nullptr;
    }
    return viewer->Strategy()->ViewerElements();
}

std::vector<GridSortMark> SortOf(const ViewerElements& p_oElements) {
    std::vector<GridSortMark> marks;
    const std::string primary = p_oElements.PriSortField();
    if (!primary.empty()) {
        marks.push_back({primary, p_oElements.PriSortDir() != 0});
    }
    const std::string secondary =
        p_oElements.SecSortFieldId() >= 0 ? p_oElements.SecSortField() : std::string();
    if (!secondary.empty()) {
        marks.push_back({secondary, p_oElements.SecSortDir() != 0});
    }
    return marks;
}

// The catalogue's "Description" of the field whose "Column_Name" is p_sField.
std::string LongNameOf(Recordset& p_rCatalogue, const std::string& p_sField) {
    if (p_rCatalogue.State() != adStateOpen) {
        return "";
    }
    const int32_t name = p_rCatalogue.Fields().IndexOf("Column_Name");
    const int32_t description = p_rCatalogue.Fields().IndexOf("Description");
    if (name < 0 || description < 0) {
        return "";
    }
    for (int32_t position = 0; position < p_rCatalogue.ViewCount(); ++position) {
        const uint32_t row = p_rCatalogue.ViewRowId(position);
        const Variant value = p_rCatalogue.ValueAt(row, name);
        if (value.IsString() && EqualsIgnoreCase(value.ToString(), p_sField)) {
            const Variant text = p_rCatalogue.ValueAt(row, description);
            return text.IsString() ? text.ToString() : "";
        }
    }
    return "";
}

}  // namespace

GridHeaderSource ViewerHeaderSource(std::weak_ptr<Viewer> p_oViewer, bool p_bPrimary) {
    GridHeaderSource source;
    if (p_bPrimary) {
        source.Sort = [p_oViewer] {
            const std::shared_ptr<ViewerElements> elements = ElementsOf(p_oViewer);
            try {
                return elements ? SortOf(*elements) : std::vector<GridSortMark>();
            } catch (const std::exception&) {
                return std::vector<GridSortMark>();
            }
        };
    }
    source.LongName = [p_oViewer](const std::string& p_sField) {
        const std::shared_ptr<ViewerElements> elements = ElementsOf(p_oViewer);
        if (!elements || !elements->ParameterList()) {
            return std::string();
        }
        try {
            return LongNameOf(*elements->ParameterList(), p_sField);
        } catch (const std::exception&) {
            return std::string();
        }
    };
    return source;
}

}  // namespace qv
