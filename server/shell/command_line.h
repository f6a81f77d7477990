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
    "                         [--new-set DIR [--carry inventory,invoices,messages]]\n";

struct CommandLine {
    bool headless = false;
    StartupOptions options;  // program_folder is the caller's to fill
    std::string error;       // not empty when the arguments are wrong
};

// `args` without the program name.
CommandLine parse_command_line(const std::vector<std::string>& args);

}  // namespace stk::server
