// Record text is Windows-1252; widgets speak QString. These convert at the widget boundary only.
#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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

// ---- Text files a user gives the client (price files, import files) --------------------------------------

// The bytes of such a file as Windows-1252 text. Files saved on this system are often UTF-8: a file that
// starts with the UTF-8 byte-order mark, or whose non-ASCII bytes all read as UTF-8, is converted (a character
// Windows-1252 cannot hold becomes "?") and the mark is dropped. Anything else is taken as Windows-1252 already.
std::string file_text_1252(std::string_view bytes);

// The lines of a file's text: each ends in CR LF or in a bare LF; the last may end without, and a final line
// end adds no line. The views point into `text`.
std::vector<std::string_view> text_file_lines(std::string_view text);

// A field read from such a file, safe to put into a record: control characters other than TAB become blanks
// and the five bytes Windows-1252 leaves undefined become "?". Byte for byte, so its length stays the same
// and length limits checked before give the same answer after.
std::string clean_file_field(std::string_view field);

}  // namespace stk::client
