#include "shell/modal_helper.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

// A timer polls until the window is up: it runs inside the window's own event loop.
void WhenShown(std::function<QWidget*()> p_fnFind, std::function<void(QWidget&)> p_fnAction) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout,
                     [timer, find = std::move(p_fnFind), action = std::move(p_fnAction)] {
                         QWidget* shown = find();
                         if (shown == nullptr || !shown->isVisible()) {
                             return;
                         }
                         timer->stop();
                         timer->deleteLater();
                         action(*shown);
                     });
    timer->start();
}

}  // namespace

void WhenModal(std::function<void(QWidget&)> p_fnAction) {
    WhenShown([] { return QApplication::activeModalWidget(); }, std::move(p_fnAction));
}

void WhenPopup(std::function<void(QMenu&)> p_fnAction) {
    WhenShown([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
              [action = std::move(p_fnAction)](QWidget& p_oMenu) {
                  action(static_cast<QMenu&>(p_oMenu));
              });
}

void Click(QWidget& p_oDialog, const QString& p_sText) {
    for (QPushButton* button : p_oDialog.findChildren<QPushButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == p_sText) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no button " << p_sText.toStdString();
}

}  // namespace qv::test
