// Pictures of the main window in use, for the documentation: runs only when STOCKAVELLE_SCREENSHOT_DIR names
// the folder to write them into.
#include <QDir>
#include <QPixmap>
#include <QTreeView>

#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

using Screenshots = SaleFixture;

TEST_F(Screenshots, MainWindowWithASaleInProgress) {
    const QByteArray folder = qgetenv("STOCKAVELLE_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "STOCKAVELLE_SCREENSHOT_DIR not set";
    QDir().mkpath(QString::fromLocal8Bit(folder));

    add_stock_item("HM-16", "CLAW HAMMER 16 OZ", "14.99", "24", "7.80");
    add_stock_item("SD-PH2", "SCREWDRIVER PHILLIPS #2", "5.49", "40", "2.10");
    add_stock_item("WD-40-8", "WD-40 LUBRICANT 8 OZ", "6.29", "3", "3.05");
    add_stock_item("TP-BLUE", "PAINTER'S TAPE 1.88 IN", "7.99", "60", "3.40");
    add_stock_item("GL-NIT-L", "NITRILE GLOVES LARGE", "12.49", "15", "6.00");
    add_stock_item("BX-NAIL-2", "COMMON NAILS 2 IN 1 LB", "4.79", "80", "1.95");
    add_stock_item("SAW-HACK", "HACKSAW 12 IN", "11.99", "9", "12.50");

    salesperson = "MARIA";
    make_invoice("10482");
    edit(ids::kCustomerName)->setText("HARBORVIEW PROPERTY MGMT");
    edit(ids::kPhoneNumber)->setText("555-0142");
    edit(ids::kOrderNumber)->setText("PO-7731");
    edit(ids::kInvoiceDate)->setText("12/07/2026");
    edit(ids::kInvoiceTime)->setText("10:42 AM");
    enter_line("2", "HM-16", "CLAW HAMMER 16 OZ", "14.99", "7.80");
    answers = {MsgAnswer::Yes};
    enter_line("5", "WD-40-8", "WD-40 LUBRICANT 8 OZ", "6.29", "3.05");
    enter_line("3", "TP-BLUE", "PAINTER'S TAPE 1.88 IN", "7.99", "3.40");
    enter_line("1", "SAW-HACK", "HACKSAW 12 IN", "11.99", "12.50");
    enter_line("1", "", "LABOR - DOOR HINGE REPAIR", "45.00", "20.00");
    type_keys(edit(ids::kCashReceived), "160");

    type_keys(edit(ids::kItemNumber), "*");
    ASSERT_TRUE(wait_for([&] { return pane().model().rowCount() > 0; }));
    auto* list = window->inventory_list();
    list->setCurrentIndex(list->model()->index(1, 0));
    window->resize(1024, 700);
    QApplication::processEvents();
    const QString path = QString::fromLocal8Bit(folder) + "/sale-main-window.png";
    ASSERT_TRUE(window->grab().save(path));

    window->resize(700, 400);  // below the layout floor: controls keep their places and are clipped
    QApplication::processEvents();
    ASSERT_TRUE(window->grab().save(QString::fromLocal8Bit(folder) + "/sale-small-window.png"));
}

}  // namespace
}  // namespace stk::client::testing
