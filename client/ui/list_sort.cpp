#include "client/ui/list_sort.h"

#include <QCollator>
#include <QString>

#include "client/ui/text_1252.h"
#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

bool looks_like_date(std::string_view t) { return t.size() == 10 && t[2] == '/' && t[5] == '/'; }

// The desktop's word order is the collation of its locale.
const QCollator& collator() {
    static const QCollator c;
    return c;
}

}  // namespace

int compare_list_dates(std::string_view a, std::string_view b) {
    if (looks_like_date(a) && looks_like_date(b)) {
        if (int c = compare_ci(a.substr(6, 4), b.substr(6, 4))) return sign(c);
        if (int c = compare_ci(a.substr(0, 2), b.substr(0, 2))) return sign(c);
        return sign(compare_ci(a.substr(3, 2), b.substr(3, 2)));
    }
    return sign(compare_ci(a, b));
}

int compare_list_texts(std::string_view a, std::string_view b) {
    // Letter case decides only between texts that are otherwise equal, as in the desktop's word sort; the
    // locale's own collation may or may not ignore it.
    const QString x = from_1252(a), y = from_1252(b);
    if (int c = collator().compare(x.toCaseFolded(), y.toCaseFolded())) return sign(c);
    return sign(collator().compare(x, y));
}

struct ListSortKeys::Cell {
    bool is_number;
    double value;
    // What compare_list_dates compares, upper-cased once (date columns only): the whole text, and for a date
    // its year, month and day in that order. Both compare byte by byte, as compare_ci does.
    std::string upper;
    std::string date_key;  // empty when the text is not a date
};

// What compare_list_texts computes for each comparison, computed once.
struct ListSortKeys::TextKeys {
    QCollatorSortKey folded;
    QCollatorSortKey as_is;
};

ListSortKeys::ListSortKeys(std::vector<std::string_view> cells, bool date_column) : date_column_(date_column) {
    cells_.reserve(cells.size());
    for (std::string_view text : cells) {
        Cell cell{};
        cell.is_number = is_number(text, &cell.value);
        if (date_column_) {
            cell.upper = upper_1252(text);
            if (looks_like_date(text))
                cell.date_key = cell.upper.substr(6, 4) + cell.upper.substr(0, 2) + cell.upper.substr(3, 2);
        }
        cells_.push_back(std::move(cell));
    }
    if (date_column_) return;
    text_keys_.reserve(cells.size());
    for (std::string_view text : cells) {
        const QString t = from_1252(text);
        text_keys_.push_back({collator().sortKey(t.toCaseFolded()), collator().sortKey(t)});
    }
}

ListSortKeys::~ListSortKeys() = default;

int ListSortKeys::compare(int slot_a, int slot_b) const {
    const auto a = static_cast<std::size_t>(slot_a - 1), b = static_cast<std::size_t>(slot_b - 1);
    if (cells_[a].is_number && cells_[b].is_number) return cells_[a].value < cells_[b].value ? -1 : 1;
    if (date_column_) {
        const Cell& x = cells_[a];
        const Cell& y = cells_[b];
        if (!x.date_key.empty() && !y.date_key.empty()) return sign(x.date_key.compare(y.date_key));
        return sign(x.upper.compare(y.upper));
    }
    if (int c = text_keys_[a].folded.compare(text_keys_[b].folded)) return sign(c);
    return sign(text_keys_[a].as_is.compare(text_keys_[b].as_is));
}

}  // namespace stk::client
