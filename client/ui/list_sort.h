// How the report-style lists order their rows when a heading is clicked: numbers by value, dates by year,
// month and day, other texts in the desktop's word order. The rows are sorted, never the records they name.
#pragma once

#include <QModelIndex>
#include <QModelIndexList>
#include <algorithm>
#include <string_view>
#include <vector>

#include "client/ui/stable_sort.h"

namespace stk::client {

// Texts of exactly 10 characters with "/" at positions 3 and 6 ("MM/dd/yyyy") compare by year, then month,
// then day; any other pair compares as text without case. -1, 0 or 1.
int compare_list_dates(std::string_view a, std::string_view b);

// Two Windows-1252 texts in the desktop's word order: alphabetically without regard to case, then by case.
// -1, 0 or 1.
int compare_list_texts(std::string_view a, std::string_view b);

// The cells of one column, read once for a sort so that each comparison of a long list is cheap. Two cells
// compare so: when both are numbers (number text check) the smaller comes first and equal numbers count as
// greater; otherwise as dates (a date column) or texts, as above.
class ListSortKeys {
public:
    // cells[i] is the cell of slot i + 1; the texts must outlive the keys.
    ListSortKeys(std::vector<std::string_view> cells, bool date_column);
    ~ListSortKeys();
    ListSortKeys(const ListSortKeys&) = delete;
    ListSortKeys& operator=(const ListSortKeys&) = delete;

    // Slots a and b (1-based): -1, 0 or 1; never 0 for two numbers.
    int compare(int slot_a, int slot_b) const;

private:
    struct Cell;
    struct TextKeys;
    std::vector<Cell> cells_;
    std::vector<TextKeys> text_keys_;  // one per cell, for a column that is not a date column
    bool date_column_;
};

// Sorts a model's rows (each naming its record's slot, 1 and up) with `less` over slots, and answers where the
// model's persistent indexes `before` go, so that the selection and the current row stay with their records:
//   const QModelIndexList before = persistentIndexList();
//   changePersistentIndexList(before, sort_rows_keeping(rows_, before, less, [this](int r, int c) { ... }));
// between layoutAboutToBeChanged and layoutChanged. `index(row, column)` makes the model's index.
template <class Less, class Index>
QModelIndexList sort_rows_keeping(std::vector<int>& rows, const QModelIndexList& before, Less less, Index index) {
    std::vector<int> slot_before;
    for (const QModelIndex& i : before) {
        const bool in_range = i.row() >= 0 && static_cast<std::size_t>(i.row()) < rows.size();
        slot_before.push_back(in_range ? rows[static_cast<std::size_t>(i.row())] : 0);
    }
    stable_merge_sort(rows, less);
    const int highest = rows.empty() ? 0 : *std::max_element(rows.begin(), rows.end());
    std::vector<int> where(static_cast<std::size_t>(highest) + 1, -1);
    for (std::size_t r = 0; r < rows.size(); ++r) where[static_cast<std::size_t>(rows[r])] = static_cast<int>(r);
    QModelIndexList after;
    for (qsizetype k = 0; k < before.size(); ++k) {
        const int s = slot_before[static_cast<std::size_t>(k)];
        after.push_back(s > 0 ? index(where[static_cast<std::size_t>(s)], before[k].column()) : QModelIndex());
    }
    return after;
}

}  // namespace stk::client
