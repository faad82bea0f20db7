#include "shell/host_frame.h"

#include "control/viewer.h"
#include "control/viewer_events.h"
#include "host/control_master.h"
#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/event_information.h"
#include "outside/scripted_host.h"
#include "shell/host_navigator.h"

#include <utility>

namespace qv {

// The control as the master reaches it: every member goes to the Viewer, the start-up's pending
// extras first when the member is the start-up's first "UpdateViewer".
class HostFrame::Site : public DispatchObject {
  public:
    explicit Site(std::weak_ptr<Viewer> p_oViewer) : m_oViewer(std::move(p_oViewer)) {}

    void SetPending(std::function<void()> p_fnPending) { m_fnPending = std::move(p_fnPending); }
    bool Pending() const { return static_cast<bool>(m_fnPending); }

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override {
        const std::shared_ptr<Viewer> viewer = m_oViewer.lock();
        if (!viewer) {
            RaiseRuntimeError(errors::kObjectVariableNotSet);
        }
        if (m_fnPending && p_eKind == InvokeKind::Method &&
            EqualsIgnoreCase(p_sName, "UpdateViewer")) {
            const std::function<void()> pending = std::exchange(m_fnPending, nullptr);
            pending();
        }
        return viewer->Invoke(p_sName, p_eKind, p_args);
    }
    std::string_view DispatchClassName() const override { return "Viewer"; }

  private:
    std::weak_ptr<Viewer> m_oViewer;
    std::function<void()> m_fnPending;
};

// What "SupportControlRef" answers: its "object" is the support control.
class HostFrame::SupportSite : public DispatchObject {
  public:
    explicit SupportSite(std::shared_ptr<DispatchObject> p_oObject)
        : m_oObject(std::move(p_oObject)) {}

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override {
        static const DispatchTable table =
            DispatchTable::Builder<SupportSite>()
                .Get("object", [](SupportSite& self) { return Variant(self.m_oObject); })
                .Build();
        return table.Invoke(*this, p_sName, p_eKind, p_args);
    }
    std::string_view DispatchClassName() const override { return "SupportControl"; }

