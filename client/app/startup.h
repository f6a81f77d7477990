// Start-up of the client after its main window is shown: data set, settings, company dialog, the local
// server, contacts and the first invoice.
#pragma once

#include <QString>
#include <functional>

namespace stk::client {

class MainWindow;

struct StartupOptions {
    // --data-set DIR: this data set for this run, without dialog 145 (made a new data set when it holds no
    // settings file) and without remembering it in the pointer file.
    QString data_set;
    // The folder of the running program (the server program is started from there).
    QString program_folder;
    // The folder of the templates, style sheets and Documentation; program_folder when empty.
    QString files_folder;
};

// Reads the command line (arguments after the program name).
StartupOptions parse_command_line(const QStringList& arguments);

// Runs every start-up step. `attach` runs once the settings are known and before the first request, to put
// the invoice and inventory behaviour onto the window. false when the program is to end (exit requested,
// no memory, or no invoice could be shown); the main window has then been closed.
bool run_startup(MainWindow& window, const StartupOptions& options, const std::function<void()>& attach = {});

// The local-server step alone: when not remote and no server runs, string 43 and start the server program.
// true when it started one.
bool start_local_server_if_needed(MainWindow* window);

}  // namespace stk::client
