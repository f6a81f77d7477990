// Every modal dialog and message box of the client goes through here, so tests can answer them.
#pragma once

#include <QString>
#include <functional>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

namespace stk::client {

enum class MsgIcon { Information, Question, Warning, Error };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

inline const QString kCaption = QStringLiteral("Stockavelle Inventory And Invoice Management System");

struct MessageRequest {
    QString text;
    QString caption;
    MsgIcon icon;
    MsgButtons buttons;
    MsgAnswer default_answer;
};

class DialogSeam {
public:
    using MessageHandler = std::function<MsgAnswer(const MessageRequest&)>;
    // Gets the dialog fully built; returns the code exec() would (QDialog::Accepted/Rejected or a custom one).
    using DialogHandler = std::function<int(QDialog&)>;
    // Answers a file dialog: returns the chosen path or "" for cancel.
    using FileHandler = std::function<QString(const QString& title, const QString& folder, const QString& filter,
                                              bool save)>;

    static MsgAnswer message(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                             MsgAnswer default_answer, const QString& caption = kCaption);
    static int exec(QDialog& dialog);
    static QString open_file(QWidget* parent, const QString& title, const QString& folder, const QString& filter);
    // `default_suffix` (e.g. "txt") is added to a name typed without one before the dialog asks whether to
    // replace an existing file. A test's file handler gets the name as typed.
    static QString save_file(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
                             const QString& default_suffix = QString());
    // The folder browser; "" for cancel.
    using FolderHandler = std::function<QString(const QString& title)>;
    static QString choose_folder(QWidget* parent, const QString& title);
    static void set_folder_handler(FolderHandler handler);
    // A pop-up menu at a screen position; returns the chosen action, or nullptr when none was chosen.
    using MenuHandler = std::function<QAction*(QMenu& menu)>;
    static QAction* popup(QMenu& menu, const QPoint& global_pos);
    static void set_menu_handler(MenuHandler handler);

    // Tests install handlers; an unset handler shows the real thing.
    static void set_message_handler(MessageHandler handler);
    static void set_dialog_handler(DialogHandler handler);
    static void set_file_handler(FileHandler handler);
    static void reset();
};

}  // namespace stk::client
