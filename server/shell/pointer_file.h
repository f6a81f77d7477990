// The database-set pointer file: "Server Settings.txt" in "Stockavelle 1.0.1" in the all-users application-data
// folder (platform/app_data.h). Its whole content is the set's folder path, without a line end.
#pragma once

#include <optional>
#include <string>

namespace stk::server {

inline constexpr std::size_t kMaxPointerFileBytes = 260;

// Whether `folder` can be remembered: a longer path would make a pointer file that the next start rejects.
// Folders are checked with this where they are chosen, before anything is made or written.
inline bool fits_pointer_file(const std::string& folder) { return folder.size() <= kMaxPointerFileBytes; }

// The pointer file's path; its folder is created when missing ("" when that fails).
std::string pointer_file_path();

// The folder path the pointer file names; nullopt when it is missing, unreadable, empty or over 260 bytes.
std::optional<std::string> read_pointer_file();
// 1 or 0; 0 without writing when the folder does not fit.
int write_pointer_file(const std::string& folder);

}  // namespace stk::server
