// Received stock goes to waiting customers first: the backorder fill walks the invoices that hold a backordered
// line of an item, shows each such line in the main window and, when the user agrees, lets it take its share.
#pragma once

#include <functional>

#include "client/ui/sale_context.h"

class QWidget;

namespace stk::client {

// What the walk needs of the invoice workspace. It cannot reach the workspace itself (the invoice folder
// builds on this one), so client/app hands these in.
struct BackorderDesk {
    // Loads invoice `index` into the main window, recording it in the history, and selects, focuses and
    // scrolls to line `line` (1-based). false when the invoice could not be loaded.
    std::function<bool(int index, int line)> show_line;
    // FILL_BACKORDER for that line of the shown invoice, with the workspace's own failure messages. Returns
    // the answer's result (kTransportFailed when none came); *applied receives the quantity the server took.
    std::function<int(int index, int line, const InvoiceLine& offered, double* applied)> fill;
    // Loads the shown invoice again (not recorded in the history).
    std::function<void()> reload;
};

// Offers `offer.quantity` units of `offer.item_number` to the backordered lines, invoice by invoice, asking
// string 24 (owned by `owner`) for each. Returns the total quantity the backorders took. A line that takes
// nothing (refused, or the server applied 0) is passed by, so the walk cannot ask about it again and again; a
// fill the server made in memory but could not write (result 4) counts as taken.
double fill_backorders(ServerApi& api, const BackorderDesk& desk, QWidget* owner, const InvoiceLine& offer,
                       const RequestObserver& on_request = {});

}  // namespace stk::client
