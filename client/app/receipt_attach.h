// Puts receipt printing onto the main window: toolbar button 6 prints the current invoice with the data set's
// "Receipt Layouts/Default Layout.txt"; File > "&Print..." and File > "Print Preview..." with a layout chosen
// in the picker. Every print reads its layout anew into the session's element table.
#pragma once

#include <QString>

#include "client/app/client_settings.h"
#include "client/receipts/receipt_fields.h"

namespace stk::client {

class MainWindow;

void attach_receipts(MainWindow& window);

// A receipt of `invoice` with the company details and RowHeight (0.14 when it is not a number) of `settings`;
// the payment terms are the word of the invoice's payment code.
ReceiptContent receipt_content(const ClientSettings& settings, const InvoiceRecord& invoice);

// A receipt of the window's current invoice with the session's settings; the payment terms are the entry
// selected in the window's payment list.
ReceiptContent receipt_content(MainWindow& window);

// "Receipt Layouts/<name>.txt" of the session's data set.
QString layout_path(const QString& name);

}  // namespace stk::client
