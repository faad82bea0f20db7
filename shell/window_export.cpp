// The window's File > Export…: the list on screen through the control's export, which asks for
// the columns and the file in the window's dialogs and tells the person how it went.
#include "shell/main_window.h"

#include "control/viewer.h"
#include "shell/viewer_host.h"

namespace qv {

void MainWindow::ExportList() {
    int32_t allRows = 6;
    m_oHost->Control().Export(allRows);
}

}  // namespace qv
