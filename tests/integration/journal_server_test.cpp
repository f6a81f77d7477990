// The journal through the real server: a change whose file cannot be written survives the end of the server.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/text_field.h"
#include "tests/support/server_process.h"

using stk::test::ServerProcess;

TEST(JournalServer, AMessageThatCouldNotBeSavedIsKeptByTheJournalAcrossTheEnd) {
    ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log() << server.errors();

    // The message file cannot be replaced: its temporary file's name is taken by a folder.
    const std::string blocker = server.database_set() + "/messages.dat.tmp";
    std::filesystem::create_directory(blocker);
    stk::MessageRecord note{};
    stk::set_field(note.text, "call the plumber");
    EXPECT_EQ(server.api().save_message(stk::MessageRecord{}, note), 4);
    ASSERT_TRUE(server.wait_for_count("Waiting for a client request\r\n", 2, 20000)) << server.log();

    // SIGTERM: one more try, a plain account of what is unsaved, and a status that says so.
    EXPECT_FALSE(server.stop());
    EXPECT_EQ(server.exit_code(), 1);
    const std::string log = server.log();
    EXPECT_NE(log.find("Stockavelle Server is ending with databases that could not be saved: messages.\r\n"
                       "Their changes are kept in the journal and are applied at the next start:\r\n" +
                       server.database_set() + "/journal.dat\r\n"),
              std::string::npos)
        << log;

    std::filesystem::remove(blocker);
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    EXPECT_NE(server.log().find("Changes kept in the journal were applied to the databases (1):"), std::string::npos)
        << server.log();
    std::vector<stk::MessageRecord> messages;
    ASSERT_EQ(server.api().list_messages(&messages), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(stk::field(messages[0].text), "call the plumber");
    EXPECT_TRUE(server.stop());
}
