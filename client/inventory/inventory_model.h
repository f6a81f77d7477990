// The item table behind the inventory list (501): the records of the last search answer in slots 1..count,
// and the rows of the list, each naming its slot. Every cell is read on demand from its slot's record.
#pragma once

#include <QAbstractTableModel>
#include <string_view>
#include <vector>

#include "common/records.h"

namespace stk::client {

class InventoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 15;
    static const char* heading(int column);
    static int width(int column);
    static bool right_aligned(int column);
    // The field of a record that a column shows.
    static std::string_view column_text(const InventoryRecord& item, int column);

    explicit InventoryModel(QObject* parent = nullptr);

    // Empties the table and the list.
    void clear();
    // Replaces the table and the list: row i shows slot i + 1 (unsorted).
    void assign(std::vector<InventoryRecord> items);

    int count() const { return static_cast<int>(items_.size()); }
    // Slot s (1..count).
    const InventoryRecord& item(int slot) const { return items_[static_cast<std::size_t>(slot - 1)]; }
    // The slot a row carries, or 0 when the row does not exist.
    int slot_of_row(int row) const;
    // The text of a cell: the field of the row's slot, or "" for a row or column that does not exist.
    std::string_view cell(int row, int column) const;

    // Sort comparison of two slots by a column: -1, 1, or 0 only for a slot outside 1..count.
    int compare(int slot_a, int slot_b, int column, bool ascending) const;
    // Sorts the rows by a column (the slots stay where they are).
    void sort_rows(int column, bool ascending);

    // The first row whose item number equals the text without regard to case, or -1.
    int find_row(std::string_view item_number) const;
    // Puts a record into a row's slot and redraws the row.
    void replace_row_item(int row, const InventoryRecord& item);
    // Removes a row and its slot: later slots move down by one, and the rows that named them follow.
    void remove_row_and_slot(int row);

    bool checked(int row) const;
    void set_checked(int row, bool on);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Heading clicks of a sorting view: always ascending, by our own comparison.
    void sort(int column, Qt::SortOrder order) override;

private:
    std::vector<InventoryRecord> items_;  // slot s at items_[s - 1]
    std::vector<int> rows_;               // row -> slot
    std::vector<char> checks_;            // per row
};

}  // namespace stk::client
