// One accepted connection, from its first byte to its close. It collects its request as the bytes arrive
// (never waiting for them), holds the whole request until the dispatcher's turn comes, and sees the answer
// out without waiting for the client to take it. Each stage has the same time bound; a connection that misses
// it is dropped, so no client can hold up the others.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "server/transport/byte_stream.h"

class QIODevice;

namespace stk::server {

class Dispatcher;

class ClientConnection : public QObject, public ByteStream {
public:
    enum class Stage {
        Receiving,  // the request's bytes are still arriving
        Queued,     // the request is whole and waits for the dispatcher
        Answering,  // the answer is queued; the connection closes once the client has taken it
        Dropped,    // broke off, missed its bound or was pushed out: the socket is closed, the bytes it sent
                    // wait for the dispatcher to log them as an unreadable request
        Closed,     // nothing more happens; the listener deletes it
    };

    struct Hooks {
        // The connection needs the dispatcher: its request is whole (Queued), or it was dropped (Dropped).
        std::function<void(ClientConnection&)> ready;
        // The connection is Closed; `line` (may be empty) is the one log line its end calls for.
        std::function<void(ClientConnection&, std::string_view line)> closed;
    };

    // Takes the socket (a connected QLocalSocket or QTcpSocket). `deadline_ms` bounds each stage: the whole
    // request within that time of its first byte (or of the connection, while nothing came), and the answer
    // taken at a pace of at least some bytes within every such time (a large answer to a slow till may take
    // longer as a whole; a till that stops reading is dropped). A client that leaves before it has its whole
    // answer is logged as a failed send. With a `shop_key` the socket is a QSslSocket that must first
    // finish the shop's TLS handshake (platform/shop_tls.h) within the same bound; one that does not is closed
    // before anything is read, with one log line. The hooks are called from the event loop, never from start().
    ClientConnection(std::unique_ptr<QIODevice> socket, const Dispatcher& dispatcher, int deadline_ms,
                     std::string shop_key, Hooks hooks);
    ~ClientConnection() override;

    // Starts reading; bytes that came with the connection are looked at on the next turn of the event loop.
    void start();
    // Drops the connection if its request is not whole yet. true when it did.
    bool push_out();

    Stage stage() const { return stage_; }
    // Holds a socket: counts against the listener's bound on connections.
    bool open() const { return stage_ == Stage::Receiving || stage_ == Stage::Queued || stage_ == Stage::Answering; }

    // ByteStream, for the dispatcher: the request as it arrived, and the answer queued on the socket.
    long read_some(char* data, std::size_t n) override;
    std::size_t write(const char* data, std::size_t n) override;
    void finish() override;

private:
    void receive();
    void peer_changed();
    void peer_failed();
    void answer_progressed();
    void deadline_passed();
    void drop();
    void close_now(std::string_view line);
    void refuse_without_key();
    bool connected() const;

    std::unique_ptr<QIODevice> socket_;
    const Dispatcher& dispatcher_;
    const int deadline_ms_;
    Hooks hooks_;
    QTimer deadline_;
    Stage stage_ = Stage::Receiving;
    const std::string shop_key_;  // "": a plain connection
    bool proven_;                 // requests may come: a plain connection, or the shop's TLS handshake is done
    bool failed_ = false;         // the socket reported an error (the peer broke off, or a write failed)
    std::string peer_;            // where a TCP connection comes from, for the log
    std::string request_;         // the bytes received so far, never more than the request's length
    std::size_t length_;          // the request's length, once its header is in; the header's until then
    std::size_t read_at_ = 0;     // the dispatcher's position in request_
};

}  // namespace stk::server
