// Yielding to Qt's event loop: pending input, timers and posted events run before DoEvents
// returns, as the runtime's DoEvents lets the host's messages run.
#pragma once

#include "outside/message_loop.h"

namespace qv {

class QtMessageLoop : public MessageLoop {
  public:
    void DoEvents() override;
};

}  // namespace qv
