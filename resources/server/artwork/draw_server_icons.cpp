// Saves the server window's icon as the PNGs the desktop's menu shows (hicolor theme sizes) into the folder
// given as the first argument. Run by hand (target stk_draw_server_icons) when the icon changes; the PNGs are
// kept in the source tree, so that installing needs no display.
#include <QDir>
#include <QGuiApplication>

#include "server/shell/server_window.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    const QIcon icon = stk::server::ServerWindow::server_icon();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        if (!icon.pixmap(size, size).save(out.filePath(QStringLiteral("server_%1.png").arg(size)))) return 1;
    }
    return 0;
}
