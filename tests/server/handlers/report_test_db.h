// A server database with small tables in a temporary folder and its activity log captured, filled directly
// with items, cost layers and invoices, for the search and report tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/text_field.h"
#include "server/db/database.h"

namespace stk::server::testing {

struct ItemSpec {
    std::string_view number;
    std::string_view description = "";
    std::string_view quantity = "";
    std::string_view sold = "";
    std::string_view minimum = "";
    std::string_view cost = "";
    std::string_view category = "";
    std::string_view note = "";
    std::string_view remark = "";
};

struct LineSpec {
    std::string_view item_number = "";
    std::string_view description = "";
    std::string_view remark = "";
    std::string_view quantity = "1";
    std::string_view price = "0.00";
    std::string_view cost = "0.00";
    std::string_view backorder = "";
    std::string_view note = "";
    std::int32_t ordered = 0;
};

class ReportDb {
public:
    explicit ReportDb(int max_items = 16, int max_invoices = 16) {
        std::string pattern = (std::filesystem::temp_directory_path() / "stk-reports-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "no temporary folder";
        folder = pattern;
        EXPECT_TRUE(db.reserve(max_items, max_invoices));
        db.paths = DatabasePaths::in_folder(folder);
        db.log = [this](std::string_view text) { log += text; };
    }
    ~ReportDb() {
        db.release();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ReportDb(const ReportDb&) = delete;
    ReportDb& operator=(const ReportDb&) = delete;

    InventoryRecord& add_item(const ItemSpec& s) {
        const int slot = db.inventory.count + 1;
        EXPECT_TRUE(db.inventory.commit_for(slot));
        EXPECT_TRUE(db.search_marks.commit_for(slot));
        InventoryRecord& r = db.inventory[slot];
        std::memset(&r, 0, sizeof r);
        set_field(r.item_number, s.number);
        set_field(r.description, s.description);
        set_field(r.remark, s.remark);
        set_field(r.quantity, s.quantity);
        set_field(r.sold_quantity, s.sold);
        set_field(r.minimum_quantity, s.minimum);
        set_field(r.standard_unit_cost, s.cost);
        set_field(r.category, s.category);
        set_field(r.note, s.note);
        db.inventory.count = slot;
        return r;
    }

    void add_layer(std::string_view number, std::string_view remaining, std::string_view unit_cost) {
        const int slot = db.layers.count + 1;
        EXPECT_TRUE(db.layers.commit_for(slot));
        FifoLayer& layer = db.layers[slot];
        std::memset(&layer, 0, sizeof layer);
        set_field(layer.item_number, number);
        set_field(layer.original_quantity, remaining);
        set_field(layer.remaining_quantity, remaining);
        set_field(layer.unit_cost, unit_cost);
        set_field(layer.date, "12/01/2026");
        set_field(layer.source, "INITIAL");
        db.layers.count = slot;
    }

    InvoiceRecord& add_invoice(std::string_view customer, std::int32_t payment = 0,
                               std::initializer_list<LineSpec> lines = {}) {
        const int slot = db.invoices.count + 1;
        EXPECT_TRUE(db.invoices.commit_for(slot));
        InvoiceRecord& inv = db.invoices[slot];
        std::memset(&inv, 0, sizeof inv);
        set_field(inv.invoice_number, "10" + std::string(1, static_cast<char>('0' + slot / 10 % 10)) +
                                            std::string(1, static_cast<char>('0' + slot % 10)));
        set_field(inv.date, "12/01/2026");
        set_field(inv.time, "9:05:00");
        set_field(inv.customer_name, customer);
        set_field(inv.subtotal, "0.00");
        set_field(inv.tax, "0.00");
        set_field(inv.total, "0.00");
        inv.payment = payment;
        for (const LineSpec& s : lines) {
            InvoiceLine& l = inv.lines[inv.line_count++];
            set_field(l.item_number, s.item_number);
            set_field(l.description, s.description);
            set_field(l.remark, s.remark);
            set_field(l.quantity, s.quantity);
            set_field(l.unit_price, s.price);
            set_field(l.unit_cost, s.cost);
            set_field(l.backorder_quantity, s.backorder);
            set_field(l.note, s.note);
            l.ordered = s.ordered;
        }
        db.invoices.count = slot;
        return inv;
    }

    std::string folder;
    ServerDatabase db;
    std::string log;
};

}  // namespace stk::server::testing
