#include <gtest/gtest.h>

#include "common/records.h"

// The sizes are pinned at compile time; this keeps the suite honest about the one thing a test can add:
// that a zeroed record is what a fresh buffer of the protocol is.
TEST(Records, FreshBuffersAreZero) {
    stk::InvoiceRecord r{};
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    for (std::size_t i = 0; i < sizeof r; ++i) ASSERT_EQ(bytes[i], 0u);
}

// Line n of an invoice sits at 1072 + (n - 1) x 452, and the twelfth ends exactly at the record's end.
TEST(Records, InvoiceLinesSitAtTheirFixedOffsets) {
    stk::InvoiceRecord r{};
    const auto* base = reinterpret_cast<const char*>(&r);
    for (int n = 1; n <= stk::kMaxInvoiceLines; ++n) {
        EXPECT_EQ(reinterpret_cast<const char*>(&r.lines[n - 1]) - base, 1072 + (n - 1) * 452) << n;
        EXPECT_EQ(reinterpret_cast<const char*>(&r.lines[n - 1].ordered) - base, 1072 + (n - 1) * 452 + 448) << n;
    }
    EXPECT_EQ(reinterpret_cast<const char*>(&r.lines[11]) + sizeof(stk::InvoiceLine) - base, 6496);
}
