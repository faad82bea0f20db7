// The host framework around the viewer control: the object the control master (CControlMaster)
// is handed as "the host", and through which it reaches the control, the helper strip, the side
// panels, the frame caption, the toolbar and the navigator, all by name.
//
// The frame starts each list through a new master (Initialize with the navigator, InitMainControl
// with the start-up array, HelperControlInfo for the helper strip's kind, FinalizeInit) and hands
// the master every event of the control, of the helper strip and of the panels as an
// EventInformation (HandleEvents), the control's "Navigate" excepted: its address goes straight to
// the navigator, since through HandleEvents it would become an empty address. Key releases in the
// list go to KeyReleased, toolbar buttons to HandleToolBarClick.
//
// This class is the headless frame: it keeps what the master sets (caption, frame, toolbar,
// splitter, the panel shown, the buttons) and shows nothing. Where no panel or helper strip is
// given, a stand-in that keeps the values it is given answers for it, so that a watch list or a
// portfolio scope starts headless as in a window. A window's frame (WindowFrame) gives real
// panels and overrides the hooks that change its widgets.
//
// The control's "maincontrolref" is a thin site that forwards every member to the Viewer; the
// start-up's pending extras (what the start-up array cannot carry) run just before the first
// "UpdateViewer" of that start-up, so the first query runs once and with everything set.
//
//     HostFrame frame;
//     frame.SetMainControl(viewer);
//     frame.SetTimeCode(session.TimeCode());
//     frame.StartControl(StartupArray(values), [&] { viewer->SetEndDate(day); });
//     frame.EndStartup();
#pragma once

#include "outside/dispatch.h"
#include "outside/text_util.h"
#include "outside/variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

class CControlMaster;
class HostNavigator;
class Viewer;
class ViewerEventDispatcher;

// The support controls' names, as the master asks for them.
inline constexpr const char* kWatchListSupport = "ctlWatchListSupport";
inline constexpr const char* kPortfolioSupport = "ctlPortfolioSupport";
inline constexpr const char* kSearchSupport = "ctlSearchSupport";
inline constexpr const char* kHistoryHelper = "ctlHelper";

struct ToolBarButton {
    std::string m_sKey;
    std::string m_sCaption;
    int32_t m_lStyle = 0;
    std::string m_sPicture;
};

class HostFrame : public DispatchObject {
  public:
    using EventFn = std::function<void(std::string_view p_sEvent, std::span<Variant> p_args)>;
    using NavigateFn = std::function<void(const std::string& p_sAddress)>;

    HostFrame();
    ~HostFrame() override;
    HostFrame(const HostFrame&) = delete;
    HostFrame& operator=(const HostFrame&) = delete;

    // The control hosted; its events reach the master from now on.
    void SetMainControl(const std::shared_ptr<Viewer>& p_oViewer);
    void SetTimeCode(std::string p_sTimeCode) { m_sTimeCode = std::move(p_sTimeCode); }
    // Every event of the control as it is raised, before the master hears it (the window's log).
    void SetOnControlEvent(EventFn p_fnEvent) { m_fnControlEvent = std::move(p_fnEvent); }
    // What the navigator does with an address (the master's and the control's "Navigate").
    void SetOnNavigate(NavigateFn p_fnNavigate);
    // After the master has handled an event, with the event's name.
    void SetOnEventHandled(std::function<void(const std::string& p_sName)> p_fnHandled) {
        m_fnHandled = std::move(p_fnHandled);
    }

    // Starts a list through a new master. p_fnPending runs just before the first "UpdateViewer"
    // of the start-up; EndStartup drops it when the start-up ran no query (a watch list not yet
    // chosen).
    void StartControl(const Variant& p_vStartup, std::function<void()> p_fnPending);
    // True while the start-up has run no query yet.
    bool StartupPending() const;
    void EndStartup();
    CControlMaster* Master() const { return m_oMaster.get(); }
    // The navigator the master is handed, which the control's "Navigate" reaches too.
    HostNavigator& Navigator() const { return *m_oNavigator; }

