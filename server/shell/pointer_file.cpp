#include "server/shell/pointer_file.h"

#include "platform/app_data.h"
#include "platform/durable_file.h"

namespace stk::server {

std::string pointer_file_path() {
    const std::string folder = platform::app_data_subfolder("Stockavelle 1.0.1");
    if (folder.empty()) return {};
    return folder + "/Server Settings.txt";
}

std::optional<std::string> read_pointer_file() {
    const std::string path = pointer_file_path();
    std::string content;
    if (path.empty() || !platform::read_whole_file(path, content)) return std::nullopt;
    if (content.empty() || content.size() > kMaxPointerFileBytes) return std::nullopt;
    // The path was kept as C text: a NUL ends it.
    if (const auto nul = content.find('\0'); nul != std::string::npos) content.resize(nul);
    if (content.empty()) return std::nullopt;
    return content;
}

int write_pointer_file(const std::string& folder) {
    const std::string path = pointer_file_path();
    if (path.empty() || !fits_pointer_file(folder)) return 0;
    return platform::write_file_durably_unless_same(path, folder) ? 1 : 0;
}

}  // namespace stk::server
