#include "server/transport/listener.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "platform/host_port.h"
#include "platform/local_pipe.h"
#include "server/transport/qt_stream.h"

namespace stk::server {

Listener::Listener(Dispatcher& dispatcher, QObject* parent) : QObject(parent), dispatcher_(dispatcher) {}

Listener::~Listener() { close(); }

bool Listener::listen_local(const std::string& server_name, std::string* error) {
    auto server = std::make_unique<QLocalServer>();
    server->setMaxPendingConnections(1000);
    if (!platform::listen_local(*server, server_name, error)) return false;
    connect(server.get(), &QLocalServer::newConnection, this, &Listener::take_local);
    local_ = std::move(server);
    // A client may already be waiting in the queue before the first signal could be seen.
    take_local();
    return true;
}

bool Listener::listen_tcp(const std::string& host_port, std::string* error) {
    std::string host;
    unsigned short port = 0;
    if (!platform::split_host_port(host_port, &host, &port)) {
        if (error) *error = "not a HOST:PORT address: " + host_port;
        return false;
    }
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(host))) {
        const QHostInfo info = QHostInfo::fromName(QString::fromStdString(host));
        if (info.addresses().isEmpty()) {
            if (error) *error = "unknown host " + host;
            return false;
        }
        address = info.addresses().first();
    }
    auto server = std::make_unique<QTcpServer>();
    server->setMaxPendingConnections(1000);
    if (!server->listen(address, port)) {
        if (error) *error = server->errorString().toStdString();
        return false;
    }
    connect(server.get(), &QTcpServer::newConnection, this, &Listener::take_tcp);
    tcp_ = std::move(server);
    return true;
}

void Listener::close() {
    for (QIODevice* d : pending_) delete d;
    pending_.clear();
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

void Listener::take_local() {
    while (local_ && local_->hasPendingConnections()) {
        QLocalSocket* s = local_->nextPendingConnection();
        s->setParent(nullptr);
        pending_.push_back(s);
    }
    schedule();
}

void Listener::take_tcp() {
    while (tcp_ && tcp_->hasPendingConnections()) {
        QTcpSocket* s = tcp_->nextPendingConnection();
        s->setParent(nullptr);
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        pending_.push_back(s);
    }
    schedule();
}

void Listener::schedule() {
    if (scheduled_ || pending_.empty()) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, &Listener::serve_next);
}

void Listener::serve_next() {
    scheduled_ = false;
    if (pending_.empty()) return;
    std::unique_ptr<QIODevice> device(pending_.front());
    pending_.pop_front();
    QtStream stream(*device);
    dispatcher_.serve(stream);
    device.reset();
    // Back to the event loop before the next connection, so window messages are handled in between.
    schedule();
}

}  // namespace stk::server
