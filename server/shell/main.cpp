// StockavelleServer: the window build by default, or --headless for services, scripts and tests.
#include <QApplication>
#include <QCoreApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "platform/freed_memory.h"
#include "platform/program_files.h"
#include "server/shell/command_line.h"
#include "server/shell/headless_ui.h"
#include "server/shell/quit_signals.h"
#include "server/shell/server_startup.h"
#include "stockavelle_version.h"

#if __has_include("server/shell/qt_startup_ui.h") && __has_include("server/shell/server_window.h")
#include "server/shell/qt_startup_ui.h"
#include "server/shell/server_window.h"
#define STK_HAVE_SERVER_WINDOW 1
#endif

using namespace stk::server;

namespace {

// Tests shorten the time a client has to deliver its request and to take its answer.
int stall_timeout_from_environment() {
    const char* v = std::getenv("STOCKAVELLE_STALL_TIMEOUT_MS");
    double ms = 0.0;
    if (v && stk::is_number(v, &ms) && ms >= 1 && ms <= 3600000) return static_cast<int>(ms);
    return kDefaultStallTimeoutMs;
}

// "default server settings.txt" is beside the program in a build tree, in ../share/stockavelle when installed.
std::string program_files_folder() {
    return stk::platform::program_files_folder(QCoreApplication::applicationDirPath().toLocal8Bit().toStdString());
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

#ifdef STK_HAVE_SERVER_WINDOW
int run_window(int argc, char** argv, CommandLine& cl) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // QApplication took the user's locale; record numbers need "C"
    quit_on_termination_signals(app);
    cl.options.program_folder = program_files_folder();

    ServerWindow window;
    QtStartupUi ui(&window);
    check_other_instance(ui);
    QObject::connect(&window, &ServerWindow::closed, &app, &QCoreApplication::quit);
    window.show();

    ServerRuntime runtime;
    if (start_server(ui, runtime, cl.options) == StartupOutcome::Exit) {
        runtime.shutdown();
        return 0;
    }
    // Serving, or failed with the log left open to be read: either way until the window closes.
    app.exec();
    // The window is closing: what the last save attempt logs must still reach someone.
    runtime.db.log = [&window](std::string_view text) {
        window.append_log(text);
        std::fwrite(text.data(), 1, text.size(), stderr);
    };
    return runtime.shutdown() ? 0 : 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl = parse_command_line(args);
    if (cl.show_help || cl.show_version) {
        std::fputs(cl.show_help ? kHelp : "StockavelleServer (Stockavelle) " STOCKAVELLE_VERSION "\n", stdout);
        return 0;
    }
    if (!cl.error.empty()) {
        std::fputs(("StockavelleServer: " + cl.error + "\n" + kUsage).c_str(), stderr);
        return 2;
    }
    cl.options.stall_timeout_ms = stall_timeout_from_environment();
    stk::platform::keep_freed_memory_for_reuse();
#ifdef STK_HAVE_SERVER_WINDOW
    if (!cl.headless) return run_window(argc, argv, cl);
#endif
    return run_headless(argc, argv, cl);
}
