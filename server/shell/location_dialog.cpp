#include "server/shell/location_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "server/shell/control_id.h"
#include "server/shell/new_set_dialog.h"
#include "server/shell/pointer_file.h"
#include "server/shell/server_window.h"

namespace stk::server {

std::optional<std::string> browse_for_folder(QWidget* owner, const QString& prompt) {
    const QString folder =
        QFileDialog::getExistingDirectory(owner, prompt, QDir::homePath(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return to_path(QDir::toNativeSeparators(folder));
}

NewSetChoice ask_new_set(QWidget* owner, bool can_carry) {
    NewSetDialog dialog(owner, can_carry);
    dialog.exec();
    return dialog.choice();
}

LocationDialog::LocationDialog(QWidget* parent, const std::optional<std::string>& pointer_folder, FolderBrowser browse,
                               NewSetAsker new_set)
    : QDialog(parent), browse_(std::move(browse)), new_set_dialog_(std::move(new_set)) {
    setWindowTitle("Stockavelle Inventory And Invoice Management System Server");
    setModal(true);

    auto* label = new QLabel("Inventory, Invoices, and Messages Location", this);
    folder_edit_ = with_id(new QLineEdit(this), kFolderEdit);
    folder_edit_->setReadOnly(true);
    folder_edit_->setMinimumWidth(440);
    // Read-only boxes look like the dialog, not like a field waiting for typing.
    QPalette quiet = folder_edit_->palette();
    quiet.setColor(QPalette::Base, quiet.color(QPalette::Window));
    folder_edit_->setPalette(quiet);
    folder_edit_->setFocusPolicy(Qt::ClickFocus);
    label->setBuddy(folder_edit_);

    auto* create =
        with_id(new QPushButton("Create a new set of inventory, invoices, and messages...", this), kCreateButton);
    auto* open =
        with_id(new QPushButton("Open an existing set of inventory, invoices, and messages...", this), kOpenButton);
    ok_ = with_id(new QPushButton("OK", this), kOkButton);
    auto* exit = with_id(new QPushButton("Exit", this), kExitButton);
    for (QPushButton* b : {create, open, ok_, exit}) b->setAutoDefault(false);
    ok_->setMinimumWidth(88);
    exit->setMinimumWidth(88);

    connect(create, &QPushButton::clicked, this, &LocationDialog::create_new_set);
    connect(open, &QPushButton::clicked, this, &LocationDialog::open_existing_set);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit, &QPushButton::clicked, this, &LocationDialog::exit_program);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(ok_);
    bottom->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(8);
    layout->addWidget(label);
    layout->addWidget(folder_edit_);
    layout->addSpacing(8);
    layout->addWidget(create);
    layout->addWidget(open);
    layout->addSpacing(10);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // An empty pointer names no folder at all: treat it like a first run rather than offer "" as the set.
    first_run_ = !pointer_folder || pointer_folder->empty();
    if (!first_run_) folder_ = *pointer_folder;
    show_folder();
}

LocationChoice LocationDialog::run() {
    show();
    QMetaObject::invokeMethod(this, &LocationDialog::start, Qt::QueuedConnection);
    exec();
    return choice();
}

void LocationDialog::start() {
    if (!first_run_ || !isVisible()) return;
    if (auto folder = choose_folder(kSavePrompt)) {
        folder_ = *folder;
        new_set_ = NewSetChoice{};
        new_set_.create = true;
        show_folder();
        accept();
    }
}

void LocationDialog::create_new_set() {
    new_set_ = NewSetChoice{};
    NewSetChoice asked = new_set_dialog_(this, !folder_.empty());
    if (!asked.create) {
        new_set_ = NewSetChoice{};
        return;
    }
    new_set_ = asked;
    new_set_.source = DatabasePaths::in_folder(folder_);
    if (auto folder = choose_folder(kSavePrompt)) {
        folder_ = *folder;
        show_folder();
        accept();
        return;
    }
    new_set_ = NewSetChoice{};
}

void LocationDialog::open_existing_set() {
    if (auto folder = choose_folder(kOpenPrompt)) {
        folder_ = *folder;
        new_set_ = NewSetChoice{};
        show_folder();
        accept();
    }
}

void LocationDialog::exit_program() {
    exit_ = true;
    reject();
}

void LocationDialog::reject() {
    if (folder_.empty()) exit_ = true;
    QDialog::reject();
}

std::optional<std::string> LocationDialog::choose_folder(const QString& prompt) {
    std::optional<std::string> folder = browse_(this, prompt);
    if (folder && !fits_pointer_file(*folder)) {
        QMessageBox box(QMessageBox::Warning, "Stockavelle Server", kPathTooLong, QMessageBox::Ok, this);
        box.exec();
        return std::nullopt;
    }
    return folder;
}

void LocationDialog::show_folder() {
    folder_edit_->setText(from_path(folder_));
    folder_edit_->setCursorPosition(0);
    ok_->setEnabled(!folder_.empty());
    ok_->setDefault(!folder_.empty());
    if (ok_->isEnabled()) ok_->setFocus();
}

LocationChoice LocationDialog::choice() const {
    LocationChoice c;
    c.exit = exit_;
    c.folder = folder_;
    c.new_set = new_set_;
    return c;
}

}  // namespace stk::server
