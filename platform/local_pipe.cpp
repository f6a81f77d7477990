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

bool ensure_pipe_folder(std::string* error) {
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    const std::string folder = pipe_folder();
    if (!make_folder(folder, 0755)) return fail("The socket folder " + folder + " cannot be created.");
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return fail("The socket folder " + folder + " cannot be used.");
    // Whoever owns the folder can rename or remove anything in it, sticky bit or not.
    if (st.st_uid != ::geteuid()) {
        return fail("The socket folder " + folder + " belongs to another user (user id " + std::to_string(st.st_uid) +
                    "), who could replace this server's socket. Remove that folder, or set " + kPipeFolderVariable +
                    " to a folder of your own.");
    }
    // Ours, but open to everyone (as earlier versions made it): close it to others.
    if ((st.st_mode & 022) != 0 && ::chmod(folder.c_str(), 0755) != 0)
        return fail("The socket folder " + folder + " is writable by other users and its mode cannot be changed.");
    return true;
}

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
    std::string folder_error;
    if (!ensure_pipe_folder(&folder_error)) return fail(folder_error);
    const std::string path = local_pipe_path(server_name);
    FolderLock lock(pipe_folder());
    if (!lock.ok()) return fail("The socket folder " + pipe_folder() + " cannot be locked.");

    UniqueFd claim(open_claim(path));
    if (!claim.valid()) return fail("The claim file of the socket " + path + " cannot be opened.");
    if (::flock(claim.get(), LOCK_EX | LOCK_NB) != 0) return fail("Another server is listening on " + path + ".");
    switch (probe_socket(path, probe_timeout_ms)) {
    case Probe::Live:
        return fail("Another program is listening on " + path + ".");
    case Probe::Stale:
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            return fail("The socket " + path + " left by an earlier server cannot be removed.");
        }
        break;
    case Probe::Absent:
        break;
    }
    // Listening without socket options binds the path itself (it fails rather than replacing a file).
    server.setSocketOptions(QLocalServer::NoOptions);
    if (!server.listen(QString::fromLocal8Bit(path.c_str())))
        return fail("Cannot listen on " + path + ": " + server.errorString().toStdString() + ".");
    ::chmod(path.c_str(), 0777);  // every local user may connect (connecting needs write access to the socket)
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
