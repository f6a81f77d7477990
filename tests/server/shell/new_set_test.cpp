#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/text_field.h"
#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/db/message_file.h"
#include "server/shell/new_database_set.h"

namespace stk::server {
namespace {

std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

class NewSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/stk-new-set-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        program = root + "/program";
        std::filesystem::create_directories(program);
        std::filesystem::create_directories(root + "/source");
        source = DatabasePaths::in_folder(root + "/source");
        write(program + "/default server settings.txt", "ServerName=shop\r\nClientName=tills\r\n");
        ASSERT_TRUE(db.reserve(8, 8));
        db.log = [this](std::string_view text) { log += text; };
        use_target(root + "/target");
    }
    void TearDown() override {
        db.release();
        std::filesystem::remove_all(root);
    }

    void use_target(const std::string& folder) { db.paths = DatabasePaths::in_folder(folder); }

    NewSetChoice carrying(bool inventory, bool invoices, bool messages) const {
        NewSetChoice c;
        c.create = true;
        c.carry_inventory = inventory;
        c.carry_invoices = invoices;
        c.carry_messages = messages;
        c.source = source;
        return c;
    }

    // A source set: item A (5 in stock, 7 sold) with a used-up layer and a layer with 5 left, a layer of an
    // item that is gone, one paid invoice selling A, and one message.
    void write_source() {
        write(source.inventory, "A\tAnchor\t\t4.00\t5\t\t7\t\t0\tHardware\t\t2.00\t\t\t\t\r\n");
        write(source.layers,
              "A\t10\t0\t1.00\t11/01/2026\tINITIAL\r\n"
              "A\t8\t5\t2.00\t11/15/2026\tRECEIVED\r\n"
              "GONE\t3\t3\t9.00\t11/20/2026\tINITIAL\r\n");
        ServerDatabase s;
        ASSERT_TRUE(s.reserve(4, 4));
        ASSERT_TRUE(s.invoices.commit_for(1));
        InvoiceRecord& inv = s.invoices[1];
        set_field(inv.invoice_number, "1");
        set_field(inv.customer_name, "Ann");
        set_field(inv.total, "28.00");
        inv.payment = 1;
        inv.line_count = 1;
        set_field(inv.lines[0].item_number, "A");
        set_field(inv.lines[0].quantity, "7");
        set_field(inv.lines[0].unit_price, "4.00");
        set_field(inv.lines[0].unit_cost, "1.00");
        s.invoices.count = 1;
        ASSERT_EQ(save_invoices(s, source.invoices), 1);
        ASSERT_TRUE(s.messages.commit_for(1));
        set_field(s.messages[1].timestamp, "12/01/2026 at 9:05");
        set_field(s.messages[1].text, "Count the anchors");
        s.messages.count = 1;
        ASSERT_EQ(save_messages(s, source.messages), 1);
    }

    std::string source_bytes() const {
        return read(source.inventory) + read(source.layers) + read(source.invoices) + read(source.messages);
    }

    std::string root, program, log;
    DatabasePaths source;
    ServerDatabase db;
};

TEST_F(NewSetTest, FolderWithADatabaseFileIsRefused) {
    for (const char* name : {"invoices.dat", "inventory.txt", "inventory fifo.txt", "messages.dat"}) {
        const std::string folder = root + "/taken-" + std::string(name).substr(0, 5);
        std::filesystem::create_directories(folder);
        write(folder + "/" + name, "older data");
        use_target(folder);
        EXPECT_EQ(create_database_set(db, carrying(false, false, false), program), 0) << name;
        EXPECT_EQ(read(folder + "/" + name), "older data");
        EXPECT_FALSE(exists(folder + "/stockavelle server settings.txt"));
    }
    // A file where the folder should be is no usable folder either.
    write(root + "/plain file", "x");
    use_target(root + "/plain file");
    EXPECT_EQ(create_database_set(db, carrying(false, false, false), program), 0);
}

