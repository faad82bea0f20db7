// An event as the host framework hands it on: its name and its parameters, reached by name.
//
// "Name" gives the event's name; "EventParameters" gives the collection of its parameters,
// whose "Count" is their number and whose "Item" (indexed from 0) is a parameter object with
// "Value". A parameter the event lacks is error 9 (subscript out of range), as a collection
// answers. The parameters are the handler's copies: a handler that writes "Value" changes what
// the raiser reads back through Parameters().
//
//     auto info = std::make_shared<EventInformation>("DATECHANGED",
//                                                    std::vector<Variant>{Variant(), date, 250});
//     master.HandleEvents(*info, host);
#pragma once

#include "outside/dispatch.h"
#include "outside/variant.h"

#include <memory>
#include <string>
#include <vector>

namespace qv {

class EventInformation : public DispatchObject {
  public:
    EventInformation(std::string p_sName, std::vector<Variant> p_parameters);

    const std::string& Name() const { return m_sName; }
    // The parameters as a handler left them.
    std::vector<Variant> Parameters() const;

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    std::string_view DispatchClassName() const override { return "EventInformation"; }

  private:
    class Parameter;
    class Collection;

    std::string m_sName;
    std::shared_ptr<Collection> m_oParameters;
};

}  // namespace qv
