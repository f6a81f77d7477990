#include "client/invoices_window/invoice_rows_model.h"

#include <algorithm>

#include "client/ui/list_sort.h"
#include "client/ui/list_views.h"
#include "client/ui/text_1252.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

constexpr ListColumn kColumnTable[kInvoiceColumns] = {
    {"Invoice", 50, true},       {"Date", 75, true},         {"Time", 50, true},   {"Customer", 100, false},
    {"Phone Number", 90, false}, {"Preview", 200, false},    {"Amount", 70, true}, {"Status", 90, false},
    {"Payment", 90, false},      {"Salesperson", 90, false},
};

}  // namespace

const char* InvoiceRowsModel::heading(int column) { return kColumnTable[column].heading; }
int InvoiceRowsModel::width(int column) { return kColumnTable[column].width; }

InvoiceRowsModel::InvoiceRowsModel(ReservedArray<InvoiceRow>& array, QObject* parent)
    : QAbstractTableModel(parent), array_(array) {
    show_slots_in_order();
}

void InvoiceRowsModel::show_slots_in_order() {
    rows_.resize(static_cast<std::size_t>(array_.count()));
    for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i] = static_cast<int>(i + 1);
}

void InvoiceRowsModel::clear() {
    beginResetModel();
    array_.clear();
    rows_.clear();
    endResetModel();
}

int InvoiceRowsModel::assign(const std::vector<InvoiceSearchRow>& hits) {
    beginResetModel();
    array_.clear();
    // One commit for all the rows rather than one per row; when that much cannot be had, row by row as far as
    // the array grows.
    const auto wanted = std::min<std::size_t>(hits.size(), static_cast<std::size_t>(array_.capacity()));
    if (array_.resize(static_cast<int>(wanted))) {
        for (std::size_t i = 0; i < wanted; ++i) array_[static_cast<int>(i) + 1] = make_invoice_row(hits[i]);
    } else {
        for (const InvoiceSearchRow& hit : hits)
            if (!array_.append(make_invoice_row(hit))) break;
    }
    show_slots_in_order();
    endResetModel();
    return array_.count();
}

int InvoiceRowsModel::slot_of_row(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return 0;
    return rows_[static_cast<std::size_t>(row)];
}

const InvoiceRow* InvoiceRowsModel::row_record(int row) const {
    const int s = slot_of_row(row);
    return s >= 1 && s <= array_.count() ? &array_[s] : nullptr;
}

std::string_view InvoiceRowsModel::cell(int row, int column) const {
    const InvoiceRow* r = row_record(row);
    return r ? column_text(*r, column) : std::string_view();
}

void InvoiceRowsModel::sort_rows(int column) {
    if (column < 0 || column >= kInvoiceColumns) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::string_view> cells;
    cells.reserve(static_cast<std::size_t>(array_.count()));
    for (int slot = 1; slot <= array_.count(); ++slot) cells.push_back(column_text(array_[slot], column));
    const ListSortKeys keys(std::move(cells), column == kColDate);
    const auto less = [&](int a, int b) { return keys.compare(a, b) < 0; };
    changePersistentIndexList(before,
                              sort_rows_keeping(rows_, before, less, [this](int row, int c) { return index(row, c); }));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int InvoiceRowsModel::first_row_of_invoice(int invoice_index) const {
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        if (row_record(r)->invoice_index == invoice_index) return r;
    return -1;
}

void InvoiceRowsModel::refresh_row(int row, const InvoiceRecord& invoice) {
    const int s = slot_of_row(row);
    if (s < 1 || s > array_.count()) return;
    InvoiceRow& r = array_[s];
    set_field(r.invoice_number, field(invoice.invoice_number));
    set_field(r.date, field(invoice.date));
    set_field(r.time, field(invoice.time));
    set_field(r.customer, field(invoice.customer_name));
    set_field(r.phone_number, field(invoice.customer_phone_number));
    set_field(r.amount, field(invoice.total));
    set_field(r.status, status_word(invoice.status));
    if (invoice.payment >= PAYMENT_UNPAID && invoice.payment <= PAYMENT_WARRANTY)
        set_field(r.payment, payment_word(invoice.payment));
    set_field(r.salesperson, field(invoice.salesperson));
    emit dataChanged(index(row, 0), index(row, kInvoiceColumns - 1), {Qt::DisplayRole});
}

double InvoiceRowsModel::amount_total(const std::vector<int>& rows) const {
    double total = 0;
    for (int row : rows) {
        double value = 0;
        if (is_number(cell(row, kColAmount), &value)) total += value;
    }
    return total;
}

std::string InvoiceRowsModel::tab_delimited_text() const {
    std::string text;
    for (int s = 1; s <= array_.count(); ++s) {
        for (int c = 0; c < kInvoiceColumns; ++c) {
            if (c > 0) text += '\t';
            text += column_text(array_[s], c);
        }
        text += "\r\n";
    }
    return text;
}

int InvoiceRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int InvoiceRowsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kInvoiceColumns; }

QVariant InvoiceRowsModel::data(const QModelIndex& idx, int role) const {
    if (!idx.isValid()) return {};
    if (role == Qt::DisplayRole) return from_1252(cell(idx.row(), idx.column()));
    // The customer and the preview are often cut short by their columns; the tip shows them whole.
    if (role == Qt::ToolTipRole && (idx.column() == kColCustomer || idx.column() == kColPreview))
        return from_1252(cell(idx.row(), idx.column()));
    if (role == Qt::TextAlignmentRole) return column_alignment(kColumnTable[idx.column()].right);
    return {};
}

QVariant InvoiceRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return column_header(kColumnTable, kInvoiceColumns, section, orientation, role);
}

Qt::ItemFlags InvoiceRowsModel::flags(const QModelIndex& idx) const {
    return idx.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace stk::client
