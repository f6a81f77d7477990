// Fixed-width NUL-terminated 8-bit (Windows-1252) text fields of the records.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace stk {

// The text of a field: up to its NUL, and never more than N-1 bytes even when a peer sent no NUL.
template <std::size_t N>
std::string_view field(const char (&f)[N]) {
    return std::string_view(f, ::strnlen(f, N - 1));
}

// Stores text into a field, cut to N-1 bytes, NUL-terminated. The bytes behind the NUL stay as they were,
// like the original's lstrcpyn, so that a stored record's image only changes where its text changes.
// `text` may be a view into `f` itself (hence memmove).
template <std::size_t N>
void set_field(char (&f)[N], std::string_view text) {
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    if (n > 0) std::memmove(f, text.data(), n);  // an empty view may carry a null pointer
    f[n] = '\0';
}

template <std::size_t N>
bool field_empty(const char (&f)[N]) {
    return f[0] == '\0';
}

// Removes leading and trailing blanks and tabs.
std::string_view trim_blanks(std::string_view text);
std::string trimmed(std::string_view text);

// Trims a field in place.
template <std::size_t N>
void trim_field(char (&f)[N]) {
    set_field(f, trim_blanks(field(f)));
}

// Windows-1252 upper-casing as CharUpperBuffA does it (a-z, the accented small letters, š œ ž ÿ), as a table:
// the searches and lookups upper-case every byte they compare.
inline constexpr std::array<char, 256> kUpper1252 = [] {
    std::array<char, 256> t{};
    for (int c = 0; c < 256; ++c) {
        int u = c;
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) u = c - 32;
        if (c == 0x9A) u = 0x8A;  // š
        if (c == 0x9C) u = 0x8C;  // œ
        if (c == 0x9E) u = 0x8E;  // ž
        if (c == 0xFF) u = 0x9F;  // ÿ
        t[static_cast<std::size_t>(c)] = static_cast<char>(u);
    }
    return t;
}();
inline char upper_1252(char c) { return kUpper1252[static_cast<unsigned char>(c)]; }
std::string upper_1252(std::string_view text);
void upper_1252_in_place(char* text, std::size_t length);

// Case-insensitive comparison under the same upper-casing: <0, 0 or >0 like lstrcmpiA for equal-or-not use.
int compare_ci(std::string_view a, std::string_view b);
inline bool equal_ci(std::string_view a, std::string_view b) { return compare_ci(a, b) == 0; }

// upper_1252(field(f)) == upper for a text that is already upper-cased, compared byte by byte up to the
// field's NUL without measuring the field first and without a copy.
template <std::size_t N>
bool field_equals_upper(const char (&f)[N], std::string_view upper) {
    if (upper.size() > N - 1) return false;
    for (std::size_t i = 0; i < upper.size(); ++i) {
        if (f[i] == '\0' || upper_1252(f[i]) != upper[i]) return false;
    }
    return upper.size() == N - 1 || f[upper.size()] == '\0';
}

}  // namespace stk
