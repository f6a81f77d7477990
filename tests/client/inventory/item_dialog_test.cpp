#include <QFile>

#include "common/dates.h"
#include "tests/client/support/item_dialog_fixture.h"

namespace stk::client::testing {
namespace {

using InventoryItem = ItemDialogFixture;

QByteArray file_bytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(InventoryItem, ReceivingTwoDeliveriesMakesTwoCostLayers) {
    // "Add to Inventory" with an item number the server does not know: a new item from the entry fields.
    edit(ids::kOrderQuantity)->setText("10");
    edit(ids::kItemNumber)->setText("BOLT");
    edit(ids::kDescription)->setText("HEX BOLT");
    edit(ids::kUnitPrice)->setText("0.50");
    edit(ids::kUnitCost)->setText("2.00");
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Inventory Item");
        EXPECT_EQ(text(d, ItemDialog::kItemNumber), "BOLT");
        EXPECT_EQ(text(d, ItemDialog::kDescription), "HEX BOLT");
        EXPECT_EQ(text(d, ItemDialog::kUnitPrice), "0.50");
        EXPECT_EQ(text(d, ItemDialog::kStandardUnitCost), "2.00");
        EXPECT_EQ(text(d, ItemDialog::kQuantity), "0");
        EXPECT_FALSE(d.edit(ItemDialog::kQuantity)->isEnabled());
        EXPECT_EQ(text(d, ItemDialog::kSoldQuantity), "0");
        EXPECT_FALSE(d.edit(ItemDialog::kSoldQuantity)->isEnabled());
        EXPECT_TRUE(d.edit(ItemDialog::kUnaccountedQuantity)->isReadOnly());
        EXPECT_EQ(text(d, ItemDialog::kNewQuantity), "10");
        EXPECT_EQ(text(d, ItemDialog::kNewUnitCost), "2.00");
        EXPECT_TRUE(text(d, ItemDialog::kCurrentItemNumber).isEmpty());
        EXPECT_TRUE(d.edit(ItemDialog::kCurrentDescription)->isReadOnly());
        EXPECT_EQ(d.edit(ItemDialog::kItemNumber)->maxLength(), 63);
        EXPECT_EQ(d.edit(ItemDialog::kUnitPrice)->maxLength(), 31);
        EXPECT_EQ(d.edit(ItemDialog::kNewQuantity)->maxLength(), 31);
        set(d, ItemDialog::kRemark, "  BOX OF 50\t");
        set(d, ItemDialog::kCategory, "FASTENERS");
        press(d, ItemDialog::kOk);
        EXPECT_EQ(d.result(), ItemDialog::kClosed);
    });
    window->run_command(ids::kAddToInventory);
    EXPECT_TRUE(item_steps.empty());
    EXPECT_EQ(window->focusWidget(), edit(ids::kItemNumber));
    InventoryRecord bolt = stored("BOLT");
    EXPECT_STREQ(bolt.remark, "BOX OF 50");
    EXPECT_STREQ(bolt.quantity, "10");
    EXPECT_EQ(bolt.last_audit_date, today());  // a new item without an audit date is dated today
    EXPECT_EQ(texts_of(ADD_INVENTORY_ITEM), std::vector<std::string>{"BOLT"});
    EXPECT_EQ(count_of(SEARCH_INVENTORY), 1);  // the list is searched again after an add

