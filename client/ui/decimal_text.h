// Whole numbers as decimal text for the files and records the client writes.
#pragma once

#include <string>

namespace stk::client {

// "%d" without the C library's locale (the record formats must not follow the user's locale).
inline std::string decimal_text(long long value) {
    const bool negative = value < 0;
    unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(value)
                                    : static_cast<unsigned long long>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + u % 10));
        u /= 10;
    } while (u != 0);
    return negative ? "-" + digits : digits;
}

}  // namespace stk::client
