// Puts the three reports onto the main window's View > Reports menu, with the session's request layer and
// the report files of its data set.
#pragma once

namespace stk::client {

class MainWindow;

// Wires "Sales" (40018), "Non-Inventory Sales" (40022) and "Suggested Order" (40035).
void attach_reports(MainWindow& window);

}  // namespace stk::client
