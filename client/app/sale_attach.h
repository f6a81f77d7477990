// Puts the sale workspace (current invoice and inventory list) onto the main window: builds both, hands them
// the window's controls, and hooks them to its commands. Both are children of the window.
#pragma once

#include "client/ui/sale_context.h"

namespace stk::client {

class MainWindow;
class InvoiceWorkspace;
class InventoryPane;

struct SaleWorkspace {
    InvoiceWorkspace* invoice = nullptr;
    InventoryPane* inventory = nullptr;
};

// The controls of the main window as the workspace sees them.
SaleWidgets sale_widgets(MainWindow& window);

// With explicit parts (tests use their own request layer and contacts).
SaleWorkspace attach_sale(MainWindow& window, ServerApi& api, SaleSettings settings, ContactsAccess contacts);

// With the session's request layer, settings, data set and contacts.
SaleWorkspace attach_sale(MainWindow& window);

// The workspace attached to a window, or nulls.
SaleWorkspace sale_workspace(MainWindow& window);

}  // namespace stk::client
