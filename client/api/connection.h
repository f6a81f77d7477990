// One client connection to a server: the local socket of a server name, or TCP to a remote computer.
// Everything is synchronous (waitFor* with time limits), so no event loop needs to run.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/host_port.h"

class QIODevice;
class QLocalSocket;
class QTcpSocket;

namespace stk::client {

struct ServerAddress;

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // true when connected within timeout_ms.
    bool open(const ServerAddress& address, int timeout_ms);
    bool is_open() const { return device_ != nullptr; }
    // Sends all bytes; false when they could not all be sent without `timeout_ms` passing without progress.
    bool write_all(const void* data, std::size_t size, int timeout_ms);
    // Reads exactly `size` bytes; false when the peer closes or `timeout_ms` pass without progress.
    bool read_exactly(void* data, std::size_t size, int timeout_ms);
    // Reads until the peer disconnects (or `timeout_ms` pass without progress), appending to *out.
    void read_to_end(std::string* out, int timeout_ms);
    void close();

    // A connection already made to `address` (by the waiting dialog) is kept here, and the next open() for
    // the same address takes it instead of connecting anew: the server serves one connection at a time and
    // would otherwise be handed an empty one. Exactly one of the two sockets is set. open() for another
    // address throws a kept connection away.
    static void keep_for_next_open(const ServerAddress& address, std::unique_ptr<QLocalSocket> local,
                                   std::unique_ptr<QTcpSocket> tcp);
    static bool has_kept_connection();
    static void drop_kept_connection();

private:
    bool take_kept(const ServerAddress& address);
    std::unique_ptr<QLocalSocket> local_;
    std::unique_ptr<QTcpSocket> tcp_;
    QIODevice* device_ = nullptr;
    bool connected() const;
};

}  // namespace stk::client
