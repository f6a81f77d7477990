// A database set of a given size written straight to a folder, as a shop of that size would have it: items
// with two cost layers each (an older spent one and a newer one), invoices of one to twelve lines with
// payments, and a few messages. The last invoices are empty, unpaid and unnumbered, for the benchmark's sales.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stk::bench {

struct ShopShape {
    std::string name;        // "100k", "capacity"
    int items = 0;           // cost layers: twice as many
    int invoices = 0;        // including the open ones
    int lines = 0;           // lines per invoice; 0: one to twelve
    int open_invoices = 16;  // empty invoices at the end, for the sale lines
    int max_items = 100000;  // MAX_ITEMS and MAX_INVOICES of the set's settings
    int max_invoices = 100000;
};

struct ShopSet {
    std::string folder;
    std::uint64_t inventory_bytes = 0;  // "inventory.txt"
    std::uint64_t layer_bytes = 0;      // "inventory fifo.txt"
    std::uint64_t invoice_bytes = 0;    // "invoices.dat"
    std::uint64_t message_bytes = 0;    // "messages.dat"
    int first_open_invoice = 0;         // slots first_open_invoice .. invoices are empty
    std::vector<std::string> stocked;   // item numbers with stock on hand, for sale lines
    // Bytes of "inventory.txt" from each item's line on (index = slot), for the floor of a deletion.
    std::vector<std::uint64_t> bytes_from;
};

// Writes the set's four databases and its settings into `folder` (created). false with a message on stderr
// when a file cannot be written.
bool write_shop_set(const ShopShape& shape, const std::string& folder, ShopSet* out);

}  // namespace stk::bench
