// "cmake --install" into a temporary prefix: the programs, and the files each finds beside itself from there.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "client/app/data_set.h"
#include "platform/program_files.h"
#include "stockavelle_version.h"
#include "tests/install/installed_prefix.h"
#include "tests/support/server_process.h"

using namespace stk::test;

namespace {

QString files_folder(const QString& prefix) {
    return QString::fromStdString(stk::platform::program_files_folder((prefix + QStringLiteral("/bin")).toStdString()));
}

// The program's standard output for `argument`, run with no display at all; "" when it failed.
QString run_without_display(const QString& program, const QString& argument) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.start(program, {argument});
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// "Key=value" lines of a desktop entry or a unit.
QString value_of(const QString& text, const QString& key) {
    const QRegularExpression line(QStringLiteral("^") + QRegularExpression::escape(key) + QStringLiteral("=(.*)$"),
                                  QRegularExpression::MultilineOption);
    return line.match(text).captured(1);
}

}  // namespace

TEST(InstalledTree, ProgramsAndTheFilesTheyFindBesideThem) {
    const QString prefix = installed_prefix();
    ASSERT_FALSE(prefix.isEmpty()) << install_output().toStdString();
    for (const char* program : {"bin/Stockavelle", "bin/StockavelleServer", "lib/stockavelle/StockavelleServerWindow"})
        EXPECT_TRUE(QFileInfo(prefix + QLatin1Char('/') + QLatin1String(program)).isExecutable()) << program;

    const QString files = files_folder(prefix);
    EXPECT_EQ(files, prefix + QStringLiteral("/share/stockavelle"));
    for (const char* name : {"default server settings.txt", "default client settings.txt", "Default Layout.txt",
                             "80mm Receipt.txt", "sales report.xsl", "non-inventory sales report.xsl",
                             "suggested order report.xsl", "Documentation/documentation.html"})
        EXPECT_TRUE(QFileInfo::exists(files + QLatin1Char('/') + QLatin1String(name))) << name;

    // A new data set made by the installed client gets its settings, both receipt layouts and the style sheets.
    QTemporaryDir data_set;
    stk::client::make_data_set(data_set.path(), files);
    for (const char* name :
         {"stockavelle client settings.txt", "Receipt Layouts/Default Layout.txt", "Receipt Layouts/80mm Receipt.txt",
          "Reports/sales report.xsl", "Reports/non-inventory sales report.xsl", "Reports/suggested order report.xsl"})
        EXPECT_TRUE(QFileInfo::exists(data_set.path() + QLatin1Char('/') + QLatin1String(name))) << name;
}

TEST(InstalledTree, InstalledServerMakesANewSetFromItsDefaultSettingsAndServesIt) {
    const QString prefix = installed_prefix();
    ASSERT_FALSE(prefix.isEmpty()) << install_output().toStdString();
    // The window program, in lib/stockavelle, runs from the installed tree as the one in bin does.
    for (const char* program : {"/bin/StockavelleServer", "/lib/stockavelle/StockavelleServerWindow"}) {
        SCOPED_TRACE(program);
        ServerProcess server;
        server.program = prefix + QLatin1String(program);
        const std::string new_set = server.root() + "/new set";
        server.args_override = {"--new-set", new_set, "--server-name", server.server_name()};
        ASSERT_TRUE(server.start()) << server.log() << server.errors();
        int count = -1;
        EXPECT_EQ(server.api().get_invoice_count(&count), 1);
        EXPECT_EQ(count, 0);
        ASSERT_TRUE(server.stop()) << server.log();

        // Every line but the name typed in comes from share/stockavelle.
        const QString defaults = installed_text(QStringLiteral("share/stockavelle/default server settings.txt"));
        QFile made(QString::fromStdString(new_set) + QStringLiteral("/stockavelle server settings.txt"));
        ASSERT_TRUE(made.open(QIODevice::ReadOnly));
        const QString settings = QString::fromLatin1(made.readAll());
        ASSERT_FALSE(defaults.isEmpty());
        for (const QString& key :
             {QStringLiteral("ClientName"), QStringLiteral("MAX_INVOICES"), QStringLiteral("MAX_ITEMS")})
            EXPECT_EQ(value_of(settings, key), value_of(defaults, key)) << key.toStdString();
    }
}

TEST(InstalledTree, MenuEntriesIconsAndTheService) {
    const QString prefix = installed_prefix();
    ASSERT_FALSE(prefix.isEmpty()) << install_output().toStdString();
    for (const char* entry : {"stockavelle.desktop", "stockavelle-server.desktop"}) {
        SCOPED_TRACE(entry);
        const QString text = installed_text(QStringLiteral("share/applications/") + QLatin1String(entry));
        ASSERT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        EXPECT_TRUE(
            QFileInfo(prefix + QStringLiteral("/bin/") + value_of(text, QStringLiteral("Exec"))).isExecutable());
        // The icon at several sizes, each picture as large as its folder says.
        const QString icon = value_of(text, QStringLiteral("Icon"));
        int sizes = 0;
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QImage image(prefix + QStringLiteral("/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(icon));
            if (image.isNull()) continue;
            ++sizes;
            EXPECT_EQ(image.size(), QSize(size, size)) << icon.toStdString();
        }
        EXPECT_GE(sizes, 5) << icon.toStdString();
    }

    // The service runs the installed server on the set in /var/lib as its own user; TCP only when uncommented.
    const QString unit = installed_text(QStringLiteral("lib/systemd/system/stockavelle-server.service"));
    EXPECT_EQ(value_of(unit, QStringLiteral("ExecStart")),
              prefix + QStringLiteral(
                           "/bin/StockavelleServer --headless --database-set \"/var/lib/stockavelle/Database Set\""));
    EXPECT_EQ(value_of(unit, QStringLiteral("User")), QStringLiteral("stockavelle"));
    EXPECT_TRUE(value_of(unit, QStringLiteral("#ExecStart")).contains(QStringLiteral(" --listen-tcp ")));
    EXPECT_EQ(value_of(unit, QStringLiteral("WantedBy")), QStringLiteral("multi-user.target"));
}

TEST(InstalledTree, HelpVersionAndManPagesWithoutADisplay) {
    const QString prefix = installed_prefix();
    ASSERT_FALSE(prefix.isEmpty()) << install_output().toStdString();
    for (const QString& program : {QStringLiteral("Stockavelle"), QStringLiteral("StockavelleServer")}) {
        SCOPED_TRACE(program.toStdString());
        const QString path = prefix + QStringLiteral("/bin/") + program;
        EXPECT_EQ(run_without_display(path, QStringLiteral("--version")),
                  program + QStringLiteral(" (Stockavelle) " STOCKAVELLE_VERSION "\n"));
        const QString help = run_without_display(path, QStringLiteral("--help"));
        EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: ") + program + QStringLiteral(" [OPTION]...\n")));
        EXPECT_TRUE(help.contains(QStringLiteral("--help ")) && help.contains(QStringLiteral("--version ")));
        if (STOCKAVELLE_MAN_PAGES) {
            const QString page = installed_text(QStringLiteral("share/man/man1/") + program + QStringLiteral(".1"));
            EXPECT_TRUE(page.contains(QStringLiteral(".SH OPTIONS"))) << page.left(400).toStdString();
            EXPECT_TRUE(page.contains(QStringLiteral("\\-\\-version"))) << page.left(400).toStdString();
        }
    }
}
