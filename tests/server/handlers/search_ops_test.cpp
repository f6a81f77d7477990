#include "server/handlers/search_ops.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "report_test_db.h"

namespace stk::server::testing {
namespace {

// The item numbers of a SEARCH_INVENTORY answer, read back from the packed items.
std::vector<std::string> packed_numbers(const std::string& blocks, int count) {
    std::vector<std::string> numbers;
    std::size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        EXPECT_LE(pos + 16, blocks.size());
        EXPECT_EQ(blocks[pos], '\0');
        std::size_t total = 0;
        for (int f = 1; f <= 15; ++f) total += static_cast<std::uint8_t>(blocks[pos + f]);
        const std::size_t number_length = static_cast<std::uint8_t>(blocks[pos + 1]);
        numbers.push_back(blocks.substr(pos + 16, number_length));
        pos += 16 + total;
    }
    EXPECT_EQ(pos, blocks.size());
    return numbers;
}

std::vector<std::string> find_items(ReportDb& t, std::string_view query) {
    std::string blocks;
    const int n = search_inventory(t.db, query, blocks);
    return packed_numbers(blocks, n);
}

struct Row {
    std::int32_t index;
    std::int32_t line;
    std::string text;
};

std::vector<Row> rows_of(const std::string& blocks, int count) {
    std::vector<Row> rows;
    std::size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        Row r{};
        std::int32_t length = 0;
        std::memcpy(&r.index, blocks.data() + pos, 4);
        std::memcpy(&r.line, blocks.data() + pos + 4, 4);
        std::memcpy(&length, blocks.data() + pos + 8, 4);
        EXPECT_GE(length, 1);
        r.text = blocks.substr(pos + 12, static_cast<std::size_t>(length));
        EXPECT_EQ(r.text.back(), '\0');
        r.text.pop_back();
        rows.push_back(r);
        pos += 12 + static_cast<std::size_t>(length);
    }
    EXPECT_EQ(pos, blocks.size());
    return rows;
}

std::vector<Row> find_invoices(ReportDb& t, std::string_view query, int unpaid_only = 0) {
    std::string blocks;
    const int n = search_invoices(t.db, query, unpaid_only, blocks);
    return rows_of(blocks, n);
}

using Names = std::vector<std::string>;

TEST(SearchInventory, WordsMatchAnywhereAndAllMustMatch) {
    ReportDb t;
    t.add_item({.number = "B-100", .description = "Carriage bolt"});
    t.add_item({.number = "B-8", .description = "Bolt 8mm"});
    t.add_item({.number = "W-10", .description = "Washer 10mm"});
    t.add_item({.number = "SHIRT", .description = "Red shirt", .note = "Large"});
    t.add_item({.number = "CAP", .description = "Red cap", .note = "Small", .remark = "bolt-10 tester"});

    // "-" is a blank: BOLT and 10, each in either the number or the other texts.
    EXPECT_EQ(find_items(t, "bolt-10"), (Names{"B-100", "CAP"}));
    EXPECT_EQ(find_items(t, "red large"), (Names{"SHIRT"}));
    EXPECT_EQ(find_items(t, "RED"), (Names{"SHIRT", "CAP"}));
    // A leading blank or two blanks give an empty word, which matches everything.
    EXPECT_EQ(find_items(t, " red  large"), (Names{"SHIRT"}));
    EXPECT_EQ(find_items(t, "*"), (Names{"B-100", "B-8", "W-10", "SHIRT", "CAP"}));
    EXPECT_TRUE(find_items(t, "").empty());
    EXPECT_TRUE(find_items(t, "nothing").empty());

    // The marks record the latest search.
    find_items(t, "washer");
    EXPECT_EQ(t.db.search_marks[1], 0);
    EXPECT_EQ(t.db.search_marks[3], 1);
}

