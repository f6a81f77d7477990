// Pictures of the Invoices window and the report pages on the demo shop, for the documentation and for
// looking at the screens. Runs only when STOCKAVELLE_SCREENSHOT_DIR names the folder to write them into:
//   STOCKAVELLE_SCREENSHOT_DIR=docs/screenshots test_client_invoices_window --gtest_filter='Screen*'
// The report pages are copied into its "pages" folder, to be looked at in a browser.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

#include "client/app/invoices_attach.h"
#include "client/app/reports_attach.h"
#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/app/session_attach.h"
#include "client/app/startup.h"
#include "client/app/startup_dialogs.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/shell_open.h"
#include "client/ui/toolbar.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "tests/client/support/demo_shop.h"
#include "tests/client/support/gui_helpers.h"
#include "tests/support/server_process.h"

namespace stk::client {
namespace {

void settle(int ms = 150) {
    testing::wait_until([] { return false; }, ms);
}

TEST(ScreenshotTest, InvoicesWindowAndReportPagesOnTheDemoShop) {
    const QByteArray out_dir = qgetenv("STOCKAVELLE_SCREENSHOT_DIR");
    if (out_dir.isEmpty()) GTEST_SKIP() << "STOCKAVELLE_SCREENSHOT_DIR not set";
    const QString out = QString::fromLocal8Bit(out_dir);
    QDir().mkpath(out + QStringLiteral("/pages"));
    const QString bin = testing::program_folder();
    QTemporaryDir dir;
    ::setenv("STOCKAVELLE_APPDATA", dir.filePath(QStringLiteral("appdata")).toLocal8Bit().constData(), 1);
    session().reset();

    test::ServerProcess server;
    ASSERT_TRUE(testing::start_demo_server(server));

    DialogSeam::set_message_handler([](const MessageRequest& m) {
        std::printf("message: %s\n", m.text.toStdString().c_str());
        return MsgAnswer::Ok;
    });
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        return int(testing::fill_company_dialog(d, server, QStringLiteral("Harbour Hardware")) ? QDialog::Accepted
                                                                                              : QDialog::Rejected);
    });
    MainWindow window;
    attach_session(window);
    attach_invoices_window(window);
    attach_reports(window);
    window.resize(1040, 720);
    window.show();
    StartupOptions options;
    options.program_folder = bin;
    options.data_set = dir.filePath(QStringLiteral("shop"));
    ASSERT_TRUE(run_startup(window, options, [&] { attach_sale(window); }));

    // Every invoice, sorted by amount, two of them picked for the selection total.
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        auto* w = qobject_cast<InvoicesWindow*>(&d);
        if (!w) return int(QDialog::Rejected);
        w->show();
        testing::wait_until([&] { return !w->search_timer()->isActive(); });
        w->unpaid_only_box()->click();
        testing::wait_until([&] { return !w->search_timer()->isActive(); });
        w->sort_by(kColAmount);
        QItemSelectionModel* selection = w->list()->selectionModel();
        for (int row : {1, 3})
            selection->select(w->model().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        testing::wait_until([&] { return !w->total_timer()->isActive(); });
        settle();
        w->grab().save(out + QStringLiteral("/client-invoices-window.png"));
        w->reject();
        return int(QDialog::Rejected);
    });
    window.run_toolbar_command(5, kToolbarInvoices);

    // A sale outside the inventory with accents in its texts, for the non-inventory report.
    int index = 0;
    ASSERT_EQ(server.api().new_invoice(&index), 1);
    InvoiceRecord copy{};
    ASSERT_EQ(server.api().get_invoice(index, &copy), 1);
    ASSERT_EQ(server.api().set_invoice_field(index, FIELD_CUSTOMER_NAME, "Caf\xe9 du Port", copy), 1);
    ASSERT_EQ(server.api().get_invoice(index, &copy), 1);
    InvoiceLine line{};
    set_field(line.quantity, "1");
    set_field(line.item_number, "SVC-THERM");
    set_field(line.description,
              "Thermostat set to 19\xb0"
              "C");
    set_field(line.remark, "Cr\xe8me paint touch-up");
    set_field(line.unit_price, "45.00");
    set_field(line.unit_cost, "12.00");
    ASSERT_EQ(server.api().add_invoice_item(index, 0, copy, line), 1);

    // The three reports, their pages kept for a browser to show.
    std::vector<QString> pages;
    set_shell_opener([&](const QString& path) {
        pages.push_back(path);
        return true;
    });
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        d.show();
        settle(100);
        d.grab().save(out + QStringLiteral("/client-suggested-order-dialog.png"));
        return int(QDialog::Accepted);
    });
    window.set_sales_report_enabled(true);
    for (int command : {ids::kMenuSalesReport, ids::kMenuNonInventorySalesReport, ids::kMenuSuggestedOrderReport})
        window.run_command(command);
    ASSERT_EQ(pages.size(), 3u);
    for (const QString& page : pages) {
        EXPECT_TRUE(page.endsWith(QStringLiteral(".html"))) << page.toStdString();
        const QString copy = out + QStringLiteral("/pages/") + QFileInfo(page).fileName();
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(page, copy));
    }
    set_shell_opener(nullptr);
    DialogSeam::reset();
    session().reset();
}

}  // namespace
}  // namespace stk::client
