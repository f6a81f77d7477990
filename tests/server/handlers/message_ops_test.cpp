#include "server/handlers/message_ops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/dates.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "report_test_db.h"
#include "server/db/message_file.h"

namespace stk::server::testing {
namespace {

MessageRecord message(std::string_view text, std::string_view timestamp = "", std::int32_t flags = 0) {
    MessageRecord m{};
    set_field(m.timestamp, timestamp);
    set_field(m.text, text);
    m.flags = flags;
    return m;
}

std::vector<MessageRecord> listed(const ServerDatabase& db) {
    std::string blocks;
    const int n = list_messages(db, blocks);
    EXPECT_EQ(blocks.size(), static_cast<std::size_t>(n) * sizeof(MessageRecord));
    std::vector<MessageRecord> out(static_cast<std::size_t>(n));
    if (n > 0) std::memcpy(out.data(), blocks.data(), blocks.size());
    return out;
}

TEST(Messages, CreateEditDeleteAndList) {
    ReportDb t;
    const MessageRecord none{};
    EXPECT_EQ(save_message(t.db, none, message("")), RESULT_FAILED);
    // The server stamps a new message; what the client sent as the time stamp is ignored.
    ASSERT_EQ(save_message(t.db, none, message("Order more nails", "yesterday")), RESULT_OK);
    ASSERT_EQ(save_message(t.db, none, message("Call Ann")), RESULT_OK);
    auto list = listed(t.db);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(field(list[0].text), "Call Ann");  // newest first
    EXPECT_EQ(field(list[1].text), "Order more nails");
    const std::string stamp(field(list[1].timestamp));
    EXPECT_EQ(stamp.substr(0, 14), today() + " at ");

    // Edits replace the whole record as sent, time stamp included; an unchanged text is still an edit.
    MessageRecord edited = message("Order more nails", "12/24/2026 at 7:00", 3);
    ASSERT_EQ(save_message(t.db, list[1], edited), RESULT_OK);
    EXPECT_EQ(std::memcmp(&t.db.messages[1], &edited, sizeof edited), 0);
    // The old content is gone now: a second client editing it gets "changed meanwhile".
    EXPECT_EQ(save_message(t.db, list[1], message("too late", "x")), RESULT_CHANGED);
    EXPECT_EQ(delete_message(t.db, list[1]), RESULT_CHANGED);
    // Flags take part in the identity.
    MessageRecord other_flags = edited;
    other_flags.flags = 0;
    EXPECT_EQ(delete_message(t.db, other_flags), RESULT_CHANGED);

    ASSERT_EQ(delete_message(t.db, edited), RESULT_OK);
    list = listed(t.db);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(field(list[0].text), "Call Ann");

    // Every change is in the file: a fresh load sees the same table.
    ServerDatabase reloaded;
    ASSERT_TRUE(reloaded.reserve(4, 4));
    ASSERT_EQ(load_messages(reloaded, t.db.paths.messages), 1);
    ASSERT_EQ(reloaded.messages.count, 1);
    EXPECT_EQ(std::memcmp(&reloaded.messages[1], &t.db.messages[1], sizeof(MessageRecord)), 0);
}

TEST(Messages, TwinMessagesActOnTheOlderOne) {
    ReportDb t;
    t.db.messages.commit_for(3);
    t.db.messages[1] = message("same", "12/01/2026 at 9:05");
    t.db.messages[2] = message("middle", "12/01/2026 at 9:06");
    t.db.messages[3] = message("same", "12/01/2026 at 9:05");
    t.db.messages.count = 3;
    ASSERT_EQ(save_message(t.db, message("same", "12/01/2026 at 9:05"), message("changed", "12/01/2026 at 9:05")),
              RESULT_OK);
    EXPECT_EQ(field(t.db.messages[1].text), "changed");
    EXPECT_EQ(field(t.db.messages[3].text), "same");
    ASSERT_EQ(delete_message(t.db, message("changed", "12/01/2026 at 9:05")), RESULT_OK);
    ASSERT_EQ(t.db.messages.count, 2);
    EXPECT_EQ(field(t.db.messages[1].text), "middle");
    EXPECT_EQ(field(t.db.messages[2].text), "same");
}

TEST(Messages, FullTableRefusesNewMessagesOnly) {
    ReportDb t;
    ASSERT_TRUE(t.db.messages.commit_for(kMaxMessages));
    for (int i = 1; i <= kMaxMessages; ++i) {
        t.db.messages[i] = message("note " + std::to_string(i), "12/01/2026 at 9:05");
    }
    t.db.messages.count = kMaxMessages;
    EXPECT_EQ(save_message(t.db, MessageRecord{}, message("one too many")), RESULT_FAILED);
    EXPECT_EQ(t.log, "Messages database capacity reached.\r\n");
    EXPECT_EQ(t.db.messages.count, kMaxMessages);

    EXPECT_EQ(save_message(t.db, message("note 5", "12/01/2026 at 9:05"), message("note five", "12/01/2026 at 9:05")),
              RESULT_OK);
    EXPECT_EQ(field(t.db.messages[5].text), "note five");
    EXPECT_EQ(delete_message(t.db, message("note 1", "12/01/2026 at 9:05")), RESULT_OK);
    EXPECT_EQ(save_message(t.db, MessageRecord{}, message("fits again")), RESULT_OK);
    EXPECT_EQ(t.db.messages.count, kMaxMessages);
    EXPECT_EQ(listed(t.db).size(), static_cast<std::size_t>(kMaxMessages));
}

TEST(Messages, FailedWriteAnswersFour) {
    ReportDb t;
    t.db.paths.messages = t.folder + "/no such folder/messages.dat";
    EXPECT_EQ(save_message(t.db, MessageRecord{}, message("kept in memory")), RESULT_SAVE_FAILED);
    EXPECT_EQ(t.db.messages.count, 1);
    EXPECT_TRUE(t.db.messages_unsaved);
}

}  // namespace
}  // namespace stk::server::testing
