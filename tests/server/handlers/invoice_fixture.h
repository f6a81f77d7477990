// A small in-memory server database in a temporary folder, for the invoice tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/text_field.h"
#include "platform/durable_file.h"
#include "server/db/database.h"
#include "server/handlers/invoice_ops.h"

namespace stk::server::testing {

class InvoiceDb {
public:
    explicit InvoiceDb(int max_items = 8, int max_invoices = 8) {
        std::string pattern = (std::filesystem::temp_directory_path() / "stk-invoices-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "no temporary folder";
        folder = pattern;
        EXPECT_TRUE(db.reserve(max_items, max_invoices));
        db.paths = DatabasePaths::in_folder(folder);
        db.log = [this](std::string_view text) { log += text; };
    }
    ~InvoiceDb() {
        db.release();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    InvoiceDb(const InvoiceDb&) = delete;
    InvoiceDb& operator=(const InvoiceDb&) = delete;

    // A stock item placed straight into the table; returns its slot.
    int add_item(std::string_view number, std::string_view quantity, std::string_view unit_price = "10.00",
                 std::string_view standard_cost = "5.00") {
        const int slot = db.inventory.count + 1;
        EXPECT_TRUE(db.inventory.commit_for(slot));
        EXPECT_TRUE(db.search_marks.commit_for(slot));
        InventoryRecord& item = db.inventory[slot];
        std::memset(&item, 0, sizeof item);
        set_field(item.item_number, number);
        set_field(item.description, "Item " + std::string(number));
        set_field(item.quantity, quantity);
        set_field(item.unit_price, unit_price);
        set_field(item.standard_unit_cost, standard_cost);
        db.inventory.count = slot;
        return slot;
    }

    void add_layer(std::string_view number, std::string_view original, std::string_view remaining,
                   std::string_view unit_cost) {
        const int slot = db.layers.count + 1;
        EXPECT_TRUE(db.layers.commit_for(slot));
        FifoLayer& layer = db.layers[slot];
        std::memset(&layer, 0, sizeof layer);
        set_field(layer.item_number, number);
        set_field(layer.original_quantity, original);
        set_field(layer.remaining_quantity, remaining);
        set_field(layer.unit_cost, unit_cost);
        set_field(layer.date, "12/01/2026");
        set_field(layer.source, "INITIAL");
        db.layers.count = slot;
    }

    int new_invoice() {
        int index = 0;
        EXPECT_EQ(stk::server::new_invoice(db, &index), 1);
        return index;
    }

    // What a client holds after GET_INVOICE.
    InvoiceRecord copy(int index) const {
        InvoiceRecord r{};
        EXPECT_EQ(get_invoice(db, index, r), 1);
        return r;
    }

    int add_line(int index, const InvoiceLine& line, int take_from_stock = 0) {
        return add_invoice_item(db, index, take_from_stock, copy(index), line);
    }

    std::string file(const std::string& path) const {
        std::string bytes;
        platform::read_whole_file(path, bytes);
        return bytes;
    }
    std::string invoices_file() const { return file(db.paths.invoices); }

    ServerDatabase db;
    std::string folder;
    std::string log;
};

inline InvoiceLine make_line(std::string_view quantity, std::string_view unit_price, std::string_view item = "",
                             std::string_view backorder = "", std::string_view unit_cost = "1.00",
                             std::string_view tax = "") {
    InvoiceLine line{};
    set_field(line.quantity, quantity);
    set_field(line.backorder_quantity, backorder);
    set_field(line.item_number, item);
    set_field(line.description, item.empty() ? std::string("Labour") : "Item " + std::string(item));
    set_field(line.unit_price, unit_price);
    set_field(line.unit_cost, unit_cost);
    set_field(line.tax_percent, tax);
    return line;
}

inline bool same_bytes(const InvoiceRecord& a, const InvoiceRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace stk::server::testing
