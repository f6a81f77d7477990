#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "common/dates.h"
#include "common/records.h"
#include "common/text_field.h"

using stk::field;
using stk::set_field;

TEST(TextField, AFieldWithoutNulReadsAsItsFirstNMinusOneBytes) {
    char f[8];
    std::memset(f, 'x', sizeof f);
    EXPECT_EQ(field(f), "xxxxxxx");

    stk::InventoryRecord item{};
    std::memset(item.item_number, 'A', sizeof item.item_number);
    std::memset(item.description, 'B', sizeof item.description);
    EXPECT_EQ(field(item.item_number), std::string(sizeof item.item_number - 1, 'A'));

    char empty[4] = {};
    EXPECT_TRUE(field(empty).empty());
    EXPECT_TRUE(stk::field_empty(empty));
}

TEST(TextField, SetFieldCutsAndTerminatesAndKeepsTheBytesBehind) {
    char f[8];
    std::memset(f, 'x', sizeof f);
    set_field(f, "abcdefghij");
    EXPECT_EQ(std::string(f, 8), std::string("abcdefg\0", 8));
    EXPECT_EQ(field(f), "abcdefg");

    std::memset(f, 'x', sizeof f);
    set_field(f, "ab");
    EXPECT_EQ(std::string(f, 8), std::string("ab\0xxxxx", 8));

    set_field(f, "");
    EXPECT_EQ(f[0], '\0');

    // A field set from its own text (overlapping source) stays intact.
    set_field(f, "hello");
    set_field(f, field(f).substr(1));
    EXPECT_EQ(field(f), "ello");
}

TEST(TextField, TrimmingRemovesOnlyBlanksAndTabs) {
    EXPECT_EQ(stk::trim_blanks(" \t12 abc\t "), "12 abc");
    EXPECT_EQ(stk::trim_blanks(" \t "), "");
    EXPECT_EQ(stk::trim_blanks("\nx\r"), "\nx\r");
    char f[16];
    set_field(f, "  item 7\t");
    stk::trim_field(f);
    EXPECT_EQ(field(f), "item 7");
}

TEST(TextField, UpperCasingFollowsWindows1252) {
    EXPECT_EQ(stk::upper_1252("abc xyz 123"), "ABC XYZ 123");
    EXPECT_EQ(stk::upper_1252("caf\xE9 \xE0\xFE"), "CAF\xC9 \xC0\xDE");  // é à þ
    EXPECT_EQ(stk::upper_1252("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");  // š œ ž ÿ
    EXPECT_EQ(stk::upper_1252("\xF7\xDF\xB5\xAA"), "\xF7\xDF\xB5\xAA");  // ÷ ß µ ª have no capital
    EXPECT_EQ(stk::upper_1252("\xC9\x8A"), "\xC9\x8A");                  // capitals stay

    EXPECT_EQ(stk::compare_ci("caf\xE9", "CAF\xC9"), 0);
    EXPECT_TRUE(stk::equal_ci("\x9Ctre", "\x8CTRE"));
    EXPECT_FALSE(stk::equal_ci(std::string("stra\xDF") + "e", "STRASSE"));
    EXPECT_FALSE(stk::equal_ci("abc", "abc "));
    EXPECT_LT(stk::compare_ci("abc", "ABD"), 0);
    EXPECT_GT(stk::compare_ci("abd", "ABC"), 0);
    EXPECT_LT(stk::compare_ci("ab", "ABC"), 0);
    EXPECT_GT(stk::compare_ci("ABC", "ab"), 0);
}

TEST(Dates, RecordFormatsOfFixedTimes) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 3;
    t.tm_sec = 9;
    EXPECT_EQ(stk::format_date(t), "01/05/2026");
    EXPECT_EQ(stk::format_invoice_time(t), "7:03:09");
    EXPECT_EQ(stk::format_message_timestamp(t), "01/05/2026 at 7:03");

    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 0;
    t.tm_min = 0;
    t.tm_sec = 0;
    EXPECT_EQ(stk::format_date(t), "12/31/2026");
    EXPECT_EQ(stk::format_invoice_time(t), "0:00:00");
    t.tm_hour = 23;
    t.tm_min = 59;
    EXPECT_EQ(stk::format_message_timestamp(t), "12/31/2026 at 23:59");
    EXPECT_EQ(stk::today().size(), 10u);
}
