// The clock: "now" as a day serial in local time (vb_date.h), so that tests can fix it.
#pragma once

namespace qv {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual double Now() const = 0;
};

}  // namespace qv
