// Puts the Inventory Item dialog and the commands that open it onto the main window: "Add to Inventory", the
// list's "Add Similar Item...", "Edit/View...", "Update Prices..." and "Update Description(s) and Prices...",
// and File > "Import Items...", with the backorder fill reaching the invoice workspace.
#pragma once

#include "client/app/sale_attach.h"

namespace stk::client {

class InventoryItemEditor;

// The editor is a child of the window.
// The data set of `settings` holds the price files; the import's file dialog starts there too.
InventoryItemEditor* attach_inventory_items(MainWindow& window, ServerApi& api, const SaleWorkspace& sale,
                                            const SaleSettings& settings);

// The editor attached to a window, or nullptr.
InventoryItemEditor* inventory_item_editor(MainWindow& window);

}  // namespace stk::client
