#include "client/ui/list_sort.h"

#include <QString>

#include "client/ui/text_1252.h"
#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

bool looks_like_date(std::string_view t) { return t.size() == 10 && t[2] == '/' && t[5] == '/'; }

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
    if (int c = QString::localeAwareCompare(x.toCaseFolded(), y.toCaseFolded())) return sign(c);
    return sign(QString::localeAwareCompare(x, y));
}

int compare_list_cells(std::string_view a, std::string_view b, bool date_column) {
    double va = 0, vb = 0;
    if (is_number(a, &va) && is_number(b, &vb)) return va < vb ? -1 : 1;
    return date_column ? compare_list_dates(a, b) : compare_list_texts(a, b);
}

}  // namespace stk::client
