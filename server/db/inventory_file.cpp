// PLACEHOLDER: replaced by the inventory work.
#include "server/db/inventory_file.h"
namespace stk::server {
int load_inventory(ServerDatabase&, const std::string&, const std::string&) { return 1; }
int save_inventory(ServerDatabase&, const std::string&, LayerSaveMode) { return 1; }
int save_inventory_to(ServerDatabase&, const DatabasePaths&, LayerSaveMode) { return 1; }
int load_layers(ServerDatabase&, const std::string&) { return 1; }
int append_layer(ServerDatabase&, const FifoLayer&) { return 0; }
int save_layers(ServerDatabase&, const std::string&, LayerSaveMode) { return 1; }
int find_item(const ServerDatabase&, std::string_view) { return 0; }
}  // namespace stk::server
