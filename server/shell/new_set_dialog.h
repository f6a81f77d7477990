// Dialog 103: which databases of the current set a new set starts with.
#pragma once

#include <QDialog>

#include "server/shell/startup_ui.h"

class QCheckBox;
class QPushButton;

namespace stk::server {

class NewSetDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kInventoryBox = 1013;
    static constexpr int kInvoicesBox = 1015;
    static constexpr int kMessagesBox = 1014;
    static constexpr int kNextButton = 1025;
    static constexpr int kCancelButton = 1021;

    // `can_carry` is false when no set is current: there is nothing to carry over then.
    explicit NewSetDialog(QWidget* parent = nullptr, bool can_carry = true);

    // After Next: the new-set flag and the ticked carry-over flags. After Cancel or the close box: all clear.
    NewSetChoice choice() const { return choice_; }

private:
    void next();

    QCheckBox* inventory_ = nullptr;
    QCheckBox* invoices_ = nullptr;
    QCheckBox* messages_ = nullptr;
    NewSetChoice choice_;
};

}  // namespace stk::server
