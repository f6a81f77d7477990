// Start-up of the server in its fixed order, shared by the window build and the headless build, and the
// orderly end. Everything the running server owns lives in ServerRuntime.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/file_lock.h"
#include "server/db/database.h"
#include "server/shell/server_settings.h"
#include "server/shell/startup_ui.h"
#include "server/transport/dispatcher.h"
#include "server/transport/listener.h"

namespace stk::server {

inline constexpr const char* kInitializationComplete = "Server initialization complete. Waiting for a client request\r\n";
inline constexpr const char* kInitializationFailure = "Server initialization failure. Please restart Stockavelle Server.\r\n";

// The file in a database-set folder whose lock says which server serves the set. Its contents mean nothing.
inline constexpr const char* kSetLockFileName = "stockavelle server.lock";
inline constexpr const char* kSetInUse = "The database set is in use by another Stockavelle Server.\r\n";
inline constexpr const char* kSetNotLockable = "Unable to lock the database set.\r\n";
inline constexpr const char* kSetPathTooLong = "The database set folder path is too long.\r\n";

// What the command line settles instead of the dialogs.
struct StartupOptions {
    std::string program_folder;                // holds "default server settings.txt"
    std::optional<std::string> database_set;   // --database-set: no location dialog; created when missing
    std::optional<std::string> server_name;    // --server-name: as if typed into the dialog and Start pressed
    std::optional<std::string> listen_tcp;     // --listen-tcp HOST:PORT
    std::optional<std::string> new_set;        // --new-set: create a new set there (source: the current set)
    bool carry_inventory = false;
    bool carry_invoices = false;
    bool carry_messages = false;
    int stall_timeout_ms = kDefaultStallTimeoutMs;
};

struct ServerRuntime {
    // Two servers on one set would overwrite each other's saves: the set is held from before its first file is
    // read until this runtime (or the process) ends. First member, so that it is given back last.
    platform::ExclusiveFileLock set_lock;
    ServerDatabase db;
    ServerSettings settings;
    std::string folder;  // the database-set folder
    std::unique_ptr<Dispatcher> dispatcher;
    std::unique_ptr<Listener> listener;

    ServerRuntime() = default;
    ServerRuntime(const ServerRuntime&) = delete;
    ServerRuntime& operator=(const ServerRuntime&) = delete;
    ~ServerRuntime() { shutdown(); }

    // The orderly end: stop listening (the socket file goes), try once more to save what is unsaved, release
    // the tables. false when some database could not be saved (logged): the program then ends with status 1.
    bool shutdown();

private:
    bool ended_ = false;
    bool saved_at_end_ = true;
};

enum class StartupOutcome {
    Serving,  // the listener runs: run the event loop
    Failed,   // the failure lines are logged; no listener
    Exit,     // the user chose Exit in a dialog
};

// The first thing a server does: warns when another server runs on this computer, then marks this one as
// running.
void check_other_instance(StartupUi& ui);

// Everything from choosing the database set to listening for clients. The activity log is ui.append_log from
// here on.
StartupOutcome start_server(StartupUi& ui, ServerRuntime& runtime, const StartupOptions& options);

// An absolute form of a folder path without a trailing slash.
std::string absolute_folder(const std::string& folder);

}  // namespace stk::server
