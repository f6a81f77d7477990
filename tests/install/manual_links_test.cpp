// The installed manual: every link, anchor, style sheet and picture its pages name is there, so Help > View
// Help never shows a hole.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "tests/install/installed_prefix.h"

using namespace stk::test;

namespace {

const QString kFolder = QStringLiteral("share/stockavelle/Documentation/");

QSet<QString> ids_of(const QString& html) {
    QSet<QString> ids;
    static const QRegularExpression id_attribute(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (const auto& m : id_attribute.globalMatch(html)) ids.insert(m.captured(1));
    return ids;
}

}  // namespace

TEST(Manual, EveryLinkAnchorAndPictureExists) {
    const QString prefix = installed_prefix();
    ASSERT_FALSE(prefix.isEmpty()) << install_output().toStdString();
    const QString folder = prefix + QLatin1Char('/') + kFolder;
    const QStringList pages = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    ASSERT_TRUE(pages.contains(QStringLiteral("documentation.html"))) << pages.join(' ').toStdString();

    int links = 0, pictures = 0;
    QSet<QString> linked_pages{QStringLiteral("documentation.html")};
    static const QRegularExpression reference(QStringLiteral("<(a|img|link)\\b[^>]*\\b(href|src)=\"([^\"]*)\""));
    for (const QString& page : pages) {
        const QString html = installed_text(kFolder + page);
        for (const auto& m : reference.globalMatch(html)) {
            const QString target = m.captured(3);
            SCOPED_TRACE((page + QStringLiteral(" -> ") + target).toStdString());
            if (m.captured(1) == QStringLiteral("img"))
                ++pictures;
            else
                ++links;
            if (target.startsWith(QStringLiteral("http://")) || target.startsWith(QStringLiteral("https://"))) continue;
            ASSERT_FALSE(target.isEmpty());
            const qsizetype hash = target.indexOf(QLatin1Char('#'));
            const QString file = hash < 0 ? target : target.left(hash);
            if (!file.isEmpty()) {
                EXPECT_TRUE(QFileInfo(folder + file).isFile());
                if (file.endsWith(QStringLiteral(".html"))) linked_pages.insert(file);
            }
            if (hash >= 0) {
                const QString anchor_page = file.isEmpty() ? page : file;
                EXPECT_TRUE(ids_of(installed_text(kFolder + anchor_page)).contains(target.mid(hash + 1)));
            }
        }
        // Every picture says what it shows, for a reader whose browser does not show it.
        static const QRegularExpression image(QStringLiteral("<img\\b[^>]*>"));
        for (const auto& m : image.globalMatch(html))
            EXPECT_TRUE(m.captured(0).contains(QStringLiteral(" alt=\""))) << page.toStdString();
    }
    // Every page can be reached from the contents, and the manual is a manual, not a stub.
    for (const QString& page : pages) EXPECT_TRUE(linked_pages.contains(page)) << page.toStdString();
    EXPECT_GE(links, 50);
    EXPECT_GE(pictures, 10);
}
