// The framework's side of a support panel in tests: records each event the panel raises as one
// line, its parameters written as literals of the automation runtime ("" text, 250& Long, 2%
// Integer, #46356# Date, True, Nothing), so that a case states the whole event in its row.
#pragma once

#include "shell/support_panel.h"

#include <string>
#include <vector>

namespace qv::test {

class PanelEvents {
  public:
    explicit PanelEvents(SupportPanel& p_oPanel);

    // The events since the last call, joined by " ", and forgets them.
    std::string Take();

  private:
    std::vector<std::string> m_events;
};

}  // namespace qv::test
