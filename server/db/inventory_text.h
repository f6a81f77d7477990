// Shared text handling of "inventory.txt" and "inventory fifo.txt": reading a file whole, cutting it into
// CR LF lines and TAB columns, and building lines back. Internal to server/db.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/text_field.h"
#include "platform/file_system.h"
#include "platform/huge_page_allocator.h"

namespace stk::server::inventory_text {

// A line this long or longer means the file is not ours (or is damaged); the load stops there.
inline constexpr std::size_t kMaxLineLength = 3328;

enum class ReadOutcome { Ok, CannotOpen, NoMemory, ReadFailed };

// Opens `path` for reading, creating it empty when it does not exist (unless `create` is false: CannotOpen),
// and reads it whole.
ReadOutcome read_or_create(platform::FileSystem& files, const std::string& path, platform::BigText& out,
                           bool create = true);

// Calls `fn(line)` for every line: the text up to the next CR LF, or up to the end. A CR LF that ends the
// text starts no further line. Stops early when fn returns false; returns false in that case.
template <class Fn>
bool for_each_line(std::string_view text, Fn&& fn) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        if (!fn(text.substr(pos, stop - pos))) return false;
        if (end == std::string_view::npos) break;
        pos = end + 2;
    }
    return true;
}

// How many lines for_each_line finds in `text`, at most; for committing a table once before a load.
inline int line_count_at_most(std::string_view text, int limit) {
    std::size_t lines = text.empty() ? 0 : 1;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos && lines < static_cast<std::size_t>(limit);
         at = text.find('\n', at + 1)) {
        ++lines;
    }
    return static_cast<int>(std::min<std::size_t>(lines, static_cast<std::size_t>(limit)));
}

// Every line of `text` ends in CR LF (an empty text has no line).
inline bool ends_every_line(std::string_view text) { return text.empty() || text.ends_with("\r\n"); }

// Appends one line: the columns joined by TABs, then CR LF.
void append_line(std::string& out, std::initializer_list<std::string_view> columns);

// The first kMaxColumns columns of a line (the files use 16; anything after them is never read), without a
// heap allocation: a start-up cuts some 300,000 lines.
inline constexpr std::size_t kMaxColumns = 16;
struct Columns {
    std::array<std::string_view, kMaxColumns> at{};
    std::size_t count = 0;
    bool more = false;     // the line has columns after the last one kept
    bool trimmed = false;  // some column lost leading or trailing blanks
};

// A line with no byte that a field could not give back as it is (NUL ends a field; CR and LF become blanks).
inline bool plain_line(std::string_view line) {
    for (const char c : line) {
        if (c == '\0' || c == '\r' || c == '\n') return false;
    }
    return true;
}

// The line cut at every TAB, each column without leading and trailing blanks and tabs.
Columns split_columns(std::string_view line);

// Puts a column into a field; false when it does not fit (N-1 characters at most).
template <std::size_t N>
bool place_column(char (&f)[N], std::string_view column) {
    if (column.size() >= N) return false;
    set_field(f, column);
    return true;
}

// The column at `index`, or "" when the line has fewer columns.
inline std::string_view column_at(const Columns& columns, std::size_t index) {
    return index < columns.count ? columns.at[index] : std::string_view();
}

// Makes a field safe for the TAB/CR LF files: TAB, CR and LF become blanks, and leading and trailing
// blanks go (the loaders trim them anyway, so keeping them would change the field at the next start).
template <std::size_t N>
void clean_field(char (&f)[N]) {
    const std::size_t length = field(f).size();
    for (std::size_t i = 0; i < length; ++i) {
        if (f[i] == '\t' || f[i] == '\r' || f[i] == '\n') f[i] = ' ';
    }
    set_field(f, trim_blanks(field(f)));
}

}  // namespace stk::server::inventory_text
