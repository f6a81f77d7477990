// The server window for the manual, as it looks after a start and a few tills' requests: runs only when
// STOCKAVELLE_SCREENSHOT_DIR names the folder to write it into (scripts/screenshots.sh).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include "server/shell/server_window.h"

TEST(ScreenshotTest, ServerWindowAtWork) {
    const QString out = QString::fromLocal8Bit(qgetenv("STOCKAVELLE_SCREENSHOT_DIR"));
    if (out.isEmpty()) GTEST_SKIP() << "STOCKAVELLE_SCREENSHOT_DIR not set";
    QDir().mkpath(out);
    stk::server::ServerWindow window;
    window.setWindowTitle(
        QStringLiteral("Stockavelle Server - stockavelle server 1.0 - /var/lib/stockavelle/Database Set"));
    for (const char* line :
         {"Server initialization complete. Waiting for a client request\r\n", "Processing client request...\r\n",
          "Waiting for a client request\r\n", "Processing client request...\r\n", "Waiting for a client request\r\n"})
        window.append_log(line);
    window.resize(640, 200);
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(out + QStringLiteral("/server-window.png")));
}
