#include "client/inventory/price_update.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <string>
#include <vector>

#include "client/inventory/inventory_item_dialog.h"
#include "client/inventory/inventory_item_editor.h"
#include "client/inventory/inventory_pane.h"
#include "client/price_files/price_file.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

// The item numbers of the selected rows, in list order. Taken once, before the first dialog: a dialog that
// searches the list again (another till changed the item meanwhile) reorders the rows and clears the
// selection, and the walk is to go on with the items the user chose rather than with whatever rows show now.
std::vector<std::string> selected_items(const PriceUpdate& update) {
    std::vector<std::string> items;
    QItemSelectionModel* selection = update.list ? update.list->selectionModel() : nullptr;
    if (!selection) return items;
    const int rows = update.list->model()->rowCount();
    for (int r = 0; r < rows; ++r)
        if (selection->isRowSelected(r, {})) items.emplace_back(update.pane.model().cell(r, 0));
    return items;
}

}  // namespace

int update_prices(const PriceUpdate& update, const QString& path, bool with_descriptions) {
    int ticked = 0;
    for (const std::string& item_number : selected_items(update)) {
        InventoryRecord stored{};
        if (update.on_request) update.on_request(GET_INVENTORY_ITEM, item_number);
        if (update.api.get_inventory_item(item_number, &stored) != RESULT_OK) continue;
        InvoiceLine match{};
        if (look_up_price(path, item_number, update.tax_percent, &match) != 1 || field_empty(match.description))
            continue;
        InventoryRecord edited = stored;
        set_field(edited.unit_price, field(match.unit_price));
        set_field(edited.standard_unit_cost, field(match.unit_cost));
        if (with_descriptions) {
            set_field(edited.description, field(match.description));
            set_field(edited.remark, field(match.remark));
        }
        if (update.editor.open(form_for_price_update(stored, edited)) == InventoryItemDialog::kCancelled) break;
        // The row that shows the item now: the dialog may have searched the list again.
        const int row = update.pane.model().find_row(item_number);
        if (row < 0) continue;
        update.pane.model().set_checked(row, true);
        update.list->scrollTo(update.list->model()->index(row, 0));
        ++ticked;
    }
    return ticked;
}

}  // namespace stk::client