TEST_F(NewSetTest, EmptySetGetsTheDefaultSettingsOnly) {
    ASSERT_EQ(create_database_set(db, carrying(false, false, false), program), 1);
    EXPECT_EQ(read(db.paths.settings), "ServerName=shop\r\nClientName=tills\r\n");
    for (const std::string& p : {db.paths.inventory, db.paths.layers, db.paths.invoices, db.paths.messages}) {
        EXPECT_FALSE(exists(p)) << p;
    }
    // Start-up's loads then create the four database files empty.
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    ASSERT_EQ(load_invoices(db, db.paths.invoices), 1);
    ASSERT_EQ(load_messages(db, db.paths.messages), 1);
    for (const std::string& p : {db.paths.inventory, db.paths.layers, db.paths.invoices, db.paths.messages}) {
        EXPECT_TRUE(exists(p)) << p;
        EXPECT_EQ(read(p), "") << p;
    }

    // An existing settings file in the chosen folder is kept.
    use_target(root + "/second");
    std::filesystem::create_directories(root + "/second");
    write(db.paths.settings, "ServerName=mine\r\n");
    ASSERT_EQ(create_database_set(db, carrying(false, false, false), program), 1);
    EXPECT_EQ(read(db.paths.settings), "ServerName=mine\r\n");
}

TEST_F(NewSetTest, InventoryWithoutInvoicesStartsAfresh) {
    write_source();
    const std::string before = source_bytes();
    ASSERT_EQ(create_database_set(db, carrying(true, false, false), program), 1) << log;
    EXPECT_EQ(source_bytes(), before);

    ASSERT_EQ(db.inventory.count, 1);
    EXPECT_EQ(field(db.inventory[1].sold_quantity), "0");
    EXPECT_EQ(field(db.inventory[1].unaccounted_quantity), "0");
    EXPECT_EQ(field(db.inventory[1].gross_profit), "0.00");
    EXPECT_EQ(field(db.inventory[1].markup), "100.00%");
    // Only the layer with stock left stays, and it starts again at what was left of it.
    EXPECT_EQ(read(db.paths.layers), "A\t5\t5\t2.00\t11/15/2026\tRECEIVED\r\n");
    EXPECT_NE(read(db.paths.inventory).find("A\tAnchor\t\t4.00\t5\t\t0\t\t0\tHardware"), std::string::npos);
    EXPECT_FALSE(exists(db.paths.invoices));
    EXPECT_FALSE(exists(db.paths.messages));
}

TEST_F(NewSetTest, EverythingCarried) {
    write_source();
    const std::string before = source_bytes();
    ASSERT_EQ(create_database_set(db, carrying(true, true, true), program), 1) << log;
    EXPECT_EQ(source_bytes(), before);
    EXPECT_EQ(read(db.paths.invoices), read(source.invoices));
    EXPECT_EQ(read(db.paths.messages), read(source.messages));
    EXPECT_EQ(read(db.paths.layers), read(source.layers));
    EXPECT_EQ(db.invoices.count, 1);
    EXPECT_EQ(db.messages.count, 1);
    // With its invoices the item keeps its history.
    EXPECT_EQ(field(db.inventory[1].sold_quantity), "7");
}

TEST_F(NewSetTest, MissingSourceFilesAreNotCreatedThere) {
    ASSERT_EQ(create_database_set(db, carrying(true, true, true), program), 1) << log;
    for (const std::string& p : {source.inventory, source.layers, source.invoices, source.messages}) {
        EXPECT_FALSE(exists(p)) << p;
    }
    // Start-up loads none of the carried databases, so the new set holds them already, empty.
    ServerDatabase fresh;
    ASSERT_TRUE(fresh.reserve(4, 4));
    for (const std::string& p : {db.paths.inventory, db.paths.layers, db.paths.invoices, db.paths.messages}) {
        EXPECT_TRUE(exists(p)) << p;
    }
    EXPECT_EQ(load_inventory(fresh, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(load_invoices(fresh, db.paths.invoices), 1);
    EXPECT_EQ(load_messages(fresh, db.paths.messages), 1);
    EXPECT_EQ(fresh.inventory.count + fresh.invoices.count + fresh.messages.count, 0);
}

}  // namespace
}  // namespace stk::server
