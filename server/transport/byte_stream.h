// The connection a request arrives on, as the dispatcher sees it: a local socket, a TCP socket, or bytes in
// memory for tests.
#pragma once

#include <cstddef>
#include <string>

namespace stk::server {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Waits up to timeout_ms for bytes and copies up to n of them. Returns how many (> 0), 0 when none came in
    // time, -1 when the peer is gone.
    virtual long read_some(char* data, std::size_t n, int timeout_ms) = 0;
    // Sends n bytes, giving up when timeout_ms pass without progress. Returns the number of bytes sent.
    virtual std::size_t write(const char* data, std::size_t n, int timeout_ms) = 0;
    // Sends what is still buffered and disconnects.
    virtual void finish() = 0;
};

// A request held in memory; the answer is collected in `output`. After the input is used up the stream
// reports the peer gone, or (stall_at_end) reports that nothing arrives.
class MemoryStream : public ByteStream {
public:
    explicit MemoryStream(std::string in, bool stall = false) : input(std::move(in)), stall_at_end(stall) {}

    long read_some(char* data, std::size_t n, int) override {
        if (pos >= input.size()) return stall_at_end ? 0 : -1;
        const std::size_t k = n < input.size() - pos ? n : input.size() - pos;
        input.copy(data, k, pos);
        pos += k;
        return static_cast<long>(k);
    }
    std::size_t write(const char* data, std::size_t n, int) override {
        const std::size_t k = n < write_limit ? n : write_limit;
        output.append(data, k);
        write_limit -= k;
        return k;
    }
    void finish() override { finished = true; }

    std::string input;
    std::size_t pos = 0;
    bool stall_at_end = false;
    std::string output;
    std::size_t write_limit = static_cast<std::size_t>(-1);  // bytes the peer still takes
    bool finished = false;
};

}  // namespace stk::server
