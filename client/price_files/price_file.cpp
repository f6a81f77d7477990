#include "client/price_files/price_file.h"

#include <QFile>
#include <array>

#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

constexpr std::size_t kMaxItemNumber = 63;
enum Field { kItemNumber, kDescription, kRemark, kUnitPrice, kUnitCost, kFields };
// The longest text each field may hold for the line to be usable; the unit cost is the rest of the line.
constexpr std::array<std::size_t, kFields> kLimits = {0, 63, 63, 31, 31};

// Splits at the first four TABs: everything after the fourth, TABs included, is the unit cost. False when
// the line has fewer than four TABs.
bool split_fields(std::string_view line, std::array<std::string_view, kFields>* fields) {
    for (int f = 0; f < kUnitCost; ++f) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return false;
        (*fields)[static_cast<std::size_t>(f)] = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    (*fields)[kUnitCost] = line;
    return true;
}

bool fill_match(std::string_view line, std::string_view item_number, std::string_view tax_percent, InvoiceLine* match) {
    std::array<std::string_view, kFields> f;
    if (!split_fields(line, &f)) return false;
    for (int i = kDescription; i < kFields; ++i)
        if (f[static_cast<std::size_t>(i)].size() > kLimits[static_cast<std::size_t>(i)]) return false;
    set_field(match->quantity, "1");
    set_field(match->item_number, item_number);
    set_field(match->description, clean_file_field(f[kDescription]));
    set_field(match->remark, clean_file_field(f[kRemark]));
    set_field(match->unit_price, clean_file_field(f[kUnitPrice]));
    set_field(match->unit_cost, clean_file_field(f[kUnitCost]));
    set_field(match->amount, field(match->unit_price));
    set_field(match->tax_percent, tax_percent);
    return true;
}

}  // namespace

int look_up_price(const QString& path, std::string_view item_number, std::string_view tax_percent, InvoiceLine* match) {
    *match = InvoiceLine{};
    if (item_number.empty() || item_number.size() > kMaxItemNumber) return 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const qint64 size = file.size();
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || bytes.size() != size) return 0;

    const std::string text =
        file_text_1252(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    for (std::string_view line : text_file_lines(text)) {
        if (line.size() >= kPriceLineLimit) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || !equal_ci(line.substr(0, tab), item_number)) continue;
        if (!fill_match(line, item_number, tax_percent, match)) *match = InvoiceLine{};
        break;
    }
    return 1;
}

}  // namespace stk::client
