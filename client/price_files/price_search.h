// The main window's "Search..." (105): the user picks a price file, and the item number typed into the entry
// fields is looked up in it. A match fills the entry fields and closes the picker; otherwise the picker stays
// open for another file.
#pragma once

#include <QString>
#include <string_view>

#include "client/ui/sale_context.h"

namespace stk::client {

void search_price_files(const SaleWidgets& widgets, const SaleSettings& settings);

// What choosing one price file does: looks the entry fields' item number up in `path`. When the file was
// read, the description, remark, unit price and unit cost are set from the match (emptied when the file has no
// usable line for the item) and an empty order quantity becomes "1" if the match has a description; a file
// that cannot be read changes nothing. True when the item was found.
bool fill_entry_from_price_file(const SaleWidgets& widgets, const QString& path, std::string_view tax_percent);

}  // namespace stk::client
