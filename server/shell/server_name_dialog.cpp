#include "server/shell/server_name_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "server/shell/control_id.h"
#include "server/shell/server_window.h"

namespace stk::server {

ServerNameDialog::ServerNameDialog(QWidget* parent, const std::string& name) : QDialog(parent) {
    setWindowTitle("Stockavelle Server");
    setModal(true);

    auto* label = new QLabel("Stockavelle Server Name", this);
    edit_ = with_id(new QLineEdit(this), kNameEdit);
    edit_->setMaxLength(kMaxNameLength);
    edit_->setText(from_1252(name));
    edit_->setMinimumWidth(300);
    edit_->selectAll();
    label->setBuddy(edit_);

    auto* start = with_id(new QPushButton("Start Server", this), kStartButton);
    auto* exit = with_id(new QPushButton("Exit", this), kExitButton);
    start->setDefault(true);
    exit->setAutoDefault(false);
    start->setMinimumWidth(100);
    exit->setMinimumWidth(88);
    connect(start, &QPushButton::clicked, this, [this] {
        outcome_ = ServerNameOutcome::Start;
        accept();
    });
    connect(exit, &QPushButton::clicked, this, [this] {
        outcome_ = ServerNameOutcome::Exit;
        reject();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start);
    buttons->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(8);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::string ServerNameDialog::name() const { return to_1252(edit_->text()); }

}  // namespace stk::server
