#include "server/shell/activity_log.h"

namespace stk::server {

int ActivityLog::line_count() const {
    int lines = 1;
    for (std::size_t at = text_.find("\r\n"); at != std::string::npos; at = text_.find("\r\n", at + 2)) ++lines;
    return lines;
}

std::size_t ActivityLog::append(std::string_view text) {
    std::size_t removed = 0;
    if (line_count() > kMaxLines) {
        const auto end = text_.find("\r\n");
        removed = end == std::string::npos ? text_.size() : end + 2;
        text_.erase(0, removed);
    }
    text_.append(text);
    return removed;
}

}  // namespace stk::server
