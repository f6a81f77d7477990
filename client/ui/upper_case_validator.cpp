#include "client/ui/upper_case_validator.h"

#include "client/ui/text_1252.h"

namespace stk::client {

QValidator::State UpperCaseValidator::validate(QString& input, int&) const {
    for (QChar& c : input) {
        const QChar u = c.toUpper();
        if (u != c && to_1252(QString(u)) != "?") c = u;
    }
    return Acceptable;
}

}  // namespace stk::client
