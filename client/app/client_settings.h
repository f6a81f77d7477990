// The client's settings file ("stockavelle client settings.txt" in the data set): company details for
// receipts, the default tax percentage, how to reach the server and the capacities of the client's arrays.
#pragma once

#include <string>
#include <string_view>

namespace stk::client {

struct ClientSettings {
    char window_title[256] = {};
    char company_name[256] = {};
    char address[256] = {};
    char city[64] = {};
    char state[64] = {};
    char zip_code[64] = {};
    char phone_number[64] = {};
    char tax_percentage[12] = {};
    char server_name[32] = {};
    char client_name[32] = {};
    char connect_to_remote_computer[64] = {};
    char remote_computer_name[260] = {};
    char view_sales_totals_report[64] = {};
    char row_height[32] = "0.14";
    int max_contacts = 100000;
    int max_history_length = 10000;
    int max_invoices = 100000;
    int max_items = 100000;

    // ConnectToRemoteComputer is "TRUE", in any case.
    bool remote() const;
    bool sales_report_enabled() const;
};

inline constexpr const char* kDefaultServerName = "stockavelle server 1.0";
inline constexpr const char* kDefaultClientName = "stockavelle client 1.0";

// Applies the lines of a settings file's content to `settings`; values too long for their field and
// malformed numbers are ignored, a later line with the same key wins.
void apply_settings_text(std::string_view content, ClientSettings& settings);
// Reads the file at `path` into `settings`; a missing, empty or unreadable file leaves the values as they
// are. 1 when something was read.
int read_settings_file(const std::string& path, ClientSettings& settings);
// The file's content, every key in its fixed order.
std::string settings_file_text(const ClientSettings& settings);
int write_settings_file(const std::string& path, const ClientSettings& settings);

}  // namespace stk::client
