#include "host/control_master.h"

namespace qv {

CControlMaster::CControlMaster() = default;
CControlMaster::~CControlMaster() = default;

}  // namespace qv
