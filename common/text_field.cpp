#include "common/text_field.h"

namespace stk {

std::string_view trim_blanks(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return text.substr(b, e - b);
}

std::string trimmed(std::string_view text) { return std::string(trim_blanks(text)); }

std::string upper_1252(std::string_view text) {
    std::string out(text);
    upper_1252_in_place(out.data(), out.size());
    return out;
}

void upper_1252_in_place(char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) text[i] = upper_1252(text[i]);
}

int compare_ci(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(upper_1252(a[i]));
        const auto y = static_cast<unsigned char>(upper_1252(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace stk
