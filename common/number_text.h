// Decimal text of records: locale-free formatting and the one rule that decides whether a text is a number.
#pragma once

#include <string>
#include <string_view>

namespace stk {

// The C library's atof, without the locale: the longest leading part that reads as a decimal number
// (leading white space and a sign allowed), 0.0 when there is none.
double parse_decimal_prefix(std::string_view text);

// printf "%g", "%f" and "%.2f" of the "C" locale, whatever LC_NUMERIC says.
std::string format_g(double value);
std::string format_f(double value);
std::string format_2f(double value);

// Like "%g" wherever "%g" keeps the value and passes the number check; otherwise the shortest plain decimal
// text that does both. "%g" turns 1234567 into "1.23457e+06" (not a number to the check) and 123456.7 into
// "123457" (a different quantity), and stored quantities and invoice numbers must survive a round trip.
std::string format_quantity(double value);

// The number text check. Returns true when `text` is a number; its value goes to *value when given.
bool is_number(std::string_view text, double* value = nullptr);

// The value of `text` when it is a number, else `fallback`.
double number_or(std::string_view text, double fallback);

}  // namespace stk
