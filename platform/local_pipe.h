// The server's named pipe as a local socket. Every server and client on this computer finds the socket of
// server NAME at pipe_folder() + "/" + NAME.
//
// The pipe folder is $STOCKAVELLE_PIPE_DIR when set, else kDefaultPipeFolder. It belongs to the user who runs
// the servers: created with mode 0755, so other local users can reach the sockets in it (every socket is made
// connectable by all users) but cannot put, replace or remove anything there.
#pragma once

#include <string>
#include <string_view>

class QLocalServer;

namespace stk::platform {

inline constexpr const char* kDefaultPipeFolder = "/tmp/stockavelle-pipes";
inline constexpr const char* kPipeFolderVariable = "STOCKAVELLE_PIPE_DIR";

// The folder that holds the sockets (not created).
std::string pipe_folder();
// Creates the pipe folder when missing (mode 0755). false, with a sentence in *error for the activity log,
// when it cannot be made or belongs to another user; a folder of ours that others may write to is closed to
// them (mode 0755) first.
bool ensure_pipe_folder(std::string* error = nullptr);

// The socket path of a server name. Names are stored as they are, except that "/" and "%" are written as
// "%2F" and "%25" and the names "." and ".." get a "%2E" for their first point, so that any name stays one
// file inside the folder.
std::string local_pipe_path(std::string_view server_name);

// Starts listening on the socket of `server_name`, world-connectable.
//
// A socket file that no live server answers on (left by a crash) is replaced; one that a live server answers
// on is left alone and the call fails. Live means: another server of ours holds the name's claim, or a
// connection to the socket succeeds or does not fail within `probe_timeout_ms`. The probe and the listen run
// under a lock on the pipe folder, so two servers starting at once cannot both decide a socket is stale.
// The server holds the name's claim until close_local(). On failure *error (when given) says why.
bool listen_local(QLocalServer& server, std::string_view server_name, std::string* error = nullptr,
                  int probe_timeout_ms = 1000);

// Stops listening, removes the socket file and gives the name's claim back.
void close_local(QLocalServer& server);

}  // namespace stk::platform
