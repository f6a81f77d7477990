// Process-wide state of the client: where its data set and program are, its settings, its request layer and
// its reserved arrays. One instance, reached through session().
#pragma once

#include <QRect>
#include <QString>
#include <memory>

#include "client/api/server_api.h"
#include "client/app/client_settings.h"
#include "client/contacts/contacts.h"
#include "client/invoices_window/invoice_row.h"
#include "client/receipts/receipt_layout.h"
#include "client/ui/reserved_array.h"
#include "common/records.h"

namespace stk::client {

class MainWindow;

inline constexpr int kMaxMessages = 10000;

struct ClientSession {
    QString program_folder;  // folder of the running program, no trailing separator
    // Folder of the files the program reads beside itself (templates, style sheets, Documentation): the
    // program's folder in a build tree, ../share/stockavelle when installed. No trailing separator.
    QString files_folder;
    QString data_set;        // the data set chosen at start, no trailing separator

    // Paths derived from the two folders (filled by load_settings).
    QString settings_path;
    QString help_path;
    QString server_path;
    QString contacts_path;
    QString default_layout_path;
    QString sales_report_path;
    QString non_inventory_sales_report_path;
    QString suggested_order_report_path;

    ClientSettings settings;
    bool exit_requested = false;

    // The request layer, addressed from the settings when dialog 137 is confirmed.
    ServerApi api{ServerAddress{}, std::string{}};

    ContactTable contacts;
    // The Contacts window's search text, kept from one opening to the next.
    QString contact_search;
    ReservedArray<InvoiceRow> invoice_results;
    ReservedArray<InventoryRecord> inventory_results;
    ReservedArray<MessageRecord> messages;
    ReservedArray<std::int32_t> history;
    ReceiptLayout receipt_elements;  // filled anew by every print

    MainWindow* main_window = nullptr;
    // Where the Invoices window opens and what it leaves behind when it closes: 790 x 400 centred on the
    // screen when the main window is built.
    QRect invoices_window_placement;

    // The data-set folder + relative path ("Reports/sales report.xml" etc.).
    QString data_set_file(const QString& relative) const;
    // Reserves the six arrays from the capacities in `settings`; false when one cannot be reserved.
    bool reserve_arrays();
    void release_arrays();
    // Back to the state before start-up (tests run several start-ups in one process).
    void reset();
    // Points the request layer at the configured server and client name.
    void apply_connection_settings();
};

ClientSession& session();

}  // namespace stk::client
