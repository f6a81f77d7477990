#include "platform/local_pipe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <cerrno>
#include <cstdlib>
#include <map>

#include "platform/app_data.h"
#include "platform/file_descriptor.h"

namespace stk::platform {

namespace {

// Name claims held by this process, by socket path.
std::map<std::string, int>& claims() {
    static std::map<std::string, int> m;
    return m;
}

std::string escaped_name(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (c == '/')
            out += "%2F";
        else if (c == '%')
            out += "%25";
        else
            out += c;
    }
    if (out == "." || out == "..") out.replace(0, 1, "%2E");
    return out;
}

class FolderLock {
public:
    explicit FolderLock(const std::string& folder) {
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The claim file of a name: a server holds an exclusive lock on it while it listens.
int open_claim(const std::string& socket_path) {
    const auto slash = socket_path.find_last_of('/');
    return open_lock_file(socket_path.substr(0, slash + 1) + "." + socket_path.substr(slash + 1) + ".claim");
}

enum class Probe { Absent, Stale, Live };

// Only "nobody listens" (refused, or no socket to reach) makes a socket file stale; a timeout or any other
// error may be a live server that is busy, and its socket must not be taken from it.
Probe probe_socket(const std::string& path, int timeout_ms) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? Probe::Absent : Probe::Live;
    if (!S_ISSOCK(st.st_mode)) return Probe::Live;  // not ours to remove
    QLocalSocket socket;
    socket.connectToServer(QString::fromLocal8Bit(path.c_str()));
    if (socket.waitForConnected(timeout_ms)) {
        socket.abort();
        return Probe::Live;
    }
    const auto error = socket.error();
    socket.abort();
    if (error == QLocalSocket::ConnectionRefusedError || error == QLocalSocket::ServerNotFoundError)
        return Probe::Stale;
    return Probe::Live;  // timed out or anything unexpected: assume someone is there
}

}  // namespace

std::string pipe_folder() {
    const char* v = std::getenv(kPipeFolderVariable);
    return (v && *v) ? std::string(v) : std::string(kDefaultPipeFolder);
}

bool ensure_pipe_folder() { return make_folder(pipe_folder(), 01777); }

std::string local_pipe_path(std::string_view server_name) {
    std::string folder = pipe_folder();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + escaped_name(server_name);
}

bool listen_local(QLocalServer& server, std::string_view server_name, std::string* error, int probe_timeout_ms) {
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (!ensure_pipe_folder()) return fail("the pipe folder " + pipe_folder() + " cannot be created");
    const std::string path = local_pipe_path(server_name);
    FolderLock lock(pipe_folder());
    if (!lock.ok()) return fail("the pipe folder cannot be locked");

    UniqueFd claim(open_claim(path));
    if (!claim.valid()) return fail("the name's claim file cannot be opened");
    if (::flock(claim.get(), LOCK_EX | LOCK_NB) != 0) return fail("another server is listening on " + path);
    switch (probe_socket(path, probe_timeout_ms)) {
    case Probe::Live:
        return fail("another program is listening on " + path);
    case Probe::Stale:
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            return fail("the stale socket " + path + " cannot be removed");
        }
        break;
    case Probe::Absent:
        break;
    }
    // Listening without socket options binds the path itself (it fails rather than replacing a file).
    server.setSocketOptions(QLocalServer::NoOptions);
    if (!server.listen(QString::fromLocal8Bit(path.c_str()))) return fail(server.errorString().toStdString());
    ::chmod(path.c_str(), 0777);  // every local user may connect
    auto& held = claims();
    if (auto it = held.find(path); it != held.end()) ::close(it->second);
    held[path] = claim.release();
    return true;
}

void close_local(QLocalServer& server) {
    const std::string path = server.fullServerName().toLocal8Bit().toStdString();
    server.close();  // removes the socket file
    auto& held = claims();
    if (auto it = held.find(path); it != held.end()) {
        ::close(it->second);
        held.erase(it);
    }
}

}  // namespace stk::platform
