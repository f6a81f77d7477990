// StockavelleServerWindow: the server with its window, started by StockavelleServer (or --headless, as that one).
#include <QApplication>
#include <clocale>
#include <cstdio>
#include <string_view>

#include "server/shell/qt_startup_ui.h"
#include "server/shell/quit_signals.h"
#include "server/shell/server_main.h"
#include "server/shell/server_startup.h"
#include "server/shell/server_window.h"

using namespace stk::server;

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    CommandLine cl;
    if (const auto status = read_command_line(argc, argv, &cl)) return *status;
    if (cl.headless) return run_headless(argc, argv, cl);
    return run_window(argc, argv, cl);
}
