#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "client/price_files/price_file.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

class PriceFileLookup : public ::testing::Test {
protected:
    // Writes the price file and looks `item` up in it; the result is in result_, the match in match_.
    void look_up(const std::string& bytes, std::string_view item) {
        QFile f(path_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        f.close();
        result_ = look_up_price(path_, item, "8.25", &match_);
    }
    bool matched() const { return !field_empty(match_.item_number); }

    QTemporaryDir dir_;
    QString path_ = dir_.filePath(QStringLiteral("Acme.txt"));
    InvoiceLine match_{};
    int result_ = -1;
};

TEST_F(PriceFileLookup, AMatchIsANewLineForOneUnitThatKeepsTheItemNumberAsSought) {
    look_up("XY-1\tOTHER\t\t1.00\t0.50\r\nAB-12\tHINGE 3IN\tBRASS\t4.95\t2.10\r\n", "ab-12");
    ASSERT_EQ(result_, 1);
    EXPECT_EQ(field(match_.item_number), "ab-12");
    EXPECT_EQ(field(match_.quantity), "1");
    EXPECT_EQ(field(match_.description), "HINGE 3IN");
    EXPECT_EQ(field(match_.remark), "BRASS");
    EXPECT_EQ(field(match_.unit_price), "4.95");
    EXPECT_EQ(field(match_.unit_cost), "2.10");
    EXPECT_EQ(field(match_.amount), "4.95");
    EXPECT_EQ(field(match_.tax_percent), "8.25");
    EXPECT_EQ(field(match_.note), "");
    EXPECT_EQ(field(match_.backorder_quantity), "");
}

TEST_F(PriceFileLookup, TheFirstLineForTheItemEndsTheSearchUsableOrNot) {
    // Only three TABs: unusable, and the well-formed line behind it is never reached.
    look_up("AB-12\tHINGE\tBRASS\t4.95\r\nAB-12\tHINGE\tBRASS\t4.95\t2.10\r\n", "AB-12");
    EXPECT_EQ(result_, 1);
    EXPECT_FALSE(matched());
    // A file without the item is read whole too.
    look_up("ZZ-9\tWIDGET\t\t1.00\t0.50\r\n", "AB-12");
    EXPECT_EQ(result_, 1);
    EXPECT_FALSE(matched());
}

TEST_F(PriceFileLookup, FieldLimitsDecideWhetherTheLineIsUsable) {
    const std::string price31(31, '9'), price32(32, '9'), text63(63, 'D'), text64(64, 'D');
    look_up("P\tD\t\t" + price31 + "\t1.00\r\n", "P");
    EXPECT_EQ(field(match_.unit_price), price31);
    look_up("P\tD\t\t" + price32 + "\t1.00\r\n", "P");
    EXPECT_FALSE(matched());
    look_up("P\t" + text63 + "\t" + text63 + "\t1\t1\r\n", "P");
    EXPECT_EQ(field(match_.remark), text63);
    look_up("P\t" + text64 + "\t\t1\t1\r\n", "P");
    EXPECT_FALSE(matched());
    look_up("P\tD\t" + text64 + "\t1\t1\r\n", "P");
    EXPECT_FALSE(matched());
}

TEST_F(PriceFileLookup, ASixthFieldBecomesPartOfTheUnitCostWhileTheRestStaysUnder32) {
    look_up("P\tD\tR\t5.00\t2.50\tBOX OF 10\r\n", "P");
    EXPECT_EQ(field(match_.unit_cost), "2.50\tBOX OF 10");
    const std::string rest31 = "2.50\t" + std::string(26, 'X');
    look_up("P\tD\tR\t5.00\t" + rest31 + "\r\n", "P");
    EXPECT_EQ(field(match_.unit_cost), rest31);
    look_up("P\tD\tR\t5.00\t" + rest31 + "X\r\n", "P");
    EXPECT_FALSE(matched());
}

TEST_F(PriceFileLookup, LinesOf1024CharactersOrMoreAreSkipped) {
    const std::string head = "P\tD\tR\t5.00\t";
    const std::string long_line = head + std::string(1024 - head.size(), 'C');  // unusable if it were read
    look_up(long_line + "\r\nP\tD\tR\t5.00\t2.00\r\n", "P");
    EXPECT_EQ(field(match_.unit_cost), "2.00");
    // One character shorter it is read, and ends the search.
    look_up(long_line.substr(0, long_line.size() - 1) + "\r\nP\tD\tR\t5.00\t2.00\r\n", "P");
    EXPECT_FALSE(matched());
}

TEST_F(PriceFileLookup, LinesMayEndInCrLfOrABareLfAndTheLastInNothing) {
    look_up("A\tONE\t\t1.00\t0.50\nB\tTWO\t\t2.00\t1.00\r\nC\tTHREE\t\t3.00\t1.50", "B");
    EXPECT_EQ(field(match_.unit_cost), "1.00");
    look_up("A\tONE\t\t1.00\t0.50\nB\tTWO\t\t2.00\t1.00\r\nC\tTHREE\t\t3.00\t1.50", "C");
    EXPECT_EQ(field(match_.unit_cost), "1.50");
    look_up("A\tONE\t\t1.00\t0.50\n", "A");
    EXPECT_EQ(field(match_.unit_cost), "0.50");
}

TEST_F(PriceFileLookup, NoControlCharacterReachesTheMatch) {
    // A stray CR, a NUL and a byte Windows-1252 leaves undefined.
    const char bytes[] =
        "Q\tBOLT\r\x01M8\tZINC\x81\t0.30\t0.1\0"
        "2\r\n";
    look_up(std::string(bytes, sizeof bytes - 1), "Q");
    ASSERT_EQ(result_, 1);
    EXPECT_EQ(field(match_.description), "BOLT  M8");
    EXPECT_EQ(field(match_.remark), "ZINC?");
    EXPECT_EQ(field(match_.unit_cost), "0.1 2");
}

TEST_F(PriceFileLookup, AFileSavedAsUtf8IsReadAsTheSameText) {
    look_up("\xEF\xBB\xBFK-1\tCAF\xC3\x89 TABLE\t\xE2\x82\xAC\t99.00\t45.00\r\n", "k-1");
    EXPECT_EQ(field(match_.description), "CAF\xC9 TABLE");
    EXPECT_EQ(field(match_.remark), "\x80");
    // Windows-1252 bytes stay as they are.
    look_up("K-1\tCAF\xC9 TABLE\t\t99.00\t45.00\r\n", "K-1");
    EXPECT_EQ(field(match_.description), "CAF\xC9 TABLE");
}

TEST_F(PriceFileLookup, NothingIsReadWithoutAnItemNumberOrAReadableFile) {
    look_up("P\tD\tR\t5.00\t2.00\r\n", "");
    EXPECT_EQ(result_, 0);
    look_up("P\tD\tR\t5.00\t2.00\r\n", std::string(64, 'P'));
    EXPECT_EQ(result_, 0);
    look_up("", "P");
    EXPECT_EQ(result_, 0);
    EXPECT_EQ(look_up_price(dir_.filePath("missing.txt"), "P", "", &match_), 0);
    EXPECT_FALSE(matched());
}

}  // namespace
}  // namespace stk::client
