// Inventory requests and first-in-first-out costing.
#pragma once

#include <string>
#include <string_view>

#include "common/protocol.h"
#include "server/db/database.h"

namespace stk::server {

// The changing requests answer RESULT_OK (1) when the change is made and on disk, RESULT_SAVE_FAILED (4) when
// it is made in memory but a file could not be written, and otherwise the refusals of each request (0, 2, 3).
// Each saves both inventory files through write_through (server/db/write_through.h).
Result add_inventory_item(ServerDatabase& db, const InventoryRecord& item, std::string_view quantity,
                          std::string_view unit_cost);
Result update_inventory_item(ServerDatabase& db, const InventoryRecord& old_copy, const InventoryRecord& new_record,
                             std::string_view received_quantity, std::string_view unit_cost);
// 0 also when the table could not give back the removed item's memory (the item is removed and saved all the same).
Result delete_inventory_item(ServerDatabase& db, const InventoryRecord& copy);
// 1 and the stored record when found, else 0.
int get_inventory_item(const ServerDatabase& db, std::string_view item_number, InventoryRecord& out);
// 1 and the "%.2f" unit cost of that quantity taken first-in-first-out, else 0.
int get_fifo_cost(const ServerDatabase& db, std::string_view item_number, std::string_view quantity,
                  std::string& unit_cost);

// Rules the invoice requests use directly.
// Cost query: true and the "%.2f" average unit cost of the oldest `quantity` units.
bool fifo_cost_query(const ServerDatabase& db, std::string_view item_number, std::string_view quantity,
                     std::string& unit_cost);
// Refits the item's layers to its stored quantity (newest units are the ones on hand).
void refit_layers(ServerDatabase& db, int item_slot);
// Recomputes sold quantity, gross profit, markup and unaccounted quantity of one item.
void refresh_statistics(ServerDatabase& db, int item_slot);

// Whether the stored item still is the client's copy: the fields a user can see and edit, compared exactly.
// The computed unaccounted quantity, gross profit and markup are left out.
bool same_item(const InventoryRecord& stored, const InventoryRecord& copy);

// Tolerances of the costing rules. The layer walks and the final test of the cost query compare against
// single-precision constants widened to double; the results depend on those exact values.
inline constexpr double kLayerWalkTolerance = static_cast<double>(0.001f);
inline constexpr double kCostQueryMinimum = static_cast<double>(0.0001f);
inline constexpr double kMarkupMinimumCost = static_cast<double>(0.00001f);
inline constexpr double kQuantityClamp = 0.0001;

}  // namespace stk::server
