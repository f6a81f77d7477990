#include "client/ui/dialog_seam.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace stk::client {

namespace {

DialogSeam::MessageHandler g_message;
DialogSeam::DialogHandler g_dialog;
DialogSeam::FileHandler g_file;
DialogSeam::FolderHandler g_folder;
DialogSeam::MenuHandler g_menu;

QMessageBox::StandardButton standard(MsgAnswer a) {
    switch (a) {
    case MsgAnswer::Ok: return QMessageBox::Ok;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
    case MsgAnswer::Retry: return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

MsgAnswer answer_of(int button, MsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: break;
    }
    // Escape or the close box: the answer a message box gives for its cancelling button.
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

}  // namespace

MsgAnswer DialogSeam::message(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                              MsgAnswer default_answer, const QString& caption) {
    if (g_message) return g_message(MessageRequest{text, caption, icon, buttons, default_answer});
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(caption);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    switch (icon) {
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MsgButtons::Ok: set = QMessageBox::Ok; break;
    case MsgButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MsgButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case MsgButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case MsgButtons::RetryCancel: set = QMessageBox::Retry | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(set);
    if (set.testFlag(standard(default_answer))) box.setDefaultButton(standard(default_answer));
    return answer_of(box.exec(), buttons);
}

int DialogSeam::exec(QDialog& dialog) {
    if (g_dialog) return g_dialog(dialog);
    return dialog.exec();
}

QString DialogSeam::open_file(QWidget* parent, const QString& title, const QString& folder, const QString& filter) {
    if (g_file) return g_file(title, folder, filter, false);
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString DialogSeam::save_file(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
                              const QString& default_suffix) {
    if (g_file) return g_file(title, folder, filter, true);
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(default_suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString DialogSeam::choose_folder(QWidget* parent, const QString& title) {
    if (g_folder) return g_folder(title);
    return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

void DialogSeam::set_folder_handler(FolderHandler handler) { g_folder = std::move(handler); }

QAction* DialogSeam::popup(QMenu& menu, const QPoint& global_pos) {
    if (g_menu) return g_menu(menu);
    return menu.exec(global_pos);
}

void DialogSeam::set_menu_handler(MenuHandler handler) { g_menu = std::move(handler); }

void DialogSeam::set_message_handler(MessageHandler handler) { g_message = std::move(handler); }
void DialogSeam::set_dialog_handler(DialogHandler handler) { g_dialog = std::move(handler); }
void DialogSeam::set_file_handler(FileHandler handler) { g_file = std::move(handler); }

void DialogSeam::reset() {
    g_message = nullptr;
    g_dialog = nullptr;
    g_file = nullptr;
    g_folder = nullptr;
    g_menu = nullptr;
}

}  // namespace stk::client
