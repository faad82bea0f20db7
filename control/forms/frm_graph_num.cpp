#include "control/forms/frm_graph_num.h"

#include "outside/platform_context.h"

#include <utility>

namespace qv {

void frmGraphNum::Init(int16_t p_iNumber) {
    m_lNumber = p_iNumber;
    m_bGraphed = false;
    m_bFocusRequest = false;
}

bool frmGraphNum::Graph() {
    if (m_lNumber >= kMinimum && m_lNumber <= kMaximum) {
        m_bGraphed = true;
        return true;
    }
    MsgBox("You must choose a number between 1 and " + std::to_string(kMaximum) + "!", vbOKOnly,
           vbInformation, "Invalid Entry");
    m_lNumber = kResetNumber;
    m_bFocusRequest = true;
    return false;
}

bool frmGraphNum::TakeFocusRequest() {
    return std::exchange(m_bFocusRequest, false);
}

}  // namespace qv
