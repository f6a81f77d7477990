#include "client/ui/shell_open.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace stk::client {

namespace {
std::function<bool(const QString&)> g_opener;
std::function<bool(const QString&, const QStringList&)> g_starter;
}  // namespace

bool shell_open(const QString& path) {
    if (g_opener) return g_opener(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool shell_open_url(const QUrl& url) {
    if (g_opener) return g_opener(url.toString());
    return QDesktopServices::openUrl(url);
}

bool shell_start(const QString& program, const QStringList& arguments) {
    if (g_starter) return g_starter(program, arguments);
    return QProcess::startDetached(program, arguments);
}

void set_shell_opener(std::function<bool(const QString&)> opener) { g_opener = std::move(opener); }

void set_shell_starter(std::function<bool(const QString&, const QStringList&)> starter) {
    g_starter = std::move(starter);
}

}  // namespace stk::client
