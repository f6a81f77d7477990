#include <QFile>

#include "tests/client/support/demo_shop.h"
#include "tests/client/support/item_dialog_fixture.h"

namespace stk::client::testing {
namespace {

class ImportItems : public ItemDialogFixture {
protected:
    void SetUp() override {
        ItemDialogFixture::SetUp();
        if (HasFatalFailure()) return;
        DialogSeam::set_file_handler([this](const QString&, const QString&, const QString& filter, bool save) {
            EXPECT_FALSE(save);
            file_filters.push_back(filter);
            return chosen_file;
        });
    }
    // Writes the delivery file the open-file dialog will answer with.
    void deliver(const QByteArray& bytes) {
        chosen_file = data_set.filePath("delivery.txt");
        QFile f(chosen_file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    void import() { window->run_command(ids::kMenuImportItems); }

    QString chosen_file;
    std::vector<QString> file_filters;
};

TEST_F(ImportItems, ADeliveryIsReceivedItemByItemThroughTheDialog) {
    add_stock_item("HM-16", "CLAW HAMMER 16 OZ", "24.99", "14", "13.10");
    add_stock_item("TAPE", "DUCT TAPE", "8.99", "6", "");
    pane().set_last_search_text("*");
    // Two units of Y1, not stocked yet, wait on an invoice.
    add_stock_item("Y1", "GADGET", "4.00", "0", "1.00");
    make_invoice("7001");
    answers = {MsgAnswer::Yes};
    enter_line("2", "Y1", "GADGET", "4.00", "1.00");
    InventoryRecord y1 = stored("Y1");
    ASSERT_EQ(api->delete_inventory_item(y1), 1);

    deliver(
        "5\tX1\tWidget\t\t2.5\r\n"     // new item, no backorders
        "0\tSKIP-1\tNothing\t\t1\r\n"  // quantity 0, not a number, negative or missing: skipped silently
        "some\tSKIP-2\tNothing\t\t1\r\n"
        "-2\tSKIP-3\tNothing\t\t1\r\n"
        "\r\n"
        "5\tY1\tGadget\t\t1.5\r\n"             // new item with 2 backordered: the dialog offers 3
        "12\thm-16\tClaw hammer\t\t12.85\r\n"  // stocked, with a standard unit cost that stays
        "4\tTAPE\tDuct tape\t\t3.7\n");        // stocked without one: the line's cost shows
    messages.clear();
    answers = {MsgAnswer::Yes};  // string 24 for Y1's backorder
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kItemNumber), "X1");
        EXPECT_EQ(text(d, ItemDialog::kDescription), "Widget");
        EXPECT_EQ(text(d, ItemDialog::kStandardUnitCost), "2.50");
        EXPECT_EQ(text(d, ItemDialog::kQuantity), "0");
        EXPECT_EQ(text(d, ItemDialog::kNewQuantity), "5");
        EXPECT_EQ(text(d, ItemDialog::kNewUnitCost), "2.50");
        EXPECT_TRUE(text(d, ItemDialog::kCurrentItemNumber).isEmpty());
        press(d, ItemDialog::kOk);
    });
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kItemNumber), "Y1");
        EXPECT_EQ(text(d, ItemDialog::kNewQuantity), "3");
        press(d, ItemDialog::kOk);
    });
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kCurrentItemNumber), "HM-16");
        EXPECT_EQ(text(d, ItemDialog::kStandardUnitCost), "13.10");
        EXPECT_EQ(text(d, ItemDialog::kNewQuantity), "12");
        EXPECT_EQ(text(d, ItemDialog::kNewUnitCost), "12.85");
        press(d, ItemDialog::kOk);
    });
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kStandardUnitCost), "3.70");
        EXPECT_EQ(text(d, ItemDialog::kNewUnitCost), "3.70");
        press(d, ItemDialog::kCancel);
    });
    sent.clear();
    import();
    EXPECT_EQ(file_filters, std::vector<QString>{"Tab Delimited Text File (.txt) (*.txt)"});
    EXPECT_EQ(item_dialogs, 4);
    EXPECT_TRUE(item_steps.empty());
    EXPECT_FALSE(asked(str::kCannotOpenFile));
    EXPECT_STREQ(stored("X1").quantity, "5");
    EXPECT_STREQ(stored("Y1").quantity, "3");
    EXPECT_STREQ(stored("HM-16").quantity, "26");
    EXPECT_STREQ(stored("HM-16").standard_unit_cost, "13.10");
    EXPECT_STREQ(stored("TAPE").quantity, "6");  // cancelled
    InventoryRecord none{};
    EXPECT_EQ(api->get_inventory_item("SKIP-1", &none), 0);
    std::string cost;
    ASSERT_EQ(api->get_fifo_cost("HM-16", "26", &cost), 1);
    EXPECT_EQ(cost, "12.98");  // 14 at 13.10 and 12 at 12.85
    // The list is searched again at the end, with the kept search text.
    ASSERT_FALSE(texts_of(SEARCH_INVENTORY).empty());
    EXPECT_EQ(texts_of(SEARCH_INVENTORY).back(), "*");
    EXPECT_GE(pane().model().find_row("X1"), 0);
}

