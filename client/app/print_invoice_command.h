// Printing a receipt without any window, for scripts and tests:
//   Stockavelle --data-set DIR --print-invoice N --layout NAME --pdf FILE [--paper letter|a4|80mm]
// loads invoice index N from the data set's server and writes its receipt, drawn with
// "Receipt Layouts/NAME.txt", into the PDF file FILE.
#pragma once

#include <QString>
#include <QStringList>

namespace stk::client {

struct PrintInvoiceOptions {
    bool requested = false;  // --print-invoice was given
    QString data_set;
    int invoice_index = 0;
    QString layout;  // the layout's name, as the picker lists it
    QString pdf;
    QString paper;  // "" for the paper of the system's measurement system (Letter or A4)
};

// True when the arguments (after the program name) ask for a print; no window should then be shown.
bool asks_for_print(const QStringList& arguments);

// Reads the options; false with a sentence in *error when one is missing or malformed.
bool parse_print_invoice(const QStringList& arguments, PrintInvoiceOptions* options, QString* error);

// Writes the PDF. 0 on success; 1 with a sentence in *error when the layout, the server, the invoice or the
// file cannot be had.
int run_print_invoice(const PrintInvoiceOptions& options, QString* error);

}  // namespace stk::client
