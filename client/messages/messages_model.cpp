#include "client/messages/messages_model.h"

#include "client/ui/list_views.h"
#include "client/ui/text_1252.h"

namespace stk::client {
namespace {

constexpr ListColumn kColumnTable[MessagesModel::kColumns] = {
    {"Date", MessagesModel::kDateWidth, false},
    {"Message", MessagesModel::kMessageWidth, false},
};

}  // namespace

MessagesModel::MessagesModel(QObject* parent) : QAbstractTableModel(parent) {}

void MessagesModel::assign(std::vector<MessageRecord> messages) {
    beginResetModel();
    messages_ = std::move(messages);
    endResetModel();
}

const MessageRecord* MessagesModel::message(int row) const {
    if (row < 0 || row >= static_cast<int>(messages_.size())) return nullptr;
    return &messages_[static_cast<std::size_t>(row)];
}

int MessagesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(messages_.size());
}

int MessagesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant MessagesModel::data(const QModelIndex& idx, int role) const {
    const MessageRecord* m = idx.isValid() ? message(idx.row()) : nullptr;
    if (!m) return {};
    // A message longer than its column is cut short on screen; the tip shows it whole.
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && idx.column() == 1))
        return idx.column() == 0 ? field_text(m->timestamp) : field_text(m->text);
    return {};
}

QVariant MessagesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return column_header(kColumnTable, kColumns, section, orientation, role);
}

}  // namespace stk::client
