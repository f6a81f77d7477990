#include "server/db/inventory_text.h"

#include <cerrno>

#include "platform/durable_file.h"

namespace stk::server::inventory_text {

ReadOutcome read_or_create(platform::FileSystem& files, const std::string& path, std::string& out) {
    const platform::IoStatus s = platform::read_whole_file(files, path, out, /*create=*/true);
    if (s) return ReadOutcome::Ok;
    if (s.call() == "open") return ReadOutcome::CannotOpen;
    return s.error() == ENOMEM ? ReadOutcome::NoMemory : ReadOutcome::ReadFailed;
}

void append_line(std::string& out, std::initializer_list<std::string_view> columns) {
    bool first = true;
    for (std::string_view c : columns) {
        if (!first) out += '\t';
        out.append(c);
        first = false;
    }
    out += "\r\n";
}

std::vector<std::string_view> split_columns(std::string_view line) {
    std::vector<std::string_view> columns;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', pos);
        if (tab == std::string_view::npos) {
            columns.push_back(trim_blanks(line.substr(pos)));
            break;
        }
        columns.push_back(trim_blanks(line.substr(pos, tab - pos)));
        pos = tab + 1;
    }
    return columns;
}

}  // namespace stk::server::inventory_text
