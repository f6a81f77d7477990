// Whole-file rewrites that survive a crash or power loss: write a temporary file beside the target, fsync it,
// rename it over the target, then fsync the folder. Readers see either the old file or the new one.
#pragma once

#include <string>
#include <string_view>

namespace stk::platform {

// Replaces `path` with `bytes`. Returns false (and leaves the old file untouched) on any failure.
bool write_file_durably(const std::string& path, std::string_view bytes);

// Reads a whole file. Returns false when it cannot be opened or read.
bool read_whole_file(const std::string& path, std::string& out);

bool file_exists(const std::string& path);

// Flushes a file's data to the disk (fsync by descriptor).
bool sync_fd(int fd);
// Flushes the folder that holds `path`, so a rename or a new file in it is durable.
bool sync_parent_folder(const std::string& path);

}  // namespace stk::platform
