// What start-up asks of the user. The window build answers with dialogs; the headless build answers from the
// command line and writes the log to standard output. Start-up itself never touches widgets.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "server/db/database.h"

namespace stk::server {

inline constexpr const char* kAnotherInstanceMessage =
    "Another instance of Stockavelle Server is running on this computer. When running multiple instances on one "
    "computer, each instance must have a unique name. Multiple instances must not share databases.";

struct NewSetChoice {
    bool create = false;  // the new-set flag
    bool carry_inventory = false;
    bool carry_invoices = false;
    bool carry_messages = false;
    DatabasePaths source;  // the set that was current when a new one was asked for
};

struct LocationChoice {
    bool exit = false;   // the user pressed Exit: end the program
    std::string folder;  // the database-set folder ("" when none was chosen)
    NewSetChoice new_set;
};

enum class ServerNameOutcome {
    Start,   // Start Server pressed; `name` holds the text typed
    Exit,    // Exit pressed: end the program
    Closed,  // closed from the title bar: go on without saving or renaming
};

class StartupUi {
public:
    virtual ~StartupUi() = default;

    // Appends text (with its own "\r\n") to the activity log.
    virtual void append_log(std::string_view text) = 0;
    // The warning that another server already runs on this computer (kAnotherInstanceMessage).
    virtual void warn_another_instance() = 0;
    // The location dialog with the new-set dialog and the folder browser. `pointer_folder` is what the pointer
    // file gave (nullopt on a first run).
    virtual LocationChoice ask_location(const std::optional<std::string>& pointer_folder) = 0;
    // The server-name dialog, filled with `name`.
    virtual ServerNameOutcome ask_server_name(std::string& name) = 0;
    // The save-with-retry box: true for Retry, false for Cancel.
    virtual bool ask_retry(std::string_view failure_text) = 0;
    virtual void set_title(std::string_view title) = 0;
};

}  // namespace stk::server
