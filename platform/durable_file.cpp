#include "platform/durable_file.h"

#include <cerrno>
#include <memory>
#include <new>

namespace stk::platform {

IoStatus write_file_durably(FileSystem& files, const std::string& path, std::string_view bytes) {
    const std::string temp = path + ".tmp";
    std::unique_ptr<File> file;
    IoStatus s = files.open(temp, OpenMode::WriteTruncate, &file);
    if (!s) return s;
    s = file->write_at(0, bytes.data(), bytes.size());
    if (s) s = file->sync();
    IoStatus closed = file->close();
    if (s) s = std::move(closed);
    if (s) s = files.rename(temp, path);
    if (!s) {
        // The temporary file is ours and half written; where it cannot go, the next save truncates it.
        (void)files.remove(temp);
        return s;
    }
    return files.sync_folder(folder_of(path));
}

IoStatus read_whole_file(FileSystem& files, const std::string& path, std::string& out, bool create) {
    out.clear();
    std::unique_ptr<File> file;
    IoStatus s = files.open(path, create ? OpenMode::ReadCreate : OpenMode::Read, &file);
    if (!s) return s;
    std::uint64_t size = 0;
    s = file->size(&size);
    if (!s) return s;
    try {
        out.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return IoStatus::failure("read", ENOMEM, path);
    }
    s = file->read_exact_at(0, out.data(), out.size());
    if (!s) out.clear();
    return s;
}

bool write_file_durably(const std::string& path, std::string_view bytes) {
    return write_file_durably(posix_file_system(), path, bytes).ok();
}

bool write_file_durably_unless_same(const std::string& path, std::string_view bytes) {
    std::string held;
    if (read_whole_file(path, held) && held == bytes) return true;
    return write_file_durably(path, bytes);
}

bool read_whole_file(const std::string& path, std::string& out) {
    return read_whole_file(posix_file_system(), path, out).ok();
}

bool file_exists(const std::string& path) { return posix_file_system().exists(path); }

}  // namespace stk::platform
