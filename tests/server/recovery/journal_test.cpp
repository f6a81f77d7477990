// The journal file on its own: where it ends, and what it never reads back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "server/db/journal.h"
#include "tests/server/recovery/crash_set.h"

namespace stk::server::testing {
namespace {

class JournalFile : public ::testing::Test {
protected:
    std::vector<std::string> reopen() {
        Journal journal;
        std::vector<std::string> records;
        EXPECT_TRUE(journal.open(platform::posix_file_system(), path, &records).ok());
        return records;
    }
    void append(Journal& journal, const std::string& body) { ASSERT_TRUE(journal.append(body).ok()); }

    CrashSet set;  // only for its temporary folder
    const std::string path = set.folder + "/journal.dat";
};

TEST_F(JournalFile, RecordsAreReadBackInOrderUpToATornOne) {
    Journal journal;
    std::vector<std::string> none;
    ASSERT_TRUE(journal.open(platform::posix_file_system(), path, &none).ok());
    EXPECT_TRUE(none.empty());
    EXPECT_GE(std::filesystem::file_size(path), Journal::kReservedBytes);  // room kept for a full disk
    append(journal, "first");
    append(journal, std::string(5000, 'x'));
    append(journal, "third");
    EXPECT_EQ(reopen(), (std::vector<std::string>{"first", std::string(5000, 'x'), "third"}));

    // A crash in the middle of the second record: it and everything after it are not there.
    {
        std::FILE* f = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fseek(f, 32 + 5 + 32 + 2500, SEEK_SET);
        std::fputc('?', f);
        std::fclose(f);
    }
    EXPECT_EQ(reopen(), std::vector<std::string>{"first"});
}

TEST_F(JournalFile, ARestartedJournalNeverReadsItsOldRecordsAgain) {
    Journal journal;
    std::vector<std::string> none;
    ASSERT_TRUE(journal.open(platform::posix_file_system(), path, &none).ok());
    append(journal, "aaaa");
    append(journal, "bbbb");
    append(journal, "cccc");

    // The next record takes the first one's place exactly; the old second one behind it stays unread.
    journal.restart();
    EXPECT_TRUE(journal.empty());
    append(journal, "dddd");
    EXPECT_EQ(reopen(), std::vector<std::string>{"dddd"});

    // Records that follow on are read, and a journal opened again goes on after them.
    append(journal, "eeee");
    journal.close();
    std::vector<std::string> records;
    ASSERT_TRUE(journal.open(platform::posix_file_system(), path, &records).ok());
    EXPECT_EQ(records, (std::vector<std::string>{"dddd", "eeee"}));
    append(journal, "ffff");
    EXPECT_EQ(reopen(), (std::vector<std::string>{"dddd", "eeee", "ffff"}));

    // Cleared: nothing, also for the records of the earlier run that a new one does not overwrite.
    ASSERT_TRUE(journal.clear().ok());
    EXPECT_TRUE(reopen().empty());
    append(journal, "gggg");
    EXPECT_EQ(reopen(), std::vector<std::string>{"gggg"});

    // Opened fresh (the tables already hold it): the old record is ignored and overwritten.
    Journal fresh;
    ASSERT_TRUE(fresh.open_fresh(platform::posix_file_system(), path).ok());
    append(fresh, "hhhh");
    EXPECT_EQ(reopen(), std::vector<std::string>{"hhhh"});
}

}  // namespace
}  // namespace stk::server::testing
