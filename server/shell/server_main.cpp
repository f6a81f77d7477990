#include "server/shell/server_main.h"

#include <unistd.h>

#include <QCoreApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "platform/freed_memory.h"
#include "platform/program_files.h"
#include "server/shell/headless_ui.h"
#include "server/shell/quit_signals.h"
#include "server/shell/server_startup.h"
#include "stockavelle_version.h"

namespace stk::server {

namespace {

// Tests shorten the time a client has to deliver its request and to take its answer.
int stall_timeout_from_environment() {
    const char* v = std::getenv("STOCKAVELLE_STALL_TIMEOUT_MS");
    double ms = 0.0;
    if (v && stk::is_number(v, &ms) && ms >= 1 && ms <= 3600000) return static_cast<int>(ms);
    return kDefaultStallTimeoutMs;
}

}  // namespace

std::optional<int> read_command_line(int argc, char** argv, CommandLine* cl) {
    std::vector<std::string> args(argv + 1, argv + argc);
    *cl = parse_command_line(args);
    if (cl->show_help || cl->show_version) {
        std::fputs(cl->show_help ? kHelp : "StockavelleServer (Stockavelle) " STOCKAVELLE_VERSION "\n", stdout);
        return 0;
    }
    if (!cl->error.empty()) {
        std::fputs(("StockavelleServer: " + cl->error + "\n" + kUsage).c_str(), stderr);
        return 2;
    }
    cl->options.stall_timeout_ms = stall_timeout_from_environment();
    platform::keep_freed_memory_for_reuse();
    return std::nullopt;
}

std::string program_files_folder() {
    std::string folder = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
    // Installed, the window program sits in <prefix>/lib/stockavelle and finds its files where bin's are.
    const std::string private_folder = "/lib/stockavelle";
    if (folder.size() > private_folder.size() && folder.ends_with(private_folder)) {
        folder = std::filesystem::path(folder + "/../../bin").lexically_normal().string();
    }
    return platform::program_files_folder(folder);
}

std::string window_program(const std::string& executable_folder) {
    for (const char* relative : {"/StockavelleServerWindow", "/../lib/stockavelle/StockavelleServerWindow"}) {
        const std::string path = executable_folder + relative;
        if (::access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}

int run_headless(int argc, char** argv, CommandLine& cl) {
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quit_on_termination_signals(app);
    cl.options.program_folder = program_files_folder();

    HeadlessUi ui;
    check_other_instance(ui);
    ServerRuntime runtime;
    switch (start_server(ui, runtime, cl.options)) {
    case StartupOutcome::Serving:
        break;
    case StartupOutcome::Failed:
        return 1;
    case StartupOutcome::Exit:
        return 0;
    }
    app.exec();
    return runtime.shutdown() ? 0 : 1;
}

}  // namespace stk::server
