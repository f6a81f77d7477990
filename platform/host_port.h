// "host", "host:port", "[v6]" and "[v6]:port" addresses of servers that also listen on TCP.
#pragma once

#include <string>

namespace stk::platform {

// The port of an address given without one (the server's --listen-tcp and the client's remote computer).
inline constexpr unsigned short kDefaultTcpPort = 47100;

// false when the host is empty or the port is not a number in 1..65535.
bool split_host_port(const std::string& text, std::string* host, unsigned short* port);

}  // namespace stk::platform
