// The window's File > Export…: the list on screen through the control's export, which asks for
// the columns and the file in the window's dialogs and tells the person how it went.
#include "shell/main_window.h"

#include "host/control_master.h"
#include "shell/window_frame.h"

namespace qv {

void MainWindow::ExportList() {
    constexpr int16_t kAllRows = 6;
    if (CControlMaster* master = m_pFrame->Master()) {
        master->ExportData(kAllRows, *m_pFrame);
    }
}

}  // namespace qv
