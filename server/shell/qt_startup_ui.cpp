#include "server/shell/qt_startup_ui.h"

#include <QMessageBox>

#include "server/shell/server_name_dialog.h"
#include "server/shell/server_window.h"

namespace stk::server {

QtStartupUi::QtStartupUi(ServerWindow* window) : window_(window) {}

void QtStartupUi::append_log(std::string_view text) { window_->append_log(text); }

void QtStartupUi::warn_another_instance() {
    // Shown before the window exists in the start-up order, so it may have no owner.
    QWidget* owner = window_ && window_->isVisible() ? window_ : nullptr;
    QMessageBox box(QMessageBox::Information, "Stockavelle Server", kAnotherInstanceMessage, QMessageBox::Ok, owner);
    box.exec();
}

LocationChoice QtStartupUi::ask_location(const std::optional<std::string>& pointer_folder) {
    LocationDialog dialog(window_, pointer_folder, browse_, new_set_);
    return dialog.run();
}

ServerNameOutcome QtStartupUi::ask_server_name(std::string& name) {
    ServerNameDialog dialog(window_, name);
    dialog.exec();
    if (dialog.outcome() == ServerNameOutcome::Start) name = dialog.name();
    return dialog.outcome();
}

bool QtStartupUi::ask_retry(std::string_view failure_text) {
    QMessageBox box(QMessageBox::Critical, "Stockavelle Server", display_text(failure_text),
                    QMessageBox::Retry | QMessageBox::Cancel, window_);
    box.setDefaultButton(QMessageBox::Retry);
    return box.exec() == QMessageBox::Retry;
}

void QtStartupUi::set_title(std::string_view title) { window_->setWindowTitle(display_text(title)); }

}  // namespace stk::server