    // A second delivery through "Edit/View...": both columns show the stored item.
    set_field(bolt.last_audit_date, "01/02/2003");
    ASSERT_EQ(api->update_inventory_item(stored("BOLT"), bolt, "", ""), 1);
    select_listed("BOLT");
    sent.clear();
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kCurrentItemNumber), "BOLT");
        EXPECT_EQ(text(d, ItemDialog::kCurrentQuantity), "10");
        EXPECT_EQ(text(d, ItemDialog::kQuantity), "10");
        EXPECT_TRUE(d.edit(ItemDialog::kQuantity)->isEnabled());
        EXPECT_TRUE(text(d, ItemDialog::kNewQuantity).isEmpty());
        set(d, ItemDialog::kNewQuantity, "5");
        set(d, ItemDialog::kNewUnitCost, "3.00");
        press(d, ItemDialog::kOk);
    });
    EXPECT_EQ(right_click("BOLT", "Edit/View..."),
              QStringList({"Edit/View...", "Add Similar Item...", "View Image...", "Update Prices...",
                           "Update Description(s) and Prices...", "-", "Delete"}));
    EXPECT_EQ(window->focusWidget(), edit(ids::kItemNumber));
    bolt = stored("BOLT");
    EXPECT_STREQ(bolt.quantity, "15");
    EXPECT_STREQ(bolt.last_audit_date, "01/02/2003");  // receiving is no stock count
    EXPECT_EQ(texts_of(UPDATE_INVENTORY_ITEM), std::vector<std::string>{"BOLT"});
    EXPECT_EQ(count_of(SEARCH_INVENTORY), 0);  // only the edited row is refreshed
    EXPECT_EQ(pane().model().cell(pane().model().find_row("BOLT"), 4), "15");

    // The oldest twelve units: 10 at 2.00 and 2 at 3.00.
    std::string cost;
    ASSERT_EQ(api->get_fifo_cost("BOLT", "12", &cost), 1);
    EXPECT_EQ(cost, "2.17");
    const QByteArray layers = file_bytes(server.database_set() + "/inventory fifo.txt");
    EXPECT_TRUE(layers.contains("BOLT\t10\t10\t2.00\t")) << layers.constData();
    EXPECT_TRUE(layers.contains("INITIAL"));
    EXPECT_TRUE(layers.contains("BOLT\t5\t5\t3.00\t")) << layers.constData();
    EXPECT_TRUE(layers.contains("RECEIVED"));

    // Twelve sold on an invoice cost what the oldest twelve cost, and the line shows it.
    make_invoice("9001");
    enter_line("12", "BOLT", "HEX BOLT", "2.50", "2.00");
    ASSERT_EQ(ws().copy().line_count, 1);
    EXPECT_STREQ(line(1).unit_cost, "2.17");
    EXPECT_EQ(ws().lines_model().cell(0, 9), "2.17");
    EXPECT_STREQ(stored("BOLT").quantity, "3");
}

TEST_F(InventoryItem, RefusedInputStaysInTheDialog) {
    add_stock_item("NUT", "HEX NUT", "0.10", "500", "0.02");
    pane().set_last_search_text("*");
    edit(ids::kItemNumber)->setText("PIN");
    edit(ids::kDescription)->setText("COTTER PIN");
    edit(ids::kOrderQuantity)->setText("5");
    item_steps.push_back([this](ItemDialog& d) {
        // A description of blanks only counts as empty.
        set(d, ItemDialog::kDescription, "   ");
        press(d, ItemDialog::kOk);
        EXPECT_TRUE(open(d));
        EXPECT_TRUE(asked(str::kEnterNumberDescriptionAndCost));

        // New stock without a unit cost: string 22 and the focus in "Unit Cost".
        messages.clear();
        set(d, ItemDialog::kDescription, "COTTER PIN");
        press(d, ItemDialog::kOk);
        EXPECT_TRUE(open(d));
        EXPECT_TRUE(asked(str::kEnterNumberDescriptionAndCost));
        EXPECT_EQ(d.focusWidget(), d.edit(ItemDialog::kNewUnitCost));

        // A number that exists already: the list is searched again, string 21, and the input stays.
        messages.clear();
        sent.clear();
        set(d, ItemDialog::kItemNumber, "nut");
        set(d, ItemDialog::kNewUnitCost, "0.04");
        press(d, ItemDialog::kOk);
        EXPECT_TRUE(open(d));
        EXPECT_TRUE(asked(str::kItemNumberExists));
        EXPECT_EQ(texts_of(SEARCH_INVENTORY), std::vector<std::string>{"*"});
        EXPECT_EQ(text(d, ItemDialog::kItemNumber), "nut");
        EXPECT_EQ(text(d, ItemDialog::kNewQuantity), "5");

        // An empty quantity with a unit cost is accepted.
        set(d, ItemDialog::kItemNumber, "PIN");
        set(d, ItemDialog::kNewQuantity, "");
        press(d, ItemDialog::kOk);
        EXPECT_FALSE(open(d));
    });
    window->run_command(ids::kAddToInventory);
    EXPECT_STREQ(stored("PIN").quantity, "0");
    EXPECT_EQ(pane().model().find_row("PIN") >= 0, true);

    // Cancel, Esc and the close box save nothing; the close box ends the dialog as OK does, Esc as Cancel.
    select_listed("PIN");
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kNote, "CHANGED");
        press(d, ItemDialog::kCancel);
    });
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kNote, "CHANGED");
        press_key(d.edit(ItemDialog::kNote), Qt::Key_Escape);
        EXPECT_EQ(d.result(), ItemDialog::kCancelled);
    });
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kNote, "CHANGED");
        d.close();
    });
    EXPECT_EQ(editor->open(item_mode::kEditView), ItemDialog::kCancelled);
    EXPECT_EQ(editor->open(item_mode::kEditView), ItemDialog::kCancelled);
    EXPECT_EQ(editor->open(item_mode::kEditView), ItemDialog::kClosed);
    EXPECT_STREQ(stored("PIN").note, "");
}

