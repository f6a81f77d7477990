// PLACEHOLDER: replaced by the inventory work.
#include "server/handlers/inventory_ops.h"
namespace stk::server {
int add_inventory_item(ServerDatabase&, const InventoryRecord&, std::string_view, std::string_view) { return 0; }
int update_inventory_item(ServerDatabase&, const InventoryRecord&, const InventoryRecord&, std::string_view,
                          std::string_view) { return 0; }
int delete_inventory_item(ServerDatabase&, const InventoryRecord&) { return 0; }
int get_inventory_item(const ServerDatabase&, std::string_view, InventoryRecord&) { return 0; }
int get_fifo_cost(const ServerDatabase&, std::string_view, std::string_view, std::string&) { return 0; }
bool fifo_cost_query(const ServerDatabase&, std::string_view, std::string_view, std::string&) { return false; }
void refit_layers(ServerDatabase&, int) {}
void refresh_statistics(ServerDatabase&, int) {}
}  // namespace stk::server
