// Pictures of the Inventory Item dialog in its modes, for the documentation: runs only when
// STOCKAVELLE_SCREENSHOT_DIR names the folder to write them into.
#include <QDir>
#include <QPixmap>

#include "tests/client/support/item_dialog_fixture.h"

namespace stk::client::testing {
namespace {

using Screenshots = ItemDialogFixture;

TEST_F(Screenshots, InventoryItemDialogInEachMode) {
    const QString folder = QString::fromLocal8Bit(qgetenv("STOCKAVELLE_SCREENSHOT_DIR"));
    if (folder.isEmpty()) GTEST_SKIP() << "STOCKAVELLE_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    auto shoot = [&](const char* name) {
        return [folder, name](ItemDialog& d) {
            d.show();
            QApplication::processEvents();
            EXPECT_TRUE(d.grab().save(folder + "/" + name + ".png"));
            d.hide();
        };
    };

    add_stock_item("HM-16", "CLAW HAMMER 16 OZ", "24.99", "14", "13.10");
    InventoryRecord hammer = stored("HM-16");
    set_field(hammer.remark, "FIBERGLASS HANDLE");
    set_field(hammer.minimum_quantity, "4");
    set_field(hammer.category, "HAND TOOLS");
    set_field(hammer.location, "AISLE 3");
    set_field(hammer.note, "WESTLINE SUPPLY");
    set_field(hammer.last_audit_date, "03/14/2025");
    ASSERT_EQ(api->update_inventory_item(stored("HM-16"), hammer, "", ""), 1);

    edit(ids::kOrderQuantity)->setText("12");
    edit(ids::kItemNumber)->setText("HM-22");
    edit(ids::kDescription)->setText("FRAMING HAMMER 22 OZ");
    edit(ids::kRemark)->setText("MILLED FACE");
    edit(ids::kUnitPrice)->setText("39.95");
    edit(ids::kUnitCost)->setText("21.40");
    item_steps.push_back(shoot("inventory-item-add"));
    window->run_command(ids::kAddToInventory);

    select_listed("HM-16");
    item_steps.push_back([&](ItemDialog& d) {
        set(d, ItemDialog::kNewQuantity, "10");
        set(d, ItemDialog::kNewUnitCost, "12.85");
        shoot("inventory-item")(d);
    });
    window->run_command(ids::kCtxEditViewItem);
    item_steps.push_back(shoot("inventory-item-similar"));
    window->run_command(ids::kCtxAddSimilarItem);

    // A price-file update with descriptions, and an import line of a stocked item.
    InventoryRecord priced = stored("HM-16");
    set_field(priced.description, "CLAW HAMMER 16OZ FIBERGLASS");
    set_field(priced.unit_price, "25.49");
    set_field(priced.standard_unit_cost, "13.45");
    item_steps.push_back(shoot("inventory-item-price-update"));
    editor->open(form_for_price_update(stored("HM-16"), priced));
    InventoryRecord delivered = stored("HM-16");
    set_field(delivered.standard_unit_cost, "12.85");
    item_steps.push_back(shoot("inventory-item-import"));
    editor->open(form_for_import(stored("HM-16"), delivered, "6"));
}

}  // namespace
}  // namespace stk::client::testing
