#include "server/shell/headless_ui.h"

#include <QThread>

#include "server/shell/server_startup.h"

namespace stk::server {

void HeadlessUi::append_log(std::string_view text) {
    log_.append(text);
    if (out_) {
        std::fwrite(text.data(), 1, text.size(), out_);
        std::fflush(out_);
    }
}

void HeadlessUi::warn_another_instance() {
    append_log(kAnotherInstanceMessage);
    append_log("\r\n");
}

LocationChoice HeadlessUi::ask_location(const std::optional<std::string>& pointer_folder) {
    LocationChoice choice;
    if (pointer_folder) {
        choice.folder = *pointer_folder;
    } else {
        std::fputs("StockavelleServer: no database set is known yet; give --database-set DIR or --new-set DIR\n",
                   stderr);
    }
    return choice;
}

ServerNameOutcome HeadlessUi::ask_server_name(std::string&) { return ServerNameOutcome::Start; }

bool HeadlessUi::ask_retry(std::string_view failure_text) {
    if (failure_text != retrying_) {
        retrying_ = std::string(failure_text);
        retries_ = 0;
    }
    if (retries_ >= kRetries) {
        retrying_.clear();
        retries_ = 0;
        return false;
    }
    ++retries_;
    if (retry_pause_ms_ > 0) QThread::msleep(static_cast<unsigned long>(retry_pause_ms_));
    return true;
}

}  // namespace stk::server
