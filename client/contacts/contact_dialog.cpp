#include "client/contacts/contact_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/ui/dialog_buttons.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

constexpr const char* kLabels[kContactColumns] = {
    "Account Number", "Name",  "Contact",  "Phone Number", "Fax Number",     "Mobile Number", "Address",
    "City",           "State", "Zip Code", "Web URL",      "E-Mail Address", "Note"};

// Where each field sits: people and numbers on the left, the address and web site on the right, the note
// across the bottom. Listed in the order the Tab key walks them.
struct Place {
    int field, row, column;
};
constexpr Place kPlaces[kContactColumns] = {
    {0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}, {4, 4, 0},  {5, 5, 0},  {11, 6, 0},
    {6, 0, 1}, {7, 1, 1}, {8, 2, 1}, {9, 3, 1}, {10, 4, 1}, {12, 7, 0},
};
constexpr int kNoteField = 12;

}  // namespace

ContactDialog::ContactDialog(QWidget* parent, const ContactRecord* contact)
    : QDialog(parent), new_contact_(contact == nullptr) {
    setWindowTitle(QStringLiteral("Contact"));
    setObjectName(QStringLiteral("dialog123"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (const Place& p : kPlaces) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::number(kBoxIds[static_cast<std::size_t>(p.field)]));
        box->setMaxLength(static_cast<int>(contact_field_size(p.field)) - 1);
        box->setMinimumWidth(200);
        if (contact) box->setText(from_1252(contact_text(*contact, p.field)));
        auto* label = new QLabel(QString::fromLatin1(kLabels[p.field]), this);
        label->setBuddy(box);
        const int span = p.field == kNoteField ? 3 : 1;
        grid->addWidget(label, p.row, p.column * 2);
        grid->addWidget(box, p.row, p.column * 2 + 1, 1, span);
        boxes_[static_cast<std::size_t>(p.field)] = box;
    }
    grid->setColumnMinimumWidth(2, 12);
    layout->addLayout(grid);
    QPushButton* ok = add_ok_cancel(this, layout, kOk, kCancel, false);
    connect(ok, &QPushButton::clicked, this, &ContactDialog::ok_clicked);
}

QLineEdit* ContactDialog::box(int id) const {
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (kBoxIds[i] == id) return boxes_[i];
    return nullptr;
}

ContactRecord ContactDialog::record() const {
    ContactRecord r{};
    for (int c = 0; c < kContactColumns; ++c)
        set_contact_text(r, c, trim_blanks(to_1252(boxes_[static_cast<std::size_t>(c)]->text())));
    return r;
}

void ContactDialog::ok_clicked() {
    // Checked after trimming: a name of blanks would be stored empty, and a nameless line is skipped when
    // the file is read again.
    if (new_contact_ && field_empty(record().name)) {
        show_string(this, str::kEnterName, MsgIcon::Information);
        box(kNameBox)->setFocus();
        return;
    }
    accept();
}

}  // namespace stk::client
