#include "client/contacts/contacts_model.h"

#include "client/contacts/contact_rules.h"
#include "client/ui/list_sort.h"
#include "client/ui/list_views.h"
#include "client/ui/stable_sort.h"
#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

constexpr ListColumn kColumnTable[ContactsModel::kColumns] = {
    {"Account Number", 95, false}, {"Name", 150, false}, {"Phone Number", 100, false}, {"Address", 125, false},
    {"City", 75, false},           {"State", 40, false}, {"Zip Code", 55, false},
};

}  // namespace

int ContactsModel::width(int column) { return kColumnTable[column].width; }

std::string_view ContactsModel::column_text(const ContactRecord& c, int column) {
    switch (column) {
        case kAccountColumn: return field(c.account_number);
        case kNameColumn: return field(c.name);
        case kPhoneColumn: return field(c.phone_number);
        case kAddressColumn: return field(c.address);
        case kCityColumn: return field(c.city);
        case kStateColumn: return field(c.state);
        case kZipColumn: return field(c.zip_code);
        default: return {};
    }
}

ContactsModel::ContactsModel(ContactTable& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

void ContactsModel::fill(std::string_view search) {
    beginResetModel();
    rows_.clear();
    for (int slot = 1; slot <= table_.count(); ++slot)
        if (contact_matches(table_[slot], search)) rows_.push_back(slot);
    stable_merge_sort(rows_, [this](int a, int b) { return compare(a, b, kNameColumn) < 0; });
    endResetModel();
}

int ContactsModel::compare(int a, int b, int column) const {
    if (a < 1 || a > table_.count() || b < 1 || b > table_.count()) return 0;
    return compare_contact_texts(column_text(table_[a], column), column_text(table_[b], column));
}

void ContactsModel::sort_rows(int column) {
    if (column < 0 || column >= kColumns) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const auto less = [&](int a, int b) { return compare(a, b, column) < 0; };
    changePersistentIndexList(
        before, sort_rows_keeping(rows_, before, less, [this](int row, int c) { return index(row, c); }));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ContactsModel::slot_of_row(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return 0;
    return rows_[static_cast<std::size_t>(row)];
}

int ContactsModel::row_of_slot(int slot) const {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (rows_[r] == slot) return static_cast<int>(r);
    return -1;
}

void ContactsModel::remove_contact(int row) {
    const int slot = slot_of_row(row);
    if (slot < 1 || slot > table_.count()) return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    for (int& s : rows_)
        if (s > slot) --s;
    table_.remove(slot);
    endRemoveRows();
}

int ContactsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ContactsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant ContactsModel::data(const QModelIndex& idx, int role) const {
    const int slot = idx.isValid() ? slot_of_row(idx.row()) : 0;
    if (slot < 1 || slot > table_.count()) return {};
    if (role == Qt::DisplayRole) return from_1252(column_text(table_[slot], idx.column()));
    if (role == Qt::TextAlignmentRole) return column_alignment(false);
    return {};
}

QVariant ContactsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return column_header(kColumnTable, kColumns, section, orientation, role);
}

}  // namespace stk::client
