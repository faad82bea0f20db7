#include "outside/message_box.h"

namespace qv {

MsgBoxResult DefaultAnswer(MsgBoxButtons p_eButtons) {
    switch (p_eButtons) {
        case vbAbortRetryIgnore:
            return vbAbort;
        case vbYesNoCancel:
        case vbYesNo:
            return vbYes;
        case vbRetryCancel:
            return vbRetry;
        case vbOKOnly:
        case vbOKCancel:
            return vbOK;
    }
    return vbOK;
}

}  // namespace qv
