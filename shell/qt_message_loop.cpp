#include "shell/qt_message_loop.h"

#include <QCoreApplication>

namespace qv {

void QtMessageLoop::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace qv
