#include "client/app/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringList>

#include "client/app/data_set.h"
#include "client/app/session.h"
#include "client/app/startup_dialogs.h"
#include "client/app/wait_dialog.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/shell_open.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "platform/instance_lock.h"

namespace stk::client {

StartupOptions parse_command_line(const QStringList& arguments) {
    StartupOptions options;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QStringLiteral("--data-set") && i + 1 < arguments.size()) {
            options.data_set = arguments[++i];
        } else if (a.startsWith(QStringLiteral("--data-set="))) {
            options.data_set = a.mid(11);
        }
    }
    return options;
}

bool start_local_server_if_needed(MainWindow* window) {
    ClientSession& s = session();
    if (s.settings.remote() || platform::server_instance_running()) return false;
    show_string(window, str::kServerMustRun, MsgIcon::Information);
    // The launch is not checked: the first request waits for the server in the "Attempting to connect" dialog.
    shell_start(s.server_path);
    return true;
}

namespace {

void end_startup(MainWindow& window) {
    session().exit_requested = true;
    window.close();
}

// No invoice to show: string 37, and the program ends. Always false.
bool fail_startup(MainWindow& window) {
    show_string(&window, str::kCheckServer, MsgIcon::Information);
    end_startup(window);
    return false;
}

}  // namespace

bool run_startup(MainWindow& window, const StartupOptions& options, const std::function<void()>& attach) {
    ClientSession& s = session();
    s.main_window = &window;
    s.program_folder = options.program_folder;
    s.files_folder = options.files_folder.isEmpty() ? options.program_folder : options.files_folder;

    const bool fixed_data_set = !options.data_set.isEmpty();
    if (fixed_data_set) {
        const QString folder = QDir::cleanPath(QDir(options.data_set).absolutePath());
        if (!QFileInfo(folder + QStringLiteral("/stockavelle client settings.txt")).exists()) {
            QDir().mkpath(folder);
            make_data_set(folder, s.files_folder);
        }
        s.data_set = folder;
    } else {
        QString chosen;
        if (choose_data_set(&window, s.files_folder, &chosen) == DataSetOutcome::Exit) {
            end_startup(window);
            return false;
        }
        s.data_set = chosen;
    }

    if (!load_settings(&window)) {
        end_startup(window);
        return false;
    }
    window.edit(ids::kTaxPercent)->setText(field_text(s.settings.tax_percentage));
    if (!run_company_dialog(&window)) {
        end_startup(window);
        return false;
    }
    if (!fixed_data_set) write_pointer_file(s.data_set);
    install_wait_dialog(s.api, &s.settings);
    start_local_server_if_needed(&window);
    load_contacts(QFile::encodeName(s.contacts_path).toStdString(), s.contacts, &window);
    if (attach) attach();

    // A count that did not come is no count of 0: making a first invoice from it would add one to a shop
    // that has many. Neither is an invoice that cannot be shown a workspace to sell on.
    int count = 0;
    if (s.api.get_invoice_count(&count) != RESULT_OK) return fail_startup(window);
    if (count > 0) {
        if (!window.on_load_invoice) return true;
        return window.on_load_invoice(count) == 1 || fail_startup(window);
    }
    if (!window.on_new_invoice) return true;
    if (window.on_new_invoice() != 1) return fail_startup(window);
    show_string(&window, str::kEnterFirstInvoiceNumber, MsgIcon::Information);
    window.edit(ids::kInvoiceNumber)->setFocus();
    return true;
}

}  // namespace stk::client
