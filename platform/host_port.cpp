#include "platform/host_port.h"

namespace stk::platform {

bool split_host_port(const std::string& text, std::string* host, unsigned short* port) {
    std::string h = text;
    std::string p;
    bool has_port = false;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string::npos) return false;
        h = text.substr(1, close - 1);
        if (close + 1 < text.size()) {
            if (text[close + 1] != ':') return false;
            p = text.substr(close + 2);
            has_port = true;
        }
    } else if (const auto colon = text.find(':'); colon != std::string::npos && colon == text.rfind(':')) {
        h = text.substr(0, colon);
        p = text.substr(colon + 1);
        has_port = true;
    }  // more than one colon and no brackets: an IPv6 address without a port
    unsigned long value = kDefaultTcpPort;
    if (has_port) {
        if (p.empty() || p.size() > 5 || p.find_first_not_of("0123456789") != std::string::npos) return false;
        value = std::stoul(p);
        if (value == 0 || value > 65535) return false;
    }
    if (h.empty()) return false;
    *host = h;
    *port = static_cast<unsigned short>(value);
    return true;
}

}  // namespace stk::platform
