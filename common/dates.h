// Local dates and times in the record formats.
#pragma once

#include <ctime>
#include <string>

namespace stk {

// "MM/dd/yyyy".
std::string format_date(const std::tm& t);
// Invoice time: hour without leading zero, ":mm:ss".
std::string format_invoice_time(const std::tm& t);
// Message time stamp: "MM/dd/yyyy at H:mm".
std::string format_message_timestamp(const std::tm& t);

std::tm local_now();
inline std::string today() { return format_date(local_now()); }

}  // namespace stk
