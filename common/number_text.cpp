#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <algorithm>

namespace stk {

double parse_decimal_prefix(std::string_view text) {
    // strtod_l with the "C" locale is atof exactly (white space, sign, hex, inf, overflow), but locale-free.
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const std::string owned(text);
    return strtod_l(owned.c_str(), nullptr, c_locale);
}

namespace {

std::string to_text(double value, std::chars_format fmt, int precision) {
    char buffer[512];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, fmt, precision);
    if (ec != std::errc()) return {};
    return std::string(buffer, end);
}

}  // namespace

std::string format_g(double value) {
    std::string s = to_text(value, std::chars_format::general, 6);
    // printf writes "inf"/"nan" with a sign like to_chars, but "-nan" for negative NaN too; keep to_chars.
    return s;
}

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
        if (precision > 0) {
            while (!fixed.empty() && fixed.back() == '0') fixed.pop_back();
            if (!fixed.empty() && fixed.back() == '.') fixed.pop_back();
        }
        double parsed = 0.0;
        if (is_number(fixed, &parsed) && parsed == value) return fixed;
    }
    // Not exactly representable within six decimals: keep six, the most the check admits.
    std::string fixed = to_text(value, std::chars_format::fixed, 6);
    while (!fixed.empty() && fixed.back() == '0') fixed.pop_back();
    if (!fixed.empty() && fixed.back() == '.') fixed.pop_back();
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
