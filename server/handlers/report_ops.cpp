// PLACEHOLDER: replaced by the report work.
#include "server/handlers/report_ops.h"
namespace stk::server {
bool sales_report(const ServerDatabase&, std::string&) { return false; }
bool non_inventory_sales_report(const ServerDatabase&, std::string&) { return false; }
bool suggested_order_report(const ServerDatabase&, std::string_view, std::string_view, std::string&) { return false; }
}  // namespace stk::server
