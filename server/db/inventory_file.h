// "inventory.txt" and "inventory fifo.txt": loading, saving and lookups of the inventory and cost-layer tables.
#pragma once

#include <string>
#include <string_view>

#include "server/db/database.h"

namespace stk::server {

enum class LayerSaveMode {
    Normal,      // every layer as it is
    Compacting,  // only layers with stock left, each starting again at its remaining quantity
};

// Loads both files into the tables, then saves them back to db.paths (normal mode). 1 or 0.
int load_inventory(ServerDatabase& db, const std::string& inventory_path, const std::string& layers_path);
// Writes the inventory file and then the cost-layer file (db.paths.layers unless given). 1 or 0.
int save_inventory(ServerDatabase& db, const std::string& inventory_path, LayerSaveMode mode = LayerSaveMode::Normal);
int save_inventory_to(ServerDatabase& db, const DatabasePaths& paths, LayerSaveMode mode = LayerSaveMode::Normal);

int load_layers(ServerDatabase& db, const std::string& layers_path);
int append_layer(ServerDatabase& db, const FifoLayer& layer);
int save_layers(ServerDatabase& db, const std::string& layers_path, LayerSaveMode mode);

// Slot of the item with this number (case-insensitive), or 0.
int find_item(const ServerDatabase& db, std::string_view item_number);

// Activity-log texts of the inventory and its cost layers.
inline constexpr std::string_view kInventoryFullText =
    "Please increase maximum size of inventory database and restart Stockavelle. Please see stockavelle client "
    "settings.txt and stockavelle server settings.txt.";
inline constexpr std::string_view kNoMemoryText = "Unable to allocate required memory.\r\n";

// Makes a record safe to store: TAB, CR and LF in its texts become blanks and the texts lose leading and
// trailing blanks, since either would otherwise break or change the line at the next start.
void clean_record(InventoryRecord& item);
void clean_layer(FifoLayer& layer);

// Commits room for one more item and its search mark (the new slot is not counted). false when it cannot.
bool grow_inventory_for_one(ServerDatabase& db);
// Counts the item already written into slot count + 1, with its search mark cleared.
void count_new_item(ServerDatabase& db);
// Forgets the last item again and gives back its pages.
void drop_last_item(ServerDatabase& db);
// Removes the item at `slot`; later items (and their search marks) move down one slot. false when the
// tables could not give back their pages (the item is removed all the same).
bool remove_item(ServerDatabase& db, int slot);

}  // namespace stk::server
