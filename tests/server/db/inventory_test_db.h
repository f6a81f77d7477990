// A server database with small tables in a temporary folder, its activity log captured, for the inventory
// and cost-layer tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/text_field.h"
#include "server/db/database.h"

namespace stk::server::testing {

class InventoryDbTest : public ::testing::Test {
protected:
    void SetUp() override { open_db(8, 4); }
    void TearDown() override {
        db.release();
        std::filesystem::remove_all(folder);
    }

    void open_db(int max_items, int max_invoices) {
        if (folder.empty()) {
            char pattern[] = "/tmp/stk-inventory-XXXXXX";
            ASSERT_NE(::mkdtemp(pattern), nullptr);
            folder = pattern;
        }
        ASSERT_TRUE(db.reserve(max_items, max_invoices));
        db.paths = DatabasePaths::in_folder(folder);
        db.log = [this](std::string_view text) { log += text; };
        log.clear();
    }

    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    static InventoryRecord item(std::string_view number, std::string_view quantity = "3",
                                std::string_view standard_cost = "2.00", std::string_view price = "5.00") {
        InventoryRecord r{};
        set_field(r.item_number, number);
        set_field(r.description, std::string("Item ") + std::string(number));
        set_field(r.unit_price, price);
        set_field(r.quantity, quantity);
        set_field(r.standard_unit_cost, standard_cost);
        return r;
    }

    std::string folder;
    ServerDatabase db;
    std::string log;
};

}  // namespace stk::server::testing
