// Items by number: the slot find_item answers, without a scan of the inventory.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "common/records.h"
#include "server/db/table.h"

namespace stk::server {

// Maps each upper-cased item number to the first slot that carries it, which is what a scan from slot 1
// comparing without regard to case finds.
//
// Items appended to the table (by the server or written straight into it) are taken in when the index is
// next asked; a number changed in place, or an item removed, must be told (renumbered, removed); anything
// else that rewrites the table (a load, the journal applied at start-up) calls forget(), and the index is
// built again from the table when next asked.
class ItemIndex {
public:
    // Slot of the item with this number (without regard to case), or 0.
    int find(const Table<InventoryRecord>& items, std::string_view number);
    // The item at `slot` now carries `new_number` instead of `old_number`.
    void renumbered(int slot, std::string_view old_number, std::string_view new_number);
    // The item at `slot` was removed; every later item moved down one slot.
    void removed(int slot);
    void forget();

private:
    void catch_up(const Table<InventoryRecord>& items);
    void build(const Table<InventoryRecord>& items);

    std::unordered_map<std::string, int> first_;
    int indexed_ = 0;  // slots 1..indexed_ are in first_
    bool built_ = false;
    // Two items whose numbers differ only in case (only a hand-edited file brings them): a removal or a new
    // number cannot then be followed slot by slot, and the index is built again instead.
    bool duplicates_ = false;
};

}  // namespace stk::server
