// Puts the Invoices window onto the main window: toolbar button 5 and View > Invoices open it over the
// session's result rows and placement, and an invoice chosen in it is loaded by the invoice workspace.
#pragma once

#include "client/invoices_window/invoices_window.h"

namespace stk::client {

class MainWindow;

// The window's context for a main window: the session's request layer, rows and placement, and the current
// invoice and load of the workspace attached to `window`. `memory` must outlive every opening.
InvoicesWindowContext invoices_window_context(MainWindow& window, InvoicesWindowMemory& memory);

// Wires toolbar button 5 and View > Invoices to the Invoices window.
void attach_invoices_window(MainWindow& window);

}  // namespace stk::client
