#include "client/inventory/inventory_model.h"

#include <QColor>

#include "client/inventory/item_fields.h"
#include "client/ui/list_sort.h"
#include "client/ui/list_views.h"
#include "client/ui/stable_sort.h"
#include "client/ui/text_1252.h"
#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

constexpr ListColumn kColumnTable[InventoryModel::kColumns] = {
    {"Item Number", 85, false},
    {"Description", 230, false},
    {"Remark", 100, false},
    {"Unit Price", 70, true},
    {"Inventory Quantity", 116, true},
    {"Minimum Quantity", 120, true},
    {"Sold/Allocated Quantity", 140, true},
    {"Unaccounted Quantity", 140, true},
    {"Category", 115, false},
    {"Location", 110, false},
    {"Standard Unit Cost", 120, true},
    {"Gross Profit", 80, true},
    {"Markup", 90, true},
    {"Note", 110, false},
    {"Last Audit Date", 110, true},
};

}  // namespace

const char* InventoryModel::heading(int column) { return kColumnTable[column].heading; }
int InventoryModel::width(int column) { return kColumnTable[column].width; }
bool InventoryModel::right_aligned(int column) { return kColumnTable[column].right; }

std::string_view InventoryModel::column_text(const InventoryRecord& r, int column) {
    return item_field_text(r, column);
}

InventoryModel::InventoryModel(QObject* parent) : QAbstractTableModel(parent) {}

void InventoryModel::clear() {
    beginResetModel();
    items_.clear();
    rows_.clear();
    checks_.clear();
    endResetModel();
}

void InventoryModel::assign(std::vector<InventoryRecord> items) {
    beginResetModel();
    items_ = std::move(items);
    rows_.resize(items_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i] = static_cast<int>(i + 1);
    checks_.assign(items_.size(), 0);
    endResetModel();
}

int InventoryModel::slot_of_row(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return 0;
    return rows_[static_cast<std::size_t>(row)];
}

std::string_view InventoryModel::cell(int row, int column) const {
    const int s = slot_of_row(row);
    if (s < 1 || s > count()) return {};
    return column_text(item(s), column);
}

int InventoryModel::compare(int a, int b, int column, bool ascending) const {
    if (a < 1 || a > count() || b < 1 || b > count()) return 0;
    const std::string_view ta = column_text(item(a), column);
    const std::string_view tb = column_text(item(b), column);
    double va = 0, vb = 0;
    if (is_number(ta, &va) && is_number(tb, &vb)) {
        if (ascending) return va < vb ? -1 : 1;
        return va < vb ? 1 : -1;
    }
    const std::string_view x = ascending ? ta : tb;
    const std::string_view y = ascending ? tb : ta;
    return column == item_field::kLastAuditDate ? compare_list_dates(x, y) : compare_list_texts(x, y);
}

void InventoryModel::sort_rows(int column, bool ascending) {
    if (column < 0 || column >= kColumns) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const auto less = [&](int a, int b) { return compare(a, b, column, ascending) < 0; };
    changePersistentIndexList(
        before, sort_rows_keeping(rows_, before, less, [this](int row, int c) { return index(row, c); }));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int InventoryModel::find_row(std::string_view item_number) const {
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        if (equal_ci(cell(r, 0), item_number)) return r;
    return -1;
}

void InventoryModel::replace_row_item(int row, const InventoryRecord& record) {
    const int s = slot_of_row(row);
    if (s < 1 || s > count()) return;
    items_[static_cast<std::size_t>(s - 1)] = record;
    emit dataChanged(index(row, 0), index(row, kColumns - 1));
}

void InventoryModel::remove_row_and_slot(int row) {
    const int s = slot_of_row(row);
    if (s < 1 || s > count()) return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    for (int& slot : rows_)
        if (slot > s) --slot;
    items_.erase(items_.begin() + (s - 1));
    checks_.erase(checks_.begin() + (s - 1));
    endRemoveRows();
}

bool InventoryModel::checked(int row) const {
    const int s = slot_of_row(row);
    return s >= 1 && s <= count() && checks_[static_cast<std::size_t>(s - 1)] != 0;
}

void InventoryModel::set_checked(int row, bool on) {
    const int s = slot_of_row(row);
    if (s < 1 || s > count()) return;
    checks_[static_cast<std::size_t>(s - 1)] = on ? 1 : 0;
    emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

int InventoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}
int InventoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant InventoryModel::data(const QModelIndex& idx, int role) const {
    if (!idx.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return from_1252(cell(idx.row(), idx.column()));
    case Qt::CheckStateRole:
        if (idx.column() == 0) return checked(idx.row()) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        return column_alignment(right_aligned(idx.column()));
    case Qt::BackgroundRole:
        return QColor(192, 255, 255);
    case Qt::ForegroundRole:
        return QColor(10, 36, 106);
    default:
        return {};
    }
}

bool InventoryModel::setData(const QModelIndex& idx, const QVariant& value, int role) {
    if (!idx.isValid() || idx.column() != 0 || role != Qt::CheckStateRole) return false;
    set_checked(idx.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags InventoryModel::flags(const QModelIndex& idx) const {
    if (!idx.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (idx.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant InventoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return column_header(kColumnTable, kColumns, section, orientation, role);
}

void InventoryModel::sort(int column, Qt::SortOrder) { sort_rows(column, true); }

}  // namespace stk::client
