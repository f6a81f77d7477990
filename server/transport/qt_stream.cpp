#include "server/transport/qt_stream.h"

#include <QLocalSocket>
#include <QTcpSocket>

namespace stk::server {

bool QtStream::connected() const {
    if (auto* local = qobject_cast<QLocalSocket*>(&device_)) return local->state() == QLocalSocket::ConnectedState;
    if (auto* tcp = qobject_cast<QAbstractSocket*>(&device_)) return tcp->state() == QAbstractSocket::ConnectedState;
    return device_.isOpen();
}

long QtStream::read_some(char* data, std::size_t n, int timeout_ms) {
    if (device_.bytesAvailable() == 0) {
        if (!connected()) return -1;
        if (!device_.waitForReadyRead(timeout_ms) && device_.bytesAvailable() == 0) return connected() ? 0 : -1;
    }
    const qint64 got = device_.read(data, static_cast<qint64>(n));
    return got < 0 ? -1 : static_cast<long>(got);
}

std::size_t QtStream::write(const char* data, std::size_t n, int timeout_ms) {
    if (!connected()) return 0;
    const qint64 queued = device_.write(data, static_cast<qint64>(n));
    if (queued <= 0) return 0;
    while (device_.bytesToWrite() > 0) {
        if (!device_.waitForBytesWritten(timeout_ms)) break;
    }
    const qint64 unsent = device_.bytesToWrite();
    return static_cast<std::size_t>(queued - (unsent < queued ? unsent : queued));
}

void QtStream::finish() {
    if (auto* local = qobject_cast<QLocalSocket*>(&device_)) {
        local->flush();
        local->abort();
    } else if (auto* tcp = qobject_cast<QAbstractSocket*>(&device_)) {
        tcp->flush();
        tcp->disconnectFromHost();
        if (tcp->state() != QAbstractSocket::UnconnectedState) tcp->waitForDisconnected(1000);
        tcp->abort();
    } else {
        device_.close();
    }
}

}  // namespace stk::server
