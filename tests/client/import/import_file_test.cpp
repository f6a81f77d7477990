#include <gtest/gtest.h>

#include "client/import/import_file.h"

namespace stk::client {
namespace {

TEST(ImportFile, LinesEndInCrLfOrLfAndFieldsAreTrimmedCleanedAndPadded) {
    const ImportLines file = read_import_lines(
        " 5 \tX1\t Widget\t\t2.5\tsixth field\r\n3\tY1\n\r\n7\tZ\x0b"
        "1\tBell\x07\tRemark\t1.00\r\n");
    ASSERT_FALSE(file.stopped);
    ASSERT_EQ(file.lines.size(), 4u);  // the final line end adds no line; the empty line is a line
    EXPECT_EQ(file.lines[0].quantity, "5");
    EXPECT_EQ(file.lines[0].item_number, "X1");
    EXPECT_EQ(file.lines[0].description, "Widget");
    EXPECT_EQ(file.lines[0].remark, "");
    EXPECT_EQ(file.lines[0].unit_cost, "2.5");  // the sixth field is ignored
    EXPECT_EQ(file.lines[1].quantity, "3");
    EXPECT_EQ(file.lines[1].item_number, "Y1");  // missing fields are empty
    EXPECT_EQ(file.lines[1].unit_cost, "");
    EXPECT_EQ(file.lines[2].quantity, "");
    // Control characters never reach an item field: they become blanks, and go with the blanks at the ends.
    EXPECT_EQ(file.lines[3].item_number, "Z 1");
    EXPECT_EQ(file.lines[3].description, "Bell");

    // The last line may end without a line end.
    EXPECT_EQ(read_import_lines("1\tA\r\n2\tB").lines.size(), 2u);
}

TEST(ImportFile, ALineOrFieldOverItsLimitStopsTheReadingThere) {
    const std::string number_63(63, 'N');
    ImportLines file = read_import_lines("1\t" + number_63 + "\r\n2\t" + number_63 + "X\r\n3\tC\r\n");
    EXPECT_TRUE(file.stopped);
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_EQ(file.lines[0].item_number, number_63);

    // Limits count after trimming: blanks around a 31-character quantity do not break it.
    file = read_import_lines("  " + std::string(31, '1') + "  \tA\n" + std::string(32, '1') + "\tB\n");
    EXPECT_TRUE(file.stopped);
    EXPECT_EQ(file.lines.size(), 1u);

    // A line of 3328 characters stops; one of 3327 is read (its fields within their limits).
    const std::string padded = "1\tA\t" + std::string(3323, ' ');
    ASSERT_EQ(padded.size(), 3327u);
    EXPECT_FALSE(read_import_lines(padded + "\r\n").stopped);
    EXPECT_TRUE(read_import_lines(padded + " \r\n").stopped);
}

}  // namespace
}  // namespace stk::client
