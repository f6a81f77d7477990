#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/table_storage.h"

using namespace stk::platform;

namespace {

struct ReservedTable {
    explicit ReservedTable(std::size_t bytes) : base(static_cast<unsigned char*>(reserve_table(bytes))) {}
    ~ReservedTable() { release_table(base); }
    unsigned char* base;
};

bool all_zero(const unsigned char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != 0) return false;
    return true;
}

}  // namespace

TEST(TableStorage, CommitsWholePagesAndKeepsDataWhenResizedToTheSameSize) {
    const std::size_t page = page_size();
    ReservedTable t(16 * page);
    ASSERT_NE(t.base, nullptr);
    EXPECT_EQ(committed_bytes(t.base), 0u);

    ASSERT_EQ(resize_table(t.base, 3 * page + 1), 1);
    EXPECT_EQ(committed_bytes(t.base), 4 * page);
    EXPECT_TRUE(all_zero(t.base, 4 * page));  // newly committed memory reads zero
    std::memset(t.base, 0xAB, 4 * page);

    ASSERT_EQ(resize_table(t.base, 3 * page + 1), 1);
    ASSERT_EQ(resize_table(t.base, 4 * page), 1);
    EXPECT_EQ(committed_bytes(t.base), 4 * page);
    EXPECT_EQ(t.base[0], 0xAB);
    EXPECT_EQ(t.base[4 * page - 1], 0xAB);

    // Growing keeps what is there and the new pages read zero.
    ASSERT_EQ(resize_table(t.base, 6 * page), 1);
    EXPECT_EQ(t.base[4 * page - 1], 0xAB);
    EXPECT_TRUE(all_zero(t.base + 4 * page, 2 * page));
}

TEST(TableStorage, ShrinkingGivesPagesBackAndTheyReadZeroWhenCommittedAgain) {
    const std::size_t page = page_size();
    ReservedTable t(8 * page);
    ASSERT_EQ(resize_table(t.base, 5 * page), 1);
    std::memset(t.base, 0x5A, 5 * page);

    ASSERT_EQ(resize_table(t.base, page), 1);
    EXPECT_EQ(committed_bytes(t.base), page);
    EXPECT_EQ(t.base[page - 1], 0x5A);

    ASSERT_EQ(resize_table(t.base, 5 * page), 1);
    EXPECT_EQ(t.base[0], 0x5A);
    EXPECT_TRUE(all_zero(t.base + page, 4 * page));

    ASSERT_EQ(resize_table(t.base, 0), 1);
    EXPECT_EQ(committed_bytes(t.base), 0u);
    ASSERT_EQ(resize_table(t.base, 2 * page), 1);
    EXPECT_TRUE(all_zero(t.base, 2 * page));
}

TEST(TableStorage, RefusesUnknownBasesAndSizesBeyondTheReservation) {
    const std::size_t page = page_size();
    int not_a_table = 0;
    EXPECT_EQ(resize_table(&not_a_table, page), 0);
    EXPECT_EQ(resize_table(nullptr, page), 0);
    EXPECT_EQ(committed_bytes(&not_a_table), 0u);
    release_table(nullptr);
    release_table(&not_a_table);

    ReservedTable t(4 * page);
    ASSERT_EQ(resize_table(t.base, 2 * page), 1);
    t.base[0] = 9;
    EXPECT_EQ(resize_table(t.base, 4 * page + 1), 0);
    // A size so large that rounding it up to pages would wrap must not be taken for 0 bytes.
    EXPECT_EQ(resize_table(t.base, SIZE_MAX), 0);
    EXPECT_EQ(resize_table(t.base, SIZE_MAX - page / 2), 0);
    EXPECT_EQ(committed_bytes(t.base), 2 * page);
    EXPECT_EQ(t.base[0], 9);
    EXPECT_EQ(resize_table(t.base, 4 * page), 1);

    void* released = reserve_table(page);
    ASSERT_NE(released, nullptr);
    release_table(released);
    EXPECT_EQ(resize_table(released, page), 0);
    EXPECT_EQ(reserve_table(SIZE_MAX), nullptr);
}

TEST(TableStorage, ReservesAWholeServerCapacityWithoutCommittingIt) {
    // The invoice table at its default capacity: 100001 slots of 6496 bytes.
    const std::size_t bytes = 100001u * 6496u;
    ReservedTable t(bytes);
    ASSERT_NE(t.base, nullptr);
    EXPECT_EQ(committed_bytes(t.base), 0u);
    ASSERT_EQ(resize_table(t.base, bytes), 1);
    t.base[bytes - 1] = 1;
    EXPECT_EQ(resize_table(t.base, 2 * 6496), 1);
    EXPECT_EQ(committed_bytes(t.base), (2 * 6496 + page_size() - 1) / page_size() * page_size());
}
