// Replacing one invoice line with what the Invoice Item dialog built.
#include <cstring>

#include "client/inventory/inventory_pane.h"
#include "client/invoice/invoice_workspace.h"
#include "client/ui/strings.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

int InvoiceWorkspace::replace_line(int line, const InvoiceLine& new_line, QWidget* message_owner) {
    if (line < 1 || line > copy_.line_count || line > kMaxInvoiceLines) return 0;
    note(REPLACE_INVOICE_ITEM, field(new_line.item_number));
    const int r = api_.replace_invoice_item(index_, line, copy_, new_line);
    if (r == RESULT_OK) {
        // The server stores the line as sent, so the copy stays equal to its record.
        std::memcpy(&copy_.lines[line - 1], &new_line, sizeof new_line);
        const std::string item_number(field(new_line.item_number));
        if (inventory_ && !item_number.empty()) inventory_->refresh_row(item_number, item_number);
        lines_model_.row_changed(line - 1);
        show_totals(true);
        return 1;
    }
    if (r == RESULT_CHANGED) show_string(message_owner, str::kInvoiceModified, MsgIcon::Information);
    // Refused, written only in memory, or no answer: what the server holds now is what the screen shows.
    reload();
    return 0;
}

}  // namespace stk::client
