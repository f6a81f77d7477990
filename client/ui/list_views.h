// What the two list views of the main window (inventory and invoice lines) share: the column table of their
// models, the alignment and heading answers built from it, and the Delete / Enter keys.
#pragma once

#include <QVariant>
#include <functional>

class QAbstractItemView;
class QHeaderView;
class QObject;
class QTreeView;

namespace stk::client {

struct ListColumn {
    const char* heading;
    int width;
    bool right;  // numbers read best right-aligned
};

// Qt::TextAlignmentRole answer of a cell or heading.
QVariant column_alignment(bool right);
// headerData() of a model whose columns are `columns[0..count)`.
QVariant column_header(const ListColumn* columns, int count, int section, Qt::Orientation orientation, int role);

// A report-style list of whole rows: one row selected at a time and kept shown, no tree lines, no editing.
void set_up_row_list(QTreeView* view);

// The horizontal header of a tree or table view, or nullptr.
QHeaderView* header_of(QAbstractItemView* view);

// Delete runs `on_delete`, Return and Enter run `on_enter`; both keys stop there. The filter is owned by
// `owner`, so it goes when the behaviour behind it does.
void install_list_keys(QAbstractItemView* view, QObject* owner, std::function<void()> on_delete,
                       std::function<void()> on_enter);

}  // namespace stk::client
