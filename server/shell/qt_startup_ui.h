// The window build of the start-up questions: the activity-log window, dialogs 104, 103 and 102, and the two
// message boxes.
#pragma once

#include <functional>

#include "server/shell/location_dialog.h"
#include "server/shell/startup_ui.h"

namespace stk::server {

class ServerWindow;

class QtStartupUi : public StartupUi {
public:
    explicit QtStartupUi(ServerWindow* window);

    void append_log(std::string_view text) override;
    void warn_another_instance() override;
    LocationChoice ask_location(const std::optional<std::string>& pointer_folder) override;
    ServerNameOutcome ask_server_name(std::string& name) override;
    bool ask_retry(std::string_view failure_text) override;
    void set_title(std::string_view title) override;

    // Replace the system folder browser and dialog 103 (tests drive the location flow through these).
    void set_folder_browser(FolderBrowser browse) { browse_ = std::move(browse); }
    void set_new_set_asker(NewSetAsker ask) { new_set_ = std::move(ask); }

    ServerWindow* window() const { return window_; }

private:
    ServerWindow* window_;
    FolderBrowser browse_ = browse_for_folder;
    NewSetAsker new_set_ = ask_new_set;
};

}  // namespace stk::server
