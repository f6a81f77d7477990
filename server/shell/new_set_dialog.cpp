#include "server/shell/new_set_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "server/shell/control_id.h"

namespace stk::server {

NewSetDialog::NewSetDialog(QWidget* parent, bool can_carry) : QDialog(parent) {
    setWindowTitle("Create New Database Set");
    setModal(true);

    inventory_ =
        with_id(new QCheckBox("Initialize new database set with inventory from currently selected database set.", this),
                kInventoryBox);
    invoices_ =
        with_id(new QCheckBox("Initialize new database set with invoices from currently selected database set.", this),
                kInvoicesBox);
    messages_ =
        with_id(new QCheckBox("Initialize new database set with messages from currently selected database set.", this),
                kMessagesBox);
    for (QCheckBox* box : {inventory_, invoices_, messages_}) box->setEnabled(can_carry);

    auto* next = with_id(new QPushButton("Next", this), kNextButton);
    auto* cancel = with_id(new QPushButton("Cancel", this), kCancelButton);
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, &NewSetDialog::next);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(next);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(10);
    layout->addWidget(inventory_);
    layout->addWidget(invoices_);
    layout->addWidget(messages_);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void NewSetDialog::next() {
    choice_ = NewSetChoice{};
    choice_.create = true;
    choice_.carry_inventory = inventory_->isChecked() && inventory_->isEnabled();
    choice_.carry_invoices = invoices_->isChecked() && invoices_->isEnabled();
    choice_.carry_messages = messages_->isChecked() && messages_->isEnabled();
    accept();
}

}  // namespace stk::server
