// Record text is Windows-1252; widgets speak QString. These convert at the widget boundary only.
#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/text_field.h"

namespace stk::client {

QString from_1252(std::string_view bytes);
// A character Windows-1252 cannot hold becomes "?".
std::string to_1252(const QString& text);

template <std::size_t N>
QString field_text(const char (&f)[N]) {
    return from_1252(stk::field(f));
}
// Stores a widget's text into a record field, cut to N-1 bytes.
template <std::size_t N>
void set_field_text(char (&f)[N], const QString& text) {
    stk::set_field(f, to_1252(text));
}

}  // namespace stk::client
