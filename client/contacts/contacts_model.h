// The contacts list (500) over the contacts table: each row names the slot of the contact it shows, so
// sorting moves rows and never contacts. Every cell is read on demand from its slot.
#pragma once

#include <QAbstractTableModel>
#include <string_view>
#include <vector>

#include "client/contacts/contacts.h"

namespace stk::client {

class ContactsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 7;
    // Account Number, Name, Phone Number, Address, City, State, Zip Code.
    enum Column { kAccountColumn, kNameColumn, kPhoneColumn, kAddressColumn, kCityColumn, kStateColumn, kZipColumn };
    static int width(int column);
    // The field of a contact that a column shows.
    static std::string_view column_text(const ContactRecord& contact, int column);

    // The table must outlive the model.
    explicit ContactsModel(ContactTable& table, QObject* parent = nullptr);

    // Lists every contact the search finds, in slot order, then sorts the list by name.
    void fill(std::string_view search);
    // Sorts the rows by a column, always ascending.
    void sort_rows(int column);
    // The list's comparison of two slots by a column; 0 when either slot is not a contact.
    int compare(int slot_a, int slot_b, int column) const;

    // The slot a row names, or 0 when there is no such row.
    int slot_of_row(int row) const;
    // The row that names a slot, or -1.
    int row_of_slot(int slot) const;
    // Removes the contact a row shows from the table and the row from the list; the rows of later contacts
    // follow them down one slot.
    void remove_contact(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ContactTable& table_;
    std::vector<int> rows_;  // row -> slot
};

}  // namespace stk::client
