#include <gtest/gtest.h>

#include <string>

#include "common/protocol.h"
#include "tests/server/handlers/invoice_fixture.h"

namespace stk::server {
namespace {

using testing::InvoiceDb;
using testing::make_line;
using testing::same_bytes;

constexpr std::size_t kSlot = sizeof(InvoiceRecord);

TEST(InvoiceOps, NewInvoiceReusesAnUntouchedSlotAndStopsAtCapacity) {
    InvoiceDb t(8, 2);
    EXPECT_EQ(t.new_invoice(), 1);
    EXPECT_EQ(t.new_invoice(), 1);
    EXPECT_EQ(t.db.invoices.count, 1);
    EXPECT_EQ(t.invoices_file().size(), 12 + 2 * kSlot);
    const InvoiceRecord& fresh = t.db.invoices[1];
    EXPECT_EQ(field(fresh.subtotal), "0.00");
    EXPECT_EQ(field(fresh.total), "0.00");
    EXPECT_EQ(field(fresh.change), "");

    // A slot with only a salesperson and a payment still counts as empty; reuse clears both.
    t.db.invoices[1].payment = PAYMENT_CASH;
    set_field(t.db.invoices[1].salesperson, "Ann");
    EXPECT_EQ(t.new_invoice(), 1);
    EXPECT_EQ(t.db.invoices[1].payment, 0);
    EXPECT_EQ(field(t.db.invoices[1].salesperson), "");

    std::string change;
    EXPECT_EQ(set_invoice_field(t.db, 1, FIELD_CUSTOMER_NAME, "Smith", t.copy(1), &change), 1);
    EXPECT_EQ(t.new_invoice(), 2);
    EXPECT_EQ(set_invoice_field(t.db, 2, FIELD_NOTE, "call back", t.copy(2), &change), 1);

    int index = -1;
    t.log.clear();
    EXPECT_EQ(new_invoice(t.db, &index), 0);
    EXPECT_EQ(t.log,
              "Please increase maximum size of invoices database and restart Stockavelle. Please see stockavelle "
              "client settings.txt and stockavelle server settings.txt.\r\n");
    EXPECT_EQ(t.db.invoices.count, 2);
}

TEST(InvoiceOps, AddedLinesAreNormalisedAndTotalled) {
    InvoiceDb t;
    const int n = t.new_invoice();
    EXPECT_EQ(t.add_line(n, make_line("2", "1.5", "", "", "0.7")), 1);
    InvoiceLine line{};
    ASSERT_EQ(get_invoice_item(t.db, n, 1, line), 1);
    EXPECT_EQ(field(line.unit_price), "1.50");
    EXPECT_EQ(field(line.amount), "3.00");
    EXPECT_EQ(field(line.unit_cost), "0.70");

    EXPECT_EQ(t.add_line(n, make_line("some", "1.5")), 1);
    ASSERT_EQ(get_invoice_item(t.db, n, 2, line), 1);
    EXPECT_EQ(field(line.amount), "1.50");

    EXPECT_EQ(t.add_line(n, make_line("1", "call")), 1);
    ASSERT_EQ(get_invoice_item(t.db, n, 3, line), 1);
    EXPECT_EQ(field(line.amount), "call");

    // 82.5 x 0.01 is 0.825 in double precision, but the single-precision factor makes it 0.8249999...
    EXPECT_EQ(t.add_line(n, make_line("1", "10", "", "", "1", "8.25")), 1);
    const InvoiceRecord& r = t.db.invoices[n];
    EXPECT_EQ(field(r.subtotal), "14.50");
    EXPECT_EQ(field(r.tax), "0.82");
    EXPECT_EQ(field(r.total), "15.32");
    EXPECT_EQ(field(r.change), "0.00");

    double totals[4] = {9, 9, 9, 9};
    EXPECT_EQ(get_invoice_totals(t.db, n, totals), 1);
    EXPECT_DOUBLE_EQ(totals[0], 0.0);
    EXPECT_DOUBLE_EQ(totals[1], 14.50);
    EXPECT_DOUBLE_EQ(totals[2], 0.82);
    EXPECT_DOUBLE_EQ(totals[3], 15.32);
    EXPECT_EQ(get_invoice_totals(t.db, n + 1, totals), 0);

    EXPECT_EQ(get_invoice_item(t.db, n, 0, line), 0);
    EXPECT_EQ(get_invoice_item(t.db, n, 5, line), 0);
}

TEST(InvoiceOps, AddRefusalsAreLogged) {
    InvoiceDb t;
    const int n = t.new_invoice();
    for (int i = 0; i < kMaxInvoiceLines; ++i) ASSERT_EQ(t.add_line(n, make_line("1", "2")), 1);
    const InvoiceRecord full = t.copy(n);
    const std::string file = t.invoices_file();

    t.log.clear();
    EXPECT_EQ(t.add_line(n, make_line("1", "2")), 0);
    EXPECT_EQ(t.log, "Client attempted to add an item to an invoice that is full.\r\n");
    EXPECT_TRUE(same_bytes(t.db.invoices[n], full));
    EXPECT_EQ(t.invoices_file(), file);

    t.log.clear();
    EXPECT_EQ(add_invoice_item(t.db, 2, 0, full, make_line("1", "2")), 0);
    EXPECT_EQ(t.log, "Client attempted to add an item to a non-existent invoice.\r\n");

    const int m = t.new_invoice();
    t.log.clear();
    EXPECT_EQ(t.add_line(m, make_line("1", "2", "", "", "")), 0);
    EXPECT_EQ(t.log, "Client attempted to add an item with insufficient information to an invoice.\r\n");
    EXPECT_EQ(t.db.invoices[m].line_count, 0);
}

TEST(InvoiceOps, AStaleCopyIsRefusedAndNothingChanges) {
    InvoiceDb t;
    const int n = t.new_invoice();
    ASSERT_EQ(t.add_line(n, make_line("1", "4")), 1);
    ASSERT_EQ(t.add_line(n, make_line("2", "4", "", "1")), 1);
    ASSERT_EQ(remove_invoice_item(t.db, n, 2, 0, t.copy(n)), 1);

    // Differs only in a byte behind a text's NUL and in the unused line slot the removal left behind.
    InvoiceRecord stale = t.copy(n);
    stale.customer_name[40] = 'x';
    InvoiceRecord stale_slot = t.copy(n);
    stale_slot.lines[1].quantity[0] = '9';

    const InvoiceRecord before = t.copy(n);
    const std::string file = t.invoices_file();
    for (const InvoiceRecord* copy : {&stale, &stale_slot}) {
        double filled = -1;
        std::string change = "untouched";
        EXPECT_EQ(add_invoice_item(t.db, n, 0, *copy, make_line("1", "1")), 2);
        EXPECT_EQ(fill_backorder(t.db, n, 1, *copy, make_line("1", "1"), &filled), 2);
        EXPECT_EQ(filled, 0.0);
        EXPECT_EQ(remove_invoice_item(t.db, n, 1, 1, *copy), 2);
        EXPECT_EQ(replace_invoice_item(t.db, n, 1, *copy, make_line("3", "3")), 2);
        EXPECT_EQ(set_invoice_field(t.db, n, FIELD_CASH_RECEIVED, "50", *copy, &change), 2);
        EXPECT_EQ(change, "untouched");
        EXPECT_EQ(set_invoice_payment(t.db, n, PAYMENT_CASH, *copy), 2);
        EXPECT_EQ(set_invoice_status(t.db, n, STATUS_COMPLETE, *copy), 2);
        EXPECT_EQ(set_invoice_customer(t.db, n, *copy, *copy), 2);
    }
    EXPECT_TRUE(same_bytes(t.db.invoices[n], before));
    EXPECT_EQ(t.invoices_file(), file);

    // Removing a line that is gone is "changed meanwhile" too; line 0 and unknown invoices are plain refusals.
    EXPECT_EQ(remove_invoice_item(t.db, n, 2, 0, before), 2);
    EXPECT_EQ(remove_invoice_item(t.db, n, 0, 0, before), 0);
    EXPECT_EQ(remove_invoice_item(t.db, n + 1, 1, 0, before), 0);
    EXPECT_EQ(replace_invoice_item(t.db, n, 2, before, make_line("1", "1")), 0);
    EXPECT_EQ(set_invoice_status(t.db, 0, 1, before), 0);
}

TEST(InvoiceOps, RemovingAndReplacingLines) {
    InvoiceDb t;
    const int n = t.new_invoice();
    for (const char* price : {"1", "2", "3"}) ASSERT_EQ(t.add_line(n, make_line("1", price)), 1);
    ASSERT_EQ(remove_invoice_item(t.db, n, 1, 0, t.copy(n)), 1);
    const InvoiceRecord& r = t.db.invoices[n];
    EXPECT_EQ(r.line_count, 2);
    EXPECT_EQ(field(r.lines[0].unit_price), "2.00");
    EXPECT_EQ(field(r.lines[2].unit_price), "3.00");  // the old last slot keeps its bytes
    EXPECT_EQ(field(r.total), "5.00");

    // A replacement line is stored exactly as sent.
    InvoiceLine raw = make_line("2", "1.5");
    set_field(raw.amount, "99");
    EXPECT_EQ(replace_invoice_item(t.db, n, 2, t.copy(n), raw), 1);
    EXPECT_EQ(std::memcmp(&r.lines[1], &raw, sizeof raw), 0);
    EXPECT_EQ(field(r.subtotal), "101.00");
}

TEST(InvoiceOps, CashReceivedGivesChange) {
    InvoiceDb t;
    const int n = t.new_invoice();
    ASSERT_EQ(t.add_line(n, make_line("1", "17.5")), 1);
    std::string change;
    EXPECT_EQ(set_invoice_field(t.db, n, FIELD_CASH_RECEIVED, "20", t.copy(n), &change), 1);
    EXPECT_EQ(change, "2.50");
    EXPECT_EQ(field(t.db.invoices[n].cash_received), "20");
    EXPECT_EQ(set_invoice_field(t.db, n, FIELD_CASH_RECEIVED, "twenty", t.copy(n), &change), 1);
    EXPECT_EQ(change, "0.00");

    // Unknown codes change nothing but are answered as done; other codes leave the change text alone.
    change = "kept";
    const InvoiceRecord before = t.copy(n);
    EXPECT_EQ(set_invoice_field(t.db, n, 403, "x", before, &change), 1);
    EXPECT_TRUE(same_bytes(t.db.invoices[n], before));
    EXPECT_EQ(set_invoice_field(t.db, n, FIELD_TIME, "9:05:00", t.copy(n), &change), 1);
    EXPECT_EQ(change, "kept");
    EXPECT_EQ(field(t.db.invoices[n].time), "9:05:00");
}

TEST(InvoiceOps, PaymentNumbersDatesAndCompletesTheInvoice) {
    InvoiceDb t;
    const int first = t.new_invoice();
    ASSERT_EQ(set_invoice_payment(t.db, first, PAYMENT_CASH, t.copy(first)), 1);
    const InvoiceRecord& r1 = t.db.invoices[first];
    EXPECT_EQ(field(r1.invoice_number), "1");
    EXPECT_EQ(r1.status, STATUS_COMPLETE);
    EXPECT_EQ(field(r1.date).size(), 10u);
    EXPECT_FALSE(field(r1.time).empty());

    std::string change;
    ASSERT_EQ(set_invoice_field(t.db, first, FIELD_INVOICE_NUMBER, "1041", t.copy(first), &change), 1);
    const int second = t.new_invoice();
    ASSERT_EQ(set_invoice_field(t.db, second, FIELD_INVOICE_NUMBER, "R-7", t.copy(second), &change), 1);
    const int third = t.new_invoice();
    ASSERT_EQ(set_invoice_field(t.db, third, FIELD_DATE, "01/02/2026", t.copy(third), &change), 1);
    ASSERT_EQ(set_invoice_payment(t.db, third, PAYMENT_CHECK, t.copy(third)), 1);
    EXPECT_EQ(field(t.db.invoices[third].invoice_number), "1042");
    EXPECT_EQ(field(t.db.invoices[third].date), "01/02/2026");
    EXPECT_EQ(field(t.db.invoices[third].time), "");

    // Back to unpaid keeps the completion; the same payment again is a no-op.
    ASSERT_EQ(set_invoice_payment(t.db, third, PAYMENT_UNPAID, t.copy(third)), 1);
    EXPECT_EQ(t.db.invoices[third].status, STATUS_COMPLETE);
    EXPECT_EQ(field(t.db.invoices[third].invoice_number), "1042");
    ASSERT_EQ(set_invoice_status(t.db, third, 7, t.copy(third)), 1);
    EXPECT_EQ(t.db.invoices[third].status, 7);
}

TEST(InvoiceOps, InvoiceNumbersPastOneMillionStayNumbers) {
    InvoiceDb t;
    std::string change;
    const int first = t.new_invoice();
    ASSERT_EQ(set_invoice_field(t.db, first, FIELD_INVOICE_NUMBER, "999999", t.copy(first), &change), 1);
    const int second = t.new_invoice();
    ASSERT_EQ(set_invoice_payment(t.db, second, PAYMENT_CASH, t.copy(second)), 1);
    EXPECT_EQ(field(t.db.invoices[second].invoice_number), "1000000");
    const int third = t.new_invoice();
    ASSERT_EQ(set_invoice_payment(t.db, third, PAYMENT_CASH, t.copy(third)), 1);
    EXPECT_EQ(field(t.db.invoices[third].invoice_number), "1000001");
}

TEST(InvoiceOps, CustomerHeaderCopiesTextsOnly) {
    InvoiceDb t;
    const int n = t.new_invoice();
    ASSERT_EQ(t.add_line(n, make_line("2", "5")), 1);
    InvoiceRecord header{};
    set_field(header.customer_name, "Smith");
    set_field(header.cash_received, "15");
    set_field(header.change, "999");
    header.payment = PAYMENT_CASH;
    ASSERT_EQ(set_invoice_customer(t.db, n, t.copy(n), header), 1);
    const InvoiceRecord& r = t.db.invoices[n];
    EXPECT_EQ(field(r.customer_name), "Smith");
    EXPECT_EQ(r.payment, 0);
    EXPECT_EQ(r.line_count, 1);
    EXPECT_EQ(field(r.change), "5.00");  // recomputed, not copied
}

TEST(InvoiceOps, FindBackorderSkipsEmptyAndZeroBackorders) {
    InvoiceDb t;
    const int a = t.new_invoice();
    ASSERT_EQ(t.add_line(a, make_line("3", "1", "bolt", "0")), 1);
    ASSERT_EQ(t.add_line(a, make_line("3", "1", "bolt", "")), 1);
    ASSERT_EQ(t.add_line(a, make_line("3", "1", "nut", "2")), 1);
    const int b = t.new_invoice();
    ASSERT_EQ(t.add_line(b, make_line("3", "1", "bolt", "none")), 1);
    ASSERT_EQ(t.add_line(b, make_line("3", "1", "BOLT", "2")), 1);
    const int c = t.new_invoice();
    ASSERT_EQ(t.add_line(c, make_line("3", "1", "bolt", "1")), 1);

    int index = -1;
    int line = -1;
    find_backorder(t.db, "Bolt", 0, &index, &line);
    EXPECT_EQ(index, b);
    EXPECT_EQ(line, 2);
    find_backorder(t.db, "bolt", b + 1, &index, &line);
    EXPECT_EQ(index, c);
    EXPECT_EQ(line, 1);
    find_backorder(t.db, "bolt", c + 1, &index, &line);
    EXPECT_EQ(index, 0);
    find_backorder(t.db, "washer", 1, &index, &line);
    EXPECT_EQ(index, 0);
    find_backorder(t.db, "", 1, &index, &line);
    EXPECT_EQ(index, 0);
}

TEST(InvoiceOps, BackorderFillsAverageTheLineCost) {
    InvoiceDb t;
    const int n = t.new_invoice();
    ASSERT_EQ(t.add_line(n, make_line("5", "10", "", "4", "2")), 1);
    ASSERT_EQ(t.add_line(n, make_line("4", "10", "", "4", "2")), 1);
    ASSERT_EQ(t.add_line(n, make_line("0", "10", "", "0", "2")), 1);
    const std::string total = std::string(field(t.db.invoices[n].total));
    const InvoiceRecord& r = t.db.invoices[n];

    double filled = -1;
    ASSERT_EQ(fill_backorder(t.db, n, 1, t.copy(n), make_line("6", "0", "", "", "3"), &filled), 1);
    EXPECT_EQ(filled, 4.0);
    EXPECT_EQ(field(r.lines[0].backorder_quantity), "");
    EXPECT_EQ(field(r.lines[0].unit_cost), "2.80");  // (1 x 2 + 4 x 3) / 5
    EXPECT_EQ(field(r.lines[0].quantity), "5");

    ASSERT_EQ(fill_backorder(t.db, n, 2, t.copy(n), make_line("1", "0", "", "", "3"), &filled), 1);
    EXPECT_EQ(filled, 1.0);
    EXPECT_EQ(field(r.lines[1].backorder_quantity), "3");
    EXPECT_EQ(field(r.lines[1].unit_cost), "3.00");
    EXPECT_EQ(field(r.total), total);

    // Nothing ever delivered on the line: there is no average to take, so the cost stays a number.
    ASSERT_EQ(fill_backorder(t.db, n, 3, t.copy(n), make_line("1", "0", "", "", "3"), &filled), 1);
    EXPECT_EQ(filled, 0.0);
    EXPECT_EQ(field(r.lines[2].unit_cost), "2.00");

    // An emptied backorder is not a number any more, and line 4 does not exist.
    EXPECT_EQ(fill_backorder(t.db, n, 1, t.copy(n), make_line("1", "0"), &filled), 0);
    EXPECT_EQ(fill_backorder(t.db, n, 4, t.copy(n), make_line("1", "0"), &filled), 0);
    EXPECT_EQ(fill_backorder(t.db, n, 2, t.copy(n), make_line("one", "0"), &filled), 0);
}

TEST(InvoiceOps, FailedWritesAnswerFourAndKeepTheChange) {
    InvoiceDb t;
    const int n = t.new_invoice();
    t.db.paths.invoices = t.folder + "/missing/invoices.dat";
    std::string change;
    EXPECT_EQ(set_invoice_field(t.db, n, FIELD_CUSTOMER_NAME, "Smith", t.copy(n), &change), 4);
    EXPECT_EQ(field(t.db.invoices[n].customer_name), "Smith");
    EXPECT_TRUE(t.db.invoices_unsaved);
    int index = 0;
    EXPECT_EQ(new_invoice(t.db, &index), 4);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(t.db.invoices.count, 2);
}

}  // namespace
}  // namespace stk::server
