#include <gtest/gtest.h>

#include "common/records.h"

// The sizes are pinned at compile time; this keeps the suite honest about the one thing a test can add:
// that a zeroed record is what a fresh buffer of the protocol is.
TEST(Records, FreshBuffersAreZero) {
    stk::InvoiceRecord r{};
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    for (std::size_t i = 0; i < sizeof r; ++i) ASSERT_EQ(bytes[i], 0u);
}
