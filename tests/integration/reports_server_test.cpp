// Reports, messages and new database sets through the real server.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/protocol.h"
#include "common/text_field.h"
#include "platform/durable_file.h"
#include "tests/support/server_process.h"

using stk::test::ServerProcess;

namespace {

constexpr const char* kNewSetFailure =
    "Unable to initialize new database set. The selected location might already contain company information or "
    "the destination drive might be full or inaccessible.\r\n";

std::string read_file(const std::string& path) {
    std::string bytes;
    stk::platform::read_whole_file(path, bytes);
    return bytes;
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void put_int32(std::string& out, std::int32_t v) {
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

// An "invoices.dat" of `count` invoices, each with twelve long lines of items that are not in the inventory.
std::string big_invoice_file(int count) {
    const std::string text(63, 'x');
    std::string file;
    put_int32(file, 1);
    put_int32(file, static_cast<std::int32_t>(12 + (count + 1) * sizeof(stk::InvoiceRecord)));
    put_int32(file, count);
    file.append(sizeof(stk::InvoiceRecord), '\0');
    for (int i = 1; i <= count; ++i) {
        stk::InvoiceRecord inv{};
        stk::set_field(inv.invoice_number, std::to_string(i));
        stk::set_field(inv.customer_name, text);
        for (int n = 0; n < stk::kMaxInvoiceLines; ++n) {
            stk::InvoiceLine& line = inv.lines[n];
            stk::set_field(line.item_number, text);
            stk::set_field(line.description, std::string(63, '&'));
            stk::set_field(line.remark, text);
            stk::set_field(line.unit_price, "1234567890.00");
            stk::set_field(line.unit_cost, "1234567890.00");
        }
        inv.line_count = stk::kMaxInvoiceLines;
        file.append(reinterpret_cast<const char*>(&inv), sizeof inv);
    }
    return file;
}

stk::MessageRecord message(std::string_view text) {
    stk::MessageRecord m{};
    stk::set_field(m.text, text);
    return m;
}

}  // namespace

TEST(ReportsServer, ReportsAreAnsweredWholeWithOpcodeZero) {
    ServerProcess server;
    std::filesystem::create_directories(server.database_set());
    const int invoices = 2000;
    write_file(server.database_set() + "/invoices.dat", big_invoice_file(invoices));
    ASSERT_TRUE(server.start()) << server.log() << server.errors();

    // Past the 10,240,000 bytes of the old fixed buffer, and still one whole document.
    std::string document;
    ASSERT_EQ(server.api().non_inventory_sales_report(&document), 1);
    EXPECT_GT(document.size(), 10240000u);
    std::size_t items = 0;
    for (std::size_t p = document.find("\t\t<item>"); p != std::string::npos; p = document.find("\t\t<item>", p + 1))
        ++items;
    EXPECT_EQ(items, static_cast<std::size_t>(invoices) * stk::kMaxInvoiceLines);
    EXPECT_TRUE(document.ends_with("\t\t</item>\r\n\t</noninventoryitems>\r\n</noninventoryreport>"));

    // The answer header of a report leaves the opcode 0 and counts the document's zero byte.
    for (const std::int32_t opcode : {stk::SALES_REPORT, stk::SUGGESTED_ORDER_REPORT}) {
        const stk::RequestHeader request = server.api().new_request(opcode);
        std::string answer;
        ASSERT_TRUE(server.api().raw_exchange(
            std::string_view(reinterpret_cast<const char*>(&request), sizeof request), &answer));
        ASSERT_GE(answer.size(), sizeof(stk::ResponseHeader));
        stk::ResponseHeader header{};
        std::memcpy(&header, answer.data(), sizeof header);
        EXPECT_EQ(header.opcode, 0) << opcode;
        EXPECT_EQ(header.result, 1) << opcode;
        const std::string body = answer.substr(sizeof header);
        ASSERT_EQ(static_cast<std::size_t>(header.payload_length), body.size()) << opcode;
        EXPECT_EQ(body.back(), '\0');
        EXPECT_TRUE(body.starts_with("<?xml version=\"1.0\"?>\r\n")) << opcode;
    }
    ASSERT_TRUE(server.stop());
}

TEST(ReportsServer, DeletedMessagesStayDeletedAfterARestart) {
    ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    ASSERT_EQ(server.api().save_message(stk::MessageRecord{}, message("Inventory count on Friday")), 1);
    std::vector<stk::MessageRecord> list;
    ASSERT_EQ(server.api().list_messages(&list), 1);
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(server.api().delete_message(list[0]), 1);

    ASSERT_TRUE(server.restart()) << server.log() << server.errors();
    ASSERT_EQ(server.api().list_messages(&list), 1);
    EXPECT_TRUE(list.empty());
    ASSERT_TRUE(server.stop());
}

TEST(ReportsServer, NewSetCarriesTheStockWithoutItsHistory) {
    // The old set: 5 bolts received at 2.00, 3 of them sold, and two staff messages.
    ServerProcess old_set;
    ASSERT_TRUE(old_set.start()) << old_set.log() << old_set.errors();
    auto& api = old_set.api();
    stk::InventoryRecord bolt{};
    stk::set_field(bolt.item_number, "BOLT-10");
    stk::set_field(bolt.description, "Hex bolt M10");
    stk::set_field(bolt.unit_price, "3.00");
    stk::set_field(bolt.standard_unit_cost, "2.00");
    ASSERT_EQ(api.add_inventory_item(bolt, "5", "2.00"), 1);
    int index = 0;
    ASSERT_EQ(api.new_invoice(&index), 1);
    stk::InvoiceRecord copy{};
    ASSERT_EQ(api.get_invoice(index, &copy), 1);
    stk::InvoiceLine line{};
    stk::set_field(line.quantity, "3");
    stk::set_field(line.item_number, "BOLT-10");
    stk::set_field(line.description, "Hex bolt M10");
    stk::set_field(line.unit_price, "3.00");
    stk::set_field(line.unit_cost, "2.00");
    ASSERT_EQ(api.add_invoice_item(index, 1, copy, line), 1);
    ASSERT_EQ(api.save_message(stk::MessageRecord{}, message("first")), 1);
    ASSERT_EQ(api.save_message(stk::MessageRecord{}, message("second")), 1);
    ASSERT_TRUE(old_set.stop());
    const std::string source = old_set.database_set();
    const std::string source_layers = read_file(source + "/inventory fifo.txt");
    ASSERT_TRUE(source_layers.starts_with("BOLT-10\t5\t2\t2.00\t")) << source_layers;
    const std::string source_bytes = read_file(source + "/inventory.txt") + source_layers +
                                     read_file(source + "/invoices.dat") + read_file(source + "/messages.dat");

    ServerProcess server;
    const std::string fresh = server.root() + "/fresh";
    server.args_override = {"--new-set", fresh, "--database-set", source, "--carry", "inventory,messages",
                            "--server-name", server.server_name()};
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    stk::InventoryRecord item{};
    ASSERT_EQ(server.api().get_inventory_item("bolt-10", &item), 1);
    EXPECT_EQ(stk::field(item.quantity), "2");
    EXPECT_EQ(stk::field(item.sold_quantity), "0");
    // The one layer left starts again at what remained of it.
    EXPECT_TRUE(read_file(fresh + "/inventory fifo.txt").starts_with("BOLT-10\t2\t2\t2.00\t"))
        << read_file(fresh + "/inventory fifo.txt");
    int count = -1;
    ASSERT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_EQ(count, 0);
    std::vector<stk::MessageRecord> list;
    ASSERT_EQ(server.api().list_messages(&list), 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(stk::field(list[0].text), "second");
    // "-" splits the query: BOLT and 10, each found anywhere in the item.
    std::vector<stk::InventoryRecord> found;
    ASSERT_EQ(server.api().search_inventory("m10-hex", &found), 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(stk::field(found[0].item_number), "BOLT-10");
    ASSERT_TRUE(server.stop());

    EXPECT_EQ(read_file(source + "/inventory.txt") + read_file(source + "/inventory fifo.txt") +
                  read_file(source + "/invoices.dat") + read_file(source + "/messages.dat"),
              source_bytes);
}

TEST(ReportsServer, NewSetInAFolderWithInvoicesFailsStartUp) {
    ServerProcess server;
    const std::string taken = server.root() + "/taken";
    std::filesystem::create_directories(taken);
    write_file(taken + "/invoices.dat", "somebody's invoices");
    server.args_override = {"--new-set", taken, "--server-name", server.server_name()};
    EXPECT_EQ(server.run_to_exit(), 1);
    const std::string log = server.log();
    EXPECT_NE(log.find(kNewSetFailure), std::string::npos) << log;
    EXPECT_TRUE(log.ends_with("Server initialization failure. Please restart Stockavelle Server.\r\n")) << log;
    EXPECT_EQ(read_file(taken + "/invoices.dat"), "somebody's invoices");
    EXPECT_FALSE(stk::platform::file_exists(taken + "/stockavelle server settings.txt"));
    EXPECT_FALSE(stk::platform::file_exists(taken + "/inventory.txt"));
}
