// Creating, editing and receiving items through the Inventory Item dialog: what each opening shows, what OK
// sends (ADD_INVENTORY_ITEM or UPDATE_INVENTORY_ITEM) and how the answer is taken, and, once an item is
// saved, its stock offered to the customers' backorders.
#pragma once

#include <QObject>
#include <string>

#include "client/inventory/backorder_fill.h"
#include "client/inventory/inventory_item_forms.h"
#include "client/ui/sale_context.h"

namespace stk::client {

class InventoryPane;

class InventoryItemEditor : public QObject {
    Q_OBJECT
public:
    // `pane` is the inventory list: searched again or refreshed row by row after a save.
    InventoryItemEditor(ServerApi& api, InventoryPane& pane, SaleWidgets widgets, QObject* parent = nullptr);

    BackorderDesk backorders;
    RequestObserver on_request;

    // "Add to Inventory" (100), "Add Similar Item..." (4010), "Edit/View..." (4012): fills the dialog from the
    // entry fields or from the list row at the selection mark, then puts the focus into "Item Number".
    // Returns the dialog's end (InventoryItemDialog::kClosed or kCancelled), or 0 when nothing opened.
    int open(int mode);
    // The price-file update (modes 4011, 4013) and the import (40030), with the form their caller prepared.
    int open(const InventoryItemForm& form);

    // The backorder fill with the editor's desk; the total the backorders took.
    double offer_to_backorders(const InvoiceLine& offer);

private:
    EntryFields entry_fields() const;
    // OK: checks and sends; true when the item was saved and the dialog may close.
    bool save(InventoryItemDialog& dialog, InventoryRecord& current);
    // After a saved dialog has closed: the item's whole stock is offered to its backorders.
    void offer_stock(const std::string& item_number);
    void note(int opcode, std::string_view text) const;

    ServerApi& api_;
    InventoryPane& pane_;
    SaleWidgets w_;
};

}  // namespace stk::client
