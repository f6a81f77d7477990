#include "common/number_text.h"

#include <locale.h>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace stk {

double parse_decimal_prefix(std::string_view text) {
    // Only a decimal number is read: glibc's strtod would also take "inf", "nan", "infinity" and hex, and
    // then "nan" or "inf" typed into a quantity would pass the number check and poison every total it
    // reaches. The prefix is cut here and converted with the "C" locale, so a decimal comma never counts.
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto digit = [&](std::size_t k) { return k < n && text[k] >= '0' && text[k] <= '9'; };
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (digit(i)) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (digit(i)) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        if (k < n && (text[k] == '+' || text[k] == '-')) ++k;
        if (digit(k)) {
            while (digit(k)) ++k;
            i = k;
        }
    }
    const std::string owned(text.substr(start, i - start));
    return strtod_l(owned.c_str(), nullptr, c_locale);
}

namespace {

std::string to_text(double value, std::chars_format fmt, int precision) {
    char buffer[512];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, fmt, precision);
    if (ec != std::errc()) return {};
    return std::string(buffer, end);
}

// "2.500000" -> "2.5", "3.000000" -> "3"; only for texts that have a decimal point.
void drop_trailing_zeros(std::string& fixed) {
    while (!fixed.empty() && fixed.back() == '0') fixed.pop_back();
    if (!fixed.empty() && fixed.back() == '.') fixed.pop_back();
}

}  // namespace

// to_chars with a precision is specified as printf in the "C" locale, so these are "%g", "%f" and "%.2f" byte
// for byte. 512 bytes hold the widest "%f" of any double (309 digits, sign, point, six decimals).
std::string format_g(double value) { return to_text(value, std::chars_format::general, 6); }

std::string format_f(double value) { return to_text(value, std::chars_format::fixed, 6); }

std::string format_2f(double value) { return to_text(value, std::chars_format::fixed, 2); }

std::string format_quantity(double value) {
    std::string g = format_g(value);
    double back = 0.0;
    if (is_number(g, &back) && back == value) return g;
    if (!std::isfinite(value)) return g;
    // Shortest round-trip plain decimal; the check compares at most six decimals, so cap there.
    for (int precision = 0; precision <= 6; ++precision) {
        std::string fixed = to_text(value, std::chars_format::fixed, precision);
        if (precision > 0) drop_trailing_zeros(fixed);
        double parsed = 0.0;
        if (is_number(fixed, &parsed) && parsed == value) return fixed;
    }
    // Not exactly representable within six decimals: keep six, the most the check admits.
    std::string fixed = to_text(value, std::chars_format::fixed, 6);
    drop_trailing_zeros(fixed);
    return fixed;
}

bool is_number(std::string_view text, double* value) {
    if (text.empty()) return false;
    std::string owned;
    if (text.front() == '.') {
        owned.reserve(text.size() + 1);
        owned.push_back('0');
        owned.append(text);
        text = owned;
    }
    const double v = parse_decimal_prefix(text);
    const std::string formatted = format_f(v);
    const std::size_t n = std::min(text.size(), formatted.size());
    if (text.compare(0, n, formatted, 0, n) != 0) return false;
    if (value) *value = v;
    return true;
}

double number_or(std::string_view text, double fallback) {
    double v = 0.0;
    return is_number(text, &v) ? v : fallback;
}

}  // namespace stk
