// The invoice-lines list (502): one row per used line of the current invoice copy, cells read straight
// from the copy's line records.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include "common/records.h"

namespace stk::client {

// Image index of a line: 1 when the unit price or unit cost is not a number, or when the line is sold at
// or below its cost; else 0.
int line_flag(const InvoiceLine& line);

class InvoiceLinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 10;
    static const char* heading(int column);
    static int width(int column);
    static bool right_aligned(int column);

    explicit InvoiceLinesModel(QObject* parent = nullptr);

    // The record whose lines are shown; the model never owns it. reset() after the record was replaced.
    void set_record(const InvoiceRecord* record);
    void reset();
    void append_row();   // the record's line_count grew by one
    void remove_row(int row);
    void row_changed(int row);  // the line of this row was replaced in the record

    // Icons for image index 0 and 1.
    void set_icons(const QIcon& normal, const QIcon& at_or_below_cost);

    QString cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    int shown_rows() const;
    const InvoiceRecord* record_ = nullptr;
    int rows_ = 0;
    QIcon icons_[2];
};

// Drawn stand-ins for icons 140 and 139 when the main window supplies none.
QIcon default_line_icon(bool at_or_below_cost);

}  // namespace stk::client
