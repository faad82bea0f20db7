// The base of the facade components: a dispatch object answering calls by name through its
// class's dispatch table, sharing the backend with every other component object.
//
// Whatever goes wrong inside a call reaches the caller as an automation error, as a remote
// component's failure would: errors of the standard library are turned into one that names the
// call, so that no other kind of exception crosses the dispatch boundary.
//
// A call on owned data starts by asking for the owner it acts for, which authorises the call's
// owner argument against the session (owner_authority.h):
//
//     FacadeArguments args(get_layout::kMethod, p_args);
//     const int32_t ownerId = Owner(args, get_layout::kOwnerId, OwnerAccess::Read);
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "facade/owner_authority.h"
#include "outside/dispatch.h"
#include "outside/dispatch_table.h"
#include "outside/facade_protocol.h"

namespace qv::facade {

class FacadeArguments;
class FacadeBackend;

class FacadeComponent : public DispatchObject {
  public:
    explicit FacadeComponent(std::shared_ptr<FacadeBackend> p_oBackend)
        : m_oBackend(std::move(p_oBackend)) {}

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind, std::span<Variant> p_args) final;

  protected:
    FacadeBackend& Backend() { return *m_oBackend; }
    virtual const DispatchTable& Table() const = 0;

    // The owner argument, authorised against the session.
    int32_t Owner(const FacadeArguments& p_oArgs, const facade_protocol::Argument& p_oOwner,
                  OwnerAccess p_eAccess);
    // The same for an owner argument a caller may leave out: the session's owner then.
    int32_t OptionalOwner(const FacadeArguments& p_oArgs, const facade_protocol::Argument& p_oOwner,
                          OwnerAccess p_eAccess);

  private:
    std::shared_ptr<FacadeBackend> m_oBackend;
};

}  // namespace qv::facade
