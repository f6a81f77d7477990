#include "platform/program_files.h"

#include <sys/stat.h>

namespace stk::platform {

namespace {

bool is_folder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// "/usr/bin" + "../share/stockavelle" -> "/usr/share/stockavelle": only a leading "../" needs folding.
std::string joined(const std::string& folder, std::string relative) {
    std::string base = folder;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    while (relative.rfind("../", 0) == 0) {
        const std::size_t slash = base.find_last_of('/');
        if (slash == std::string::npos || base == "/") break;
        base.erase(slash == 0 ? 1 : slash);
        relative.erase(0, 3);
    }
    return base == "/" ? "/" + relative : base + "/" + relative;
}

}  // namespace

std::string program_files_folder(const std::string& executable_folder) {
    const std::string installed = joined(executable_folder, kInstalledFilesFolder);
    return is_folder(installed) ? installed : executable_folder;
}

}  // namespace stk::platform
