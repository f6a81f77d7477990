// The Messages window (dialog 136 "Messages And Notes"): the staff messages the server keeps, newest first;
// write a new one, edit or delete one. Opened modally from the main window; the list is loaded when it opens
// and after every change, and "Refresh" loads it again.
#pragma once

#include <QDialog>
#include <QFont>

#include "client/messages/messages_model.h"

class QPushButton;
class QTreeView;

namespace stk::client {

class ServerApi;

class MessagesWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNewButton = 1078, kRefreshButton = 1091, kList = 505;
    // Commands of the list's right-click menu.
    static constexpr int kEditCommand = 4030, kDeleteCommand = 4031;

    // `api` must outlive the window. `font` is the list's and the buttons' (the main window's, so that the
    // columns fit the same texts); a default font leaves the desktop's.
    MessagesWindow(ServerApi& api, QWidget* parent, const QFont& font = QFont());

    QTreeView* list() const { return list_; }
    MessagesModel& model() { return model_; }
    // The selected row, or -1.
    int selected_row() const;

    // LIST_MESSAGES. The list is replaced once the server answers; an answer that breaks off leaves the
    // messages that arrived, and no answer at all leaves the list as it was.
    void reload();
    // The Message dialog for a new message ("New..."), or for the selected one (edit mode, 4030): OK sends
    // SAVE_MESSAGE with the message as it was first and the new text second.
    void write_message(bool edit_selected);
    // Asks string 2, then DELETE_MESSAGE for the selected message.
    void delete_selected();
    // 4030 and 4031 as the right-click menu sends them.
    void run_command(int id);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // After a save or delete: string 20 when someone else changed or removed the message, string 37 when the
    // server could not write it; the list is loaded again whatever the answer, so it shows what the server holds.
    void after_change(int result);

    ServerApi& api_;
    MessagesModel model_;
    QPushButton* new_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QTreeView* list_ = nullptr;
};

// Opens the Messages window modally, owned by `owner`, in `font`.
void open_messages_window(ServerApi& api, QWidget* owner, const QFont& font = QFont());

}  // namespace stk::client
