// Dialog 144 "View a Suggested Order": the inventory category and the approximate order value of a
// suggested order. Each control's object name is its resource id ("1087", "1086", ...).
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace stk::client {

// The two texts of the last suggested order, kept until the next one (Windows-1252, blanks trimmed).
struct SuggestedOrderInputs {
    std::string category;
    std::string order_value;
};

class SuggestedOrderDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kExplanation = 1108, kOrderValue = 1086, kCategory = 1087, kOk = 1, kCancel = 2;
    static constexpr int kMaxText = 63;

    // The edits start with the last texts.
    SuggestedOrderDialog(QWidget* parent, const SuggestedOrderInputs& last);
    // The texts as typed, without leading and trailing blanks.
    SuggestedOrderInputs inputs() const;

private:
    QLineEdit* category_ = nullptr;
    QLineEdit* order_value_ = nullptr;
};

// Asks for the two texts; true on OK, with *inputs replaced by what was typed.
bool ask_suggested_order(QWidget* parent, SuggestedOrderInputs* inputs);

}  // namespace stk::client
