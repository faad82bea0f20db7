#include "shell/host_navigator.h"

#include "outside/dispatch_table.h"
#include "outside/numeric_text.h"
#include "outside/text_util.h"

#include <array>
#include <string_view>

namespace qv {

namespace {

struct HistoryPage {
    std::string_view m_sPrefix;
    int32_t m_lViewerType;
};

constexpr std::array<HistoryPage, 3> kHistoryPages = {{
    {"pagecontroller.aspx?pagetype=7&symbol=", vt_StockHistory},
    {"pagecontroller.aspx?pagetype=8&indcode=", vt_IndustryHistory},
    {"pagecontroller.aspx?pagetype=9&sectorcode=", vt_SectorHistory},
}};

}  // namespace

std::optional<ViewerRequest> HistoryOfAddress(const std::string& p_sAddress) {
    for (const HistoryPage& page : kHistoryPages) {
        if (p_sAddress.size() <= page.m_sPrefix.size() ||
            !EqualsIgnoreCase(std::string_view(p_sAddress).substr(0, page.m_sPrefix.size()),
                              page.m_sPrefix)) {
            continue;
        }
        const std::string key = SplitText(p_sAddress.substr(page.m_sPrefix.size()), ',').front();
        ViewerRequest request;
        request.m_lViewerType = page.m_lViewerType;
        if (page.m_lViewerType == vt_StockHistory) {
            request.m_sSymbol = key;
            return key.empty() ? std::nullopt : std::optional(request);
        }
        const std::optional<double> code = ParseNumericText(key);
        if (!code || *code < 1) {
            return std::nullopt;
        }
        (page.m_lViewerType == vt_IndustryHistory ? request.m_lIndCode : request.m_lSectorCode) =
            static_cast<int32_t>(*code);
        return request;
    }
    return std::nullopt;
}

void HostNavigator::Navigate(const std::string& p_sAddress) {
    if (!p_sAddress.empty() && m_fnNavigate) {
        m_fnNavigate(p_sAddress);
    }
}

Variant HostNavigator::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                              std::span<Variant> p_args) {
    static const DispatchTable table = DispatchTable::Builder<HostNavigator>()
                                           .Method("Navigate", 1, 2,
                                                   [](HostNavigator& self, DispatchArgs args) {
                                                       self.Navigate(args[0].ToString());
                                                       return Variant();
                                                   })
                                           .Build();
    return table.Invoke(*this, p_sName, p_eKind, p_args);
}

}  // namespace qv
