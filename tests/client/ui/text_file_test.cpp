#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/ui/text_1252.h"

namespace stk::client {
namespace {

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> out;
    for (std::string_view l : text_file_lines(text)) out.emplace_back(l);
    return out;
}

TEST(TextFile, LinesEndInCrLfOrLfAndAFinalLineEndAddsNoLine) {
    using V = std::vector<std::string>;
    EXPECT_EQ(lines("a\r\nb\nc"), V({"a", "b", "c"}));
    EXPECT_EQ(lines("a\r\nb\r\n"), V({"a", "b"}));
    EXPECT_EQ(lines("a\n\nb\n"), V({"a", "", "b"}));
    EXPECT_EQ(lines("a\rb\r\n"), V({"a\rb"}));  // a lone CR is no line end
    EXPECT_TRUE(lines("").empty());
}

TEST(TextFile, CleanFieldsKeepTabsAndTheirLengthButNoControlBytes) {
    const std::string dirty("A\tB\x01\x7F\x81\x8D\x8F\x90\x9D\x80\xE9\r\n\0Z", 16);
    EXPECT_EQ(clean_file_field(dirty), std::string("A\tB  ?????\x80\xE9   Z"));
}

TEST(TextFile, Utf8TextBecomesWindows1252AndOtherBytesStayAsTheyAre) {
    EXPECT_EQ(file_text_1252("CAF\xC3\x89 \xE2\x82\xAC 5"), "CAF\xC9 \x80 5");
    EXPECT_EQ(file_text_1252("\xEF\xBB\xBFPLAIN"), "PLAIN");
    EXPECT_EQ(file_text_1252("\xE2\x9C\x93 done"), "? done");       // no such character in Windows-1252
    EXPECT_EQ(file_text_1252("CAF\xC9 \x80 5"), "CAF\xC9 \x80 5");  // not UTF-8: already Windows-1252
    EXPECT_EQ(file_text_1252("\xC0\xAF"), "\xC0\xAF");              // an overlong form is no UTF-8
}

}  // namespace
}  // namespace stk::client
