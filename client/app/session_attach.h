// Ties the main window to the client session: the settings and folders it reads, the arrays it gives back
// when it closes, and where the Invoices window first opens (790 x 400, centred on the primary screen).
// Called once, right after the window is built.
#pragma once

namespace stk::client {

class MainWindow;

void attach_session(MainWindow& window);

}  // namespace stk::client
