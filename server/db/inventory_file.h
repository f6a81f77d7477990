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

}  // namespace stk::server