    // The framework's event commands: the helper strip's, the panels' and the window's own.
    void RaiseHostEvent(const std::string& p_sName, std::vector<Variant> p_params = {});
    // A key released in the list, with the runtime's key code and shift state.
    void KeyReleased(int16_t p_iKeyCode, int16_t p_iShift);
    void ToolBarClick(const std::string& p_sKey);

    // The panels and the helper strip, by the objects the master reaches them through.
    void SetSupportControl(const std::string& p_sName, std::shared_ptr<DispatchObject> p_oObject);
    // Nothing leaves the frame without a helper strip.
    void SetHelperControl(std::shared_ptr<DispatchObject> p_oHelper);
    // The watch list the watch-list panel holds as current before a watch-list start-up (0:
    // none).
    virtual void ChooseWatchList(int32_t p_lWatchListId);

    // What the master set.
    const std::string& Caption() const { return m_sCaption; }
    bool FrameVisible() const { return m_bFrameVisible; }
    bool ToolBarVisible() const { return m_bToolBarVisible; }
    int32_t SplitterLeft() const { return m_lSplitterLeft; }
    int32_t MinSplitterWidth() const { return m_lMinSplitterWidth; }
    // The support control last shown, empty after HideSupportControls.
    const std::string& ShownSupport() const { return m_sShownSupport; }
    const std::vector<ToolBarButton>& ToolBarButtons() const { return m_buttons; }

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    std::string_view DispatchClassName() const override { return "HostFrame"; }

  protected:
    // The window's part. Each runs after the frame has kept the new value.
    virtual void FrameChanged() {}
    virtual void SupportShown(const std::string& p_sName) {}
    virtual void SupportsHidden() {}
    virtual void SupportRemoved(const std::string& p_sName) {}
    virtual void SplitterChanged() {}
    virtual void ToolBarChanged() {}
    virtual void ButtonAdded(const ToolBarButton& p_oButton) {}
    // The helper control class the master names for the list being started, before FinalizeInit
    // reaches the helper.
    virtual void HelperChosen(const std::string& p_sClassName) {}
    // After FinalizeInit.
    virtual void Started() {}
    // The master asks that the control be given p_lTwips of height at the least and laid out
    // again.
    virtual void ResizeMainControl(int32_t p_lTwips) {}
    // Runs a command raised inside one of the control's events; a window runs it once the event
    // is over, the headless frame at once.
    virtual void Defer(std::function<void()> p_fnCommand) { p_fnCommand(); }
    // The object the master reaches a support control through; error 438 naming it when the
    // frame has none of that name.
    std::shared_ptr<DispatchObject> SupportObject(const std::string& p_sName) const;

  private:
    class Site;
    class SupportSite;

    void OnControlEvent(std::string_view p_sEvent, std::span<Variant> p_args);
    void HandleEvent(const std::string& p_sName, std::vector<Variant> p_params);
    void ShowSupport(const std::string& p_sName);
    void AddButton(std::span<Variant> p_args);

    std::weak_ptr<Viewer> m_oViewer;
    std::shared_ptr<Site> m_oSite;
    std::shared_ptr<ViewerEventDispatcher> m_oEvents;
    std::shared_ptr<HostNavigator> m_oNavigator;
    std::shared_ptr<CControlMaster> m_oMaster;
    std::unordered_map<std::string, std::shared_ptr<DispatchObject>, IgnoreCaseHash,
                       IgnoreCaseEqual>
        m_supports;
    std::shared_ptr<DispatchObject> m_oHelper;
    EventFn m_fnControlEvent;
    std::function<void(const std::string&)> m_fnHandled;
    std::string m_sTimeCode;
    std::string m_sCaption;
    bool m_bFrameVisible = false;
    bool m_bToolBarVisible = false;
    int32_t m_lSplitterLeft = 0;
    int32_t m_lMinSplitterWidth = 0;
    std::string m_sShownSupport;
    std::vector<ToolBarButton> m_buttons;
};

}  // namespace qv
