// Start-up and the end of the server around the journal: a cut-short invoice file, a full disk, and what the
// log tells.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/protocol.h"
#include "common/text_field.h"
#include "server/handlers/invoice_ops.h"
#include "server/handlers/message_ops.h"
#include "tests/server/recovery/crash_set.h"

namespace stk::server::testing {
namespace {

constexpr std::size_t kSlot = sizeof(InvoiceRecord);

InvoiceRecord copy(ServerDatabase& db, int index) {
    InvoiceRecord r{};
    EXPECT_EQ(get_invoice(db, index, r), RESULT_OK);
    return r;
}

// Two invoices with a customer each, saved and ended cleanly.
void two_invoices(CrashSet& set) {
    ASSERT_TRUE(set.start()) << set.log;
    int n = 0;
    std::string change;
    for (const char* customer : {"Smith", "Jones"}) {
        ASSERT_EQ(new_invoice(set.db(), &n), RESULT_OK);
        ASSERT_EQ(set_invoice_field(set.db(), n, FIELD_CUSTOMER_NAME, customer, copy(set.db(), n), &change), RESULT_OK);
    }
    ASSERT_TRUE(set.stop()) << set.log;
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(Startup, AnInvoiceFileCutShortLoadsItsWholeInvoicesAndSaysWhatWasLeftOut) {
    CrashSet set;
    two_invoices(set);
    const std::string path = set.folder + "/invoices.dat";
    const std::string whole = set.file("invoices.dat");
    ASSERT_EQ(whole.size(), 12 + 3 * kSlot);

    // A new slot half written and its header never updated; no journal record for it.
    write_file(path, whole + std::string(3000, 'z'));
    set.log.clear();
    ASSERT_TRUE(set.start()) << set.log;
    EXPECT_EQ(set.db().invoices.count, 2);
    EXPECT_EQ(field(set.db().invoices[2].customer_name), "Jones");
    EXPECT_EQ(set.log,
              "Invoice database was cut short while it grew. Kept the 2 whole invoices of the 2 it counts, and left "
              "out 3000 bytes after them:\r\n" +
                  path + "\r\n");
    EXPECT_EQ(set.file("invoices.dat"), whole);  // repaired on disk at once
    set.kill();

    // A header ahead of its data (an older writer, or a disk that reordered the writes): whole invoices only.
    write_file(path, whole.substr(0, 12 + 2 * kSlot + 100));
    set.log.clear();
    ASSERT_TRUE(set.start()) << set.log;
    EXPECT_EQ(set.db().invoices.count, 1);
    EXPECT_NE(set.log.find("Kept the 1 whole invoices of the 2 it counts, and left out 100 bytes"), std::string::npos)
        << set.log;
    EXPECT_EQ(set.file("invoices.dat").size(), 12 + 2 * kSlot);
}

TEST(Startup, AGrownSlotIsWrittenBeforeTheHeaderThatCountsIt) {
    CrashSet set;
    two_invoices(set);
    ASSERT_TRUE(set.start()) << set.log;
    set.files.reset();
    int n = 0;
    ASSERT_EQ(new_invoice(set.db(), &n), RESULT_OK);
    std::vector<std::string> writes;
    for (const std::string& call : set.files.call_log()) {
        if (call.find("invoices.dat") != std::string::npos && call.rfind("pwrite", 0) == 0) {
            writes.push_back(call.substr(0, call.find(' ', 7)));
        }
    }
    EXPECT_EQ(writes, (std::vector<std::string>{"pwrite 6496", "pwrite 12"}));
}

TEST(Startup, AFullDiskKeepsEveryAnsweredChangeInTheJournalForTheNextStart) {
    CrashSet set;
    two_invoices(set);
    ASSERT_TRUE(set.start()) << set.log;

    // New files and growing ones are refused; a slot written over in place still goes in.
    set.files.set_disk_full(true);
    int n = 0;
    MessageRecord note{};
    set_field(note.text, "order more paper");
    EXPECT_EQ(new_invoice(set.db(), &n), RESULT_SAVE_FAILED);
    EXPECT_EQ(add_invoice_item(set.db(), 1, 0, copy(set.db(), 1),
                               [] {
                                   InvoiceLine line{};
                                   set_field(line.description, "Labour");
                                   set_field(line.quantity, "2");
                                   set_field(line.unit_price, "30");
                                   set_field(line.unit_cost, "0");
                                   return line;
                               }()),
              RESULT_OK);
    EXPECT_EQ(save_message(set.db(), MessageRecord{}, note), RESULT_SAVE_FAILED);
    save_all_databases(set.db(), [](std::string_view) { return false; });
    const std::string after = set.state();

    // The server is stopped while the disk is still full: it says what is unsaved and where it is kept.
    set.log.clear();
    EXPECT_FALSE(set.stop());
    EXPECT_NE(set.log.find("Stockavelle Server is ending with databases that could not be saved: invoices, "
                           "messages.\r\nTheir changes are kept in the journal and are applied at the next start:\r\n" +
                           set.folder + "/journal.dat\r\n"),
              std::string::npos)
        << set.log;

    // Space is freed; the next start applies all three changes and empties the journal.
    set.files.set_disk_full(false);
    set.log.clear();
    ASSERT_TRUE(set.start()) << set.log;
    EXPECT_TRUE(set.state() == after);
    EXPECT_NE(set.log.find("Changes kept in the journal were applied to the databases (3):"), std::string::npos)
        << set.log;
    ASSERT_TRUE(set.stop());
    set.log.clear();
    ASSERT_TRUE(set.start());
    EXPECT_EQ(set.log, "");
    EXPECT_TRUE(set.state() == after);
}

TEST(Startup, AJournalThatCannotBeReadStopsStartUpAndIsLeftAlone) {
    CrashSet set;
    std::filesystem::create_directory(set.folder + "/journal.dat");
    EXPECT_FALSE(set.start());
    EXPECT_NE(set.log.find("Unable to read the journal:\r\n" + set.folder + "/journal.dat\r\n"), std::string::npos)
        << set.log;
    EXPECT_TRUE(std::filesystem::is_directory(set.folder + "/journal.dat"));
}

}  // namespace
}  // namespace stk::server::testing
