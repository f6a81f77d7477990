#include "platform/app_data.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace stk::platform {

namespace {

std::string env_or(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : std::string(fallback);
}

}  // namespace

bool make_folder(const std::string& path, unsigned mode) {
    if (path.empty()) return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        if (!make_folder(path.substr(0, slash), mode)) return false;
    }
    if (::mkdir(path.c_str(), 0700) != 0) {
        if (errno != EEXIST) return false;
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    // mkdir applies the umask; the shared folders must really carry their mode.
    ::chmod(path.c_str(), mode);
    return true;
}

std::string app_data_folder() { return env_or(kAppDataVariable, kDefaultAppDataFolder); }

std::string app_data_subfolder(std::string_view name) {
    const std::string base = app_data_folder();
    if (!make_folder(base, 01777)) return {};
    std::string sub = base;
    if (sub.back() != '/') sub += '/';
    sub += name;
    if (!make_folder(sub, 0777)) return {};
    return sub;
}

}  // namespace stk::platform
