// Word-by-word searches of the inventory and the invoices.
#pragma once

#include <string>
#include <string_view>

#include "server/db/database.h"

namespace stk::server {

// SEARCH_INVENTORY: sets the search marks, appends the packed items to `blocks`, returns the count.
int search_inventory(ServerDatabase& db, std::string_view query, std::string& blocks);
// SEARCH_INVOICES: appends the invoice search rows to `blocks`, returns the count.
int search_invoices(const ServerDatabase& db, std::string_view query, int unpaid_only, std::string& blocks);

}  // namespace stk::server
