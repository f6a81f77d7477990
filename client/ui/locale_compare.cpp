#include "client/ui/locale_compare.h"

#include <QCollator>
#include <QLocale>

#include "client/ui/text_1252.h"

namespace stk::client {

int compare_locale_text(std::string_view a, std::string_view b) {
    static const QCollator collator = [] {
        QLocale locale = QLocale::system();
        if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(locale);
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    const int c = collator.compare(from_1252(a), from_1252(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace stk::client
