// Fixed-width NUL-terminated 8-bit (Windows-1252) text fields of the records.
#pragma once

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

// Windows-1252 upper-casing as CharUpperBuffA does it (a-z, the accented small letters, š œ ž ÿ).
char upper_1252(char c);
std::string upper_1252(std::string_view text);
void upper_1252_in_place(char* text, std::size_t length);

// Case-insensitive comparison under the same upper-casing: <0, 0 or >0 like lstrcmpiA for equal-or-not use.
int compare_ci(std::string_view a, std::string_view b);
inline bool equal_ci(std::string_view a, std::string_view b) { return compare_ci(a, b) == 0; }

}  // namespace stk
