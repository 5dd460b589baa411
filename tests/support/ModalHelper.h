#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Acts on the next modal window that opens, from inside its event loop.
// The returned flag tells the test whether one ever appeared, so a test that
// expects a dialog fails when none comes.
inline std::shared_ptr<bool> OnNextModal(std::function<void(QWidget *)> action, QWidget *notThis = nullptr,
                                         int timeoutMs = 10000)
{
    auto seen = std::make_shared<bool>(false);
    auto *timer = new QTimer(qApp);
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget *w = QApplication::activeModalWidget();
        *elapsed += 10;
        if (w && w != notThis && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *seen = true;
            action(w);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return seen;
}

template <class T> T *Child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}
