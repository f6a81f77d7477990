#include "client/inventory/inventory_item_editor.h"

#include <QLineEdit>

#include "client/inventory/inventory_pane.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/dates.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

InventoryItemEditor::InventoryItemEditor(ServerApi& api, InventoryPane& pane, SaleWidgets widgets, QObject* parent)
    : QObject(parent), api_(api), pane_(pane), w_(std::move(widgets)) {}

void InventoryItemEditor::note(int opcode, std::string_view text) const {
    if (on_request) on_request(opcode, text);
}

EntryFields InventoryItemEditor::entry_fields() const {
    auto text = [this](int id) {
        QLineEdit* e = w_.edit(id);
        return e ? to_1252(e->text()) : std::string();
    };
    EntryFields entry;
    entry.item_number = trimmed(text(ids::kItemNumber));
    entry.description = text(ids::kDescription);
    entry.remark = text(ids::kRemark);
    entry.unit_price = text(ids::kUnitPrice);
    entry.unit_cost = text(ids::kUnitCost);
    entry.order_quantity = text(ids::kOrderQuantity);
    return entry;
}

int InventoryItemEditor::open(int mode) {
    InventoryItemForm form;
    InventoryRecord stored{};
    if (mode == item_mode::kAddToInventory) {
        const EntryFields entry = entry_fields();
        note(GET_INVENTORY_ITEM, entry.item_number);
        const bool found =
            !entry.item_number.empty() && api_.get_inventory_item(entry.item_number, &stored) == RESULT_OK;
        form = form_for_entry(entry, found ? &stored : nullptr);
    } else {
        const int slot = pane_.model().slot_of_row(pane_.current_row());
        if (slot < 1 || slot > pane_.model().count()) return 0;
        const InventoryRecord& listed = pane_.model().item(slot);
        if (mode == item_mode::kAddSimilarItem) {
            form = form_for_similar(listed);
        } else {
            note(GET_INVENTORY_ITEM, field(listed.item_number));
            const bool found = api_.get_inventory_item(field(listed.item_number), &stored) == RESULT_OK;
            form = form_for_edit(found ? &stored : nullptr);
        }
    }
    const int end = open(form);
    if (QLineEdit* e = w_.edit(ids::kItemNumber)) e->setFocus();
    return end;
}

int InventoryItemEditor::open(const InventoryItemForm& form) {
    pane_.sort_by_stock = true;
    InventoryRecord current = form.current;
    std::string saved_number;
    InventoryItemDialog dialog(w_.window, form);
    dialog.on_ok = [&](InventoryItemDialog& d) {
        if (!save(d, current)) return false;
        saved_number = std::string(field(d.edited_item().item_number));
        return true;
    };
    const int end = DialogSeam::exec(dialog);
    if (!saved_number.empty()) offer_stock(saved_number);
    return end == InventoryItemDialog::kCancelled ? InventoryItemDialog::kCancelled : InventoryItemDialog::kClosed;
}

bool InventoryItemEditor::save(InventoryItemDialog& dialog, InventoryRecord& current) {
    InventoryRecord edited = dialog.edited_item();
    if (field_empty(edited.item_number) || field_empty(edited.description)) {
        show_string(&dialog, str::kEnterNumberDescriptionAndCost, MsgIcon::Information);
        return false;
    }
    const bool is_new = field_empty(current.item_number) || field_empty(current.description);
    // A changed quantity is a stock count: it is dated today, whatever date was typed.
    if (is_new ? field_empty(edited.last_audit_date) : !equal_ci(field(edited.quantity), field(current.quantity)))
        set_field(edited.last_audit_date, today());
    const std::string quantity = dialog.new_quantity();
    const std::string unit_cost = dialog.new_unit_cost();
    if (!quantity.empty() && unit_cost.empty()) {
        show_string(&dialog, str::kEnterNumberDescriptionAndCost, MsgIcon::Information);
        if (QLineEdit* e = dialog.edit(InventoryItemDialog::kNewUnitCost)) e->setFocus();
        return false;
    }

    const std::string_view number = field(edited.item_number);
    int result = 0;
    if (is_new) {
        note(ADD_INVENTORY_ITEM, number);
        result = api_.add_inventory_item(edited, quantity, unit_cost);
    } else {
        note(UPDATE_INVENTORY_ITEM, number);
        result = api_.update_inventory_item(current, edited, quantity, unit_cost);
    }
    if (result == RESULT_OK || result == RESULT_SAVE_FAILED) {
        // Answer 4: the server holds the change (and any stock received) in memory but could not write it. The
        // dialog closes as after a success, with a word to look at the server: left open, it would invite the
        // same delivery to be received twice.
        if (result == RESULT_SAVE_FAILED) show_text(&dialog, text::kChangeNotSaved, MsgIcon::Error);
        if (is_new)
            pane_.refresh();
        else
            pane_.refresh_row(field(current.item_number), number);
        return true;
    }
    if (result == RESULT_CHANGED && !is_new) {
        show_string(&dialog, str::kItemModified, MsgIcon::Information);
        pane_.refresh();
        // The message promises a reload: the left column shows the item as it is stored now, so that the
        // user sees the other change and a second OK is made against it rather than refused again.
        InventoryRecord stored{};
        note(GET_INVENTORY_ITEM, field(current.item_number));
        if (api_.get_inventory_item(field(current.item_number), &stored) == RESULT_OK) {
            current = stored;
            dialog.show_current(current);
        }
        return false;
    }
    if (result == RESULT_EXISTS) {
        pane_.refresh();
        show_string(&dialog, str::kItemNumberExists, MsgIcon::Information);
    }
    return false;
}

void InventoryItemEditor::offer_stock(const std::string& item_number) {
    InventoryRecord item{};
    note(GET_INVENTORY_ITEM, item_number);
    if (api_.get_inventory_item(item_number, &item) != RESULT_OK) return;
    if (number_or(field(item.quantity), 0) >= 0.0001) {
        InvoiceLine offer{};
        set_field(offer.quantity, field(item.quantity));
        set_field(offer.item_number, field(item.item_number));
        set_field(offer.description, field(item.description));
        set_field(offer.remark, field(item.remark));
        set_field(offer.unit_price, field(item.unit_price));
        std::string cost;
        note(GET_FIFO_COST, item_number);
        if (api_.get_fifo_cost(item_number, field(item.quantity), &cost) == RESULT_OK) set_field(offer.unit_cost, cost);
        offer_to_backorders(offer);
    }
    pane_.refresh_row(item_number, item_number);
}

double InventoryItemEditor::offer_to_backorders(const InvoiceLine& offer) {
    return fill_backorders(api_, backorders, w_.window, offer, on_request);
}

}  // namespace stk::client
