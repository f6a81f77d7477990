#include "platform/file_lock.h"

#include <sys/file.h>

#include <cerrno>

namespace stk::platform {

ExclusiveFileLock::Outcome ExclusiveFileLock::take(const std::string& path) {
    release();
    error_ = 0;
    UniqueFd fd(open_lock_file(path));
    if (!fd.valid()) {
        error_ = errno;
        return Outcome::Failed;
    }
    int rc;
    do {
        rc = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        if (errno == EWOULDBLOCK) return Outcome::Busy;
        error_ = errno;
        return Outcome::Failed;
    }
    fd_.reset(fd.release());
    return Outcome::Held;
}

}  // namespace stk::platform
