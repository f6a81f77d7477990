// The lists' comparison of two texts "by the locale, with case": linguistic order (a before B, é beside e),
// and a small letter before its capital where the texts differ only in case.
#pragma once

#include <string_view>

namespace stk::client {

// -1, 0 or 1 for two Windows-1252 texts. The user's locale decides the order; where that is the C or POSIX
// locale, which orders by character code and so puts every capital before every small letter, English order
// is used instead.
int compare_locale_text(std::string_view a, std::string_view b);

}  // namespace stk::client
