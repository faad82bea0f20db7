// Creating components by ProgID, as automation's CreateObject does.
//
// A registry maps ProgIDs, compared without regard to case ("QorvantOnlineFacade.ViewerFNtr" and
// "QorvantOnlineFacade.ViewerFNTr" are one component), to creator functions. The registry in use
// belongs to the platform context, so a test registers doubles in its own context and they
// vanish with it. An unknown ProgID, or a creator that yields nothing, is error 429 naming it.
#pragma once

#include "outside/text_util.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qv {

class DispatchObject;

class ComponentFactory {
  public:
    using Creator = std::function<std::shared_ptr<DispatchObject>()>;

    // Registers p_fnCreator under p_sProgId, replacing an earlier registration of that ProgID.
    void Register(std::string_view p_sProgId, Creator p_fnCreator);
    // False when nothing was registered under p_sProgId.
    bool Unregister(std::string_view p_sProgId);
    bool IsRegistered(std::string_view p_sProgId) const;

    // A new object of the component; error 429 naming p_sProgId when it cannot be created.
    // Failures of the creator itself propagate unchanged.
    std::shared_ptr<DispatchObject> CreateObject(std::string_view p_sProgId) const;

  private:
    std::unordered_map<std::string, Creator, IgnoreCaseHash, IgnoreCaseEqual> m_creators;
};

// CreateObject on the component factory of the current platform context.
std::shared_ptr<DispatchObject> CreateObject(std::string_view p_sProgId);

}  // namespace qv
