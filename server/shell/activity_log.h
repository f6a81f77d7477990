// The activity log's text as a multi-line edit control keeps it: once it holds more than 200 lines, each new
// entry first removes the oldest line with its line end. Lines end in "\r\n"; the empty line after the last
// line end counts as a line, as it does in the control.
#pragma once

#include <string>
#include <string_view>

namespace stk::server {

class ActivityLog {
public:
    static constexpr int kMaxLines = 200;

    // Returns how many leading characters were removed first (0 when none).
    std::size_t append(std::string_view text);

    const std::string& text() const { return text_; }
    int line_count() const;

private:
    std::string text_;
};

}  // namespace stk::server
