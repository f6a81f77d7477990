#include "client/invoice/invoice_lines_model.h"

#include <QPainter>
#include <QPixmap>

#include "client/ui/list_views.h"
#include "client/ui/text_1252.h"
#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

constexpr ListColumn kColumnTable[InvoiceLinesModel::kColumns] = {
    {"Quantity", 65, false},   {"Backorder", 75, false}, {"Item Number", 85, false}, {"Description", 200, false},
    {"Remark", 100, false},    {"Unit Price", 65, true}, {"Amount", 65, true},       {"Tax %", 46, true},
    {"Note", 120, false},      {"Unit Cost", 65, true},
};

std::string_view line_text(const InvoiceLine& line, int column) {
    switch (column) {
    case 0: return field(line.quantity);
    case 1: return field(line.backorder_quantity);
    case 2: return field(line.item_number);
    case 3: return field(line.description);
    case 4: return field(line.remark);
    case 5: return field(line.unit_price);
    case 6: return field(line.amount);
    case 7: return field(line.tax_percent);
    case 8: return field(line.note);
    case 9: return field(line.unit_cost);
    default: return {};
    }
}

}  // namespace

int line_flag(const InvoiceLine& line) {
    double price = 0, cost = 0;
    if (!is_number(field(line.unit_price), &price) || !is_number(field(line.unit_cost), &cost)) return 1;
    return price <= cost ? 1 : 0;
}

const char* InvoiceLinesModel::heading(int column) { return kColumnTable[column].heading; }
int InvoiceLinesModel::width(int column) { return kColumnTable[column].width; }
bool InvoiceLinesModel::right_aligned(int column) { return kColumnTable[column].right; }

InvoiceLinesModel::InvoiceLinesModel(QObject* parent) : QAbstractTableModel(parent) {
    icons_[0] = default_line_icon(false);
    icons_[1] = default_line_icon(true);
}

int InvoiceLinesModel::shown_rows() const {
    if (!record_) return 0;
    const int n = record_->line_count;
    return n < 0 ? 0 : (n > kMaxInvoiceLines ? kMaxInvoiceLines : n);
}

void InvoiceLinesModel::set_record(const InvoiceRecord* record) {
    beginResetModel();
    record_ = record;
    rows_ = shown_rows();
    endResetModel();
}

void InvoiceLinesModel::reset() { set_record(record_); }

void InvoiceLinesModel::append_row() {
    const int n = shown_rows();
    if (n <= rows_) {
        reset();
        return;
    }
    beginInsertRows({}, rows_, n - 1);
    rows_ = n;
    endInsertRows();
}

void InvoiceLinesModel::remove_row(int row) {
    if (row < 0 || row >= rows_) {
        reset();
        return;
    }
    beginRemoveRows({}, row, row);
    rows_ = shown_rows();
    endRemoveRows();
    // The lines behind the removed one moved up a slot in the record.
    if (rows_ > row) emit dataChanged(index(row, 0), index(rows_ - 1, kColumns - 1));
}

void InvoiceLinesModel::row_changed(int row) {
    if (row >= 0 && row < rows_) emit dataChanged(index(row, 0), index(row, kColumns - 1));
}

void InvoiceLinesModel::set_icons(const QIcon& normal, const QIcon& at_or_below_cost) {
    icons_[0] = normal;
    icons_[1] = at_or_below_cost;
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, 0), {Qt::DecorationRole});
}

QString InvoiceLinesModel::cell(int row, int column) const {
    if (!record_ || row < 0 || row >= rows_ || column < 0 || column >= kColumns) return {};
    return from_1252(line_text(record_->lines[row], column));
}

int InvoiceLinesModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }
int InvoiceLinesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant InvoiceLinesModel::data(const QModelIndex& idx, int role) const {
    if (!idx.isValid() || !record_ || idx.row() >= rows_) return {};
    const InvoiceLine& line = record_->lines[idx.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return from_1252(line_text(line, idx.column()));
    case Qt::DecorationRole:
        if (idx.column() == 0) return icons_[line_flag(line)];
        return {};
    case Qt::TextAlignmentRole:
        return column_alignment(right_aligned(idx.column()));
    default:
        return {};
    }
}

QVariant InvoiceLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return column_header(kColumnTable, kColumns, section, orientation, role);
}

QIcon default_line_icon(bool at_or_below_cost) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (at_or_below_cost) {
        p.setBrush(QColor(214, 58, 44));
        p.setPen(QColor(140, 30, 20));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(8, 4), QPointF(8, 9));
        p.drawPoint(QPointF(8, 12));
    } else {
        p.setBrush(QColor(46, 150, 80));
        p.setPen(QColor(25, 95, 50));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(4.5, 8.5), QPointF(7, 11));
        p.drawLine(QPointF(7, 11), QPointF(11.5, 5));
    }
    return QIcon(pm);
}

}  // namespace stk::client
