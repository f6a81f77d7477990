// Replacing one invoice line with what the Invoice Item dialog built.
#include <cstring>

#include "client/inventory/inventory_pane.h"
#include "client/invoice/invoice_workspace.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

int InvoiceWorkspace::replace_line(int line, const InvoiceLine& new_line, QWidget* message_owner) {
    if (line < 1 || line > copy_.line_count || line > kMaxInvoiceLines) return 0;
    // The dialog showed the line of this copy: after a change whose answer never came, a reloaded invoice that
    // differs is shown for the user to look at again rather than written over.
    if (!ready_for_change(false)) return 0;
    note(REPLACE_INVOICE_ITEM, field(new_line.item_number));
    const int r = api_.replace_invoice_item(index_, line, copy_, new_line);
    if (r == RESULT_OK) {
        // The server stores the line as sent, so the copy stays equal to its record.
        std::memcpy(&copy_.lines[line - 1], &new_line, sizeof new_line);
        lines_model_.row_changed(line - 1);
        show_totals(true);
    } else if (!settle_change(r, message_owner)) {
        if (r != RESULT_CHANGED && r != kTransportFailed) reload();  // refused: show what is stored
        return 0;
    }
    // Stock moved with the line, also when the server could not save it.
    const std::string item_number(field(new_line.item_number));
    if (inventory_ && !item_number.empty()) inventory_->refresh_row(item_number, item_number);
    return 1;
}

}  // namespace stk::client
