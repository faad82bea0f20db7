// The arguments of every facade call by method name, for code that handles a call without
// knowing its component: the remote proxies copy back into the caller's Variants only the
// arguments marked ByRef, as the embedded component writes only those.
//
//     const auto* args = FindCallArguments("stockviewer");   // names compare without case
//     if (args != nullptr) { for (const auto& arg : *args) if (arg.ByRef) ... }
#pragma once

#include <string_view>
#include <vector>

#include "outside/facade_protocol.h"

namespace qv::facade {

// The arguments of p_sMethod in position order; nullptr for a method the protocol does not name.
const std::vector<facade_protocol::Argument>* FindCallArguments(std::string_view p_sMethod);

}  // namespace qv::facade