TEST_F(InventoryItem, AStockCountIsDatedTodayAndAConcurrentChangeReloadsTheLeftColumn) {
    add_stock_item("TAPE", "DUCT TAPE", "8.99", "24", "3.75");
    InventoryRecord tape = stored("TAPE");
    set_field(tape.last_audit_date, "01/01/2001");
    ASSERT_EQ(api->update_inventory_item(stored("TAPE"), tape, "", ""), 1);
    select_listed("TAPE");

    // Changing the quantity stamps today over the typed date; changing other fields keeps the typed date.
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kQuantity, "20");
        set(d, ItemDialog::kLastAuditDate, "02/02/2002");
        press(d, ItemDialog::kOk);
    });
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kNote, "TOP SHELF");
        set(d, ItemDialog::kLastAuditDate, "03/03/2003");
        press(d, ItemDialog::kOk);
    });
    window->run_command(ids::kCtxEditViewItem);
    EXPECT_EQ(stored("TAPE").last_audit_date, today());
    window->run_command(ids::kCtxEditViewItem);
    EXPECT_STREQ(stored("TAPE").last_audit_date, "03/03/2003");
    EXPECT_STREQ(stored("TAPE").quantity, "20");

    // "Use Today's Date" fills the right audit date.
    item_steps.push_back([](ItemDialog& d) {
        press(d, ItemDialog::kUseTodaysDate);
        EXPECT_EQ(text(d, ItemDialog::kLastAuditDate).toStdString(), today());
    });
    window->run_command(ids::kCtxEditViewItem);

    // Another till changes the item while the dialog is open: string 20, the list is searched again, the left
    // column shows the stored item, and a second OK saves over it.
    item_steps.push_back([this](ItemDialog& d) {
        InventoryRecord theirs = stored("TAPE");
        set_field(theirs.location, "AISLE 7");
        ASSERT_EQ(api->update_inventory_item(stored("TAPE"), theirs, "", ""), 1);
        set(d, ItemDialog::kUnitPrice, "9.49");
        press(d, ItemDialog::kOk);
        EXPECT_TRUE(open(d));
        EXPECT_TRUE(asked(str::kItemModified));
        EXPECT_EQ(text(d, ItemDialog::kCurrentLocation), "AISLE 7");
        EXPECT_EQ(text(d, ItemDialog::kUnitPrice), "9.49");
        set(d, ItemDialog::kLocation, "AISLE 7");
        press(d, ItemDialog::kOk);
        EXPECT_FALSE(open(d));
    });
    window->run_command(ids::kCtxEditViewItem);
    EXPECT_STREQ(stored("TAPE").unit_price, "9.49");
    EXPECT_STREQ(stored("TAPE").location, "AISLE 7");
}

