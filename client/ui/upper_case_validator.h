// An edit that upper-cases what is typed, character for character, as an upper-case edit control does.
#pragma once

#include <QValidator>

namespace stk::client {

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    // Always Acceptable; a character is upper-cased only when its upper-case form is one character that
    // Windows-1252 can hold as well.
    State validate(QString& input, int& position) const override;
};

}  // namespace stk::client
