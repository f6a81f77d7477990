// One database set, one server: two real server processes on one set.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "common/protocol.h"
#include "common/text_field.h"
#include "platform/durable_file.h"
#include "tests/support/server_process.h"

using stk::test::ServerProcess;

namespace {

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> files_of(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string bytes;
        stk::platform::read_whole_file(entry.path().string(), bytes);
        files[entry.path().filename().string()] = bytes;
    }
    return files;
}

stk::InventoryRecord item(std::string_view number) {
    stk::InventoryRecord r{};
    stk::set_field(r.item_number, number);
    stk::set_field(r.description, "Claw hammer");
    stk::set_field(r.unit_price, "15.00");
    return r;
}

}  // namespace

TEST(SetLockServer, ASecondServerOnASetFailsAndTheFirstServesOnUntilKilled) {
    ServerProcess first;
    ASSERT_TRUE(first.start()) << first.log() << first.errors();
    ASSERT_EQ(first.api().add_inventory_item(item("HAMMER"), "3", "2.00"), stk::RESULT_OK);
    int index = 0;
    ASSERT_EQ(first.api().new_invoice(&index), stk::RESULT_OK);
    const auto before = files_of(first.database_set());

    // Another server, under a name of its own, on the first one's set.
    ServerProcess second;
    second.args_override = {"--database-set", first.database_set(), "--server-name", second.server_name()};
    EXPECT_EQ(second.run_to_exit(), 1);
    EXPECT_NE(second.log().find("The database set is in use by another Stockavelle Server.\r\n" + first.database_set() +
                                "\r\n"),
              std::string::npos)
        << second.log();
    EXPECT_FALSE(stk::platform::file_exists(second.pipe_path()));

    // The first one noticed nothing: its files are as they were, and it serves on.
    EXPECT_EQ(files_of(first.database_set()), before);
    stk::InventoryRecord stored{};
    EXPECT_EQ(first.api().get_inventory_item("HAMMER", &stored), stk::RESULT_OK);
    ASSERT_EQ(first.api().add_inventory_item(item("NAILS"), "100", "0.05"), stk::RESULT_OK);

    // Killed outright, the first leaves its lock file behind; the kernel has already given the lock back.
    first.kill();
    ASSERT_TRUE(stk::platform::file_exists(first.database_set() + "/stockavelle server.lock"));
    ASSERT_TRUE(second.start()) << second.log() << second.errors();
    EXPECT_EQ(second.api().get_inventory_item("HAMMER", &stored), stk::RESULT_OK);
    EXPECT_EQ(second.api().get_inventory_item("NAILS", &stored), stk::RESULT_OK);
    int count = 0;
    EXPECT_EQ(second.api().get_invoice_count(&count), stk::RESULT_OK);
    EXPECT_EQ(count, 1);
}
