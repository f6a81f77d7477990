#include "platform/shop_key.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

#include "platform/durable_file.h"
#include "platform/file_descriptor.h"
#include "platform/file_system.h"

namespace stk::platform {

namespace {

constexpr const char* kHexDigits = "0123456789abcdef";

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string as_hex(const std::string& key) {
    std::string hex;
    for (unsigned char b : key) {
        hex += kHexDigits[b >> 4];
        hex += kHexDigits[b & 15];
    }
    return hex;
}

bool set_error(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return false;
}

// Writes a new key to `path` without ever letting anyone else read it, and without replacing a file that
// appeared meanwhile. The file appears whole or not at all.
bool create_key_file(const std::string& path, const std::string& key, std::string* error) {
    const std::string temp = path + ".new";
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!fd.valid()) return set_error(error, "The shop key file " + path + " cannot be created: " + std::strerror(errno) + ".");
    const std::string text = as_hex(key) + "\r\n";
    const bool written = ::fchmod(fd.get(), 0600) == 0 &&
                         ::write(fd.get(), text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                         ::fsync(fd.get()) == 0 && fd.close();
    const bool placed = written && ::link(temp.c_str(), path.c_str()) == 0;
    const int why = errno;
    ::unlink(temp.c_str());
    if (!placed) return set_error(error, "The shop key file " + path + " cannot be created: " + std::strerror(why) + ".");
    // The key is in place and in use; a folder that will not flush is no reason to refuse the tills.
    (void)posix_file_system().sync_folder(folder_of(path));
    return true;
}

}  // namespace

std::string shop_key_path(const std::string& folder) {
    if (folder.empty()) return kShopKeyFileName;
    return (folder.back() == '/' ? folder : folder + "/") + kShopKeyFileName;
}

std::string read_shop_key(const std::string& path, std::string* error) {
    std::string text;
    if (!read_whole_file(path, text)) {
        set_error(error, "The shop key file " + path + " cannot be read.");
        return {};
    }
    const auto first = text.find_first_not_of(" \t\r\n");
    const auto last = text.find_last_not_of(" \t\r\n");
    const std::string digits = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    std::string key;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        const int high = hex_value(digits[i]);
        const int low = hex_value(digits[i + 1]);
        if (high < 0 || low < 0) break;
        key += static_cast<char>(high * 16 + low);
    }
    if (digits.size() != 2 * kShopKeyBytes || key.size() != kShopKeyBytes) {
        set_error(error, "The shop key file " + path + " does not hold a key of " + std::to_string(2 * kShopKeyBytes) +
                             " hexadecimal digits.");
        return {};
    }
    return key;
}

std::string load_or_create_shop_key(const std::string& path, std::string* error, bool* created) {
    if (created) *created = false;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        std::string key(kShopKeyBytes, '\0');
        QRandomGenerator::system()->generate(key.begin(), key.end());
        if (!create_key_file(path, key, error)) return {};
        if (created) *created = true;
        return key;
    }
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0600) != 0) {
        set_error(error, "The shop key file " + path + " may be read by other users and its mode cannot be changed.");
        return {};
    }
    return read_shop_key(path, error);
}

}  // namespace stk::platform