TEST_F(InventoryItem, AChangeTheServerCouldNotWriteClosesTheDialogAndSaysSo) {
    // The server takes the delivery into memory but cannot write its files (answer 4). The dialog closes, as
    // the stock is received, and says so; left open, it would invite receiving the same delivery twice.
    add_stock_item("GLUE", "WOOD GLUE", "6.49", "10", "2.80");
    select_listed("GLUE");
    force_result(UPDATE_INVENTORY_ITEM, RESULT_SAVE_FAILED, true);
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kNewQuantity, "12");
        set(d, ItemDialog::kNewUnitCost, "2.90");
        press(d, ItemDialog::kOk);
        EXPECT_FALSE(open(d));
    });
    messages.clear();
    window->run_command(ids::kCtxEditViewItem);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], text::kChangeNotSaved);
    EXPECT_STREQ(stored("GLUE").quantity, "22");
    EXPECT_EQ(pane().model().cell(pane().model().find_row("GLUE"), 4), "22");

    // A new item the same way: the list is searched again and shows it.
    force_result(ADD_INVENTORY_ITEM, RESULT_SAVE_FAILED, true);
    pane().set_last_search_text("*");
    edit(ids::kItemNumber)->setText("CLAMP");
    edit(ids::kDescription)->setText("BAR CLAMP 12 IN");
    item_steps.push_back([](ItemDialog& d) {
        press(d, ItemDialog::kOk);
        EXPECT_FALSE(open(d));
    });
    messages.clear();
    window->run_command(ids::kAddToInventory);
    stop_forcing();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_STREQ(stored("CLAMP").description, "BAR CLAMP 12 IN");
    EXPECT_GE(pane().model().find_row("CLAMP"), 0);
}

TEST_F(InventoryItem, AddSimilarItemTakesTheListedItemButItsNumberAndStock) {
    add_stock_item("HM-16", "CLAW HAMMER 16 OZ", "24.99", "14", "13.10");
    InventoryRecord hammer = stored("HM-16");
    set_field(hammer.category, "HAND TOOLS");
    set_field(hammer.minimum_quantity, "4");
    ASSERT_EQ(api->update_inventory_item(stored("HM-16"), hammer, "", ""), 1);
    select_listed("HM-16");
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_TRUE(text(d, ItemDialog::kItemNumber).isEmpty());
        EXPECT_TRUE(text(d, ItemDialog::kCurrentItemNumber).isEmpty());
        EXPECT_EQ(text(d, ItemDialog::kDescription), "CLAW HAMMER 16 OZ");
        EXPECT_EQ(text(d, ItemDialog::kCategory), "HAND TOOLS");
        EXPECT_EQ(text(d, ItemDialog::kMinimumQuantity), "4");
        EXPECT_EQ(text(d, ItemDialog::kStandardUnitCost), "13.10");
        EXPECT_EQ(text(d, ItemDialog::kQuantity), "0");
        EXPECT_FALSE(d.edit(ItemDialog::kQuantity)->isEnabled());
        EXPECT_EQ(text(d, ItemDialog::kUnaccountedQuantity), "0");
        EXPECT_TRUE(text(d, ItemDialog::kLastAuditDate).isEmpty());
        EXPECT_EQ(text(d, ItemDialog::kNewQuantity), "14");
        set(d, ItemDialog::kItemNumber, "HM-20");
        set(d, ItemDialog::kDescription, "CLAW HAMMER 20 OZ");
        set(d, ItemDialog::kNewUnitCost, "15.00");
        press(d, ItemDialog::kOk);
    });
    window->run_command(ids::kCtxAddSimilarItem);
    const InventoryRecord added = stored("HM-20");
    EXPECT_STREQ(added.quantity, "14");
    EXPECT_STREQ(added.category, "HAND TOOLS");

    // Without a selection mark nothing opens.
    window->inventory_list()->setCurrentIndex({});
    EXPECT_EQ(editor->open(item_mode::kAddSimilarItem), 0);
    EXPECT_EQ(item_dialogs, 1);
}

}  // namespace
}  // namespace stk::client::testing
