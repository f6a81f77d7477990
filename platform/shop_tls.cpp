#include "platform/shop_tls.h"

#include <QSslCipher>
#include <QSslPreSharedKeyAuthenticator>
#include <QSslSocket>

namespace stk::platform {

namespace {

// Sent by tills and ignored by the server: there is one key per shop, not one per till.
constexpr const char* kTillIdentity = "stockavelle till";

QList<QSslCipher> shop_ciphers() {
    QList<QSslCipher> ciphers;
    if (!QSslSocket::supportsSsl()) return ciphers;
    for (const char* name : {"ECDHE-PSK-CHACHA20-POLY1305", "DHE-PSK-AES256-GCM-SHA384"}) {
        const QSslCipher cipher(QString::fromLatin1(name));
        if (!cipher.isNull()) ciphers << cipher;
    }
    return ciphers;
}

}  // namespace

bool shop_tls_available() { return !shop_ciphers().isEmpty(); }

QSslConfiguration shop_tls_configuration() {
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    // Pre-shared keys without certificates work in TLS 1.2; the TLS 1.3 suites would ask for a certificate.
    config.setProtocol(QSsl::TlsV1_2);
    config.setPeerVerifyMode(QSslSocket::VerifyNone);  // the key is the proof; there is no certificate
    config.setCiphers(shop_ciphers());
    return config;
}

void use_shop_key(QSslSocket& socket, const std::string& key) {
    socket.setSslConfiguration(shop_tls_configuration());
    const QByteArray bytes(key.data(), static_cast<qsizetype>(key.size()));
    QObject::connect(&socket, &QSslSocket::preSharedKeyAuthenticationRequired, &socket,
                     [bytes](QSslPreSharedKeyAuthenticator* auth) {
                         auth->setIdentity(kTillIdentity);
                         auth->setPreSharedKey(bytes);
                     });
}

}  // namespace stk::platform
