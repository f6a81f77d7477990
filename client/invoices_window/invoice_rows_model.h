// The rows behind the Invoices window's list (503): the hits of the last invoice search in the slots of a
// reserved array, in the order of the answer, and the rows of the list, each naming its slot. Every cell is
// read on demand from its slot; sorting reorders the rows, never the slots.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>

#include "client/invoices_window/invoice_row.h"
#include "client/ui/reserved_array.h"
#include "common/records.h"

namespace stk::client {

class InvoiceRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static const char* heading(int column);
    static int width(int column);

    // The model shows what `array` holds, in slot order. `array` must outlive the model; its capacity is the
    // most rows a search keeps.
    explicit InvoiceRowsModel(ReservedArray<InvoiceRow>& array, QObject* parent = nullptr);

    // Empties the slots and the list.
    void clear();
    // Replaces the slots and the list with the hits, in their order, as far as the slots reach. Returns the
    // number of rows kept.
    int assign(const std::vector<InvoiceSearchRow>& hits);

    int count() const { return array_.count(); }
    // The slot a row names, or 0 when the row does not exist.
    int slot_of_row(int row) const;
    // The record of a row, or nullptr.
    const InvoiceRow* row_record(int row) const;
    // The text of a cell, or "" for a row or column that does not exist.
    std::string_view cell(int row, int column) const;

    // Sorts the rows by a column (always ascending; see list_sort.h for the order of numbers, dates and texts).
    void sort_rows(int column);
    // The first row whose invoice index equals `invoice_index`, or -1.
    int first_row_of_invoice(int invoice_index) const;
    // Puts an invoice as it now stands into a row: every text but the preview (payment only for the codes
    // the list names).
    void refresh_row(int row, const InvoiceRecord& invoice);
    // The sum of the Amount cells of these rows that are numbers.
    double amount_total(const std::vector<int>& rows) const;
    // The rows as a tab-delimited text, one line per slot in slot order (the order of the answer, whatever
    // the sorting), each ended by "\r\n".
    std::string tab_delimited_text() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void show_slots_in_order();

    ReservedArray<InvoiceRow>& array_;
    std::vector<int> rows_;  // row -> slot
};

}  // namespace stk::client
