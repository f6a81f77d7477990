// "stockavelle server settings.txt": key=value lines ended by CR LF, keys without regard to case.
#pragma once

#include <string>
#include <string_view>

#include "common/protocol.h"
#include "server/db/database.h"

namespace stk::server {

// The settings a new database set starts from, kept in the program's folder.
inline constexpr const char* kDefaultSettingsFileName = "default server settings.txt";

// The longest server or client name: the names travel in the 32-byte name fields of the requests.
inline constexpr std::size_t kMaxNameLength = sizeof(RequestHeader::client_name) - 1;

struct ServerSettings {
    std::string server_name{kDefaultServerName};
    std::string client_name{kDefaultClientName};
    int max_invoices = kDefaultMaxInvoices;
    int max_items = kDefaultMaxItems;
};

// Applies the lines of a settings file's contents to `settings`; unknown keys, lines without "=", lines of
// 3328 characters or more, names of 32 characters or more and capacities that are not numbers are ignored.
void apply_settings_text(std::string_view text, ServerSettings& settings);

// 1 when the file could be read and was not empty (its lines then applied), else 0 with `settings` unchanged.
int load_settings(const std::string& path, ServerSettings& settings);
// Writes the four lines; 1 or 0.
int save_settings(const std::string& path, const ServerSettings& settings);
std::string settings_text(const ServerSettings& settings);

}  // namespace stk::server
