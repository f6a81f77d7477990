#include "client/app/print_invoice_command.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPageLayout>

#include "client/api/server_api.h"
#include "client/app/client_settings.h"
#include "client/app/receipt_attach.h"
#include "client/receipts/receipt_printing.h"
#include "client/ui/strings.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

const QString kPrintOption = QStringLiteral("--print-invoice");

// The value after `name`, or after "name=".
bool option_value(const QStringList& arguments, int* i, const QString& name, QString* value) {
    const QString& a = arguments[*i];
    if (a == name && *i + 1 < arguments.size()) {
        *value = arguments[++*i];
        return true;
    }
    if (a.startsWith(name + QLatin1Char('='))) {
        *value = a.mid(name.size() + 1);
        return true;
    }
    return false;
}

ReceiptPaper default_paper() {
    return QLocale::system().measurementSystem() == QLocale::MetricSystem ? ReceiptPaper::A4 : ReceiptPaper::Letter;
}

ServerApi api_for(const ClientSettings& settings) {
    ServerAddress address;
    address.server_name =
        field_empty(settings.server_name) ? std::string(kDefaultServerName) : std::string(field(settings.server_name));
    if (settings.remote()) address.remote_computer = std::string(field(settings.remote_computer_name));
    const std::string client =
        field_empty(settings.client_name) ? std::string(kDefaultClientName) : std::string(field(settings.client_name));
    return ServerApi(std::move(address), client);
}

}  // namespace

bool asks_for_print(const QStringList& arguments) {
    for (const QString& a : arguments)
        if (a == kPrintOption || a.startsWith(kPrintOption + QLatin1Char('='))) return true;
    return false;
}

bool parse_print_invoice(const QStringList& arguments, PrintInvoiceOptions* o, QString* error) {
    QString index;
    for (int i = 0; i < arguments.size(); ++i) {
        if (option_value(arguments, &i, kPrintOption, &index)) {
            o->requested = true;
        } else if (!option_value(arguments, &i, QStringLiteral("--data-set"), &o->data_set) &&
                   !option_value(arguments, &i, QStringLiteral("--layout"), &o->layout) &&
                   !option_value(arguments, &i, QStringLiteral("--pdf"), &o->pdf) &&
                   !option_value(arguments, &i, QStringLiteral("--paper"), &o->paper)) {
            *error = QStringLiteral("Unknown option: ") + arguments[i];
            return false;
        }
    }
    bool number = false;
    o->invoice_index = index.toInt(&number);
    if (!number || o->invoice_index < 1) {
        *error = QStringLiteral("--print-invoice needs an invoice index of 1 or more.");
    } else if (o->data_set.isEmpty() || o->layout.isEmpty() || o->pdf.isEmpty()) {
        *error = QStringLiteral("--print-invoice needs --data-set DIR, --layout NAME and --pdf FILE.");
    } else if (ReceiptPaper paper; !o->paper.isEmpty() && !parse_receipt_paper(o->paper, &paper)) {
        *error = QStringLiteral("--paper is letter, a4 or 80mm.");
    } else {
        return true;
    }
    return false;
}

int run_print_invoice(const PrintInvoiceOptions& o, QString* error) {
    const QString data_set = QDir::cleanPath(QDir(o.data_set).absolutePath());
    ClientSettings settings;
    read_settings_file(QFile::encodeName(data_set + QStringLiteral("/stockavelle client settings.txt")).toStdString(),
                       settings);

    const QString layout = data_set + QStringLiteral("/Receipt Layouts/") + o.layout + QStringLiteral(".txt");
    ReceiptLayout table;
    if (!table.reserve(kMaxReceiptElements) || !load_layout(layout, table)) {
        *error = string_text(str::kCannotOpenLayout) + QLatin1Char('\n') + layout;
        return 1;
    }

    ServerApi api = api_for(settings);
    InvoiceRecord invoice{};
    const int result = api.get_invoice(o.invoice_index, &invoice);
    if (result == kTransportFailed) {
        *error = QStringLiteral("Stockavelle Server \"%1\" cannot be reached.")
                     .arg(QString::fromStdString(api.address().server_name));
        return 1;
    }
    if (result != RESULT_OK) {
        *error = QStringLiteral("Stockavelle Server has no invoice %1.").arg(o.invoice_index);
        return 1;
    }

    ReceiptPaper paper = default_paper();
    if (!o.paper.isEmpty()) parse_receipt_paper(o.paper, &paper);
    const QPageLayout page = receipt_page_layout(paper, elements(table));
    if (!write_receipt_pdf(o.pdf, page, elements(table), receipt_content(settings, invoice), error)) return 1;
    return 0;
}

}  // namespace stk::client
