#include "server/db/inventory_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace stk::server::inventory_text {

ReadOutcome read_or_create(const std::string& path, std::string& out) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return ReadOutcome::CannotOpen;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return ReadOutcome::ReadFailed;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    try {
        out.resize(size);
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return ReadOutcome::NoMemory;
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, out.data() + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            out.clear();
            return ReadOutcome::ReadFailed;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return ReadOutcome::Ok;
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
