// TLS between a remote till and its server, authenticated by the shop key alone (shop_key.h): TLS 1.2 with a
// pre-shared-key cipher suite with ephemeral keys, no certificates. A peer without the same key cannot finish
// the handshake, so it never reads or sends a request.
#pragma once

#include <QSslConfiguration>
#include <string>

class QSslPreSharedKeyAuthenticator;
class QSslSocket;

namespace stk::platform {

// The configuration both sides use.
QSslConfiguration shop_tls_configuration();

// false when this computer's TLS library offers none of the suites (no OpenSSL, or one built without them).
bool shop_tls_available();

// Prepares `socket` for the shop's TLS: the configuration, and `key` (copied) given whenever the handshake asks
// for it. Call before the handshake starts, on either side.
void use_shop_key(QSslSocket& socket, const std::string& key);

}  // namespace stk::platform
