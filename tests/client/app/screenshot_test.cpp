// Pictures of the client against a real, seeded server, for the documentation and for looking at the screens.
// Runs only when STOCKAVELLE_SCREENSHOT_DIR names the folder to write them into:
//   STOCKAVELLE_SCREENSHOT_DIR=docs/screenshots test_client_app --gtest_filter='Screen*'
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <cstdlib>

#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/app/session_attach.h"
#include "client/app/startup.h"
#include "client/app/startup_dialogs.h"
#include "client/app/wait_dialog.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "tests/client/support/demo_shop.h"
#include "tests/client/support/gui_helpers.h"
#include "tests/support/server_process.h"

namespace stk::client {
namespace {

TEST(ScreenshotTest, MainWindowWithSeededServer) {
    const QString out = testing::screenshot_folder();
    if (out.isEmpty()) GTEST_SKIP() << "STOCKAVELLE_SCREENSHOT_DIR not set";
    const QString bin = testing::program_folder();
    QTemporaryDir dir;
    ::setenv("STOCKAVELLE_APPDATA", dir.filePath(QStringLiteral("appdata")).toLocal8Bit().constData(), 1);
    session().reset();
    test::ServerProcess server;
    ASSERT_TRUE(testing::start_demo_server(server));

    DialogSeam::set_message_handler([](const MessageRequest&) { return MsgAnswer::Ok; });
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        if (testing::fill_company_dialog(d, server, QStringLiteral("Corner Hardware & Garden"))) {
            d.show();
            testing::wait_until([&] { return d.isVisible(); });
            d.grab().save(out + QStringLiteral("/client-company-dialog.png"));
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    });

    MainWindow window;
    attach_session(window);
    window.resize(1040, 720);
    window.show();
    StartupOptions options;
    options.program_folder = bin;
    options.data_set = dir.filePath(QStringLiteral("shop"));
    ASSERT_TRUE(run_startup(window, options, [&] { attach_sale(window); }));

    // A sale in progress: search, and a row picked into the entry fields.
    testing::type_text(window.edit(ids::kItemNumber), QStringLiteral("h"));
    QAbstractItemModel* model = window.inventory_list()->model();
    ASSERT_NE(model, nullptr);
    ASSERT_TRUE(testing::wait_until([&] { return !window.search_pending() && model->rowCount() > 0; }));
    window.inventory_list()->setCurrentIndex(model->index(0, 0));
    testing::wait_until([] { return false; }, 200);
    window.grab().save(out + QStringLiteral("/client-main-window.png"));

    window.edit(ids::kItemNumber)->clear();
    testing::type_text(window.edit(ids::kDescription), QStringLiteral("e"));
    EXPECT_TRUE(testing::wait_until([&] { return !window.search_pending() && model->rowCount() > 20; }));
    testing::wait_until([] { return false; }, 200);
    window.grab().save(out + QStringLiteral("/client-inventory.png"));

    window.resize(500, 300);
    testing::wait_until([] { return false; }, 200);
    window.grab().save(out + QStringLiteral("/client-small.png"));

    DialogSeam::reset();
    DataSetDialog data_set(&window, bin);
    data_set.set_path(options.data_set);
    data_set.show();
    testing::wait_until([] { return false; }, 100);
    data_set.grab().save(out + QStringLiteral("/client-data-set-dialog.png"));

    WaitDialog wait(&window, wait_dialog_text(session().settings), ServerAddress{"no such server", ""});
    wait.show();
    testing::wait_until([] { return false; }, 100);
    wait.grab().save(out + QStringLiteral("/client-wait-dialog.png"));

    DialogSeam::set_dialog_handler([&](QDialog& d) {
        d.show();
        testing::wait_until([] { return false; }, 100);
        d.grab().save(out + QStringLiteral("/client-about.png"));
        return 0;
    });
    window.show_about();
    DialogSeam::reset();
    session().reset();
}

}  // namespace
}  // namespace stk::client
