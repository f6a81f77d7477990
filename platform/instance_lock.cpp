#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/local_pipe.h"

namespace stk::platform {

namespace {

int g_held_fd = -1;

std::string lock_path() { return pipe_folder() + "/.STOCKAVELLESERVER.lock"; }

// Opens the lock file for reading, creating it when missing. Opening an existing file without O_CREAT
// matters: in a sticky world-writable folder the kernel may refuse O_CREAT on another user's file.
int open_lock_file() {
    if (!ensure_pipe_folder()) return -1;
    const std::string path = lock_path();
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT) return fd;
        fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

bool server_instance_running() {
    const int fd = open_lock_file();
    if (fd < 0) return false;
    bool running = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        running = (errno == EWOULDBLOCK);
    }
    ::close(fd);  // also drops the probe lock
    return running;
}

bool hold_server_instance() {
    if (g_held_fd >= 0) return true;
    const int fd = open_lock_file();
    if (fd < 0) return false;
    if (::flock(fd, LOCK_SH) != 0) {
        ::close(fd);
        return false;
    }
    g_held_fd = fd;
    return true;
}

void release_server_instance() {
    if (g_held_fd >= 0) {
        ::close(g_held_fd);
        g_held_fd = -1;
    }
}

}  // namespace stk::platform
