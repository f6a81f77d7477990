#include "client/inventory/backorder_fill.h"

#include "client/ui/strings.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

double fill_backorders(ServerApi& api, const BackorderDesk& desk, QWidget* owner, const InvoiceLine& offer,
                       const RequestObserver& on_request) {
    double remaining = 0;
    if (!is_number(field(offer.quantity), &remaining) || remaining < 0.0001) return 0;
    InvoiceLine offered = offer;
    const std::string item_number(field(offer.item_number));
    double total_applied = 0;
    int start = 0;
    do {
        int index = 0;
        int line = 0;
        if (on_request) on_request(FIND_BACKORDER, item_number);
        api.find_backorder(item_number, start, &index, &line);
        if (index == 0) break;
        // An invoice that cannot be shown cannot be filled either: its copy would be the wrong one.
        if (!desk.show_line || !desk.show_line(index, line)) {
            start = index + 1;
            continue;
        }
        if (!ask_string(owner, str::kUpdateBackorder, false)) {
            start = index + 1;
            continue;
        }
        double applied = 0;
        const int result = desk.fill ? desk.fill(index, line, offered, &applied) : kTransportFailed;
        if (result == RESULT_OK && desk.reload) desk.reload();
        // A fill whose file write failed still took its share in the server's memory (the workspace has told
        // the user and shown it): the stock is gone, so the offer shrinks as after a success. Offering it
        // again would let the next customer take stock that no longer exists.
        const bool took = result == RESULT_OK || result == RESULT_SAVE_FAILED;
        if (took) {
            remaining -= applied;
            total_applied += applied;
            set_field(offered.quantity, format_g(remaining));
        }
        // The server finds the first backordered line of an invoice; a line that took nothing would be found
        // again at once, so the walk goes on with the next invoice. An invoice whose line took its share is
        // searched again for its next backordered line of the item.
        start = (took && applied > 0) ? index : index + 1;
    } while (remaining > 0.00001);
    return total_applied;
}

}  // namespace stk::client
