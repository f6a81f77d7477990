// Import files: a delivery as tab-delimited text, one item per line with the quantity received and its unit
// cost: quantity, item number, description, remark, unit cost. Fields after the fifth are ignored and missing
// ones are empty.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stk::client {

// Lines this long or longer stop the import.
inline constexpr std::size_t kImportLineLimit = 3328;

struct ImportLine {
    std::string quantity;     // at most 31 characters
    std::string item_number;  // at most 63
    std::string description;  // at most 63
    std::string remark;       // at most 63
    std::string unit_cost;    // at most 31
};

struct ImportLines {
    std::vector<ImportLine> lines;  // in file order, up to the first line that breaks the limits
    bool stopped = false;           // a line broke the limits; it and the lines after it are not read
};

// Splits a file's Windows-1252 text into lines (CR LF or bare LF) and fields, each field trimmed of blanks and
// tabs and cleaned of control characters. A line of kImportLineLimit characters or more, or a field over its
// limit, stops the reading there.
ImportLines read_import_lines(std::string_view text);

}  // namespace stk::client
