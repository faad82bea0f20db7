#include "host/host_calls.h"

#include "outside/automation_error.h"

#include <array>
#include <string>

namespace qv::host_calls {

bool IsMarketList(int32_t p_eViewerType) {
    return p_eViewerType == kStocks || p_eViewerType == kIndustries || p_eViewerType == kSectors;
}

bool IsHistory(int32_t p_eViewerType) {
    return p_eViewerType == kStockHistory || p_eViewerType == kIndustryHistory ||
           p_eViewerType == kSectorHistory;
}

std::shared_ptr<DispatchObject> ObjectOf(const Variant& p_vValue) {
    std::shared_ptr<DispatchObject> object = p_vValue.ToObject();
    if (!object) {
        RaiseRuntimeError(errors::kObjectVariableNotSet);
    }
    return object;
}

std::shared_ptr<DispatchObject> MainControl(DispatchObject& p_oHost) {
    return ObjectOf(GetProperty(p_oHost, "maincontrolref"));
}

std::shared_ptr<DispatchObject> HelperControl(DispatchObject& p_oHost) {
    return ObjectOf(GetProperty(p_oHost, "HelperControlRef"));
}

bool HasHelperControl(DispatchObject& p_oHost) {
    const Variant helper = GetProperty(p_oHost, "HelperControlRef");
    return helper.IsObject() && !helper.IsNothing();
}

std::shared_ptr<DispatchObject> SupportControl(DispatchObject& p_oHost, std::string_view p_sName) {
    std::array<Variant, 1> name{Variant(p_sName)};
    const Variant reference = p_oHost.Invoke("SupportControlRef", InvokeKind::PropertyGet, name);
    return ObjectOf(GetProperty(*ObjectOf(reference), "object"));
}

Variant CallWith(DispatchObject& p_oTarget, std::string_view p_sName, std::vector<Variant> p_args) {
    return CallMethod(p_oTarget, p_sName, p_args);
}

void RefreshHelper(DispatchObject& p_oHelper, DispatchObject& p_oMain) {
    LetProperty(p_oHelper, "SetSort", GetProperty(p_oMain, "SortCaption"));
    LetProperty(p_oHelper, "SetBSH", GetProperty(p_oMain, "BSHCaption"));
}

bool HasRows(DispatchObject& p_oMain) {
    return GetProperty(p_oMain, "RecordCount").ToLong() > 0;
}

}  // namespace qv::host_calls
