#include "server/db/inventory_text.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <new>

#include "platform/file_descriptor.h"

namespace stk::server::inventory_text {

ReadOutcome read_or_create(const std::string& path, std::string& out) {
    out.clear();
    platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.valid()) return ReadOutcome::CannotOpen;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return ReadOutcome::ReadFailed;
    try {
        out.resize(static_cast<std::size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        return ReadOutcome::NoMemory;
    }
    if (!platform::read_exact(fd.get(), out.data(), out.size())) {
        out.clear();
        return ReadOutcome::ReadFailed;
    }
    return ReadOutcome::Ok;
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
