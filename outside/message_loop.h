// Yielding to the host's message loop in the middle of long work.
//
// Everything runs on one user-interface thread; a yield lets pending host and grid events run
// before it returns, so code that yields must expect its own state to have changed meanwhile.
#pragma once

namespace qv {

class MessageLoop {
  public:
    virtual ~MessageLoop() = default;
    // Runs the pending events, then returns (the runtime's DoEvents).
    virtual void DoEvents() = 0;
};

}  // namespace qv
