#include "shell/panel_events.h"

#include <cmath>

namespace qv::test {

namespace {

std::string Literal(const Variant& p_vValue) {
    switch (p_vValue.Type()) {
        case VarType::String:
            return '"' + p_vValue.ToString() + '"';
        case VarType::Integer:
            return p_vValue.ToString() + "%";
        case VarType::Long:
            return p_vValue.ToString() + "&";
        case VarType::Date:
            return "#" + std::to_string(std::lround(p_vValue.ToDate())) + "#";
        case VarType::Object:
            return p_vValue.IsNothing() ? "Nothing" : "Object";
        default:
            return p_vValue.ToString();
    }
}

}  // namespace

PanelEvents::PanelEvents(SupportPanel& p_oPanel) {
    p_oPanel.SetOnEvent([this](const std::string& p_sName, std::vector<Variant> p_params) {
        std::string text = p_sName;
        for (size_t i = 0; i < p_params.size(); ++i) {
            text += (i == 0 ? "(" : ",") + Literal(p_params[i]);
        }
        m_events.push_back(p_params.empty() ? text : text + ")");
    });
}

std::string PanelEvents::Take() {
    std::string text;
    for (const std::string& event : m_events) {
        text += (text.empty() ? "" : " ") + event;
    }
    m_events.clear();
    return text;
}

}  // namespace qv::test
