#include "client/messages/message_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "client/ui/dialog_buttons.h"

namespace stk::client {

MessageDialog::MessageDialog(QWidget* parent, const QString& text) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Message"));
    setObjectName(QStringLiteral("dialog142"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Message"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QString::number(kEdit));
    edit_->setMaxLength(kLimit);
    edit_->setMinimumWidth(460);
    edit_->setText(text);
    label->setBuddy(edit_);
    layout->addWidget(label);
    layout->addWidget(edit_);
    add_ok_cancel(this, layout, kOk, kCancel);
    edit_->setFocus();
}

QString MessageDialog::text() const { return edit_->text(); }

}  // namespace stk::client
