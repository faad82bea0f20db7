// A control the host framework places beside the list: the helper strip above it or a side panel
// (watch lists, portfolios, search, the history helper).
//
// The control master reaches a panel only by name, through the object Object() returns; the
// framework hears the panel's events through the function given to SetOnEvent, as the
// framework's event commands: a name and its parameters, handed to the master's HandleEvents.
//
//     panel->SetOnEvent([&](const std::string& name, std::vector<Variant> params) {
//         framework.RaiseHostEvent(name, std::move(params));
//     });
//     LetProperty(*panel->Object(), "ShowClose", Variant(true));
#pragma once

#include "outside/dispatch.h"
#include "outside/variant.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class SupportPanel : public QWidget {
  public:
    using EventFn = std::function<void(const std::string& p_sName, std::vector<Variant> p_params)>;

    explicit SupportPanel(QWidget* p_pParent = nullptr) : QWidget(p_pParent) {}

    void SetOnEvent(EventFn p_fnEvent) { m_fnEvent = std::move(p_fnEvent); }
    // The panel by name: the members the master calls. The object does not keep the panel
    // alive; a call after the panel is gone is error 91.
    virtual std::shared_ptr<DispatchObject> Object() = 0;

  protected:
    // A panel without a listener raises into nothing.
    void RaiseEvent(const std::string& p_sName, std::vector<Variant> p_params = {}) {
        if (m_fnEvent) {
            m_fnEvent(p_sName, std::move(p_params));
        }
    }

  private:
    EventFn m_fnEvent;
};

}  // namespace qv
