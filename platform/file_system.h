// The files of the server behind one seam: every open, read, write, sync, rename and removal of a database
// file goes through a FileSystem, so that tests can count those calls, fail any one of them, or stop the world
// after one of them and keep only what had been synced (tests/support/fault_file_system.h). The POSIX
// implementation is the only place in the server's core that calls open, pwrite, fsync or rename.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace stk::platform {

// The outcome of a file call: success, or the call that failed, its errno and the path it was about.
class [[nodiscard]] IoStatus {
public:
    IoStatus() = default;  // success
    static IoStatus failure(std::string_view call, int error, std::string path);

    bool ok() const { return error_ == 0; }
    explicit operator bool() const { return ok(); }
    std::string_view call() const { return call_; }
    int error() const { return error_; }
    const std::string& path() const { return path_; }
    // "fsync /srv/set/invoices.dat: No space left on device", or "ok".
    std::string message() const;

private:
    std::string_view call_;  // a literal: the name of the system call
    int error_ = 0;
    std::string path_;
};

enum class OpenMode {
    Read,             // an existing file, for reading
    ReadCreate,       // for reading, created empty when missing
    ReadWriteCreate,  // for reading and writing, created empty when missing, contents kept
    WriteTruncate,    // for writing, created when missing, emptied when present
};

// An open file. Not shared between threads. Closed by close() or, with any error ignored, by the destructor:
// a file that was written must be closed with close() and its answer looked at.
class File {
public:
    explicit File(std::string path) : path_(std::move(path)) {}
    virtual ~File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    const std::string& path() const { return path_; }

    // Reads up to `size` bytes at `offset`; *got tells how many came (fewer only at the end of the file).
    virtual IoStatus read_at(std::uint64_t offset, void* data, std::size_t size, std::size_t* got) = 0;
    // Writes all `size` bytes at `offset`, or fails (the bytes that did land are not undone).
    virtual IoStatus write_at(std::uint64_t offset, const void* data, std::size_t size) = 0;
    // fsync: data and every metadata change of the file reach the disk before it returns.
    virtual IoStatus sync() = 0;
    // fdatasync: the data, and the size when it changed; timestamps may lag.
    virtual IoStatus sync_data() = 0;
    virtual IoStatus truncate(std::uint64_t size) = 0;
    // Allocates disk blocks for the first `size` bytes (the file grows to at least that size), so that later
    // writes inside them cannot fail for want of space.
    virtual IoStatus reserve(std::uint64_t size) = 0;
    virtual IoStatus size(std::uint64_t* out) = 0;
    virtual IoStatus close() = 0;

    // Reads exactly `size` bytes at `offset`; a file that ends first fails with ENODATA.
    IoStatus read_exact_at(std::uint64_t offset, void* data, std::size_t size);

private:
    std::string path_;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // On success *out holds the open file; on failure *out is empty.
    virtual IoStatus open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) = 0;
    // Replaces `to` by `from` in one step (POSIX rename).
    virtual IoStatus rename(const std::string& from, const std::string& to) = 0;
    virtual IoStatus remove(const std::string& path) = 0;
    // Makes the folder's entries durable: files created, renamed into or removed from it since its last sync.
    virtual IoStatus sync_folder(const std::string& folder) = 0;
    virtual bool exists(const std::string& path) = 0;
};

// The real files.
FileSystem& posix_file_system();

// The folder that holds `path` ("." for a bare name).
std::string folder_of(const std::string& path);

}  // namespace stk::platform
