// A listener and dispatcher in the test process, and clients that talk to it on the same event loop without
// ever blocking it: each client only queues its bytes and collects what comes back while the test waits.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QLocalSocket>
#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "common/protocol.h"
#include "common/text_field.h"
#include "platform/local_pipe.h"
#include "platform/shop_tls.h"
#include "server/transport/listener.h"
#include "tests/support/server_process.h"

namespace stk::test {

using server::Dispatcher;
using server::DispatcherConfig;
using server::Listener;
using server::ServerDatabase;
using server::TransportLimits;

inline constexpr std::string_view kProcessing = "Processing client request...\r\n";
inline constexpr std::string_view kWaiting = "Waiting for a client request\r\n";
inline constexpr std::string_view kUnreadable = "An error occured while receiving data.\r\n";
inline constexpr std::string_view kUnsent = "An error occured while sending data.\r\n";

inline std::string request_bytes(int opcode, std::string_view client = kDefaultClientName) {
    RequestHeader h;
    std::memset(&h, 0, sizeof h);
    h.version = kProtocolVersion;
    set_field(h.client_name, client);
    h.opcode = opcode;
    return std::string(reinterpret_cast<const char*>(&h), sizeof h);
}

// The response header at the start of what a client received (all zero when it is shorter).
inline ResponseHeader response_in(const std::string& received) {
    ResponseHeader r;
    std::memset(&r, 0, sizeof r);
    if (received.size() >= sizeof r) std::memcpy(&r, received.data(), sizeof r);
    return r;
}

inline void append_bytes(std::string& to, const QByteArray& bytes) {
    to.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Runs the event loop until `done()` holds; false when timeout_ms pass first.
template <class Done>
bool wait_until(Done done, int timeout_ms = 20000) {
    QDeadlineTimer deadline(timeout_ms);
    QTimer tick;  // wakes the loop now and then to look again
    tick.start(5);
    while (!done()) {
        if (deadline.hasExpired()) return done();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// One client connection on the local socket. Collects every byte the server sends and notes when it closed.
class PipeClient {
public:
    explicit PipeClient(const std::string& path) {
        QObject::connect(&socket, &QLocalSocket::readyRead, [this] { append(socket.readAll()); });
        QObject::connect(&socket, &QLocalSocket::disconnected, [this] { closed = true; });
        socket.connectToServer(QString::fromStdString(path));
    }
    void send(std::string_view bytes) { socket.write(bytes.data(), static_cast<qint64>(bytes.size())); }
    bool connected() const { return socket.state() == QLocalSocket::ConnectedState; }
    ResponseHeader response() const { return response_in(received); }

    QLocalSocket socket;
    std::string received;
    bool closed = false;

private:
    void append(const QByteArray& b) { append_bytes(received, b); }
};

// One client connection over TCP: with the shop's TLS and a key, or plain when the key is empty. Sends its
// bytes once the handshake is done (plain: at once).
class TcpClient {
public:
    TcpClient(quint16 port, const std::string& key) {
        QObject::connect(&socket, &QSslSocket::readyRead, [this] { append(socket.readAll()); });
        QObject::connect(&socket, &QSslSocket::disconnected, [this] { closed = true; });
        QObject::connect(&socket, &QSslSocket::errorOccurred, [this] {
            if (socket.state() != QAbstractSocket::ConnectedState) closed = true;
        });
        if (key.empty()) {
            QObject::connect(&socket, &QSslSocket::connected, [this] { flush(); });
            socket.connectToHost(QHostAddress::LocalHost, port);
        } else {
            platform::use_shop_key(socket, key);
            QObject::connect(&socket, &QSslSocket::encrypted, [this] { flush(); });
            socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), port);
        }
    }
    void send(std::string_view bytes) {
        pending.append(bytes);
        if (ready) flush();
    }
    ResponseHeader response() const { return response_in(received); }

    QSslSocket socket;
    std::string received;
    bool closed = false;

private:
    void flush() {
        ready = true;
        socket.write(pending.data(), static_cast<qint64>(pending.size()));
        pending.clear();
    }
    void append(const QByteArray& b) { append_bytes(received, b); }
    std::string pending;
    bool ready = false;
};

// A server without its shell: the tables in memory, the dispatcher, and a listener on a fresh name.
struct TransportFixture {
    ServerDatabase db;
    std::string log;
    Dispatcher dispatcher{db, DispatcherConfig{}};
    std::unique_ptr<Listener> listener;
    std::string name = unique_server_name("transport");

    explicit TransportFixture(TransportLimits limits = {}) {
        test_pipe_folder();
        db.log = [this](std::string_view t) { log.append(t); };
        db.reserve(100, 100);
        listener = std::make_unique<Listener>(dispatcher, limits);
    }
    bool listen() { return listener->listen_local(name); }
    // Also on TCP, at a free port of this computer, with the key file `key_file`. 0 when that fails.
    quint16 listen_tcp(const std::string& key_file) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
        const quint16 port = probe.serverPort();
        probe.close();
        std::string why;
        const bool ok = listener->listen_tcp("127.0.0.1:" + std::to_string(port), key_file, &why);
        log.append(why);
        return ok ? port : 0;
    }
    std::string path() const { return platform::local_pipe_path(name); }
    // `n` messages of 255 letters: LIST_MESSAGES then answers n * 292 bytes, more than the buffers between the
    // server and a client hold (for 10000, also over TCP).
    bool fill_messages(int n) {
        if (!db.messages.commit_for(n)) return false;
        for (int i = 1; i <= n; ++i) {
            std::memset(&db.messages[i], 0, sizeof(MessageRecord));
            set_field(db.messages[i].text, std::string(255, 'm'));
        }
        db.messages.count = n;
        return true;
    }

    // A whole GET_INVOICE_COUNT exchange on a connection of its own; true when the answer came.
    bool count_invoices() {
        PipeClient c(path());
        c.send(request_bytes(GET_INVOICE_COUNT));
        return wait_until([&] { return c.closed; }) && c.received.size() == sizeof(ResponseHeader) &&
               c.response().result == RESULT_OK;
    }
    int count_of(std::string_view text) const { return ServerProcess::count_of(log, text); }
};

}  // namespace stk::test
