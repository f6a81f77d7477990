#include "client/app/reports_attach.h"

#include <memory>

#include "client/app/session.h"
#include "client/main_window/main_window.h"
#include "client/reports/report_runner.h"
#include "client/reports/suggested_order_dialog.h"
#include "client/ui/control_ids.h"
#include "common/protocol.h"

namespace stk::client {

void attach_reports(MainWindow& window) {
    window.set_command_handler(ids::kMenuSalesReport, [&window] {
        run_report(&window, session().api, SALES_REPORT, session().sales_report_path);
    });
    window.set_command_handler(ids::kMenuNonInventorySalesReport, [&window] {
        run_report(&window, session().api, NON_INVENTORY_SALES_REPORT, session().non_inventory_sales_report_path);
    });
    // The category and order value of the last suggested order, kept for the next one.
    auto last = std::make_shared<SuggestedOrderInputs>();
    window.set_command_handler(ids::kMenuSuggestedOrderReport, [&window, last] {
        if (!ask_suggested_order(&window, last.get())) return;
        run_report(&window, session().api, SUGGESTED_ORDER_REPORT, session().suggested_order_report_path,
                   {last->category, last->order_value});
    });
}

}  // namespace stk::client
