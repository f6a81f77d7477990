// The three report documents (XML, 8-bit text, without the trailing NUL).
#pragma once

#include <string>
#include <string_view>

#include "server/db/database.h"

namespace stk::server {

// Each returns false when the document cannot be built; the request then gets no answer.
bool sales_report(const ServerDatabase& db, std::string& document);
bool non_inventory_sales_report(const ServerDatabase& db, std::string& document);
bool suggested_order_report(const ServerDatabase& db, std::string_view category, std::string_view order_value,
                            std::string& document);

}  // namespace stk::server
