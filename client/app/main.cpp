#include <QApplication>
#include <clocale>
#include <cstdio>

#include "client/app/contacts_attach.h"
#include "client/app/help_text.h"
#include "client/app/invoices_attach.h"
#include "client/app/messages_attach.h"
#include "client/app/print_invoice_command.h"
#include "client/app/receipt_attach.h"
#include "client/app/reports_attach.h"
#include "client/app/sale_attach.h"
#include "client/app/session_attach.h"
#include "client/app/startup.h"
#include "client/main_window/main_window.h"
#include "platform/program_files.h"
#include "stockavelle_version.h"

namespace {

// --print-invoice: the receipt as a PDF, with no window and no dialog.
int print_invoice(const QStringList& arguments) {
    stk::client::PrintInvoiceOptions options;
    QString error;
    int status = 1;
    if (stk::client::parse_print_invoice(arguments, &options, &error))
        status = stk::client::run_print_invoice(options, &error);
    if (status != 0) std::fprintf(stderr, "Stockavelle: %s\n", qPrintable(error));
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList raw;
    for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    // Answered before Qt starts, so they work without a display.
    if (raw.contains(QStringLiteral("--help")) || raw.contains(QStringLiteral("--version"))) {
        std::fputs(raw.contains(QStringLiteral("--help")) ? stk::client::kHelp
                                                          : "Stockavelle (Stockavelle) " STOCKAVELLE_VERSION "\n",
                   stdout);
        return 0;
    }
    const bool print_only = stk::client::asks_for_print(raw);
    // Printing to a file needs fonts but no screen, so scripts can run it where there is no display.
    if (print_only && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    // QApplication took the user's locale; record numbers are written and read in the "C" form.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Stockavelle"));
    if (print_only) return print_invoice(QApplication::arguments().mid(1));

    stk::client::StartupOptions options = stk::client::parse_command_line(QApplication::arguments().mid(1));
    options.program_folder = QApplication::applicationDirPath();
    options.files_folder = QString::fromStdString(
        stk::platform::program_files_folder(QApplication::applicationDirPath().toLocal8Bit().toStdString()));

    stk::client::MainWindow window;
    stk::client::attach_session(window);
    stk::client::attach_invoices_window(window);
    stk::client::attach_reports(window);
    window.show();
    const auto attach_windows = [&window] {
        stk::client::attach_sale(window);
        stk::client::attach_receipts(window);
        stk::client::attach_contacts(window);
        stk::client::attach_messages(window);
    };
    if (!stk::client::run_startup(window, options, attach_windows)) return 0;
    return app.exec();
}
