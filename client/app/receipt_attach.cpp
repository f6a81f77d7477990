#include "client/app/receipt_attach.h"

#include <QComboBox>

#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/invoice/invoice_workspace.h"
#include "client/main_window/main_window.h"
#include "client/receipts/receipt_printing.h"
#include "client/ui/control_ids.h"
#include "client/ui/file_picker.h"
#include "client/ui/text_1252.h"
#include "common/dates.h"
#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

constexpr double kDefaultRowHeight = 0.14;

void print_with(MainWindow& window, const QString& path) {
    print_receipt(&window, path, session().receipt_elements, receipt_content(window));
}

// The picker "Select a Layout" over the data set's "Receipt Layouts"; activating a layout closes it. "" when the
// user closed it without one.
QString choose_layout(MainWindow& window) {
    return run_file_picker(&window, session().data_set, ids::kMenuPrint, [](const QString&) { return true; });
}

}  // namespace

ReceiptContent receipt_content(const ClientSettings& settings, const InvoiceRecord& invoice) {
    ReceiptContent c;
    c.invoice = invoice;
    c.company.name = field(settings.company_name);
    c.company.address = field(settings.address);
    c.company.city = field(settings.city);
    c.company.state = field(settings.state);
    c.company.zip_code = field(settings.zip_code);
    c.company.phone_number = field(settings.phone_number);
    c.payment_terms = payment_terms_of(invoice);
    c.current_date = today();
    c.row_height = number_or(field(settings.row_height), kDefaultRowHeight);
    return c;
}

ReceiptContent receipt_content(MainWindow& window) {
    const InvoiceWorkspace* invoice = sale_workspace(window).invoice;
    ReceiptContent c = receipt_content(session().settings, invoice ? invoice->copy() : InvoiceRecord{});
    // The first entry ("UNPAID") prints no terms.
    const QComboBox* payment = window.payment_list();
    c.payment_terms = payment && payment->currentIndex() > 0 ? to_1252(payment->currentText()) : std::string();
    return c;
}

QString layout_path(const QString& name) {
    return session().data_set_file(QStringLiteral("Receipt Layouts/") + name + QStringLiteral(".txt"));
}

void attach_receipts(MainWindow& window) {
    window.on_print_invoice = [&window] { print_with(window, session().default_layout_path); };
    window.set_command_handler(ids::kMenuPrint, [&window] {
        const QString layout = choose_layout(window);
        if (!layout.isEmpty()) print_with(window, layout);
    });
    window.set_command_handler(ids::kMenuPrintPreview, [&window] {
        const QString layout = choose_layout(window);
        if (!layout.isEmpty()) preview_receipt(&window, layout, session().receipt_elements, receipt_content(window));
    });
}

}  // namespace stk::client