TEST(SearchInventory, PackedItemCarriesEveryFieldWithoutSeparators) {
    ReportDb t;
    InventoryRecord& r = t.add_item({.number = "N1", .description = "Nut", .quantity = "12", .cost = "0.25"});
    set_field(r.unit_price, "0.40");
    set_field(r.last_audit_date, "12/01/2026");
    std::string blocks;
    ASSERT_EQ(search_inventory(t.db, "nut", blocks), 1);
    const std::string expected_lengths("\0\2\3\0\4\2\0\0\0\0\0\4\0\0\0\12", 16);
    EXPECT_EQ(blocks, expected_lengths + "N1Nut0.40120.2512/01/2026");

    // Prices, quantities and costs are sent but never searched.
    EXPECT_TRUE(find_items(t, "0.40").empty());
    // An item with nothing in it still answers its 16-byte length block.
    t.add_item({.number = ""});
    blocks.clear();
    ASSERT_EQ(search_inventory(t.db, "*", blocks), 2);
    EXPECT_EQ(blocks.size(), 16 + 25 + 16u);
}

TEST(SearchInvoices, MatchesLinesFirstThenTheInvoiceTexts) {
    ReportDb t;
    t.add_invoice("Ann Archer", 1,
                  {{.item_number = "B-1", .description = "Bolt", .remark = "zinc"},
                   {.description = "Red paint"},
                   {.item_number = "L-9", .description = "Large drum", .note = "fragile"}});
    InvoiceRecord& empty = t.add_invoice("Bob Builder", 0);
    set_field(empty.total, "12.50");
    empty.status = 1;
    set_field(empty.salesperson, "Cy");
    set_field(empty.customer_phone_number, "555-0100");

    // Two words on different lines leave the preview on the later word's line.
    auto rows = find_invoices(t, "large red");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].index, 1);
    EXPECT_EQ(rows[0].line, 2);
    rows = find_invoices(t, "red fragile");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].line, 3);
    EXPECT_EQ(rows[0].text, "1001\t12/01/2026\t9:05:00\tAnn Archer\t\tL-9 Large drum\t0.00\tINCOMPLETE\tCASH\t");
    // A word that only the customer has keeps line 1; the preview shows number, description and remark.
    rows = find_invoices(t, "ann");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].line, 1);
    EXPECT_NE(rows[0].text.find("\tB-1 Bolt zinc\t"), std::string::npos);

    // An invoice without lines matches on its customer; its preview is empty and its line number 1.
    rows = find_invoices(t, "builder");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].index, 2);
    EXPECT_EQ(rows[0].line, 1);
    EXPECT_EQ(rows[0].text, "1002\t12/01/2026\t9:05:00\tBob Builder\t555-0100\t\t12.50\tCOMPLETE\tUNPAID\tCy");

    // The empty query admits every invoice; the unpaid flag drops paid ones whatever matches; other flags
    // admit none.
    EXPECT_EQ(find_invoices(t, "").size(), 2u);
    rows = find_invoices(t, "", 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].index, 2);
    EXPECT_TRUE(find_invoices(t, "ann", 1).empty());
    EXPECT_TRUE(find_invoices(t, "", 2).empty());
    // Every word must match somewhere.
    EXPECT_TRUE(find_invoices(t, "bolt builder").empty());
}

TEST(SearchInvoices, InvoiceNumberAsStoredAndPaymentWords) {
    ReportDb t;
    InvoiceRecord& a = t.add_invoice("Dee", 6);
    set_field(a.invoice_number, "inv-7");
    a.status = 5;
    // The invoice number is not upper-cased, so a small-letter number only matches on its digits.
    EXPECT_TRUE(find_invoices(t, "inv").empty());
    EXPECT_EQ(find_invoices(t, "7").size(), 1u);
    // FINANCED is searchable but the row names only codes 0-5; an unknown status shows as empty.
    const auto rows = find_invoices(t, "financed");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "inv-7\t12/01/2026\t9:05:00\tDee\t\t\t0.00\t\t\t");
    EXPECT_EQ(find_invoices(t, "credit").size(), 0u);
}

}  // namespace
}  // namespace stk::server::testing
