// ByteStream over a connected QLocalSocket or QTcpSocket, used synchronously (waitFor*), so a request is
// served to its end without returning to the event loop.
#pragma once

#include "server/transport/byte_stream.h"

class QIODevice;

namespace stk::server {

class QtStream : public ByteStream {
public:
    explicit QtStream(QIODevice& device) : device_(device) {}
    long read_some(char* data, std::size_t n, int timeout_ms) override;
    std::size_t write(const char* data, std::size_t n, int timeout_ms) override;
    void finish() override;

private:
    bool connected() const;
    QIODevice& device_;
};

}  // namespace stk::server
