// StockavelleServer: --headless for services, scripts and tests; a run with its window is handed to
// StockavelleServerWindow, with the same command line.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "server/shell/server_main.h"

using namespace stk::server;

namespace {

int run_window_program(char** argv) {
    std::error_code ec;
    const std::filesystem::path me = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string window = ec ? std::string() : window_program(me.parent_path().string());
    if (window.empty()) {
        std::fputs("StockavelleServer: the window program StockavelleServerWindow is not installed beside this one; "
                   "run with --headless, or install it\n",
                   stderr);
        return 1;
    }
    ::execv(window.c_str(), argv);
    std::fprintf(stderr, "StockavelleServer: cannot start %s: %s\n", window.c_str(), std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine cl;
    if (const auto status = read_command_line(argc, argv, &cl)) return *status;
    if (!cl.headless) return run_window_program(argv);
    return run_headless(argc, argv, cl);
}
