#include "server/transport/listener.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "platform/host_port.h"
#include "platform/local_pipe.h"
#include "platform/shop_key.h"
#include "platform/shop_tls.h"

namespace stk::server {

namespace {

// Connections the servers keep accepted for us; beyond it the system's queue holds them.
constexpr int kAcceptQueue = 1000;

// Hands out every TCP connection as a QSslSocket, not yet encrypted: the connection starts the handshake.
class TlsServer : public QTcpServer {
protected:
    void incomingConnection(qintptr descriptor) override {
        auto socket = std::make_unique<QSslSocket>();
        if (socket->setSocketDescriptor(descriptor)) addPendingConnection(socket.release());
    }
};

}  // namespace

Listener::Listener(Dispatcher& dispatcher, TransportLimits limits, QObject* parent)
    : QObject(parent), dispatcher_(dispatcher), limits_(limits) {}

Listener::~Listener() { close(); }

bool Listener::listen_local(const std::string& server_name, std::string* error) {
    auto server = std::make_unique<QLocalServer>();
    server->setMaxPendingConnections(kAcceptQueue);
    if (!platform::listen_local(*server, server_name, error)) return false;
    connect(server.get(), &QLocalServer::newConnection, this, &Listener::take_pending);
    local_ = std::move(server);
    // A client may already be waiting in the queue before the first signal could be seen.
    take_pending();
    return true;
}

bool Listener::listen_tcp(const std::string& host_port, const std::string& key_file, std::string* error) {
    if (!platform::shop_tls_available()) {
        if (error) *error = "TLS with a pre-shared key is not available on this computer (OpenSSL is missing).";
        return false;
    }
    bool created = false;
    std::string key = platform::load_or_create_shop_key(key_file, error, &created);
    if (key.empty()) return false;
    if (created) {
        dispatcher_.log("A new shop key was made in " + key_file +
                        ". Copy that file into the data set of every till that connects from another computer.\r\n");
    }
    std::string host;
    unsigned short port = 0;
    if (!platform::split_host_port(host_port, &host, &port)) {
        if (error) *error = "The TCP address " + host_port + " is not of the form HOST:PORT.";
        return false;
    }
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(host))) {
        const QHostInfo info = QHostInfo::fromName(QString::fromStdString(host));
        if (info.addresses().isEmpty()) {
            if (error) *error = "The host " + host + " of the TCP address is not known.";
            return false;
        }
        address = info.addresses().first();
    }
    auto server = std::make_unique<TlsServer>();
    server->setMaxPendingConnections(kAcceptQueue);
    if (!server->listen(address, port)) {
        if (error) *error = "Cannot listen on " + host_port + ": " + server->errorString().toStdString() + ".";
        return false;
    }
    connect(server.get(), &QTcpServer::newConnection, this, &Listener::take_pending);
    // The address as bound, so the owner can tell at a glance which network the tills must be on.
    const QString bound = server->serverAddress().toString();
    const std::string shown =
        (server->serverAddress().protocol() == QAbstractSocket::IPv6Protocol ? "[" + bound.toStdString() + "]"
                                                                             : bound.toStdString()) +
        ":" + std::to_string(server->serverPort());
    dispatcher_.log("Tills on other computers are served on TCP " + shown + ", over TLS with the shop key in " +
                    key_file + ".\r\n");
    tcp_ = std::move(server);
    shop_key_ = std::move(key);
    return true;
}

void Listener::close() {
    jobs_.clear();
    connections_.clear();
    if (local_) {
        platform::close_local(*local_);
        local_.reset();
    }
    if (tcp_) {
        tcp_->close();
        tcp_.reset();
    }
}

bool Listener::listening() const { return (local_ && local_->isListening()) || (tcp_ && tcp_->isListening()); }

std::size_t Listener::open_connections() const {
    std::size_t n = 0;
    for (const auto& c : connections_) n += c->open() ? 1 : 0;
    return n;
}

bool Listener::has_pending() const {
    return (local_ && local_->hasPendingConnections()) || (tcp_ && tcp_->hasPendingConnections());
}

std::unique_ptr<QIODevice> Listener::next_pending(std::string* shop_key) {
    shop_key->clear();
    if (local_ && local_->hasPendingConnections()) return std::unique_ptr<QIODevice>(local_->nextPendingConnection());
    *shop_key = shop_key_;
    if (tcp_ && tcp_->hasPendingConnections()) return std::unique_ptr<QIODevice>(tcp_->nextPendingConnection());
    return nullptr;
}

void Listener::take_pending() {
    while (has_pending()) {
        if (open_connections() >= limits_.max_connections && !push_out_oldest_incomplete()) return;
        std::string shop_key;
        std::unique_ptr<QIODevice> socket = next_pending(&shop_key);
        if (!socket) return;
        ClientConnection::Hooks hooks;
        hooks.ready = [this](ClientConnection& c) { enqueue(Job{&c, {}}); };
        hooks.closed = [this](ClientConnection&, std::string_view line) {
            if (!line.empty()) enqueue(Job{nullptr, std::string(line)});
            reap();
        };
        connections_.push_back(std::make_unique<ClientConnection>(std::move(socket), dispatcher_, limits_.deadline_ms,
                                                                  std::move(shop_key), std::move(hooks)));
        connections_.back()->start();
    }
}

bool Listener::push_out_oldest_incomplete() {
    for (const auto& c : connections_) {
        if (c->push_out()) return true;
    }
    return false;
}

void Listener::enqueue(Job job) {
    jobs_.push_back(std::move(job));
    schedule();
}

void Listener::schedule() {
    if (scheduled_ || jobs_.empty()) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, &Listener::run_next_job);
}

void Listener::run_next_job() {
    scheduled_ = false;
    // A request that is still running (its save may wait in a Retry box) finishes before the next starts.
    if (serving_ || jobs_.empty()) return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    if (!job.connection) {
        dispatcher_.log(job.line);
    } else {
        serving_ = job.connection.data();
        dispatcher_.serve(*serving_);
        serving_ = nullptr;
        reap();
    }
    // Back to the event loop before the next request, so window messages are handled in between.
    schedule();
}

void Listener::reap() {
    if (reap_scheduled_) return;
    reap_scheduled_ = true;
    // Never from inside a socket's own signal: the socket is deleted with its connection.
    QTimer::singleShot(0, this, [this] {
        reap_scheduled_ = false;
        connections_.remove_if([this](const std::unique_ptr<ClientConnection>& c) {
            return c->stage() == ClientConnection::Stage::Closed && c.get() != serving_;
        });
        take_pending();  // newcomers may have waited for a free place
    });
}

}  // namespace stk::server
