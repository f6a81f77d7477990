#include "client/messages/messages_window.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "client/api/server_api.h"
#include "client/messages/message_dialog.h"
#include "client/ui/dialog_buttons.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/list_menu.h"
#include "client/ui/list_views.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

// The band above the list that holds the buttons.
constexpr int kBandHeight = 39;
constexpr int kOpeningWidth = 668, kOpeningHeight = 462;

}  // namespace

MessagesWindow::MessagesWindow(ServerApi& api, QWidget* parent, const QFont& font) : QDialog(parent), api_(api) {
    setWindowTitle(QStringLiteral("Messages And Notes"));
    setObjectName(QStringLiteral("dialog136"));
    if (font != QFont()) setFont(font);
    setSizeGripEnabled(true);
    new_ = id_button(this, QStringLiteral("New..."), kNewButton);
    new_->setGeometry(8, 7, 90, 25);
    new_->setAutoDefault(false);
    refresh_ = id_button(this, QStringLiteral("Refresh"), kRefreshButton);
    refresh_->setGeometry(104, 7, 90, 25);
    refresh_->setAutoDefault(false);

    list_ = new QTreeView(this);
    list_->setObjectName(QString::number(kList));
    list_->setModel(&model_);
    set_up_row_list(list_);
    list_->setHeaderHidden(true);
    list_->setColumnWidth(0, MessagesModel::kDateWidth);
    list_->setColumnWidth(1, MessagesModel::kMessageWidth);

    connect(new_, &QPushButton::clicked, this, [this] { write_message(false); });
    connect(refresh_, &QPushButton::clicked, this, &MessagesWindow::reload);
    // Activation edits the message on the row; with no row there is nothing to edit.
    const auto edit_selected = [this] {
        if (selected_row() >= 0) write_message(true);
    };
    connect(list_, &QTreeView::doubleClicked, this, edit_selected);
    attach_list_menu(list_, this,
                     ListMenuEntries{{"Edit/View...", kEditCommand}, kListMenuSeparator, {"Delete", kDeleteCommand}},
                     [this](int command) { run_command(command); });
    install_list_keys(
        list_, this, [this] { delete_selected(); }, edit_selected);

    resize(kOpeningWidth, kOpeningHeight);
    reload();
}

void MessagesWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    list_->setGeometry(0, kBandHeight, width(), std::max(0, height() - kBandHeight));
}

int MessagesWindow::selected_row() const {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MessagesWindow::reload() {
    std::vector<MessageRecord> messages = model_.messages();
    api_.list_messages(&messages);
    model_.assign(std::move(messages));
}

void MessagesWindow::write_message(bool edit_selected) {
    // The message as it was when the dialog opened; all zero bytes for a new one, which is how the server
    // tells a new message from an edit.
    MessageRecord old_message{};
    if (edit_selected) {
        if (const MessageRecord* m = model_.message(selected_row())) old_message = *m;
    }
    MessageDialog dialog(this, field_text(old_message.text));
    if (DialogSeam::exec(dialog) != QDialog::Accepted) return;
    MessageRecord new_message = old_message;
    new_message.flags = 0;
    set_field(new_message.text, trim_blanks(to_1252(dialog.text())));
    after_change(api_.save_message(old_message, new_message));
}

void MessagesWindow::delete_selected() {
    const MessageRecord* selected = model_.message(selected_row());
    if (!selected || !ask_string(this, str::kConfirmRemoveItems, false)) return;
    const MessageRecord message = *selected;
    after_change(api_.delete_message(message));
}

void MessagesWindow::after_change(int result) {
    if (result == RESULT_CHANGED)
        show_string(this, str::kItemModified, MsgIcon::Information);
    else if (result == RESULT_SAVE_FAILED)
        show_string(this, str::kCheckServer, MsgIcon::Information);
    reload();
}

void MessagesWindow::run_command(int id) {
    if (id == kEditCommand) write_message(true);
    if (id == kDeleteCommand) delete_selected();
}

void open_messages_window(ServerApi& api, QWidget* owner, const QFont& font) {
    MessagesWindow window(api, owner, font);
    DialogSeam::exec(window);
}

}  // namespace stk::client
