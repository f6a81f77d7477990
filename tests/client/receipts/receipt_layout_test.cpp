// Reading receipt layout files: fields, limits, numbers, line ends and the element limit.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "client/receipts/receipt_layout.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(table.reserve(kMaxReceiptElements)); }

    bool parse(const std::string& content) { return parse_layout(content, table); }
    const ReceiptElement& at(int n) const { return table[n]; }

    ReceiptLayout table;
};

std::string line_of(int n) { return "L" + std::to_string(n) + "\t\tx\tArial\t8\r\n"; }

TEST_F(LayoutTest, ReadsTheSeventeenFieldsTrimmedWithEdgesAndIgnoresMore) {
    ASSERT_TRUE(
        parse(" total field \tspare\t Total: \tArial\t10.9\ttrue\tTrUe\tright\tcenter\t1.5\t2\t.5\t0.25\t"
              "0.01\t255\t16777215\t65280\textra\t99"));
    ASSERT_EQ(table.count(), 1);
    const ReceiptElement& e = at(1);
    EXPECT_EQ(field(e.name), "total field");
    EXPECT_EQ(field(e.spare), "spare");
    EXPECT_EQ(field(e.literal), "Total:");
    EXPECT_EQ(field(e.font_face), "Arial");
    EXPECT_EQ(e.font_size, 10);  // truncated
    EXPECT_EQ(e.weight, 700);
    EXPECT_EQ(e.italic, 1);
    EXPECT_EQ(field(e.horizontal_alignment), "right");
    EXPECT_EQ(field(e.vertical_alignment), "center");
    EXPECT_DOUBLE_EQ(e.left, 1.5);
    EXPECT_DOUBLE_EQ(e.top, 2);
    EXPECT_DOUBLE_EQ(e.width, 0.5);
    EXPECT_DOUBLE_EQ(e.height, 0.25);
    EXPECT_DOUBLE_EQ(e.border_width, 0.01);
    EXPECT_EQ(e.border_colour, 255);
    EXPECT_EQ(e.fill_colour, kNoColour);
    EXPECT_EQ(e.text_colour, 65280);
    EXPECT_DOUBLE_EQ(e.right, 2.0);
    EXPECT_DOUBLE_EQ(e.bottom, 2.25);
}

TEST_F(LayoutTest, NumbersThatFailTheCheckAreZeroAndMissingFieldsEmpty) {
    ASSERT_TRUE(parse("A\t\t\tArial\tbig\tyes\t\tLEFT\tTOP\t1e3\t+5\t1,5\t007\t12abc\tred"));
    const ReceiptElement& e = at(1);
    EXPECT_EQ(e.font_size, 0);
    EXPECT_EQ(e.weight, 400);
    EXPECT_EQ(e.italic, 0);
    EXPECT_EQ(e.left, 0);
    EXPECT_EQ(e.top, 0);
    EXPECT_EQ(e.width, 0);
    EXPECT_EQ(e.height, 0);
    EXPECT_EQ(e.border_width, 0);
    EXPECT_EQ(e.border_colour, 0);
    EXPECT_EQ(e.fill_colour, 0);
    EXPECT_EQ(e.text_colour, 0);
}

TEST_F(LayoutTest, TextFieldsUpToTheirLimitLoadAndOneMoreFailsTheWholeLayout) {
    const std::string name63(63, 'N'), spare259(259, 'S'), text255(255, 'T'), align31(31, 'A');
    ASSERT_TRUE(
        parse(name63 + "\t" + spare259 + "\t" + text255 + "\t" + text255 + "\t\t\t\t" + align31 + "\t" + align31));
    EXPECT_EQ(field(at(1).name).size(), 63u);
    EXPECT_EQ(field(at(1).spare).size(), 259u);
    // Blanks around a field do not count against its limit.
    EXPECT_TRUE(parse("  " + name63 + "  "));

    EXPECT_FALSE(parse(std::string(64, 'N')));
    EXPECT_FALSE(parse("A\t" + std::string(260, 'S')));
    EXPECT_FALSE(parse("A\t\t" + std::string(256, 'T')));
    EXPECT_FALSE(parse("A\t\t\t" + std::string(256, 'F')));
    EXPECT_FALSE(parse("A\t\t\t\t\t\t\t" + std::string(32, 'L')));
    EXPECT_FALSE(parse("A\t\t\t\t\t\t\t\t" + std::string(32, 'T')));
}

TEST_F(LayoutTest, LinesEndInCrLfOrBareLfAndEmptyLinesAreElements) {
    ASSERT_TRUE(parse("A\r\n\r\nB\r\n"));
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(field(at(2).name), "");
    EXPECT_EQ(at(2).font_size, 0);
    EXPECT_EQ(field(at(3).name), "B");

    ASSERT_TRUE(parse("A\t\tx\nB\t\ty\n"));  // saved on Linux
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(field(at(1).literal), "x");
    EXPECT_EQ(field(at(2).name), "B");

    ASSERT_TRUE(parse("A\r\nB"));  // last line without an end
    EXPECT_EQ(table.count(), 2);
    ASSERT_TRUE(parse(""));
    EXPECT_EQ(table.count(), 0);
    ASSERT_TRUE(parse("\r\n"));
    EXPECT_EQ(table.count(), 1);
}

TEST_F(LayoutTest, ALineOf3328CharactersFails) {
    EXPECT_TRUE(parse("A\t\t\t\t" + std::string(3322, ' ') + "\r\n"));  // 3327 characters
    EXPECT_FALSE(parse("A\t\t\t\t" + std::string(3323, ' ') + "\r\n"));
}

TEST_F(LayoutTest, FiveHundredElementsLoadAndTheFiveHundredAndFirstFails) {
    std::string content;
    for (int n = 1; n <= kMaxReceiptElements; ++n) content += line_of(n);
    ASSERT_TRUE(parse(content));
    EXPECT_EQ(table.count(), kMaxReceiptElements);
    EXPECT_FALSE(parse(content + line_of(501)));
    // Every load starts from an empty table.
    ASSERT_TRUE(parse(line_of(1)));
    EXPECT_EQ(table.count(), 1);
}

TEST_F(LayoutTest, FilesThatCannotBeReadFailAndAnEmptyFileHasNoElements) {
    QTemporaryDir dir;
    EXPECT_FALSE(load_layout(dir.filePath(QStringLiteral("missing.txt")), table));
    EXPECT_FALSE(load_layout(dir.path(), table));  // a folder
    QFile empty(dir.filePath(QStringLiteral("empty.txt")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_TRUE(load_layout(empty.fileName(), table));
    EXPECT_EQ(table.count(), 0);
}

}  // namespace
}  // namespace stk::client
