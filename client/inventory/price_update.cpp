#include "client/inventory/price_update.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include "client/inventory/inventory_item_dialog.h"
#include "client/inventory/inventory_item_editor.h"
#include "client/inventory/inventory_pane.h"
#include "client/price_files/price_file.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

// The first selected row after `row`, or -1. Asked afresh for every step: a dialog that searches the list again
// leaves nothing selected, and the walk then ends rather than follow rows that now show other items.
int next_selected_row(QAbstractItemView* list, int row) {
    QItemSelectionModel* selection = list ? list->selectionModel() : nullptr;
    if (!selection) return -1;
    const int rows = list->model()->rowCount();
    for (int r = row + 1; r < rows; ++r)
        if (selection->isRowSelected(r, {})) return r;
    return -1;
}

}  // namespace

int update_prices(const PriceUpdate& update, const QString& path, bool with_descriptions) {
    int ticked = 0;
    for (int row = next_selected_row(update.list, -1); row >= 0; row = next_selected_row(update.list, row)) {
        const std::string item_number(update.pane.model().cell(row, 0));
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
        update.pane.model().set_checked(row, true);
        update.list->scrollTo(update.list->model()->index(row, 0));
        ++ticked;
    }
    return ticked;
}

}  // namespace stk::client
