#pragma once
// Helpers of the widget tests.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace kal::test {

// Runs `act` with the application-modal window as soon as one is shown (from
// inside that window's own event loop).
inline void WhenModal(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

} // namespace kal::test
