// Invoices through the real server: a sale with stock, the copy check, and what a restart brings back.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <string>

#include "common/protocol.h"
#include "common/text_field.h"
#include "platform/durable_file.h"
#include "tests/support/server_process.h"

using stk::test::ServerProcess;

namespace {

constexpr std::size_t kSlot = sizeof(stk::InvoiceRecord);

stk::InvoiceLine sale_line(std::string_view quantity, std::string_view backorder, std::string_view item,
                           std::string_view price) {
    stk::InvoiceLine line{};
    stk::set_field(line.quantity, quantity);
    stk::set_field(line.backorder_quantity, backorder);
    stk::set_field(line.item_number, item);
    stk::set_field(line.description, "Brass bolt");
    stk::set_field(line.unit_price, price);
    stk::set_field(line.unit_cost, "0");
    stk::set_field(line.tax_percent, "10");
    return line;
}

std::string read_file(const std::string& path) {
    std::string bytes;
    stk::platform::read_whole_file(path, bytes);
    return bytes;
}

}  // namespace

TEST(InvoiceServer, ASaleSurvivesARestartByteForByte) {
    ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    auto& api = server.api();
    const std::string invoices_path = server.database_set() + "/invoices.dat";

    stk::InventoryRecord bolt{};
    stk::set_field(bolt.item_number, "BOLT");
    stk::set_field(bolt.description, "Brass bolt");
    stk::set_field(bolt.unit_price, "10.00");
    stk::set_field(bolt.standard_unit_cost, "2.00");
    ASSERT_EQ(api.add_inventory_item(bolt, "3", "2.00"), 1);

    int index = 0;
    ASSERT_EQ(api.new_invoice(&index), 1);
    EXPECT_EQ(index, 1);
    ASSERT_EQ(api.new_invoice(&index), 1);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(read_file(invoices_path).size(), 12 + 2 * kSlot);

    stk::InvoiceRecord copy{};
    ASSERT_EQ(api.get_invoice(1, &copy), 1);
    ASSERT_EQ(api.add_invoice_item(1, 1, copy, sale_line("5", "2", "bolt", "10")), 1);
    stk::InvoiceLine stored{};
    ASSERT_EQ(api.get_invoice_item(1, 1, &stored), 1);
    EXPECT_EQ(stk::field(stored.unit_cost), "2.00");
    EXPECT_EQ(stk::field(stored.amount), "50.00");
    stk::InventoryRecord item{};
    ASSERT_EQ(api.get_inventory_item("BOLT", &item), 1);
    EXPECT_EQ(stk::field(item.quantity), "0");
    EXPECT_EQ(stk::field(item.sold_quantity), "5");

    // The copy taken before the line was added is stale now.
    EXPECT_EQ(api.set_invoice_status(1, stk::STATUS_COMPLETE, copy), 2);

    ASSERT_EQ(api.get_invoice(1, &copy), 1);
    std::string change;
    ASSERT_EQ(api.set_invoice_field(1, stk::FIELD_CASH_RECEIVED, "60", copy, &change), 1);
    EXPECT_EQ(change, "5.00");
    double totals[4] = {};
    ASSERT_EQ(api.get_invoice_totals(1, totals), 1);
    EXPECT_DOUBLE_EQ(totals[1], 50.0);
    EXPECT_DOUBLE_EQ(totals[2], 5.0);
    EXPECT_DOUBLE_EQ(totals[3], 55.0);

    ASSERT_EQ(api.get_invoice(1, &copy), 1);
    ASSERT_EQ(api.set_invoice_payment(1, stk::PAYMENT_CASH, copy), 1);
    ASSERT_EQ(api.get_invoice(1, &copy), 1);
    EXPECT_EQ(stk::field(copy.invoice_number), "1");
    ASSERT_EQ(api.get_inventory_item("BOLT", &item), 1);
    EXPECT_EQ(stk::field(item.gross_profit), "40.00");

    int found = 0;
    int line = 0;
    EXPECT_EQ(api.find_backorder("Bolt", 1, &found, &line), 0);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(line, 1);

    ASSERT_EQ(api.new_invoice(&index), 1);
    EXPECT_EQ(index, 2);
    stk::InvoiceRecord second{};
    ASSERT_EQ(api.get_invoice(2, &second), 1);
    const std::string file = read_file(invoices_path);
    EXPECT_EQ(file.size(), 12 + 3 * kSlot);

    ASSERT_TRUE(server.restart()) << server.log() << server.errors();
    int count = 0;
    ASSERT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_EQ(count, 2);
    stk::InvoiceRecord reloaded{};
    ASSERT_EQ(server.api().get_invoice(1, &reloaded), 1);
    EXPECT_EQ(std::memcmp(&reloaded, &copy, kSlot), 0);
    ASSERT_EQ(server.api().get_invoice(2, &reloaded), 1);
    EXPECT_EQ(std::memcmp(&reloaded, &second, kSlot), 0);
    EXPECT_EQ(read_file(invoices_path), file);
    ASSERT_TRUE(server.stop());
}

TEST(InvoiceServer, ADamagedInvoiceFileStopsStartUpAndIsLeftAlone) {
    ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    int index = 0;
    ASSERT_EQ(server.api().new_invoice(&index), 1);
    ASSERT_TRUE(server.stop());

    const std::string path = server.database_set() + "/invoices.dat";
    std::string bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 12 + 2 * kSlot);
    const std::int32_t lines = 13;
    std::memcpy(bytes.data() + 12 + kSlot + offsetof(stk::InvoiceRecord, line_count), &lines, sizeof lines);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    EXPECT_NE(server.run_to_exit(), 0);
    const std::string log = server.log();
    EXPECT_NE(log.find("Invoice database wrong format or version or invoice database corrupt.\r\n" + path + "\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Unable to load invoices database.\r\n"), std::string::npos) << log;
    EXPECT_EQ(read_file(path), bytes);
}
