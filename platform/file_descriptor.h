// Plain POSIX descriptors: one that closes itself, exact reads, and the lock files in the shared pipe folder.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <string>

namespace stk::platform {

// Owns a descriptor and closes it when it goes out of scope, so that no early return leaks it.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) noexcept : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() {
        if (fd_ >= 0) ::close(fd_);
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Hands the descriptor over to the caller, who closes it from now on.
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

    // Takes ownership of `fd`, closing the descriptor held so far.
    void reset(int fd = -1) {
        if (fd_ >= 0 && fd_ != fd) ::close(fd_);
        fd_ = fd;
    }

    // Closes now. A file that was written must be closed this way and the answer looked at: a failed close
    // can mean lost data.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

// Reads exactly `size` bytes. false on a read error, or when the file ends first.
bool read_exact(int fd, void* buffer, std::size_t size);

// Opens a lock file for reading, creating it when missing; -1 on failure. An existing file is opened without
// O_CREAT: in a sticky world-writable folder the kernel may refuse O_CREAT on another user's file.
int open_lock_file(const std::string& path);

}  // namespace stk::platform
