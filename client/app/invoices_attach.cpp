#include "client/app/invoices_attach.h"

#include <QTreeView>
#include <memory>

#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/invoice/invoice_workspace.h"
#include "client/invoices_window/invoices_window.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"

namespace stk::client {

InvoicesWindowContext invoices_window_context(MainWindow& window, InvoicesWindowMemory& memory) {
    ClientSession& s = session();
    InvoicesWindowContext c;
    c.api = &s.api;
    c.rows = &s.invoice_results;
    c.memory = &memory;
    c.placement = &s.invoices_window_placement;
    c.font = window.client_area()->font();
    c.current_invoice = [&window] {
        InvoiceWorkspace* invoice = sale_workspace(window).invoice;
        return invoice ? invoice->current_index() : 0;
    };
    c.open_invoice = [&window](int index, int line) -> const InvoiceRecord* {
        InvoiceWorkspace* invoice = sale_workspace(window).invoice;
        if (!invoice || invoice->load_invoice(index, true) != 1) return nullptr;
        QTreeView* lines = window.invoice_lines();
        const QModelIndex row = lines->model()->index(line - 1, 0);
        if (row.isValid()) {
            lines->setCurrentIndex(row);
            lines->scrollTo(row);
        }
        return &invoice->copy();
    };
    return c;
}

void attach_invoices_window(MainWindow& window) {
    // Remembered between openings for the life of the window (the search text, the check box, the sort column).
    auto memory = std::make_shared<InvoicesWindowMemory>();
    auto open = [&window, memory] { open_invoices_window(&window, invoices_window_context(window, *memory)); };
    window.on_invoices_window = open;
    window.set_command_handler(ids::kMenuInvoices, open);
}

}  // namespace stk::client