TEST_F(ImportItems, TheDemoDeliveryFillsTheWaitingMasksFirstAndAddsTheNewItems) {
    ASSERT_TRUE(seed_demo_shop(server));
    // The shipped delivery: a heading, then eight items; two of them (GD-SHEAR, EL-GFCI) are new to the shop.
    chosen_file = QStringLiteral(STOCKAVELLE_SOURCE_DIR "/resources/demo/Deliveries/Westline Supply delivery.txt");
    struct Shown {
        QString number, current, quantity, new_quantity, new_cost, standard_cost;
    };
    std::vector<Shown> shown;
    for (int i = 0; i < 8; ++i)
        item_steps.push_back([&shown](ItemDialog& d) {
            shown.push_back({text(d, ItemDialog::kItemNumber), text(d, ItemDialog::kCurrentItemNumber),
                             text(d, ItemDialog::kQuantity), text(d, ItemDialog::kNewQuantity),
                             text(d, ItemDialog::kNewUnitCost), text(d, ItemDialog::kStandardUnitCost)});
            press(d, ItemDialog::kOk);
        });
    messages.clear();
    answers = {MsgAnswer::Yes};  // Harbor Cafe's three masks on backorder take their share
    import();
    ASSERT_EQ(shown.size(), 8u);
    QStringList numbers;
    for (const Shown& s : shown) numbers << s.number;
    EXPECT_EQ(numbers, QStringList({"SF-MASK", "HM-16", "TM-25", "CK-SIL", "SP-120", "GD-SHEAR", "EL-GFCI", "DR-18V"}));
    // A stocked item keeps its standard unit cost; the delivery's cost goes to "New Inventory".
    EXPECT_EQ(shown[0].current, "SF-MASK");
    EXPECT_EQ(shown[0].standard_cost, "10.80");
    EXPECT_EQ(shown[0].new_quantity, "10");
    EXPECT_EQ(shown[0].new_cost, "10.45");
    // A new item starts from the line, without stock of its own.
    EXPECT_TRUE(shown[5].current.isEmpty());
    EXPECT_EQ(shown[5].quantity, "0");
    EXPECT_EQ(shown[5].standard_cost, "9.80");
    EXPECT_EQ(shown[5].new_quantity, "4");

    // Only the masks were waiting: one question, and the masks' invoice is the one left on screen.
    EXPECT_EQ(std::count(messages.begin(), messages.end(), string_text(str::kUpdateBackorder)), 1);
    EXPECT_FALSE(asked(str::kCannotOpenFile));
    EXPECT_STREQ(ws().copy().invoice_number, "10006");
    const InvoiceRecord& cafe = ws().copy();
    bool masks_on_invoice = false;
    for (int i = 0; i < cafe.line_count; ++i) {
        if (std::string_view(cafe.lines[i].item_number) != "SF-MASK") continue;
        masks_on_invoice = true;
        EXPECT_STREQ(cafe.lines[i].backorder_quantity, "");
    }
    EXPECT_TRUE(masks_on_invoice);
    EXPECT_STREQ(stored("SF-MASK").quantity, "7");  // none in stock, 10 received, 3 gone to the cafe
    EXPECT_STREQ(stored("GD-SHEAR").quantity, "4");
    EXPECT_STREQ(stored("GD-SHEAR").description, "BYPASS PRUNING SHEARS");
    EXPECT_STREQ(stored("HM-16").quantity, "19");  // 14, one sold, 6 received
}

TEST_F(ImportItems, ALineOverTheLimitsStopsTheImportWithString33) {
    deliver("1\tA1\tFirst\t\t1.00\r\n1\t" + QByteArray(64, 'N') + "\tSecond\t\t1.00\r\n1\tC1\tThird\t\t1.00\r\n");
    item_steps.push_back([](ItemDialog& d) { press(d, ItemDialog::kOk); });
    import();
    EXPECT_EQ(item_dialogs, 1);
    EXPECT_TRUE(asked(str::kCannotOpenFile));
    EXPECT_STREQ(stored("A1").quantity, "1");
    InventoryRecord none{};
    EXPECT_EQ(api->get_inventory_item("C1", &none), 0);

    // Cancel in the first of two lines still shows the second; a file that cannot be read is string 33 too.
    messages.clear();
    item_dialogs = 0;
    deliver("2\tB1\tOne\t\t1.00\r\n2\tB2\tTwo\t\t1.00");
    item_steps.push_back([](ItemDialog& d) { press(d, ItemDialog::kCancel); });
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kItemNumber), "B2");
        press(d, ItemDialog::kOk);
    });
    import();
    EXPECT_EQ(item_dialogs, 2);
    EXPECT_FALSE(asked(str::kCannotOpenFile));
    EXPECT_EQ(api->get_inventory_item("B1", &none), 0);
    EXPECT_STREQ(stored("B2").quantity, "2");

    chosen_file = data_set.filePath("missing.txt");
    import();
    EXPECT_TRUE(asked(str::kCannotOpenFile));

    // Cancelling the file choice, or an empty file, is no failure.
    messages.clear();
    chosen_file.clear();
    import();
    deliver("");
    import();
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace stk::client::testing
