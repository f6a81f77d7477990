// How the report-style lists order their rows when a heading is clicked: numbers by value, dates by year,
// month and day, other texts in the desktop's word order. The rows are sorted, never the records they name.
#pragma once

#include <string_view>

namespace stk::client {

// Texts of exactly 10 characters with "/" at positions 3 and 6 ("MM/dd/yyyy") compare by year, then month,
// then day; any other pair compares as text without case. -1, 0 or 1.
int compare_list_dates(std::string_view a, std::string_view b);

// Two Windows-1252 texts in the desktop's word order: alphabetically without regard to case, then by case.
// -1, 0 or 1.
int compare_list_texts(std::string_view a, std::string_view b);

// Two cells of one column: when both are numbers (number text check) the smaller comes first and equal
// numbers count as greater; otherwise dates (when `date_column`) or texts as above. Never 0 for two numbers.
int compare_list_cells(std::string_view a, std::string_view b, bool date_column);

}  // namespace stk::client
