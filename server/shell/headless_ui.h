// The start-up questions answered without a window: the log goes to standard output exactly as appended
// ("\r\n" included) and flushed; the single-instance warning becomes a log line; the location is the pointer
// file's; the server name is kept as Start Server would keep it; a failed save is retried a few times with a
// short pause and then given up, as Cancel would.
#pragma once

#include <cstdio>
#include <string>

#include "server/shell/activity_log.h"
#include "server/shell/startup_ui.h"

namespace stk::server {

class HeadlessUi : public StartupUi {
public:
    static constexpr int kRetries = 3;
    static constexpr int kRetryPauseMs = 500;

    explicit HeadlessUi(std::FILE* out = stdout) : out_(out) {}

    void append_log(std::string_view text) override;
    void warn_another_instance() override;
    LocationChoice ask_location(const std::optional<std::string>& pointer_folder) override;
    ServerNameOutcome ask_server_name(std::string& name) override;
    bool ask_retry(std::string_view failure_text) override;
    void set_title(std::string_view title) override { title_ = std::string(title); }

    const ActivityLog& log() const { return log_; }
    const std::string& title() const { return title_; }
    void set_retry_pause_ms(int ms) { retry_pause_ms_ = ms; }

private:
    std::FILE* out_;
    ActivityLog log_;
    std::string title_;
    std::string retrying_;  // the failure text being retried
    int retries_ = 0;
    int retry_pause_ms_ = kRetryPauseMs;
};

}  // namespace stk::server
