#include <gtest/gtest.h>

#include <locale.h>
#include <clocale>
#include <cstdio>
#include <string>

#include "common/number_text.h"

using stk::format_2f;
using stk::format_f;
using stk::format_g;
using stk::format_quantity;
using stk::is_number;

namespace {

// printf of the "C" locale, used as the reference the formatting must match byte for byte.
std::string c_printf(const char* format, double value) {
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const locale_t previous = uselocale(c);
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    uselocale(previous);
    freelocale(c);
    return buffer;
}

}  // namespace

TEST(NumberText, TheCheckAcceptsPlainDecimalsOnly) {
    for (const char* text : {"12", "12.5", "-3", "0.25", ".5", "5.", "3.1000000", "0", "-0.5", "1000000"}) {
        EXPECT_TRUE(is_number(text)) << text;
    }
    for (const char* text : {"", "+5", "1e3", "007", "1,000", "-.5", "12abc", "abc", " 12", "12 ", "\t12", "12.3456789",
                             "0.1234567", "-", "1.5.2"}) {
        EXPECT_FALSE(is_number(text)) << '"' << text << '"';
    }
}

TEST(NumberText, TheCheckGivesTheValueOnlyForNumbers) {
    double v = -1.0;
    EXPECT_TRUE(is_number(".5", &v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    EXPECT_TRUE(is_number("3.1000000", &v));
    EXPECT_DOUBLE_EQ(v, 3.1);
    v = 42.0;
    EXPECT_FALSE(is_number("12abc", &v));
    EXPECT_EQ(v, 42.0);
    EXPECT_EQ(stk::number_or("2500.9", 0.0), 2500.9);
    EXPECT_EQ(stk::number_or("letters", 7.0), 7.0);
}

TEST(NumberText, InfinityNanAndHexAreNotNumbers) {
    // glibc would read all of these; a "nan" quantity must never count as a number.
    for (const char* text : {"inf", "-inf", "infinity", "nan", "NAN", "nan(1)", "0x10", "0x1p3"}) {
        EXPECT_FALSE(is_number(text)) << text;
    }
    EXPECT_EQ(stk::parse_decimal_prefix("nan"), 0.0);
    EXPECT_EQ(stk::parse_decimal_prefix("0x10"), 0.0);
    EXPECT_EQ(stk::parse_decimal_prefix("  -12.5e1xyz"), -125.0);
    EXPECT_EQ(stk::parse_decimal_prefix("7e"), 7.0);
    EXPECT_EQ(stk::parse_decimal_prefix("7e+"), 7.0);
    EXPECT_EQ(stk::parse_decimal_prefix(".5"), 0.5);
    EXPECT_EQ(stk::parse_decimal_prefix("-"), 0.0);
}

TEST(NumberText, HugeNumbersWrittenOutNeverPassAndDoNotCrash) {
    const std::string e300 = "1" + std::string(300, '0');
    EXPECT_FALSE(is_number(e300));
    const std::string beyond_double = "9" + std::string(400, '9');
    EXPECT_FALSE(is_number(beyond_double));
    EXPECT_FALSE(is_number(std::string(5000, '7')));
    // The formatted value itself is not cut: "%f" of 1e300 is 301 digits and six decimals.
    EXPECT_EQ(format_f(1e300).size(), 308u);
    EXPECT_EQ(format_f(1e300), c_printf("%f", 1e300));
}

TEST(NumberText, FormatsMatchPrintfOfTheCLocale) {
    for (double v : {0.0, -0.0, 1.0, 0.5, 12.5, -3.0, 1234.5, 123456.0, 123456.7, 1234567.0, 1e6, 1e-5, 0.0001,
                     2.0 / 3.0, 1e300, -1e-300, 99.995, 0.125, 1.005}) {
        EXPECT_EQ(format_g(v), c_printf("%g", v)) << v;
        EXPECT_EQ(format_f(v), c_printf("%f", v)) << v;
        EXPECT_EQ(format_2f(v), c_printf("%.2f", v)) << v;
    }
    EXPECT_EQ(format_g(1234567.0), "1.23457e+06");
    EXPECT_EQ(format_g(1e-5), "1e-05");
    EXPECT_EQ(format_2f(2.5), "2.50");
}

TEST(NumberText, QuantitiesKeepTheirValueAndPassTheCheck) {
    EXPECT_EQ(format_quantity(1234567.0), "1234567");
    EXPECT_EQ(format_quantity(123456.7), "123456.7");
    EXPECT_EQ(format_quantity(0.5), "0.5");
    EXPECT_EQ(format_quantity(1e6), "1000000");
    // Where "%g" already keeps the value and passes the check, its bytes stay exactly.
    for (double v : {0.0, 1.0, 12.0, -3.0, 2.25, 99999.0, 123456.0, 0.001}) {
        EXPECT_EQ(format_quantity(v), c_printf("%g", v)) << v;
    }
    for (double v : {1234567.0, 123456.7, 1e6, 98765.4321, -2500000.5, 1e-5}) {
        double back = 0.0;
        const std::string text = format_quantity(v);
        ASSERT_TRUE(is_number(text, &back)) << text;
        EXPECT_DOUBLE_EQ(back, v) << text;
    }
}

TEST(NumberText, FormattingAndParsingIgnoreADecimalCommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1234.5);
    const std::string localised = probe;

    const std::string g = format_g(1234.5);
    const std::string f = format_f(1234.5);
    const std::string f2 = format_2f(1234.5);
    const std::string q = format_quantity(1234.5);
    const double parsed = stk::parse_decimal_prefix("1234.5");
    double checked = 0.0;
    const bool number = is_number("1234.5", &checked);
    const bool comma_number = is_number("1234,5");
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_EQ(localised, "1234,5");  // the locale really is in force
    EXPECT_EQ(g, "1234.5");
    EXPECT_EQ(f, "1234.500000");
    EXPECT_EQ(f2, "1234.50");
    EXPECT_EQ(q, "1234.5");
    EXPECT_EQ(parsed, 1234.5);
    EXPECT_TRUE(number);
    EXPECT_EQ(checked, 1234.5);
    EXPECT_FALSE(comma_number);
}
