#include "server/db/message_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "common/text_field.h"
#include "inventory_test_db.h"
#include "platform/durable_file.h"

namespace stk::server::testing {
namespace {

using MessageFileTest = InventoryDbTest;

std::string header(std::int32_t format, std::int32_t size, std::int32_t count) {
    std::string h(12, '\0');
    std::memcpy(h.data(), &format, 4);
    std::memcpy(h.data() + 4, &size, 4);
    std::memcpy(h.data() + 8, &count, 4);
    return h;
}

void add(ServerDatabase& db, std::string_view text) {
    ASSERT_TRUE(db.messages.grow_for_one());
    MessageRecord& m = db.messages[db.messages.count + 1];
    std::memset(&m, 0, sizeof m);
    set_field(m.timestamp, "12/01/2026 at 9:05");
    set_field(m.text, text);
    ++db.messages.count;
}

TEST_F(MessageFileTest, RoundTripAndMissingFile) {
    const std::string path = db.paths.messages;
    ASSERT_EQ(load_messages(db, path), 1);
    EXPECT_EQ(db.messages.count, 0);
    EXPECT_TRUE(platform::file_exists(path));
    EXPECT_EQ(read(path), "");

    add(db, "first");
    add(db, "second");
    ASSERT_EQ(save_messages(db, path), 1);
    const std::string bytes = read(path);
    ASSERT_EQ(bytes.size(), 12 + 3 * sizeof(MessageRecord));
    EXPECT_EQ(bytes.substr(0, 12), header(1, 12 + 3 * 292, 2));
    EXPECT_EQ(bytes.substr(12, 292), std::string(292, '\0'));
    EXPECT_FALSE(platform::file_exists(path + ".tmp"));

    db.messages.count = 0;
    ASSERT_EQ(load_messages(db, path), 1);
    ASSERT_EQ(db.messages.count, 2);
    EXPECT_EQ(field(db.messages[2].text), "second");
    EXPECT_EQ(log, "");
}

TEST_F(MessageFileTest, SavingNoMessagesWritesAnEmptyTable) {
    const std::string path = db.paths.messages;
    add(db, "to be deleted");
    ASSERT_EQ(save_messages(db, path), 1);
    db.messages.count = 0;
    ASSERT_EQ(save_messages(db, path), 1);
    EXPECT_EQ(read(path), header(1, 12 + 292, 0) + std::string(292, '\0'));
    // The deleted message does not come back at the next start.
    add(db, "stale");
    ASSERT_EQ(load_messages(db, path), 1);
    EXPECT_EQ(db.messages.count, 0);
}

TEST_F(MessageFileTest, RewritesReplaceTheFileWhole) {
    const std::string path = db.paths.messages;
    add(db, "first");
    ASSERT_EQ(save_messages(db, path), 1);
    const std::string saved = read(path);
    // A second name for the old file: a rewrite in place would change what it shows, a replacement does not.
    const std::string old_name = folder + "/messages before.dat";
    ASSERT_EQ(::link(path.c_str(), old_name.c_str()), 0);
    add(db, "second");
    ASSERT_EQ(save_messages(db, path), 1);
    EXPECT_EQ(read(old_name), saved);
    EXPECT_EQ(read(path).size(), 12 + 3 * sizeof(MessageRecord));

    // When the new file cannot be written, the one in place stays as it was.
    const std::string before = read(path);
    const std::string blocker = path + ".tmp";
    std::filesystem::create_directory(blocker);  // the temporary file cannot be made
    add(db, "third");
    EXPECT_EQ(save_messages(db, path), 0);
    EXPECT_EQ(read(path), before);
    std::filesystem::remove(blocker);
}

TEST_F(MessageFileTest, RejectsDamagedFiles) {
    const std::string path = db.paths.messages;
    const std::string slots(2 * 292, '\0');
    write(path, header(2, 12 + 2 * 292, 1) + slots);
    EXPECT_EQ(load_messages(db, path), 0);
    EXPECT_EQ(log, "Message database wrong format or version or message database corrupt.\r\n" + path + "\r\n");

    log.clear();
    write(path, header(1, 12 + 2 * 292, 1) + slots + "x");
    EXPECT_EQ(load_messages(db, path), 0);
    EXPECT_NE(log.find("corrupt"), std::string::npos);

    // Too many messages for the table: refused without a log line of its own.
    log.clear();
    const std::int32_t too_many = kMaxMessages + 1;
    write(path, header(1, 12 + (too_many + 1) * 292, too_many) + std::string((too_many + 1) * 292, '\0'));
    EXPECT_EQ(load_messages(db, path), 0);
    EXPECT_EQ(log, "");

    write(path, "short");
    EXPECT_EQ(load_messages(db, path), 0);
}

}  // namespace
}  // namespace stk::server::testing
