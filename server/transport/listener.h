// Accepts connections on the server's local socket (and, when asked, on a TCP address), reads every
// connection's request as its bytes arrive, and hands whole requests to the dispatcher one at a time, in the
// order they became whole, returning to the event loop between requests so the window stays serviced. A
// client that stalls, trickles or does not take its answer is dropped at the time bound and holds up no one.
#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <list>
#include <memory>
#include <string>

#include "server/transport/client_connection.h"
#include "server/transport/dispatcher.h"

class QIODevice;
class QLocalServer;
class QTcpServer;

namespace stk::server {

inline constexpr int kDefaultStallTimeoutMs = 10000;
inline constexpr std::size_t kDefaultMaxConnections = 64;

struct TransportLimits {
    // A request must be whole within this time of its first byte, a connection that sends nothing is dropped
    // after it, and so is a client that takes none of its answer for that long.
    int deadline_ms = kDefaultStallTimeoutMs;
    // Connections held at once. One more pushes out the oldest whose request is not whole yet; when every
    // connection has a whole request, newcomers wait in the system's queue until one is done.
    std::size_t max_connections = kDefaultMaxConnections;
};

class Listener : public QObject {
public:
    explicit Listener(Dispatcher& dispatcher, TransportLimits limits = {}, QObject* parent = nullptr);
    ~Listener() override;

    // Listens on the local socket of `server_name` (see platform/local_pipe.h). false when that fails.
    bool listen_local(const std::string& server_name, std::string* error = nullptr);
    // Also serves "HOST:PORT" over TCP (a bare HOST takes the client's default port), to clients that prove
    // they hold the shop key of the file `key_file` (platform/shop_key.h; created when missing) by the shop's
    // TLS handshake. Logs the address it is bound to. false, with a sentence in *error, when the key or the
    // address cannot be used.
    bool listen_tcp(const std::string& host_port, const std::string& key_file, std::string* error = nullptr);
    // Stops listening; the socket file is removed. Connections not yet served are dropped without a word.
    void close();

    bool listening() const;
    // Connections that hold a socket now (receiving, waiting for the dispatcher, or sending their answer).
    std::size_t open_connections() const;

private:
    // A whole request to serve, or a dropped connection whose bytes are logged as unreadable; or, with no
    // connection, a line for the log. Everything the log shows goes through this queue, so the lines of one
    // request are never split by another's.
    struct Job {
        QPointer<ClientConnection> connection;
        std::string line;
    };

    void take_pending();
    bool has_pending() const;
    // The next accepted connection, and in *shop_key what it must prove it holds ("" for the local socket).
    std::unique_ptr<QIODevice> next_pending(std::string* shop_key);
    bool push_out_oldest_incomplete();
    void enqueue(Job job);
    void schedule();
    void run_next_job();
    void reap();

    Dispatcher& dispatcher_;
    TransportLimits limits_;
    std::unique_ptr<QLocalServer> local_;
    std::unique_ptr<QTcpServer> tcp_;
    std::string shop_key_;                                      // what TCP clients must prove they hold
    std::list<std::unique_ptr<ClientConnection>> connections_;  // oldest first
    std::deque<Job> jobs_;
    ClientConnection* serving_ = nullptr;  // the connection whose request runs now
    bool scheduled_ = false;
    bool reap_scheduled_ = false;
};

}  // namespace stk::server
