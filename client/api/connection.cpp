#include "client/api/connection.h"

#include <QLocalSocket>
#include <QSslSocket>
#include <algorithm>

#include "client/api/server_api.h"
#include "platform/local_pipe.h"
#include "platform/shop_key.h"
#include "platform/shop_tls.h"

namespace stk::client {

namespace {

struct KeptConnection {
    std::string server_name;
    std::string remote_computer;
    std::unique_ptr<QLocalSocket> local;
    std::unique_ptr<QSslSocket> tcp;
};

KeptConnection& kept() {
    static KeptConnection k;
    return k;
}

}  // namespace

void Connection::keep_for_next_open(const ServerAddress& address, std::unique_ptr<QLocalSocket> local,
                                    std::unique_ptr<QSslSocket> tcp) {
    drop_kept_connection();
    KeptConnection& k = kept();
    k.server_name = address.server_name;
    k.remote_computer = address.remote_computer;
    k.local = std::move(local);
    k.tcp = std::move(tcp);
}

bool Connection::has_kept_connection() { return kept().local || kept().tcp; }

void Connection::drop_kept_connection() {
    KeptConnection& k = kept();
    if (k.local) k.local->abort();
    if (k.tcp) k.tcp->abort();
    k.local.reset();
    k.tcp.reset();
}

bool Connection::take_kept(const ServerAddress& address) {
    KeptConnection& k = kept();
    if (!k.local && !k.tcp) return false;
    if (k.server_name != address.server_name || k.remote_computer != address.remote_computer) {
        drop_kept_connection();
        return false;
    }
    local_ = std::move(k.local);
    tcp_ = std::move(k.tcp);
    if (!connected()) {
        close();
        return false;
    }
    if (local_) device_ = local_.get();
    if (tcp_) {
        tcp_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        device_ = tcp_.get();
    }
    return true;
}

Connection::Connection() = default;
Connection::~Connection() { close(); }

bool Connection::connected() const {
    if (local_) return local_->state() == QLocalSocket::ConnectedState;
    if (tcp_) return tcp_->state() == QAbstractSocket::ConnectedState && tcp_->isEncrypted();
    return false;
}

bool Connection::open(const ServerAddress& address, int timeout_ms) {
    close();
    if (take_kept(address)) return true;
    if (address.remote_computer.empty()) {
        local_ = std::make_unique<QLocalSocket>();
        local_->connectToServer(QString::fromLocal8Bit(platform::local_pipe_path(address.server_name).c_str()));
        if (!local_->waitForConnected(timeout_ms)) {
            local_.reset();
            return false;
        }
        device_ = local_.get();
        return true;
    }
    std::string host;
    unsigned short port = 0;
    if (!platform::split_host_port(address.remote_computer, &host, &port)) return false;
    const std::string key = platform::read_shop_key(address.shop_key_file);
    if (key.empty()) return false;
    tcp_ = std::make_unique<QSslSocket>();
    platform::use_shop_key(*tcp_, key);
    tcp_->connectToHostEncrypted(QString::fromLocal8Bit(host.c_str()), port);
    if (!tcp_->waitForEncrypted(timeout_ms)) {
        tcp_.reset();
        return false;
    }
    tcp_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    device_ = tcp_.get();
    return true;
}

bool Connection::write_all(const void* data, std::size_t size, int timeout_ms) {
    if (!device_) return false;
    if (device_->write(static_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        return false;
    while (device_->bytesToWrite() > 0) {
        if (!device_->waitForBytesWritten(timeout_ms)) return false;
    }
    return true;
}

void Connection::set_slow_read_wait(std::function<bool(QIODevice&, int)> wait, int notice_ms) {
    slow_wait_ = std::move(wait);
    notice_ms_ = notice_ms;
}

bool Connection::wait_for_bytes(int timeout_ms) {
    // A prompt answer is read without any sign of waiting; a slow one is waited for where the user can see it.
    const int quick = slow_wait_ ? std::min(timeout_ms, notice_ms_) : timeout_ms;
    if (device_->waitForReadyRead(quick) || device_->bytesAvailable() > 0) return true;
    if (!slow_wait_ || quick >= timeout_ms || !connected()) return false;
    return slow_wait_(*device_, timeout_ms - quick) && device_->bytesAvailable() > 0;
}

bool Connection::read_exactly(void* data, std::size_t size, int timeout_ms) {
    if (!device_) return false;
    char* out = static_cast<char*>(data);
    std::size_t have = 0;
    while (have < size) {
        if (device_->bytesAvailable() == 0 && !wait_for_bytes(timeout_ms)) return false;
        const qint64 n = device_->read(out + have, static_cast<qint64>(size - have));
        if (n < 0) return false;
        have += static_cast<std::size_t>(n);
    }
    return true;
}

void Connection::read_to_end(std::string* out, int timeout_ms) {
    if (!device_) return;
    for (;;) {
        const QByteArray chunk = device_->readAll();
        out->append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
        if (!connected() && device_->bytesAvailable() == 0) return;
        if (!device_->waitForReadyRead(timeout_ms) && device_->bytesAvailable() == 0) return;
    }
}

void Connection::close() {
    if (local_) {
        local_->abort();
        local_.reset();
    }
    if (tcp_) {
        tcp_->abort();
        tcp_.reset();
    }
    device_ = nullptr;
}

}  // namespace stk::client
