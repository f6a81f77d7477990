// The database-set pointer file: "Server Settings.txt" in "Stockavelle 1.0.1" in the all-users application-data
// folder (platform/app_data.h). Its whole content is the set's folder path, without a line end.
#pragma once

#include <optional>
#include <string>

namespace stk::server {

inline constexpr std::size_t kMaxPointerFileBytes = 260;

// The pointer file's path; its folder is created when missing ("" when that fails).
std::string pointer_file_path();

// The folder path the pointer file names; nullopt when it is missing, unreadable, empty or over 260 bytes.
std::optional<std::string> read_pointer_file();
// 1 or 0.
int write_pointer_file(const std::string& folder);

}  // namespace stk::server
