// "Update Prices..." (4013) and "Update Description(s) and Prices..." (4011): the selected items of the
// inventory list, in list order, each through the Inventory Item dialog with its price and standard unit cost
// (and, with descriptions, its description and remark) taken from a price file.
#pragma once

#include <QString>

#include "client/ui/sale_context.h"

class QAbstractItemView;

namespace stk::client {

class InventoryItemEditor;
class InventoryPane;

struct PriceUpdate {
    ServerApi& api;
    InventoryItemEditor& editor;
    InventoryPane& pane;
    QAbstractItemView* list;  // the inventory list, whose selection is walked
    std::string tax_percent;  // the Tax Percentage setting, for the price-file match
    RequestObserver on_request = {};
};

// Walks the items of the selected rows, in list order, with the price file at `path`. An item is passed by when
// the server or the file does not know it (or the file's line has no description); Cancel in a dialog ends the
// walk. The row of each item whose dialog ended otherwise gets its check box ticked and is scrolled into view,
// wherever a search made meanwhile has put it. Returns the number of rows ticked.
int update_prices(const PriceUpdate& update, const QString& path, bool with_descriptions);

}  // namespace stk::client
