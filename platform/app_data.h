// The all-users application-data folder: $STOCKAVELLE_APPDATA when set, else kDefaultAppDataFolder.
// It must be writable by every user who runs the programs: when this process creates it, it gets mode 1777;
// the program folders made inside it (app_data_subfolder) get mode 0777 so that any user may replace the
// files there (files are replaced by rename, see durable_file.h).
#pragma once

#include <string>
#include <string_view>

namespace stk::platform {

inline constexpr const char* kDefaultAppDataFolder = "/var/tmp/stockavelle-appdata";
inline constexpr const char* kAppDataVariable = "STOCKAVELLE_APPDATA";

std::string app_data_folder();

// app_data_folder() + "/" + name, created (with the app-data folder) when missing. "" when it cannot be made.
std::string app_data_subfolder(std::string_view name);

// Creates a folder and its missing parents. The folders this call creates get `mode` (umask not applied).
bool make_folder(const std::string& path, unsigned mode);

}  // namespace stk::platform
