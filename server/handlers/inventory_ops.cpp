// Inventory requests: add, update, delete and fetch an item, and the first-in-first-out cost of a quantity.
#include "server/handlers/inventory_ops.h"

#include <string>

#include "common/dates.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "server/db/inventory_file.h"
#include "server/db/write_through.h"

namespace stk::server {

Result add_inventory_item(ServerDatabase& db, const InventoryRecord& record, std::string_view quantity,
                          std::string_view unit_cost) {
    InventoryRecord item = record;
    if (!quantity.empty()) set_field(item.quantity, quantity);
    clean_record(item);
    // An item without a number can never be found again, and one without a description cannot be updated.
    if (field_empty(item.item_number) || field_empty(item.description)) return RESULT_FAILED;
    if (find_item(db, field(item.item_number)) != 0) return RESULT_EXISTS;
    if (db.inventory.count >= db.max_items) {
        db.log_line(kInventoryFullText);
        db.log_line("\r\n");
        return RESULT_FAILED;
    }
    if (!grow_inventory_for_one(db)) {
        db.log_line(kNoMemoryText);
        return RESULT_FAILED;
    }
    ChangeSet changes(db);
    const int slot = db.inventory.count + 1;
    db.inventory[slot] = item;
    count_new_item(db);
    changes.item(slot);
    changes.layers_of(field(item.item_number));

    const FifoLayer opening = make_layer(field(item.item_number), field(item.quantity), unit_cost, today(), "INITIAL");
    if (!append_layer(db, opening)) {
        drop_last_item(db);
        return RESULT_FAILED;
    }
    refresh_statistics(db, slot);
    return write_through(db, changes);
}

Result update_inventory_item(ServerDatabase& db, const InventoryRecord& old_copy, const InventoryRecord& new_record,
                             std::string_view received_quantity, std::string_view unit_cost) {
    InventoryRecord incoming = new_record;
    clean_record(incoming);
    if (field_empty(incoming.item_number) || field_empty(incoming.description)) return RESULT_FAILED;

    const int old_slot = find_item(db, field(old_copy.item_number));
    const int new_slot = find_item(db, field(incoming.item_number));
    if (new_slot != 0 && new_slot != old_slot) return RESULT_EXISTS;
    if (old_slot == 0 || !same_item(db.inventory[old_slot], old_copy)) return RESULT_CHANGED;

    ChangeSet changes(db);
    changes.item(old_slot);
    InventoryRecord& item = db.inventory[old_slot];
    const std::string stored_number(field(item.item_number));
    item = incoming;
    if (stored_number != field(item.item_number)) db.item_index.renumbered(old_slot, stored_number, field(item.item_number));

    // The layers follow the item's number. Also when only the letter case changes: the load and the delete
    // match layers by exact number, and stale-case layers would be duplicated or left in stock there.
    const std::string old_number(field(old_copy.item_number));
    if (old_number != field(item.item_number)) {
        for (int slot : db.layer_index.of(db.layers, old_number)) {
            set_field(db.layers[slot].item_number, field(item.item_number));
        }
        db.layer_index.renumbered(old_number, field(item.item_number));
    }

    // A changed quantity is a stock count: the user typed what is on hand.
    if (!equal_ci(field(old_copy.quantity), field(item.quantity))) refit_layers(db, old_slot);

    double received = 0.0;
    double on_hand = 0.0;
    if (is_number(received_quantity, &received) && is_number(field(item.quantity), &on_hand)) {
        set_field(item.quantity, format_quantity(on_hand + received));
        // The stock is raised even when its layer cannot be kept (the append logs why).
        append_layer(db, make_layer(field(item.item_number), received_quantity, unit_cost, today(), "RECEIVED"));
    }

    refresh_statistics(db, old_slot);
    changes.layers_of(field(item.item_number));
    return write_through(db, changes);
}

Result delete_inventory_item(ServerDatabase& db, const InventoryRecord& copy) {
    const int slot = find_item(db, field(copy.item_number));
    if (slot == 0 || !same_item(db.inventory[slot], copy)) return RESULT_CHANGED;
    ChangeSet changes(db);
    changes.items_from(slot);
    changes.layers_of(field(copy.item_number));
    const bool shrunk = remove_item(db, slot);
    const std::string_view number = field(copy.item_number);
    for (int i : db.layer_index.of(db.layers, number)) {
        FifoLayer& layer = db.layers[i];
        if (field(layer.item_number) == number) set_field(layer.remaining_quantity, "0");
    }
    // The item is gone from memory either way, so the files follow it even when pages could not be freed.
    const Result saved = write_through(db, changes);
    return shrunk ? saved : RESULT_FAILED;
}

int get_inventory_item(const ServerDatabase& db, std::string_view item_number, InventoryRecord& out) {
    const int slot = find_item(db, item_number);
    if (slot == 0) return RESULT_FAILED;
    out = db.inventory[slot];
    return RESULT_OK;
}

int get_fifo_cost(const ServerDatabase& db, std::string_view item_number, std::string_view quantity,
                  std::string& unit_cost) {
    return fifo_cost_query(db, item_number, quantity, unit_cost) ? RESULT_OK : RESULT_FAILED;
}

}  // namespace stk::server
