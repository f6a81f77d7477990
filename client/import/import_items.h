// File > "Import Items...": receives a delivery from a tab-delimited text file. The client does not write the
// inventory itself: for each line it first gives the backorders of an item that is not in stock yet their
// share, then opens the Inventory Item dialog for the item, pre-filled, and the user confirms it with OK or
// skips it with Cancel.
#pragma once

#include <QString>

#include "client/import/import_file.h"
#include "client/ui/sale_context.h"

class QWidget;

namespace stk::client {

class InventoryItemEditor;
class InventoryPane;

struct ItemImport {
    ServerApi& api;
    InventoryItemEditor& editor;  // the dialog (mode 40030) and the backorder fill
    InventoryPane& pane;          // searched again after the import
    QWidget* owner = nullptr;     // owner of the open-file dialog
    QString folder = {};          // where the open-file dialog starts
    RequestObserver on_request = {};
};

// Asks for the file and imports it. Returns 1 when the whole file was handled, the user cancelled the choice
// or the file is empty; 0 when it cannot be opened or read, or a line breaks the limits (the lines before it
// stay imported). The caller shows string 33 on 0.
int import_items(const ItemImport& import);

// Imports the file at `path`, as above.
int import_file(const ItemImport& import, const QString& path);

// One line: skipped without a word unless its quantity is a number above 0.
void import_line(const ItemImport& import, const ImportLine& line);

}  // namespace stk::client
