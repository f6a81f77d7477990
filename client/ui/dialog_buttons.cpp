#include "client/ui/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace stk::client {

QPushButton* id_button(QWidget* parent, const QString& text, int id) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::number(id));
    return b;
}

QPushButton* add_ok_cancel(QDialog* dialog, QBoxLayout* layout, int ok_id, int cancel_id, bool ok_accepts) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = id_button(dialog, QStringLiteral("OK"), ok_id);
    QPushButton* cancel = id_button(dialog, QStringLiteral("Cancel"), cancel_id);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    if (ok_accepts) QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return ok;
}

}  // namespace stk::client
