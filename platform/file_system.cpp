// The POSIX files: the only code of the server's core that calls open, pread, pwrite, fsync and rename.
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace stk::platform {

namespace {

class PosixFile final : public File {
public:
    PosixFile(std::string path, int fd) : File(std::move(path)), fd_(fd) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    IoStatus read_at(std::uint64_t offset, void* data, std::size_t size, std::size_t* got) override {
        auto* p = static_cast<char*>(data);
        *got = 0;
        while (*got < size) {
            const ssize_t n = ::pread(fd_, p + *got, size - *got, static_cast<off_t>(offset + *got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return error("pread");
            if (n == 0) break;
            *got += static_cast<std::size_t>(n);
        }
        return {};
    }

    IoStatus write_at(std::uint64_t offset, const void* data, std::size_t size) override {
        const auto* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return error("pwrite");
            if (n == 0) return IoStatus::failure("pwrite", EIO, path());
            p += n;
            size -= static_cast<std::size_t>(n);
            offset += static_cast<std::uint64_t>(n);
        }
        return {};
    }

    IoStatus sync() override { return ::fsync(fd_) == 0 ? IoStatus() : error("fsync"); }
    IoStatus sync_data() override { return ::fdatasync(fd_) == 0 ? IoStatus() : error("fdatasync"); }

    IoStatus truncate(std::uint64_t size) override {
        return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? IoStatus() : error("ftruncate");
    }

    IoStatus reserve(std::uint64_t size) override {
        // posix_fallocate answers with the error instead of setting errno.
        const int e = ::posix_fallocate(fd_, 0, static_cast<off_t>(size));
        return e == 0 ? IoStatus() : IoStatus::failure("posix_fallocate", e, path());
    }

    IoStatus size(std::uint64_t* out) override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return error("fstat");
        *out = static_cast<std::uint64_t>(st.st_size);
        return {};
    }

    IoStatus close() override {
        const int fd = fd_;
        fd_ = -1;
        if (fd >= 0 && ::close(fd) != 0) return error("close");
        return {};
    }

private:
    IoStatus error(std::string_view call) const { return IoStatus::failure(call, errno, path()); }

    int fd_;
};

class PosixFileSystem final : public FileSystem {
public:
    IoStatus open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) override {
        out->reset();
        int flags = O_CLOEXEC;
        switch (mode) {
            case OpenMode::Read: flags |= O_RDONLY; break;
            case OpenMode::ReadCreate: flags |= O_RDONLY | O_CREAT; break;
            case OpenMode::ReadWriteCreate: flags |= O_RDWR | O_CREAT; break;
            case OpenMode::WriteTruncate: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
        }
        int fd = -1;
        do {
            fd = ::open(path.c_str(), flags, 0644);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) return IoStatus::failure("open", errno, path);
        *out = std::make_unique<PosixFile>(path, fd);
        return {};
    }

    IoStatus rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? IoStatus() : IoStatus::failure("rename", errno, to);
    }

    IoStatus remove(const std::string& path) override {
        return ::unlink(path.c_str()) == 0 ? IoStatus() : IoStatus::failure("unlink", errno, path);
    }

    IoStatus sync_folder(const std::string& folder) override {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return IoStatus::failure("open", errno, folder);
        const bool synced = ::fsync(fd) == 0;
        const int error = errno;
        ::close(fd);
        return synced ? IoStatus() : IoStatus::failure("fsync", error, folder);
    }

    bool exists(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0;
    }
};

}  // namespace

IoStatus IoStatus::failure(std::string_view call, int error, std::string path) {
    IoStatus s;
    s.call_ = call;
    s.error_ = error != 0 ? error : EIO;  // a failure never reads as success
    s.path_ = std::move(path);
    return s;
}

std::string IoStatus::message() const {
    if (ok()) return "ok";
    return std::string(call_) + " " + path_ + ": " + std::strerror(error_);
}

IoStatus File::read_exact_at(std::uint64_t offset, void* data, std::size_t size) {
    std::size_t got = 0;
    IoStatus s = read_at(offset, data, size, &got);
    if (!s) return s;
    if (got < size) return IoStatus::failure("pread", ENODATA, path());
    return {};
}

FileSystem& posix_file_system() {
    static PosixFileSystem files;
    return files;
}

std::string folder_of(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace stk::platform
