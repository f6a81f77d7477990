// What both server programs do with their command line, and a headless run. StockavelleServer is this alone and
// hands a run with a window to StockavelleServerWindow, so that a service never loads the widget libraries
// (they were half of the start-up of a server on an empty set).
#pragma once

#include <optional>
#include <string>

#include "server/shell/command_line.h"

namespace stk::server {

// The command line read, and --help, --version and mistakes answered: an exit status then, else nullopt and
// *cl ready for a run.
std::optional<int> read_command_line(int argc, char** argv, CommandLine* cl);

// Serves without a window until a termination signal.
int run_headless(int argc, char** argv, CommandLine& cl);

// "default server settings.txt" is beside the program in a build tree, in ../share/stockavelle when installed.
// Needs the application object.
std::string program_files_folder();

// The window program: beside this one in a build tree, in ../lib/stockavelle when installed; "" when neither
// holds it.
std::string window_program(const std::string& executable_folder);

}  // namespace stk::server
