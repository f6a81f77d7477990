#include "tests/install/installed_prefix.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace stk::test {

namespace {

struct Installed {
    std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    QString output;
    bool ok = false;
};

Installed& installed() {
    static Installed once = [] {
        Installed i;
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start(QStringLiteral(STOCKAVELLE_CMAKE_COMMAND),
                    {QStringLiteral("--install"), QStringLiteral(STOCKAVELLE_BUILD_DIR), QStringLiteral("--prefix"),
                     i.dir->path()});
        const bool ended = cmake.waitForFinished(120000);
        i.output = QString::fromLocal8Bit(cmake.readAll());
        i.ok = i.dir->isValid() && ended && cmake.exitStatus() == QProcess::NormalExit && cmake.exitCode() == 0;
        return i;
    }();
    return once;
}

}  // namespace

QString installed_prefix() { return installed().ok ? installed().dir->path() : QString(); }

QString install_output() { return installed().output; }

QString installed_text(const QString& relative_path) {
    QFile file(installed().dir->path() + QLatin1Char('/') + relative_path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace stk::test
