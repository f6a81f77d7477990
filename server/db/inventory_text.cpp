#include "server/db/inventory_text.h"

#include <cerrno>

#include <cstdint>
#include <memory>
#include <new>

namespace stk::server::inventory_text {

ReadOutcome read_or_create(platform::FileSystem& files, const std::string& path, platform::BigText& out,
                           bool create) {
    out.clear();
    std::unique_ptr<platform::File> file;
    const platform::OpenMode mode = create ? platform::OpenMode::ReadCreate : platform::OpenMode::Read;
    if (!files.open(path, mode, &file).ok()) return ReadOutcome::CannotOpen;
    std::uint64_t size = 0;
    if (!file->size(&size).ok()) return ReadOutcome::ReadFailed;
    try {
        out.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return ReadOutcome::NoMemory;
    }
    const platform::IoStatus s = file->read_exact_at(0, out.data(), out.size());
    if (s) return ReadOutcome::Ok;
    out.clear();
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

Columns split_columns(std::string_view line) {
    Columns columns;
    std::size_t pos = 0;
    auto keep = [&](std::string_view raw) {
        const std::string_view column = trim_blanks(raw);
        columns.trimmed = columns.trimmed || column.size() != raw.size();
        columns.at[columns.count++] = column;
    };
    for (;;) {
        const std::size_t tab = line.find('\t', pos);
        if (tab == std::string_view::npos) {
            keep(line.substr(pos));
            break;
        }
        keep(line.substr(pos, tab - pos));
        pos = tab + 1;
        if (columns.count == kMaxColumns) {
            columns.more = true;
            break;
        }
    }
    return columns;
}

}  // namespace stk::server::inventory_text
