// Price files: suppliers' (or the shop's own) price lists, tab-delimited Windows-1252 text in the data set's
// "Price Files" folder. Each line: item number, description, remark, unit price, unit cost, separated by TAB.
// The client never imports one whole; it looks one item number up.
#pragma once

#include <QString>
#include <string_view>

#include "common/records.h"

namespace stk::client {

// Lines this long or longer are skipped.
inline constexpr std::size_t kPriceLineLimit = 1024;

// Looks `item_number` up in the price file at `path`.
//
// Returns 1 when the file was read whole, with or without a match; 0 when the item number is empty or longer
// than 63 characters, or the file cannot be opened, is empty, or cannot be read whole. 1 does not mean that
// the item was found: callers test the match's fields.
//
// `*match` is always cleared first. The first line whose item number equals the one sought (ignoring case)
// ends the search. When that line is usable (at least four TABs; description and remark at most 63
// characters, unit price at most 31, and the rest of the line after the fourth TAB, a sixth field included,
// at most 31) the match becomes a new invoice line for one unit: quantity "1", `item_number` as given here
// (not as the file spells it), description, remark, unit price and unit cost from the file, the amount equal
// to the unit price, and `tax_percent`. Fields are taken as written, not trimmed; control characters in them
// become blanks (see clean_file_field).
int look_up_price(const QString& path, std::string_view item_number, std::string_view tax_percent, InvoiceLine* match);

}  // namespace stk::client
