// Dialog 123 "Contact": the thirteen fields of one contact. Each box's object name is its resource id.
#pragma once

#include <QDialog>
#include <array>

#include "client/contacts/contacts.h"

class QLineEdit;

namespace stk::client {

class ContactDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOk = 1042, kCancel = 1049;
    static constexpr int kNameBox = 1037;
    // The boxes' ids in the field order of the contacts file (account number first, note last).
    static constexpr std::array<int, kContactColumns> kBoxIds = {1045, 1037, 1038, 1039, 1054, 1040, 1041,
                                                                 1048, 1043, 1044, 1046, 1055, 1047};

    // Fills the boxes from `contact`, or leaves them empty for a new contact (nullptr). OK on a new contact
    // without a name shows string 26 and keeps the dialog open; an existing contact may lose its name.
    ContactDialog(QWidget* parent, const ContactRecord* contact);

    // The boxes' texts, each trimmed of blanks and tabs.
    ContactRecord record() const;
    QLineEdit* box(int id) const;

private:
    void ok_clicked();

    bool new_contact_;
    std::array<QLineEdit*, kContactColumns> boxes_{};
};

}  // namespace stk::client
