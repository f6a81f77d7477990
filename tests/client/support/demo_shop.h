// What the picture tests share: where the pictures go, a real server holding the demo shop, and the company
// dialog answered for it at start-up.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "client/app/startup_dialogs.h"
#include "tests/support/server_process.h"

namespace stk::client::testing {

// The folder STOCKAVELLE_SCREENSHOT_DIR names, made if missing; "" when it is not set (the test then skips).
inline QString screenshot_folder() {
    const QString folder = QString::fromLocal8Bit(qgetenv("STOCKAVELLE_SCREENSHOT_DIR"));
    if (!folder.isEmpty()) QDir().mkpath(folder);
    return folder;
}

// The folder of the built programs: the client, the server and seed_demo.
inline QString program_folder() { return QFileInfo(QStringLiteral(STOCKAVELLE_CLIENT_PATH)).absolutePath(); }

// Fills a running server with the demo shop's items, invoices and messages (seed_demo).
inline ::testing::AssertionResult seed_demo_shop(const test::ServerProcess& server) {
    QProcess seed;
    seed.start(program_folder() + QStringLiteral("/seed_demo"),
               {QStringLiteral("--server-name"), QString::fromStdString(server.server_name())});
    if (!seed.waitForFinished(60000)) return ::testing::AssertionFailure() << "seed_demo did not finish";
    if (seed.exitCode() != 0) return ::testing::AssertionFailure() << seed.readAllStandardError().toStdString();
    return ::testing::AssertionSuccess();
}

// Starts the server and fills it with the demo shop.
inline ::testing::AssertionResult start_demo_server(test::ServerProcess& server) {
    if (!server.start()) return ::testing::AssertionFailure() << server.log();
    return seed_demo_shop(server);
}

// True for the company and connection dialog (137), which it then fills for `server` and a company name.
inline bool fill_company_dialog(QDialog& d, const test::ServerProcess& server, const QString& company) {
    if (d.objectName() != QStringLiteral("dialog137")) return false;
    auto& c = static_cast<CompanyDialog&>(d);
    c.edit(1087)->setText(QString::fromStdString(server.server_name()));
    c.edit(1071)->setText(company);
    c.edit(1080)->setText(QStringLiteral("8.25"));
    return true;
}

}  // namespace stk::client::testing
