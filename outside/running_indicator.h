// The running indicator: a caption ("Running . . .") with a moving picture, centred on the
// control while a long operation runs.
#pragma once

#include <string>
#include <string_view>

namespace qv {

class RunningIndicator {
  public:
    virtual ~RunningIndicator() = default;
    // Shows or hides the indicator with p_sCaption as its text.
    virtual void SetStatus(std::string_view p_sCaption, bool p_bVisible) = 0;
    virtual bool Visible() const = 0;
    virtual std::string Caption() const = 0;
};

}  // namespace qv
