#include "strategies/viewer_functionality.h"

#include "outside/automation_error.h"
#include "outside/dispatch.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/support_utility.h"
#include "state/viewer_elements.h"

#include <array>

namespace qv {
namespace {

namespace field_list = facade_protocol::get_custom_field_list;

// The histories ask for the fields of the rows they list; every other list for its result type.
int16_t CustomFieldResultType(const qv::ViewerElements& p_oElements) {
    switch (p_oElements.ViewerType()) {
        case vt_StockHistory:
            return 0;
        case vt_IndustryHistory:
            return 1;
        case vt_SectorHistory:
            return 2;
        default:
            return Variant(p_oElements.ResultType()).ToInt();
    }
}

std::shared_ptr<Recordset> RecordsetResult(const Variant& p_vResult, std::string_view p_sMethod) {
    const bool isRecordset =
        p_vResult.IsObject() && (p_vResult.IsNothing() || p_vResult.ToObjectAs<Recordset>());
    if (!isRecordset) {
        RaiseRuntimeError(errors::kTypeMismatch,
                          std::string(p_sMethod) + " did not return a recordset");
    }
    return p_vResult.ToObjectAs<Recordset>();
}

}  // namespace

ViewerFunctionality::ViewerFunctionality()
    : m_oViewerElements(std::make_shared<qv::ViewerElements>()) {}

ViewerFunctionality::~ViewerFunctionality() = default;

void ViewerFunctionality::Initialize(Grid&, Grid&) {}

void ViewerFunctionality::FilterSecondaryGrid(Grid&, Grid&) {}

void ViewerFunctionality::PopulateGridColumns(Grid&, Grid&) {}

void ViewerFunctionality::SynchronizeColumns(Grid&, Grid&, bool) {}

std::shared_ptr<qv::ViewerElements> ViewerFunctionality::ViewerElements() const {
    return m_oViewerElements;
}

void ViewerFunctionality::Search(const std::string&, int16_t, int16_t, bool&, Grid&, Grid&) {}

void ViewerFunctionality::ReFillParams() {
    Reported("Viewer:ReFillParams", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        const std::shared_ptr<DispatchObject> facade =
            SupportUtility().CreateObject(facade_protocol::prog_id::kViewerReader);
        std::array<Variant, field_list::kCount> args{Variant(elements->OwnerId()),
                                                     Variant(CustomFieldResultType(*elements))};
        const Variant result = CallMethod(*facade, field_list::kMethod, args);
        elements->SetParameterList(RecordsetResult(result, field_list::kMethod));
    });
}

}  // namespace qv
