#include "client/contacts/web_address.h"

#include <QRegularExpression>

#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {

QUrl website_url(std::string_view web_address) {
    QString text = from_1252(trim_blanks(web_address));
    if (text.isEmpty()) return {};
    // "name:" starts a scheme, except where the colon is a port after a host ("shop.example:8080/").
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(.*)$"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression port(QStringLiteral("^[0-9]+([/?#].*)?$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = scheme.match(text);
    if (!m.hasMatch() || port.match(m.captured(2)).hasMatch()) text.prepend(QStringLiteral("http://"));
    const QUrl url(text, QUrl::TolerantMode);
    const QString s = url.scheme().toLower();
    if (!url.isValid() || (s != QStringLiteral("http") && s != QStringLiteral("https")) || url.host().isEmpty())
        return {};
    return url;
}

}  // namespace stk::client