  private:
    std::shared_ptr<DispatchObject> m_oObject;
};

// A control the frame has no widget for is a stand-in that keeps what it is given and gives it
// back, and whose methods do nothing: a recording object without a log.
HostFrame::HostFrame()
    : m_oNavigator(std::make_shared<HostNavigator>()),
      m_oHelper(std::make_shared<RecordingObject>("helper", nullptr)) {
    for (const char* name :
         {kWatchListSupport, kPortfolioSupport, kSearchSupport, kHistoryHelper}) {
        m_supports[name] = std::make_shared<RecordingObject>(name, nullptr);
    }
    m_oEvents = std::make_shared<ViewerEventDispatcher>(
        [this](std::string_view p_sEvent, std::span<Variant> p_args) {
            OnControlEvent(p_sEvent, p_args);
        });
}

HostFrame::~HostFrame() {
    if (const std::shared_ptr<Viewer> viewer = m_oViewer.lock()) {
        viewer->RemoveSink(m_oEvents);
    }
    if (m_oMaster) {
        m_oMaster->KillMe();
    }
}

void HostFrame::SetMainControl(const std::shared_ptr<Viewer>& p_oViewer) {
    if (const std::shared_ptr<Viewer> old = m_oViewer.lock()) {
        old->RemoveSink(m_oEvents);
    }
    m_oViewer = p_oViewer;
    m_oSite = std::make_shared<Site>(p_oViewer);
    p_oViewer->AddSink(m_oEvents);
}

void HostFrame::SetOnNavigate(NavigateFn p_fnNavigate) {
    m_oNavigator->SetOnNavigate(std::move(p_fnNavigate));
}

void HostFrame::StartControl(const Variant& p_vStartup, std::function<void()> p_fnPending) {
    if (m_oMaster) {
        m_oMaster->KillMe();
    }
    const auto master = std::make_shared<CControlMaster>();
    m_oMaster = master;
    m_oSite->SetPending(std::move(p_fnPending));
    Variant navigator{std::shared_ptr<DispatchObject>(m_oNavigator)};
    master->Initialize(Variant::Nothing(), navigator);
    master->InitMainControl(p_vStartup, *this);
    std::string helperClass;
    master->HelperControlInfo(helperClass);
    HelperChosen(helperClass);
    master->FinalizeInit(*this);
    Started();
}

bool HostFrame::StartupPending() const {
    return m_oSite && m_oSite->Pending();
}

void HostFrame::EndStartup() {
    if (m_oSite) {
        m_oSite->SetPending(nullptr);
    }
}

void HostFrame::RaiseHostEvent(const std::string& p_sName, std::vector<Variant> p_params) {
    HandleEvent(p_sName, std::move(p_params));
}

void HostFrame::KeyReleased(int16_t p_iKeyCode, int16_t p_iShift) {
    // Held here: a command may start another list, and with it another master.
    if (const std::shared_ptr<CControlMaster> master = m_oMaster) {
        master->KeyReleased(p_iKeyCode, p_iShift, *this);
    }
}

void HostFrame::ToolBarClick(const std::string& p_sKey) {
    if (const std::shared_ptr<CControlMaster> master = m_oMaster) {
        master->HandleToolBarClick(p_sKey, *this);
    }
}

void HostFrame::SetSupportControl(const std::string& p_sName,
                                  std::shared_ptr<DispatchObject> p_oObject) {
    m_supports[p_sName] = std::move(p_oObject);
}

void HostFrame::SetHelperControl(std::shared_ptr<DispatchObject> p_oHelper) {
    m_oHelper = std::move(p_oHelper);
}

void HostFrame::ChooseWatchList(int32_t p_lWatchListId) {
    LetProperty(*SupportObject(kWatchListSupport), "CurrentWatchListID", Variant(p_lWatchListId));
}

std::shared_ptr<DispatchObject> HostFrame::SupportObject(const std::string& p_sName) const {
    const auto found = m_supports.find(p_sName);
    if (found == m_supports.end()) {
        RaiseMemberNotFound(*this, "SupportControlRef(" + p_sName + ")");
    }
    return found->second;
}

void HostFrame::OnControlEvent(std::string_view p_sEvent, std::span<Variant> p_args) {
    if (m_fnControlEvent) {
        m_fnControlEvent(p_sEvent, p_args);
    }
    if (p_sEvent == "Navigate") {
        m_oNavigator->Navigate(p_args.empty() ? std::string() : p_args[0].ToString());
        return;
    }
    Defer([this, name = std::string(p_sEvent),
           params = std::vector<Variant>(p_args.begin(), p_args.end())]() mutable {
        HandleEvent(name, std::move(params));
    });
}

void HostFrame::HandleEvent(const std::string& p_sName, std::vector<Variant> p_params) {
    const std::shared_ptr<CControlMaster> master = m_oMaster;
    if (!master) {
        return;
    }
    const auto info = std::make_shared<EventInformation>(p_sName, std::move(p_params));
    master->HandleEvents(*info, *this);
    if (m_fnHandled) {
        m_fnHandled(p_sName);
    }
}

void HostFrame::ShowSupport(const std::string& p_sName) {
    SupportObject(p_sName);
    // The panel by the name it was given, whatever the case of the master's.
    m_sShownSupport = m_supports.find(p_sName)->first;
    SupportShown(m_sShownSupport);
}

void HostFrame::AddButton(std::span<Variant> p_args) {
    ToolBarButton button;
    button.m_sKey = p_args[0].ToString();
    button.m_sCaption = p_args.size() > 1 ? p_args[1].ToString() : std::string();
    button.m_lStyle = p_args.size() > 2 ? p_args[2].ToLong() : 0;
    button.m_sPicture = p_args.size() > 3 ? p_args[3].ToString() : std::string();
    for (const ToolBarButton& kept : m_buttons) {
        if (EqualsIgnoreCase(kept.m_sKey, button.m_sKey)) {
            return;
        }
    }
    m_buttons.push_back(button);
    ButtonAdded(button);
}

Variant HostFrame::Invoke(std::string_view p_sName, InvokeKind p_eKind, std::span<Variant> p_args) {
    using B = DispatchTable::Builder<HostFrame>;
    static const DispatchTable table =
        B().Get("maincontrolref",
                [](HostFrame& self) {
                    return Variant(std::shared_ptr<DispatchObject>(self.m_oSite));
                })
            .Get("HelperControlRef",
                 [](HostFrame& self) {
                     return self.m_oHelper ? Variant(self.m_oHelper) : Variant::Nothing();
                 })
            .Method("SupportControlRef", 1, 1,
                    [](HostFrame& self, DispatchArgs args) {
                        return Variant(std::shared_ptr<DispatchObject>(
                            std::make_shared<SupportSite>(self.SupportObject(args[0].ToString()))));
                    })
            .Get("IAmPopUp", [](HostFrame&) { return Variant(false); })
            .Get("TC", [](HostFrame& self) { return Variant(self.m_sTimeCode); })
            .Property(
                "Caption", [](HostFrame& self) { return Variant(self.m_sCaption); },
                [](HostFrame& self, const Variant& v) {
                    self.m_sCaption = v.ToString();
                    self.FrameChanged();
                })
            .Property(
                "FrameVisible", [](HostFrame& self) { return Variant(self.m_bFrameVisible); },
                [](HostFrame& self, const Variant& v) {
                    self.m_bFrameVisible = v.ToBool();
                    self.FrameChanged();
                })
            .Property(
                "ToolBarVisible", [](HostFrame& self) { return Variant(self.m_bToolBarVisible); },
                [](HostFrame& self, const Variant& v) {
                    self.m_bToolBarVisible = v.ToBool();
                    self.ToolBarChanged();
                })
            .Property(
                "SplitterLeft", [](HostFrame& self) { return Variant(self.m_lSplitterLeft); },
                [](HostFrame& self, const Variant& v) {
                    self.m_lSplitterLeft = v.ToLong();
                    self.SplitterChanged();
                })
            .Property(
                "MinSplitterWidth",
                [](HostFrame& self) { return Variant(self.m_lMinSplitterWidth); },
                [](HostFrame& self, const Variant& v) {
                    self.m_lMinSplitterWidth = v.ToLong();
                    self.SplitterChanged();
                })
            .Method("ShowSupportControl", 1, 1,
                    [](HostFrame& self, DispatchArgs args) {
                        self.ShowSupport(args[0].ToString());
                        return Variant();
                    })
            .Method("HideSupportControls", 0, 0,
                    [](HostFrame& self, DispatchArgs) {
                        self.m_sShownSupport.clear();
                        self.SupportsHidden();
                        return Variant();
                    })
            .Method("RemoveSupportControl", 1, 1,
                    [](HostFrame& self, DispatchArgs args) {
                        const std::string name = args[0].ToString();
                        if (EqualsIgnoreCase(name, self.m_sShownSupport)) {
                            self.m_sShownSupport.clear();
                        }
                        self.SupportRemoved(name);
                        return Variant();
                    })
            .Method("AddToolBarButton", 1, 4,
                    [](HostFrame& self, DispatchArgs args) {
                        self.AddButton(args);
                        return Variant();
                    })
            .Method("ResizeMainControl", 1, 1,
                    [](HostFrame& self, DispatchArgs args) {
                        self.ResizeMainControl(args[0].ToLong());
                        return Variant();
                    })
            .Build();
    return table.Invoke(*this, p_sName, p_eKind, p_args);
}

}  // namespace qv
