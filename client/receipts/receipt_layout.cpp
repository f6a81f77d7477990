#include "client/receipts/receipt_layout.h"

#include <QFile>
#include <cmath>
#include <limits>

#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

constexpr int kFieldsPerLine = 17;

// A text field of the line; false when it is longer than the element's field holds.
template <std::size_t N>
bool store(char (&f)[N], std::string_view value) {
    if (value.size() > N - 1) return false;
    set_field(f, value);
    return true;
}

// Fields that must be numbers count as 0 when they are not.
double number_field(std::string_view value) { return number_or(value, 0.0); }

std::int32_t integer_field(std::string_view value) {
    const double v = std::trunc(number_field(value));
    // Far outside any colour or point size; clamped so the conversion stays defined.
    if (v >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (v <= std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

bool is_true(std::string_view value) { return equal_ci(value, "TRUE"); }

// Stores field `index` (0-based) of a line into `e`; false when a text is over its limit.
bool store_field(ReceiptElement& e, int index, std::string_view v) {
    switch (index) {
        case 0: return store(e.name, v);
        case 1: return store(e.spare, v);
        case 2: return store(e.literal, v);
        case 3: return store(e.font_face, v);
        case 4: e.font_size = integer_field(v); return true;
        case 5: e.weight = is_true(v) ? 700 : 400; return true;
        case 6: e.italic = is_true(v) ? 1 : 0; return true;
        case 7: return store(e.horizontal_alignment, v);
        case 8: return store(e.vertical_alignment, v);
        case 9: e.left = number_field(v); return true;
        case 10: e.top = number_field(v); return true;
        case 11: e.width = number_field(v); return true;
        case 12: e.height = number_field(v); return true;
        case 13: e.border_width = number_field(v); return true;
        case 14: e.border_colour = integer_field(v); return true;
        case 15: e.fill_colour = integer_field(v); return true;
        case 16: e.text_colour = integer_field(v); return true;
        default: return true;
    }
}

// One line (without its line end) into an element; missing trailing fields count as empty.
bool parse_element(std::string_view line, ReceiptElement& e) {
    e = ReceiptElement{};
    e.weight = 400;
    for (int index = 0; index < kFieldsPerLine; ++index) {
        const std::size_t tab = line.find('\t');
        const std::string_view raw = line.substr(0, tab);
        if (!store_field(e, index, trim_blanks(raw))) return false;
        if (tab == std::string_view::npos) {
            line = {};
        } else {
            line.remove_prefix(tab + 1);
        }
    }
    e.right = e.left + e.width;
    e.bottom = e.top + e.height;
    return true;
}

}  // namespace

bool parse_layout(std::string_view content, ReceiptLayout& table) {
    table.clear();
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        // Files saved on Linux end their lines in a bare LF; a CR LF line loses its CR here.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() >= static_cast<std::size_t>(kMaxLayoutLineLength)) return false;
        ReceiptElement e;
        if (!parse_element(line, e)) return false;
        if (table.count() >= kMaxReceiptElements || !table.append(e)) return false;
    }
    return true;
}

bool load_layout(const QString& path, ReceiptLayout& table) {
    table.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const qint64 size = file.size();
    const QByteArray bytes = file.readAll();
    if (bytes.size() != size) return false;
    return parse_layout(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), table);
}

}  // namespace stk::client
