// The control master: how a host framework (the desktop or web shell of the service) drives a
// Viewer as its main control, with a helper strip and named side panels (support controls).
//
// The framework creates one CControlMaster per main control and calls its members in the order of
// the framework's control interface (the slot numbers below). Every member that takes the host
// receives the framework object and reaches the control only through the host's
// "maincontrolref", by name: the master never sees the Viewer type, so a scripted host with a
// scripted control drives it in tests, and a host in another language drives it through
// Invoke. The helper control ("HelperControlRef") and the support controls ("SupportControlRef"
// given a name, whose "object" is the panel) are reached the same way.
//
//     CControlMaster master;
//     Variant navigator(std::shared_ptr<DispatchObject>(myNavigator));
//     master.Initialize(Variant::Nothing(), navigator);
//     master.InitMainControl(startup, framework);   // a Variant array, elements 0 to 8 at least
//     master.FinalizeInit(framework);
//     ...
//     master.HandleEvents(eventInformation, framework);   // the control's events, by name
//     master.KillMe();
//
// A member that fails (a start-up array too short or of the wrong types, an event without the
// parameters its command reads, a support control the host lacks, no navigator) reports the
// failure to the error reporter under "CControlMaster:<member>" and returns; the master and the
// control stay usable.
#pragma once

#include "outside/dispatch.h"
#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

class CControlMaster : public DispatchObject {
  public:
    CControlMaster();
    ~CControlMaster() override;

    // 1: the framework's event commands, by name (the host's own, the helper's, the panels' and
    // the control's events).
    void HandleEvents(DispatchObject& p_oEventInfo, DispatchObject& p_oHost);
    // 2: the control's keyboard shortcuts with Ctrl.
    void KeyReleased(int16_t& p_iKeyCode, int16_t& p_iShift, DispatchObject& p_oHost);
    // 3
    void InitHelperObjects() {}
    // 4: copies the start-up array into the control's properties and, unless a watch list is to
    // be chosen first, runs its query.
    void InitMainControl(const Variant& p_vStartup, DispatchObject& p_oHost);
    // 5: keeps the navigation interface (an object Variant, or Nothing). A navigation request
    // calls its method "Navigate" with the page address and True.
    void Initialize(const Variant& p_oUnused, Variant& p_oNavigator);
    // 6: the helper control's class name for the viewer type.
    void HelperControlInfo(std::string& p_sClassName);
    // 7: the support control's descriptor, where the viewer type and mode have one.
    void SupportControlInfo(std::string& p_sDescriptor);
    // 8
    void KillMe();
    // 9, 10, 11, 13
    void RaiseNavigateEvent(const std::string& p_sURL, const Variant& p_vOther) {}
    void NavigateEvent(const std::string& p_sURL) {}
    void InitSupportObjects() {}
    // 12: the helper and support controls after the main control is placed.
    void FinalizeInit(DispatchObject& p_oHost);
    void RaiseNavigateEventWin32(const Variant& p_oObject) {}
    // 14
    void HandleToolBarClick(const std::string& p_sKey, DispatchObject& p_oHost);
    // 15
    void CloseSupport(DispatchObject& p_oHost);
    // 16
    std::string NavigateCaption() const;
    // 17
    void CustomFieldsChanged(DispatchObject& p_oHost);
    // 18
    void ControlShown(DispatchObject& p_oHost) {}
    // 19
    void ExportData(int16_t p_iExportType, DispatchObject& p_oHost);
    // 20
    bool CanExportData(DispatchObject& p_oHost) const { return true; }

    // What InitMainControl kept, for the framework's own use.
    int32_t ViewerType() const { return m_eViewerType; }
    bool WatchListMode() const { return m_bWatchListMode; }
    bool PortfolioMode() const { return m_bPortfolioMode; }
    bool HasNavigator() const { return m_oNavigator != nullptr; }

    // The same members by name, the host and the event information as object arguments.
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    std::string_view DispatchClassName() const override { return "CControlMaster"; }

    // Shared by the members and the event commands; public so that tests reach them directly.
    void EditSort(DispatchObject& p_oHost);
    void FindSymbol(DispatchObject& p_oHost);
    void CloseSupportPanels(DispatchObject& p_oHost);
    void RefreshLimits(DispatchObject& p_oHost, int32_t p_lMaxRows, bool p_bReturnAll);
    // A failure inside is raised again with its number, source and description.
    void ChangeDate(double p_dtDate, DispatchObject& p_oHost, int32_t p_lMaxRows,
                    bool p_bReturnAll);
    // The page address of a navigation event; empty when no rule gives one.
    void BuildNavigationUrl(DispatchObject& p_oEventInfo, DispatchObject& p_oHost,
                            std::string& p_sURL);

  private:
    // The event commands of HandleEvents, one function each (control_master_events.cpp).
    class EventCommands;

    void ApplyStartup(const VariantArray& p_aStartup, DispatchObject& p_oHost);
    void ApplyStartDate(const VariantArray& p_aStartup, DispatchObject& p_oMain);
    void ApplyListCode(const VariantArray& p_aStartup, DispatchObject& p_oMain);
    void FinalizeMarketList(DispatchObject& p_oHost);
    void ShowWatchListPanel(DispatchObject& p_oHost, DispatchObject& p_oMain,
                            DispatchObject& p_oHelper);
    void RunShortcut(char p_cKey, DispatchObject& p_oHost, DispatchObject& p_oMain);
    // The descriptor SupportControlInfo answers, empty when the list offers no support control.
    std::string SupportDescriptor() const;

    std::shared_ptr<DispatchObject> m_oNavigator;
    int32_t m_eViewerType = 0;
    int32_t m_lOwnerId = 0;
    double m_dtListDate = 0;
    double m_dtHelperDate = 0;
    int16_t m_iHelperCode = 0;
    double m_dtStartDate = 0;
    bool m_bWatchListMode = false;
    bool m_bPortfolioMode = false;
    int32_t m_lPortfolioId = 0;
};

}  // namespace qv
