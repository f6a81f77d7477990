// Dialog 104: where the database set lives; opens an existing set or starts a new one.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "server/shell/startup_ui.h"

class QLineEdit;
class QPushButton;

namespace stk::server {

// The folder browser: returns the chosen folder, or nullopt when cancelled. `owner` is the dialog it belongs to.
using FolderBrowser = std::function<std::optional<std::string>(QWidget* owner, const QString& prompt)>;
// The new-set dialog: returns its choice (the new-set flag is set only after Next).
using NewSetAsker = std::function<NewSetChoice(QWidget* owner, bool can_carry)>;

// The system folder browser, file-system folders only.
std::optional<std::string> browse_for_folder(QWidget* owner, const QString& prompt);
// Dialog 103, modal over `owner`.
NewSetChoice ask_new_set(QWidget* owner, bool can_carry);

class LocationDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kFolderEdit = 1024;
    static constexpr int kCreateButton = 1012;
    static constexpr int kOpenButton = 1002;
    static constexpr int kOkButton = 1008;
    static constexpr int kExitButton = 1018;

    static inline const QString kSavePrompt =
        QStringLiteral("Please select a location to save your inventory, invoices, and messages.");
    static inline const QString kOpenPrompt =
        QStringLiteral("Please select the location of your inventory, invoices, and messages.");
    static inline const QString kPathTooLong =
        QStringLiteral("The folder path is too long. Please select a folder with a shorter path.");

    // `pointer_folder` is what the pointer file gave; nullopt (or an empty path) means a first run.
    LocationDialog(QWidget* parent, const std::optional<std::string>& pointer_folder,
                   FolderBrowser browse = browse_for_folder, NewSetAsker new_set = ask_new_set);

    // Shows the dialog, opens the folder browser at once on a first run, and waits until the dialog closes.
    LocationChoice run();

    // What opening the dialog does: on a first run, the folder browser for a new set. Public so that tests can
    // drive a shown dialog step by step.
    void start();

    LocationChoice choice() const;
    bool first_run() const { return first_run_; }

    // Escape and the close box. With a folder shown they keep it, as OK does; with none there is nothing to
    // start on, so they end the program as Exit does.
    void reject() override;

private:
    // The folder browser; a folder whose path could not be remembered is refused with a message, as if the
    // browser had been cancelled.
    std::optional<std::string> choose_folder(const QString& prompt);
    void create_new_set();
    void open_existing_set();
    void show_folder();
    void exit_program();

    FolderBrowser browse_;
    NewSetAsker new_set_dialog_;
    bool first_run_ = false;
    bool exit_ = false;
    std::string folder_;
    NewSetChoice new_set_;
    QLineEdit* folder_edit_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace stk::server
