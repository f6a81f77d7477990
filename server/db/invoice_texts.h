// Activity-log texts of the invoice database and the invoice requests.
#pragma once

#include <string_view>

namespace stk::server {

// The text carries no line end; the log gets it followed by "\r\n".
inline constexpr std::string_view kInvoiceCapacityText =
    "Please increase maximum size of invoices database and restart Stockavelle. Please see stockavelle client "
    "settings.txt and stockavelle server settings.txt.";

inline constexpr std::string_view kInvoiceFileCorruptText =
    "Invoice database wrong format or version or invoice database corrupt.\r\n";

inline constexpr std::string_view kAddToMissingInvoiceText =
    "Client attempted to add an item to a non-existent invoice.\r\n";
inline constexpr std::string_view kAddToFullInvoiceText =
    "Client attempted to add an item to an invoice that is full.\r\n";
inline constexpr std::string_view kAddIncompleteItemText =
    "Client attempted to add an item with insufficient information to an invoice.\r\n";

}  // namespace stk::server
