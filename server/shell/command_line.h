// StockavelleServer [--headless] [--database-set DIR] [--server-name NAME] [--listen-tcp HOST:PORT]
//                   [--new-set DIR [--carry inventory,invoices,messages]]
// Options also take the form --option=VALUE.
#pragma once

#include <string>
#include <vector>

#include "server/shell/server_startup.h"

namespace stk::server {

inline constexpr const char* kUsage =
    "Usage: StockavelleServer [--headless] [--database-set DIR] [--server-name NAME] [--listen-tcp HOST:PORT]\n"
    "                         [--new-set DIR [--carry inventory,invoices,messages]]\n"
    "Try 'StockavelleServer --help' for more information.\n";

// What --help prints; the man page is made from it too, so its headings follow help2man's conventions.
inline constexpr const char* kHelp =
    "Usage: StockavelleServer [OPTION]...\n"
    "Keep the stock, invoices and staff messages of one database set and serve them to the Stockavelle tills.\n"
    "\n"
    "Without options the server opens its activity-log window, asks where the database set is (a folder) and\n"
    "under which server name to serve it, and then waits for the tills on this computer. One server serves one\n"
    "database set; every change is on the disk before the till is answered.\n"
    "\n"
    "Options:\n"
    "      --database-set=DIR     serve the database set in DIR without asking (DIR is made when missing)\n"
    "      --server-name=NAME     serve under NAME without asking; the name is saved in the set's settings\n"
    "      --headless             no window and no questions: the activity log goes to standard output\n"
    "      --listen-tcp=HOST:PORT\n"
    "                             also serve tills on other computers over TCP, encrypted with TLS, and only\n"
    "                             to tills that hold the shop key \"stockavelle shop key.txt\" (made in the\n"
    "                             database set on first use); use the address of the shop's own network,\n"
    "                             e.g. 192.168.1.10:47100 (47100 is the port the tills assume)\n"
    "      --new-set=DIR          make a new database set in DIR and serve it\n"
    "      --carry=LIST           with --new-set: what the new set takes over from the current one, any of\n"
    "                             inventory,invoices,messages\n"
    "      --help                 display this help and exit\n"
    "      --version              output version information and exit\n"
    "\n"
    "Options also take the form --option VALUE.\n"
    "\n"
    "Environment:\n"
    "  STOCKAVELLE_APPDATA    application-data folder, which remembers the last database set\n"
    "                         (default /var/tmp/stockavelle-appdata)\n"
    "  STOCKAVELLE_PIPE_DIR   folder of the local sockets the tills connect to (default /tmp/stockavelle-pipes)\n"
    "\n"
    "Exit status:\n"
    "  0 when the server was stopped (window closed, SIGTERM or SIGINT) with everything saved, 1 when start-up\n"
    "  failed or data could not be saved at the end, 2 when the options are wrong.\n"
    "\n"
    "Examples:\n"
    "  StockavelleServer --headless --database-set \"/var/lib/stockavelle/Database Set\"\n"
    "          serve a set without a window, as the stockavelle-server service does\n"
    "  StockavelleServer --new-set /srv/shop-2027 --carry inventory,messages\n"
    "          start a new year's set with the current stock and messages but no invoices\n"
    "\n"
    "The user manual is /usr/share/stockavelle/Documentation/documentation.html (Help > View Help in the\n"
    "Stockavelle client).\n";

struct CommandLine {
    bool show_help = false;     // --help: print kHelp and end
    bool show_version = false;  // --version: print the version and end
    bool headless = false;
    StartupOptions options;  // program_folder is the caller's to fill
    std::string error;       // not empty when the arguments are wrong
};

// `args` without the program name.
CommandLine parse_command_line(const std::vector<std::string>& args);

}  // namespace stk::server
