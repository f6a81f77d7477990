// Whole-file rewrites that survive a crash or power loss: write a temporary file beside the target, fsync it,
// rename it over the target, then fsync the folder. Readers see either the old file or the new one.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace stk::platform {

// Replaces `path` with `bytes` through `files`. On failure before the rename the old file is untouched and the
// temporary file is gone; a failed folder sync after the rename leaves the new contents in place but not yet
// known to survive a power cut, and is reported all the same so that the caller keeps what it would need to
// write them again.
IoStatus write_file_durably(FileSystem& files, const std::string& path, std::string_view bytes);
// Reads a whole file; with `create`, a missing file is created empty and reads as "".
IoStatus read_whole_file(FileSystem& files, const std::string& path, std::string& out, bool create = false);

// The same on the real files, for the shell's own small files and for tests.
bool write_file_durably(const std::string& path, std::string_view bytes);
// The same, except that a file that already holds exactly `bytes` is left as it is: the settings a start-up
// saves are most often what the file holds, and each durable write costs two fsyncs on the way to serving.
bool write_file_durably_unless_same(const std::string& path, std::string_view bytes);
bool read_whole_file(const std::string& path, std::string& out);
bool file_exists(const std::string& path);

}  // namespace stk::platform
