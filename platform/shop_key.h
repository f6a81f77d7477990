// The shop key: a random secret that a server listening on TCP shares with the tills of its shop. The server
// keeps it in its database set and every remote till a copy in its data set, each as kShopKeyFileName: one line
// of 64 hexadecimal digits. Whoever holds it can reach every invoice, so the server creates it readable by its
// owner only.
#pragma once

#include <string>

namespace stk::platform {

inline constexpr const char* kShopKeyFileName = "stockavelle shop key.txt";
inline constexpr std::size_t kShopKeyBytes = 32;

// `folder` + "/" + kShopKeyFileName (the name alone for no folder).
std::string shop_key_path(const std::string& folder);

// The key in the file at `path` (kShopKeyBytes bytes). "" when the file cannot be read or holds anything but
// the hexadecimal digits of one key (blanks and line ends around them are allowed); *error then says which.
std::string read_shop_key(const std::string& path, std::string* error = nullptr);

// The server's side: the key of the file at `path`, created with a new random key and mode 0600 when there is
// none. An existing file that other users may read is made the owner's alone. "" with *error on failure; a
// file that holds no key is never replaced, since tills may hold a copy of what it was meant to be.
// *created (when given) tells whether this call made the file.
std::string load_or_create_shop_key(const std::string& path, std::string* error = nullptr, bool* created = nullptr);

}  // namespace stk::platform
