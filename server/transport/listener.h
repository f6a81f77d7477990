// Accepts connections on the server's local socket (and, when asked, on a TCP address) and serves them one at
// a time, each to its end, returning to the event loop between requests so the window stays serviced.
#pragma once

#include <QObject>
#include <deque>
#include <memory>
#include <string>

#include "server/transport/dispatcher.h"

class QIODevice;
class QLocalServer;
class QTcpServer;

namespace stk::server {

class Listener : public QObject {
public:
    explicit Listener(Dispatcher& dispatcher, QObject* parent = nullptr);
    ~Listener() override;

    // Listens on the local socket of `server_name` (see platform/local_pipe.h). false when that fails.
    bool listen_local(const std::string& server_name, std::string* error = nullptr);
    // Also serves "HOST:PORT" over TCP (a bare HOST takes the client's default port). false on failure.
    bool listen_tcp(const std::string& host_port, std::string* error = nullptr);
    // Stops listening; the socket file is removed. Connections not yet served are dropped.
    void close();

    bool listening() const;
    // Connections accepted and not yet served.
    std::size_t pending() const { return pending_.size(); }

private:
    void take_local();
    void take_tcp();
    void schedule();
    void serve_next();

    Dispatcher& dispatcher_;
    std::unique_ptr<QLocalServer> local_;
    std::unique_ptr<QTcpServer> tcp_;
    std::deque<QIODevice*> pending_;
    bool scheduled_ = false;
};

}  // namespace stk::server
