// An exclusive lock on one file, for "only one process at a time uses this". The kernel gives the lock back when
// the process ends in any way (a crash or SIGKILL included), so a lock file left behind never blocks anyone:
// the lock decides, not the file's existence.
#pragma once

#include <string>

#include "platform/file_descriptor.h"

namespace stk::platform {

class ExclusiveFileLock {
public:
    enum class Outcome {
        Held,    // this object holds the lock now
        Busy,    // another open of the file holds it (another process, or another lock object here)
        Failed,  // the file cannot be opened or locked; error() says why
    };

    // Opens `path` (creating it when missing, contents untouched) and takes the lock without waiting. A lock
    // already held by this object is given back first.
    [[nodiscard]] Outcome take(const std::string& path);
    // Gives the lock back (also done on destruction).
    void release() { fd_.close(); }

    bool held() const { return fd_.valid(); }
    // errno of the last Failed take.
    int error() const { return error_; }

private:
    UniqueFd fd_;
    int error_ = 0;
};

}  // namespace stk::platform
