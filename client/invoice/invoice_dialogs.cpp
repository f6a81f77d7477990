#include "client/invoice/invoice_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/records.h"

namespace stk::client {
namespace {

QPushButton* button(QWidget* parent, const QString& text, int id) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::number(id));
    return b;
}

// OK (the default) and Cancel at the bottom right, closing the dialog with accept and reject.
void add_ok_cancel(QDialog* dialog, QVBoxLayout* layout, int ok_id, int cancel_id) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = button(dialog, QStringLiteral("OK"), ok_id);
    QPushButton* cancel = button(dialog, QStringLiteral("Cancel"), cancel_id);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

}  // namespace

SalespersonDialog::SalespersonDialog(QWidget* parent, const QString& salesperson) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Enter Your Identification"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Salesperson"), this));
    edit_ = new QLineEdit(salesperson, this);
    edit_->setObjectName(QString::number(kEdit));
    edit_->setMaxLength(static_cast<int>(sizeof InvoiceRecord::salesperson) - 1);
    edit_->setMinimumWidth(220);
    row->addWidget(edit_);
    layout->addLayout(row);
    add_ok_cancel(this, layout, kOk, kCancel);
    edit_->selectAll();
    edit_->setFocus();
}

QString SalespersonDialog::salesperson() const { return edit_->text(); }

CustomerDialog::CustomerDialog(QWidget* parent, const std::array<QString, kEdits>& values) : QDialog(parent) {
    static const char* const kLabels[kEdits] = {"Account Number", "Customer", "Phone Number", "Address",
                                                "City",           "State",    "Zip Code"};
    // Each edit takes what its field of the invoice holds, so that what is typed or pasted is what is kept.
    const InvoiceRecord r{};
    const int limits[kEdits] = {
        static_cast<int>(sizeof r.account_number) - 1,        static_cast<int>(sizeof r.customer_name) - 1,
        static_cast<int>(sizeof r.customer_phone_number) - 1, static_cast<int>(sizeof r.customer_address) - 1,
        static_cast<int>(sizeof r.customer_city) - 1,         static_cast<int>(sizeof r.customer_state) - 1,
        static_cast<int>(sizeof r.customer_zip_code) - 1};
    setWindowTitle(QStringLiteral("Customer"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < kEdits; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(kLabels[i]), this), i, 0);
        auto* e = new QLineEdit(values[static_cast<std::size_t>(i)], this);
        e->setObjectName(QString::number(kFirstEdit + i));
        e->setMaxLength(limits[i]);
        e->setMinimumWidth(260);
        grid->addWidget(e, i, 1);
        edits_[static_cast<std::size_t>(i)] = e;
    }
    layout->addLayout(grid);
    add_ok_cancel(this, layout, kOk, kCancel);
}

QString CustomerDialog::value(int i) const { return edits_[static_cast<std::size_t>(i)]->text(); }

}  // namespace stk::client
