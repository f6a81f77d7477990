// The address "Go to Website..." hands to the desktop's opener. A contact file is text anyone can edit, and the
// opener runs whatever handler a scheme names, so only web pages pass: http and https, with an address that
// has no scheme taken as http.
#pragma once

#include <QUrl>
#include <string_view>

namespace stk::client {

// The web page a contact's web address names, or an invalid QUrl when it names none (an empty address,
// another scheme, or no host).
QUrl website_url(std::string_view web_address);

}  // namespace stk::client
