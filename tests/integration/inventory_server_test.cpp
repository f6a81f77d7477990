// Inventory through the real server: the five requests, the files they write, and a restart reloading them.
#include <gtest/gtest.h>

#include <string>

#include "common/dates.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "platform/durable_file.h"
#include "tests/support/server_process.h"

using stk::test::ServerProcess;

namespace {

std::string read_file(const std::string& path) {
    std::string bytes;
    stk::platform::read_whole_file(path, bytes);
    return bytes;
}

stk::InventoryRecord new_item(std::string_view number, std::string_view description) {
    stk::InventoryRecord r{};
    stk::set_field(r.item_number, number);
    stk::set_field(r.description, description);
    stk::set_field(r.unit_price, "15.00");
    stk::set_field(r.standard_unit_cost, "10.00");
    stk::set_field(r.category, "Tools");
    return r;
}

// Every text field, as the client would show it.
std::string texts(const stk::InventoryRecord& r) {
    using stk::field;
    std::string out;
    for (std::string_view f :
         {field(r.item_number), field(r.description), field(r.remark), field(r.unit_price), field(r.quantity),
          field(r.minimum_quantity), field(r.sold_quantity), field(r.unaccounted_quantity), field(r.category),
          field(r.location), field(r.standard_unit_cost), field(r.gross_profit), field(r.markup), field(r.note),
          field(r.last_audit_date)}) {
        out.append(f);
        out += '|';
    }
    return out;
}

}  // namespace

TEST(InventoryServer, RequestsFilesAndRestart) {
    ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    auto& api = server.api();
    const std::string inventory_path = server.database_set() + "/inventory.txt";
    const std::string layers_path = server.database_set() + "/inventory fifo.txt";

    ASSERT_EQ(api.add_inventory_item(new_item("HAMMER", "Claw hammer"), "3", "2.00"), 1);
    EXPECT_EQ(api.add_inventory_item(new_item("hammer", "Another"), "1", "1.00"), 3);
    EXPECT_EQ(api.add_inventory_item(new_item("", "No number"), "1", "1.00"), 0);
    ASSERT_EQ(api.add_inventory_item(new_item("NAILS", "Box of nails"), "", "0.05"), 1);

    stk::InventoryRecord hammer{};
    ASSERT_EQ(api.get_inventory_item("hammer", &hammer), 1);
    EXPECT_EQ(stk::field(hammer.quantity), "3");
    EXPECT_EQ(stk::field(hammer.markup), "50.00%");
    stk::InventoryRecord missing{};
    EXPECT_EQ(api.get_inventory_item("SAW", &missing), 0);

    // Four more received at 3.00: the oldest three cost 2.00.
    stk::InventoryRecord edited = hammer;
    stk::set_field(edited.location, "Aisle 2");
    ASSERT_EQ(api.update_inventory_item(hammer, edited, "4", "3.00"), 1);
    EXPECT_EQ(api.update_inventory_item(hammer, edited, "4", "3.00"), 2);  // that copy is out of date now
    std::string cost;
    ASSERT_EQ(api.get_fifo_cost("HAMMER", "5", &cost), 1);
    EXPECT_EQ(cost, "2.40");
    ASSERT_EQ(api.get_fifo_cost("HAMMER", "10", &cost), 1);
    EXPECT_EQ(cost, "2.57");
    EXPECT_EQ(api.get_fifo_cost("HAMMER", "0", &cost), 0);

    stk::InventoryRecord nails{};
    ASSERT_EQ(api.get_inventory_item("NAILS", &nails), 1);
    ASSERT_EQ(api.delete_inventory_item(nails), 1);
    EXPECT_EQ(api.get_inventory_item("NAILS", &nails), 0);

    const std::string today = stk::today();
    const std::string inventory = read_file(inventory_path);
    const std::string layers = read_file(layers_path);
    EXPECT_EQ(inventory, "HAMMER\tClaw hammer\t\t15.00\t7\t\t0\t\t0\tTools\tAisle 2\t10.00\t0.00\t50.00%\t\t\r\n");
    EXPECT_EQ(layers, "HAMMER\t3\t3\t2.00\t" + today + "\tINITIAL\r\n" +  // layers in the order they came
                          "NAILS\t\t0\t0.05\t" + today + "\tINITIAL\r\n" +
                          "HAMMER\t4\t4\t3.00\t" + today + "\tRECEIVED\r\n");

    stk::InventoryRecord before{};
    ASSERT_EQ(api.get_inventory_item("HAMMER", &before), 1);
    ASSERT_TRUE(server.restart()) << server.log() << server.errors();
    stk::InventoryRecord after{};
    ASSERT_EQ(server.api().get_inventory_item("HAMMER", &after), 1);
    EXPECT_EQ(texts(after), texts(before));
    ASSERT_EQ(server.api().get_fifo_cost("HAMMER", "5", &cost), 1);
    EXPECT_EQ(cost, "2.40");
    EXPECT_EQ(server.api().get_inventory_item("NAILS", &nails), 0);
    EXPECT_EQ(read_file(inventory_path), inventory);
    EXPECT_EQ(read_file(layers_path), layers);

    // The last item deleted: both files empty, and nothing comes back at the next start.
    ASSERT_EQ(server.api().delete_inventory_item(after), 1);
    EXPECT_EQ(read_file(inventory_path), "");
    EXPECT_EQ(read_file(layers_path), "");
    ASSERT_TRUE(server.restart()) << server.log() << server.errors();
    EXPECT_EQ(server.api().get_inventory_item("HAMMER", &after), 0);
}
