// The message list (505): the messages of the last LIST_MESSAGES answer in the order received, newest first.
// Row r shows message r + 1, its time stamp and its text.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "common/records.h"

namespace stk::client {

class MessagesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 2;
    static constexpr int kDateWidth = 150, kMessageWidth = 500;

    explicit MessagesModel(QObject* parent = nullptr);

    // Replaces the list.
    void assign(std::vector<MessageRecord> messages);
    const std::vector<MessageRecord>& messages() const { return messages_; }
    // The message a row shows, or nullptr when there is no such row.
    const MessageRecord* message(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<MessageRecord> messages_;
};

}  // namespace stk::client
