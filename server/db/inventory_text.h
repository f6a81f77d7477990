// Shared text handling of "inventory.txt" and "inventory fifo.txt": reading a file whole, cutting it into
// CR LF lines and TAB columns, and building lines back. Internal to server/db.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_field.h"
#include "platform/file_system.h"

namespace stk::server::inventory_text {

// A line this long or longer means the file is not ours (or is damaged); the load stops there.
inline constexpr std::size_t kMaxLineLength = 3328;

enum class ReadOutcome { Ok, CannotOpen, NoMemory, ReadFailed };

// Opens `path` for reading, creating it empty when it does not exist, and reads it whole.
ReadOutcome read_or_create(platform::FileSystem& files, const std::string& path, std::string& out);

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

// Appends one line: the columns joined by TABs, then CR LF.
void append_line(std::string& out, std::initializer_list<std::string_view> columns);

// The line cut at every TAB, each column without leading and trailing blanks and tabs.
std::vector<std::string_view> split_columns(std::string_view line);

// Puts a column into a field; false when it does not fit (N-1 characters at most).
template <std::size_t N>
bool place_column(char (&f)[N], std::string_view column) {
    if (column.size() >= N) return false;
    set_field(f, column);
    return true;
}

// The column at `index`, or "" when the line has fewer columns.
inline std::string_view column_at(const std::vector<std::string_view>& columns, std::size_t index) {
    return index < columns.size() ? columns[index] : std::string_view();
}

// Makes a field safe for the TAB/CR LF files: TAB, CR and LF become blanks, and leading and trailing
// blanks go (the loaders trim them anyway, so keeping them would change the field at the next start).
template <std::size_t N>
void clean_field(char (&f)[N]) {
    std::string text(field(f));
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    set_field(f, trim_blanks(text));
}

}  // namespace stk::server::inventory_text
