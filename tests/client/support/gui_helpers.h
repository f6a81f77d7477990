// Small helpers for driving widgets in tests without the QtTest library.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QString>
#include <QThread>
#include <QWidget>
#include <functional>

namespace stk::client::testing {

// Sends the characters as key presses, as typing them would.
inline void type_text(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

// Runs the event loop until `done` holds or the deadline passes; returns done().
inline bool wait_until(const std::function<bool()>& done, int timeout_ms = 10000) {
    QDeadlineTimer deadline(timeout_ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

}  // namespace stk::client::testing
