// The connection a request arrives on, as the dispatcher sees it: a client connection whose request is already
// buffered (client_connection.h), or bytes in memory for tests. Neither side ever waits: the listener hands the
// dispatcher a request only once all its bytes are in, and answers are queued for sending.
#pragma once

#include <cstddef>
#include <string>

namespace stk::server {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Copies up to n of the request's bytes. Returns how many (> 0), or -1 when the request has no more bytes
    // (it broke off before it was whole).
    virtual long read_some(char* data, std::size_t n) = 0;
    // Queues n bytes of the answer. Returns how many the connection took: fewer than n when the peer is gone.
    virtual std::size_t write(const char* data, std::size_t n) = 0;
    // The answer is complete: send what is queued and disconnect.
    virtual void finish() = 0;
};

// A request held in memory; the answer is collected in `output`.
class MemoryStream : public ByteStream {
public:
    explicit MemoryStream(std::string in) : input(std::move(in)) {}

    long read_some(char* data, std::size_t n) override {
        if (pos >= input.size()) return -1;
        const std::size_t k = n < input.size() - pos ? n : input.size() - pos;
        input.copy(data, k, pos);
        pos += k;
        return static_cast<long>(k);
    }
    std::size_t write(const char* data, std::size_t n) override {
        const std::size_t k = n < write_limit ? n : write_limit;
        output.append(data, k);
        write_limit -= k;
        return k;
    }
    void finish() override { finished = true; }

    std::string input;
    std::size_t pos = 0;
    std::string output;
    std::size_t write_limit = static_cast<std::size_t>(-1);  // bytes the peer still takes
    bool finished = false;
};

}  // namespace stk::server
