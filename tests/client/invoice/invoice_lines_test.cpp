#include <gtest/gtest.h>

#include "client/invoice/invoice_lines_model.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

InvoiceLine line(const char* price, const char* cost) {
    InvoiceLine l{};
    set_field(l.unit_price, price);
    set_field(l.unit_cost, cost);
    return l;
}

TEST(InvoiceLines, FlagMarksLinesSoldAtOrBelowCostAndRowsFollowTheRecord) {
    EXPECT_EQ(line_flag(line("10.00", "10.00")), 1);
    EXPECT_EQ(line_flag(line("10.01", "10.00")), 0);
    EXPECT_EQ(line_flag(line("", "10.00")), 1);
    EXPECT_EQ(line_flag(line("12", "call")), 1);
    EXPECT_EQ(line_flag(line("9.99", "10.00")), 1);

    InvoiceRecord r{};
    InvoiceLinesModel m;
    m.set_record(&r);
    EXPECT_EQ(m.rowCount(), 0);
    r.line_count = 2;
    set_field(r.lines[0].description, "FIRST");
    set_field(r.lines[1].description, "SECOND");
    set_field(r.lines[1].note, "12/07/2026 Claim Number: 3-15");
    m.reset();
    ASSERT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.columnCount(), 10);
    EXPECT_EQ(m.cell(1, 3), "SECOND");
    EXPECT_EQ(m.cell(1, 8), "12/07/2026 Claim Number: 3-15");
    EXPECT_EQ(m.headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(), "Unit Cost");

    // A damaged line count never reads past the twelve slots.
    r.line_count = 99;
    m.reset();
    EXPECT_EQ(m.rowCount(), 12);
    r.line_count = -4;
    m.reset();
    EXPECT_EQ(m.rowCount(), 0);
}

}  // namespace
}  // namespace stk::client
