#include "client/import/import_file.h"

#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

struct Column {
    std::string ImportLine::*field;
    std::size_t limit;
};

constexpr Column kColumns[] = {
    {&ImportLine::quantity, 31}, {&ImportLine::item_number, 63}, {&ImportLine::description, 63},
    {&ImportLine::remark, 63},   {&ImportLine::unit_cost, 31},
};

// Splits one line; false when a field is over its limit.
bool split_line(std::string_view line, ImportLine* out) {
    std::size_t begin = 0;
    for (const Column& column : kColumns) {
        if (begin > line.size()) break;  // the line has no more fields: the rest stay empty
        std::size_t end = line.find('\t', begin);
        if (end == std::string_view::npos) end = line.size();
        // Cleaned before trimming, so that a control character at either end goes with the blanks.
        const std::string cleaned = clean_file_field(line.substr(begin, end - begin));
        const std::string_view text = trim_blanks(cleaned);
        if (text.size() > column.limit) return false;
        out->*column.field = std::string(text);
        begin = end + 1;
    }
    return true;
}

}  // namespace

ImportLines read_import_lines(std::string_view text) {
    ImportLines result;
    for (std::string_view line : text_file_lines(text)) {
        ImportLine fields;
        if (line.size() >= kImportLineLimit || !split_line(line, &fields)) {
            result.stopped = true;
            break;
        }
        result.lines.push_back(std::move(fields));
    }
    return result;
}

}  // namespace stk::client
