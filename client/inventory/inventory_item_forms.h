// What the Inventory Item dialog shows for each of the places that open it (its dialog modes).
#pragma once

#include <string>

#include "client/inventory/inventory_item_dialog.h"

namespace stk::client {

// The dialog modes that fill the dialog themselves: the id of the command that opens it. The price-file update
// (4011, 4013) and the import (40030) prepare their forms with the functions below.
namespace item_mode {
inline constexpr int kAddToInventory = 100;
inline constexpr int kAddSimilarItem = 4010;
inline constexpr int kEditView = 4012;
}  // namespace item_mode

// The main window's entry fields as "Add to Inventory" reads them.
struct EntryFields {
    std::string item_number;
    std::string description;
    std::string remark;
    std::string unit_price;
    std::string unit_cost;
    std::string order_quantity;
};

// "Add to Inventory": the stored item in both columns when the server has it (`stored` not null), else a new
// item made of the entry fields with no stock of its own. "New Inventory" takes the order quantity and the
// unit cost either way.
InventoryItemForm form_for_entry(const EntryFields& entry, const InventoryRecord* stored);

// "Add Similar Item...": a new item like the listed one, without its number, stock and audit date; the
// listed stock is offered as the quantity received.
InventoryItemForm form_for_similar(const InventoryRecord& listed);

// "Edit/View...": the stored item in both columns; an empty dialog when the server no longer has it.
InventoryItemForm form_for_edit(const InventoryRecord* stored);

// The price-file update: the stored item on the left, the caller's edited copy on the right.
InventoryItemForm form_for_price_update(const InventoryRecord& current, const InventoryRecord& edited);

// An import line: like the price update, but the stored standard unit cost stays when there is one, and
// "New Inventory" receives the line's quantity at the line's unit cost (the edited item's standard unit cost).
InventoryItemForm form_for_import(const InventoryRecord& current, const InventoryRecord& edited,
                                  const std::string& preset_quantity);

}  // namespace stk::client
