// One client connection to a server: the local socket of a server name, or TLS over TCP to a remote computer,
// authenticated by the shop key (platform/shop_tls.h).
// Everything is synchronous (waitFor* with time limits), so no event loop needs to run; only a slow answer
// may be handed to a waiter that runs one (set_slow_read_wait).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/host_port.h"

class QIODevice;
class QLocalSocket;
class QSslSocket;

namespace stk::client {

struct ServerAddress;

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // true when connected within timeout_ms (for a remote computer: the TLS handshake done with the key of
    // address.shop_key_file; false at once when that file holds no key).
    bool open(const ServerAddress& address, int timeout_ms);
    bool is_open() const { return device_ != nullptr; }
    // Sends all bytes; false when they could not all be sent without `timeout_ms` passing without progress.
    bool write_all(const void* data, std::size_t size, int timeout_ms);
    // Reads exactly `size` bytes; false when the peer closes or `timeout_ms` pass without progress.
    bool read_exactly(void* data, std::size_t size, int timeout_ms);
    // When the bytes to read have not come within `notice_ms`, `wait` is handed the rest of the time to wait
    // for them (see ServerApi::on_slow_answer). An empty `wait` blocks for the whole time.
    void set_slow_read_wait(std::function<bool(QIODevice&, int)> wait, int notice_ms);
    // Reads until the peer disconnects (or `timeout_ms` pass without progress), appending to *out.
    void read_to_end(std::string* out, int timeout_ms);
    void close();

    // A connection already made to `address` (by the waiting dialog) is kept here, and the next open() for
    // the same address takes it instead of connecting anew: the server serves one connection at a time and
    // would otherwise be handed an empty one. Exactly one of the two sockets is set; a TLS socket has finished
    // its handshake. open() for another address throws a kept connection away.
    static void keep_for_next_open(const ServerAddress& address, std::unique_ptr<QLocalSocket> local,
                                   std::unique_ptr<QSslSocket> tcp);
    static bool has_kept_connection();
    static void drop_kept_connection();

private:
    bool take_kept(const ServerAddress& address);
    // Waits until there is something to read; false after timeout_ms without, or when the peer is gone.
    bool wait_for_bytes(int timeout_ms);
    std::unique_ptr<QLocalSocket> local_;
    std::unique_ptr<QSslSocket> tcp_;
    QIODevice* device_ = nullptr;
    std::function<bool(QIODevice&, int)> slow_wait_;
    int notice_ms_ = 0;
    bool connected() const;
};

}  // namespace stk::client
