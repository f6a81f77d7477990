// Puts the Inventory Item dialog and the commands of the inventory list onto the main window: "Add to
// Inventory", the list's "Add Similar Item..." and "Edit/View...", with the backorder fill reaching the invoice
// workspace.
#pragma once

#include "client/app/sale_attach.h"

namespace stk::client {

class InventoryItemEditor;

// The editor is a child of the window.
InventoryItemEditor* attach_inventory_items(MainWindow& window, ServerApi& api, const SaleWorkspace& sale);

// The editor attached to a window, or nullptr.
InventoryItemEditor* inventory_item_editor(MainWindow& window);

}  // namespace stk::client
