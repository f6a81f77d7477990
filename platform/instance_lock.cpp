#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/file_descriptor.h"
#include "platform/local_pipe.h"

namespace stk::platform {

namespace {

int g_held_fd = -1;

std::string lock_path() { return pipe_folder() + "/.STOCKAVELLESERVER.lock"; }

int open_instance_lock() {
    if (!ensure_pipe_folder()) return -1;
    return open_lock_file(lock_path());
}

}  // namespace

bool server_instance_running() {
    // Only looks: the lock file of a running server exists, and a client of another user may not create
    // anything in the server's socket folder.
    const int fd = ::open(lock_path().c_str(), O_RDONLY | O_CLOEXEC);
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
    const int fd = open_instance_lock();
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
