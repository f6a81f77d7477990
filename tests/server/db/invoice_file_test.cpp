#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>

#include "common/protocol.h"
#include "server/db/invoice_file.h"
#include "server/db/invoice_preload.h"
#include "tests/server/handlers/invoice_fixture.h"

namespace {

std::atomic<int> fsync_calls{0};
std::atomic<bool> fsync_fails{false};

}  // namespace

// Counts flushes to the disk and can make them fail; otherwise passes through to the C library.
extern "C" int fsync(int fd) {
    ++fsync_calls;
    if (fsync_fails) {
        errno = EIO;
        return -1;
    }
    using Fn = int (*)(int);
    static const Fn real = reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, "fsync"));
    return real ? real(fd) : 0;
}

namespace stk::server {
namespace {

using testing::InvoiceDb;
using testing::make_line;
using testing::same_bytes;

constexpr std::size_t kSlot = sizeof(InvoiceRecord);

std::int32_t int_at(const std::string& bytes, std::size_t offset) {
    std::int32_t v = 0;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

void put_int(std::string& bytes, std::size_t offset, std::int32_t v) { std::memcpy(bytes.data() + offset, &v, 4); }

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A set with two invoices written the way the server writes them; returns the file's bytes.
std::string two_invoice_file(InvoiceDb& t) {
    const int a = t.new_invoice();
    EXPECT_EQ(t.add_line(a, make_line("2", "1.5")), 1);
    const int b = t.new_invoice();
    std::string change;
    EXPECT_EQ(set_invoice_field(t.db, b, FIELD_CUSTOMER_NAME, "Smith", t.copy(b), &change), 1);
    return t.invoices_file();
}

std::string corrupt_line(const std::string& path) {
    return "Invoice database wrong format or version or invoice database corrupt.\r\n" + path + "\r\n";
}

TEST(InvoiceFile, MissingFileStartsEmptyAndEmptyTablesWriteNothing) {
    InvoiceDb t;
    ASSERT_EQ(load_invoices(t.db, t.db.paths.invoices), 1);
    EXPECT_EQ(t.db.invoices.count, 0);
    EXPECT_TRUE(platform::file_exists(t.db.paths.invoices));
    EXPECT_EQ(t.invoices_file(), "");
    EXPECT_EQ(load_invoices(t.db, t.db.paths.invoices), 1);

    write_file(t.db.paths.invoices, "keep");
    EXPECT_EQ(save_invoices(t.db, t.db.paths.invoices), 1);
    EXPECT_EQ(save_invoice(t.db, 0, t.db.paths.invoices), 1);
    EXPECT_EQ(t.invoices_file(), "keep");
    EXPECT_EQ(t.log, "");
}

TEST(InvoiceFile, InPlaceWritesKeepTheWholeFileImage) {
    InvoiceDb t;
    t.new_invoice();
    std::string bytes = t.invoices_file();
    ASSERT_EQ(bytes.size(), 12 + 2 * kSlot);
    EXPECT_EQ(int_at(bytes, 0), 1);
    EXPECT_EQ(int_at(bytes, 4), static_cast<std::int32_t>(12 + 2 * kSlot));
    EXPECT_EQ(int_at(bytes, 8), 1);
    EXPECT_EQ(bytes.substr(12, kSlot), std::string(kSlot, '\0'));
    EXPECT_EQ(std::memcmp(bytes.data() + 12 + kSlot, &t.db.invoices[1], kSlot), 0);

    bytes = two_invoice_file(t);
    EXPECT_EQ(bytes.size(), 12 + 3 * kSlot);
    ASSERT_EQ(save_invoices(t.db, t.db.paths.invoices), 1);
    EXPECT_EQ(t.invoices_file(), bytes);
    EXPECT_FALSE(platform::file_exists(t.db.paths.invoices + ".tmp"));

    InvoiceDb restarted;
    ASSERT_EQ(load_invoices(restarted.db, t.db.paths.invoices), 1);
    ASSERT_EQ(restarted.db.invoices.count, 2);
    for (int i = 0; i <= 2; ++i) EXPECT_TRUE(same_bytes(restarted.db.invoices[i], t.db.invoices[i])) << i;
}

TEST(InvoiceFile, DamagedFilesAreRefusedAsCorrupt) {
    InvoiceDb source;
    const std::string good = two_invoice_file(source);
    const std::size_t slot2 = 12 + 2 * kSlot;
    const std::size_t line_count = offsetof(InvoiceRecord, line_count);

    std::string wrong_format = good;
    put_int(wrong_format, 0, 2);
    std::string count_off = good;  // size field right, count pointing past the slots
    put_int(count_off, 8, 3);
    std::string negative_count = good.substr(0, 12);
    put_int(negative_count, 4, 12);
    put_int(negative_count, 8, -1);
    std::string too_many_lines = good;
    put_int(too_many_lines, slot2 + line_count, 13);
    std::string negative_lines = good;
    put_int(negative_lines, slot2 + line_count, -1);
    std::string huge_lines = good;
    put_int(huge_lines, slot2 + line_count, 0x7fffffff);

    for (const std::string& bytes : {good + '\0', good.substr(0, good.size() - 1), wrong_format, count_off,
                                     negative_count, too_many_lines, negative_lines, huge_lines}) {
        InvoiceDb t;
        write_file(t.db.paths.invoices, bytes);
        EXPECT_EQ(load_invoices(t.db, t.db.paths.invoices), 0);
        EXPECT_EQ(t.log, corrupt_line(t.db.paths.invoices));
        EXPECT_EQ(t.db.invoices.count, 0);
        EXPECT_EQ(t.invoices_file(), bytes);
    }
}

TEST(InvoiceFile, AStartUpLoadWithTheFileReadAheadEndsAsOneThatReadsItItself) {
    InvoiceDb source;
    const std::string good = two_invoice_file(source);
    std::string bad_lines = good;
    put_int(bad_lines, 12 + 2 * kSlot + offsetof(InvoiceRecord, line_count), 13);
    std::string counted_ahead = good;  // a third invoice counted, its slot never written
    put_int(counted_ahead, 4, static_cast<std::int32_t>(12 + 4 * kSlot));
    put_int(counted_ahead, 8, 3);
    std::string counted_behind = good + std::string(kSlot, 'x');  // a slot written, the header not yet
    std::string wrong_format = good;
    put_int(wrong_format, 0, 2);
    for (const std::string& bytes : {good, bad_lines, counted_ahead, counted_behind, wrong_format}) {
        InvoiceDb plain, ahead;
        write_file(plain.db.paths.invoices, bytes);
        write_file(ahead.db.paths.invoices, bytes);
        TornInvoices plain_torn, ahead_torn;
        const int plain_result = load_invoices(plain.db, plain.db.paths.invoices, &plain_torn);
        InvoicePreload preload;
        preload.start(ahead.db.paths.invoices, ahead.db.invoices);
        EXPECT_EQ(load_invoices(ahead.db, ahead.db.paths.invoices, &ahead_torn, &preload), plain_result);
        ASSERT_EQ(ahead.db.invoices.count, plain.db.invoices.count);
        EXPECT_EQ(ahead_torn.kept, plain_torn.kept);
        for (int n = 0; n <= plain.db.invoices.count; ++n) {
            EXPECT_TRUE(same_bytes(ahead.db.invoices[n], plain.db.invoices[n])) << n;
        }
        EXPECT_EQ(ahead.log.size(), plain.log.size());
    }
}

TEST(InvoiceFile, MoreInvoicesThanTheCapacityAreRefused) {
    InvoiceDb source;
    const std::string bytes = two_invoice_file(source);
    InvoiceDb t(8, 1);
    write_file(t.db.paths.invoices, bytes);
    EXPECT_EQ(load_invoices(t.db, t.db.paths.invoices), 0);
    EXPECT_EQ(t.log,
              "Please increase maximum size of invoices database and restart Stockavelle. Please see stockavelle "
              "client settings.txt and stockavelle server settings.txt.\r\n");
    EXPECT_EQ(t.db.invoices.count, 0);

    // The header's 32-bit size field bounds the file whatever MAX_INVOICES says: the last invoice that fits
    // still gets a size the next start accepts, one more would wrap it.
    const std::int64_t largest = 12 + (static_cast<std::int64_t>(kMaxInvoicesInFile) + 1) * 6496;
    EXPECT_LE(largest, std::numeric_limits<std::int32_t>::max());
    EXPECT_GT(largest + 6496, std::numeric_limits<std::int32_t>::max());
}

TEST(InvoiceFile, SavesReachTheDiskBeforeTheyReportSuccess) {
    InvoiceDb t;
    const std::string before = two_invoice_file(t);

    fsync_calls = 0;
    ASSERT_EQ(save_invoice(t.db, 1, t.db.paths.invoices), 1);
    EXPECT_GE(fsync_calls.load(), 1);

    std::string change;
    fsync_fails = true;
    ASSERT_EQ(set_invoice_field(t.db, 1, FIELD_NOTE, "late", t.copy(1), &change), 4);
    EXPECT_TRUE(t.db.invoices_unsaved);
    EXPECT_EQ(save_invoice(t.db, 1, t.db.paths.invoices), 0);
    // A failed whole-file save leaves the previous file as it was, without a half-written copy.
    const std::string after_in_place = t.invoices_file();
    EXPECT_EQ(save_invoices(t.db, t.db.paths.invoices), 0);
    fsync_fails = false;
    EXPECT_EQ(t.invoices_file(), after_in_place);
    EXPECT_FALSE(platform::file_exists(t.db.paths.invoices + ".tmp"));

    fsync_calls = 0;
    ASSERT_EQ(save_invoices(t.db, t.db.paths.invoices), 1);
    EXPECT_GE(fsync_calls.load(), 1);
    InvoiceDb restarted;
    ASSERT_EQ(load_invoices(restarted.db, t.db.paths.invoices), 1);
    EXPECT_EQ(field(restarted.db.invoices[1].note), "late");
    EXPECT_NE(t.invoices_file(), before);
}

}  // namespace
}  // namespace stk::server
