#include "shell/modal_helper.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace qv::test {

void WhenModal(std::function<void(QWidget&)> p_fnAction) {
    // A timer polls until the window is up: it runs inside the window's own event loop.
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action = std::move(p_fnAction)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(*modal);
    });
    timer->start();
}

}  // namespace qv::test
