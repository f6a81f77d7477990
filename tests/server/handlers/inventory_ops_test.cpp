#include <vector>

#include "common/dates.h"
#include "common/protocol.h"
#include "server/db/inventory_file.h"
#include "server/handlers/inventory_ops.h"
#include "tests/server/db/inventory_test_db.h"

namespace stk::server {
namespace {

class InventoryOpsTest : public testing::InventoryDbTest {
protected:
    void add_layer(std::string_view number, std::string_view original, std::string_view remaining,
                   std::string_view cost) {
        FifoLayer layer{};
        set_field(layer.item_number, number);
        set_field(layer.original_quantity, original);
        set_field(layer.remaining_quantity, remaining);
        set_field(layer.unit_cost, cost);
        set_field(layer.date, "01/01/2024");
        set_field(layer.source, "RECEIVED");
        ASSERT_EQ(append_layer(db, layer), 1);
    }
    std::string remaining(int layer) const { return std::string(field(db.layers[layer].remaining_quantity)); }
    InventoryRecord stored(std::string_view number) {
        InventoryRecord r{};
        EXPECT_EQ(get_inventory_item(db, number, r), RESULT_OK);
        return r;
    }
    std::string cost(std::string_view number, std::string_view quantity) {
        std::string out = "unset";
        return get_fifo_cost(db, number, quantity, out) == RESULT_OK ? out : "refused";
    }
    // Slot of a new invoice with one line of the item.
    void add_invoice(int payment, std::string_view number, std::string_view quantity, std::string_view price,
                     std::string_view unit_cost) {
        ASSERT_TRUE(db.invoices.grow_for_one());
        InvoiceRecord& inv = db.invoices[++db.invoices.count];
        inv = InvoiceRecord{};
        inv.payment = payment;
        inv.line_count = 1;
        set_field(inv.lines[0].item_number, number);
        set_field(inv.lines[0].quantity, quantity);
        set_field(inv.lines[0].unit_price, price);
        set_field(inv.lines[0].unit_cost, unit_cost);
    }
};

TEST_F(InventoryOpsTest, CostQueryTakesTheOldestUnitsFirst) {
    ASSERT_EQ(add_inventory_item(db, item("W1", "3"), "", "2.00"), RESULT_OK);  // layer 1: 3 at 2.00
    add_layer("w1", "4", "4", "3.00");
    add_layer("OTHER", "9", "9", "100.00");
    EXPECT_EQ(cost("W1", "5"), "2.40");   // (3 x 2 + 2 x 3) / 5
    EXPECT_EQ(cost("w1", "10"), "2.57");  // only 7 held: averaged over them
    EXPECT_EQ(cost("W1", "2"), "2.00");
    EXPECT_EQ(cost("W1", ".5"), "2.00");
    EXPECT_EQ(cost("W1", "0"), "refused");
    EXPECT_EQ(cost("W1", "-1"), "refused");
    EXPECT_EQ(cost("W1", "five"), "refused");
    EXPECT_EQ(cost("nope", "1"), "refused");
    // The query changes nothing.
    EXPECT_EQ(remaining(1), "3");
    EXPECT_EQ(remaining(2), "4");

    // No layer with a usable cost: refused.
    ASSERT_EQ(add_inventory_item(db, item("W2", "3"), "", "n/a"), RESULT_OK);
    EXPECT_EQ(cost("W2", "1"), "refused");
    // The final test is against 0.0001 in single precision, a little below 0.0001.
    ASSERT_EQ(add_inventory_item(db, item("W3", "0.0001"), "", "2.00"), RESULT_OK);
    EXPECT_EQ(cost("W3", "5"), "2.00");
}

TEST_F(InventoryOpsTest, StockCountRefitsLayersNewestFirst) {
    InventoryRecord r = item("R1", "3", "1.50");
    ASSERT_EQ(add_inventory_item(db, r, "", "2.00"), RESULT_OK);  // layer 1: 3
    InventoryRecord copy = stored("R1");
    InventoryRecord next = copy;
    set_field(next.quantity, "7");
    ASSERT_EQ(update_inventory_item(db, copy, next, "", ""), RESULT_OK);  // 4 more: a direct increase
    ASSERT_EQ(db.layers.count, 2);
    EXPECT_EQ(field(db.layers[2].source), "DIRECT INCREASE");
    EXPECT_EQ(field(db.layers[2].original_quantity), "4");
    EXPECT_EQ(field(db.layers[2].unit_cost), "1.50");
    EXPECT_EQ(field(db.layers[2].date), today());

    // Counted down to 4: the newest layer keeps 4, the oldest is spent.
    copy = stored("R1");
    next = copy;
    set_field(next.quantity, "4");
    ASSERT_EQ(update_inventory_item(db, copy, next, "", ""), RESULT_OK);
    EXPECT_EQ(remaining(1), "0");
    EXPECT_EQ(remaining(2), "4");
    EXPECT_EQ(cost("R1", "4"), "1.50");

    // Counted up to 9: both refilled to what they started with, 2 more at the standard cost.
    copy = stored("R1");
    next = copy;
    set_field(next.quantity, "9");
    set_field(next.standard_unit_cost, "1.75");
    ASSERT_EQ(update_inventory_item(db, copy, next, "", ""), RESULT_OK);
    ASSERT_EQ(db.layers.count, 3);
    EXPECT_EQ(remaining(1), "3");
    EXPECT_EQ(remaining(2), "4");
    EXPECT_EQ(field(db.layers[3].remaining_quantity), "2");
    EXPECT_EQ(field(db.layers[3].unit_cost), "1.75");
    EXPECT_EQ(field(db.layers[3].source), "DIRECT INCREASE");

    // Within the walk tolerance nothing more is added; a text quantity stops the refit.
    set_field(db.inventory[1].quantity, "9.0005");
    refit_layers(db, 1);
    EXPECT_EQ(db.layers.count, 3);
    set_field(db.inventory[1].quantity, "many");
    refit_layers(db, 1);
    refit_layers(db, 0);
    refit_layers(db, 7);
    EXPECT_EQ(db.layers.count, 3);
}

TEST_F(InventoryOpsTest, ReceivingStock) {
    ASSERT_EQ(add_inventory_item(db, item("S1", "2"), "", "1.00"), RESULT_OK);
    InventoryRecord copy = stored("S1");
    InventoryRecord next = copy;
    set_field(next.remark, "restocked");
    ASSERT_EQ(update_inventory_item(db, copy, next, "5", "1.40"), RESULT_OK);
    EXPECT_EQ(field(stored("S1").quantity), "7");
    ASSERT_EQ(db.layers.count, 2);
    EXPECT_EQ(field(db.layers[2].original_quantity), "5");
    EXPECT_EQ(field(db.layers[2].unit_cost), "1.40");
    EXPECT_EQ(field(db.layers[2].source), "RECEIVED");

    // A received quantity that is a word raises nothing, but the rest of the update is kept.
    copy = stored("S1");
    next = copy;
    set_field(next.location, "Back room");
    ASSERT_EQ(update_inventory_item(db, copy, next, "five", "1.40"), RESULT_OK);
    EXPECT_EQ(field(stored("S1").quantity), "7");
    EXPECT_EQ(field(stored("S1").location), "Back room");
    EXPECT_EQ(db.layers.count, 2);
    EXPECT_NE(read(db.paths.inventory).find("Back room"), std::string::npos);

    // With the layer table full the stock still rises; the append says why.
    while (db.layers.count < 2 * db.max_items) add_layer("filler", "1", "1", "1");
    copy = stored("S1");
    log.clear();
    ASSERT_EQ(update_inventory_item(db, copy, copy, "1", "1.00"), RESULT_OK);
    EXPECT_EQ(field(stored("S1").quantity), "8");
    EXPECT_EQ(log, std::string(kInventoryFullText) + "\r\n");
}

TEST_F(InventoryOpsTest, MarkupSoldQuantityProfitAndUnaccountedStock) {
    ASSERT_EQ(add_inventory_item(db, item("M1", "4", "10", "15"), "", "10"), RESULT_OK);
    EXPECT_EQ(field(stored("M1").markup), "50.00%");
    EXPECT_EQ(field(stored("M1").sold_quantity), "0");
    EXPECT_EQ(field(stored("M1").gross_profit), "0.00");
    EXPECT_EQ(field(stored("M1").unaccounted_quantity), "0");
    ASSERT_EQ(add_inventory_item(db, item("M2", "1", "0", "15"), "", "0"), RESULT_OK);
    EXPECT_EQ(field(stored("M2").markup), "");
    ASSERT_EQ(add_inventory_item(db, item("M3", "1", "", "15"), "", ""), RESULT_OK);
    EXPECT_EQ(field(stored("M3").markup), "");
    ASSERT_EQ(add_inventory_item(db, item("M4", "1", "0.000001", "15"), "", ""), RESULT_OK);
    EXPECT_EQ(field(stored("M4").markup), "");
    ASSERT_EQ(add_inventory_item(db, item("M6", "1", "0.00001", "15"), "", ""), RESULT_OK);
    EXPECT_NE(field(stored("M6").markup), "");  // above 0.00001 as a single-precision value

    // Sales already on invoices count at once: every invoice for the quantity, paid ones for the profit;
    // a line quantity that is not a number counts as 1.
    add_invoice(PAYMENT_CASH, "m5", "2", "15.00", "10.00");
    add_invoice(PAYMENT_UNPAID, "M5", "3", "15.00", "10.00");
    add_invoice(PAYMENT_CHECK, "M5", "some", "12.00", "10.00");
    ASSERT_EQ(add_inventory_item(db, item("M5", "10", "10", "15"), "", "10"), RESULT_OK);
    const InventoryRecord m5 = stored("M5");
    EXPECT_EQ(field(m5.sold_quantity), "6");
    EXPECT_EQ(field(m5.gross_profit), "12.00");  // 2 x 5 + 1 x 2
    EXPECT_EQ(field(m5.unaccounted_quantity), "0");  // 10 layered - 6 sold - 10 held is below 0

    // Stock that went missing: 4 layered, nothing sold, 1 on hand.
    set_field(db.inventory[1].quantity, "1");
    refresh_statistics(db, 1);
    EXPECT_EQ(field(db.inventory[1].unaccounted_quantity), "3");
    refresh_statistics(db, 0);
    refresh_statistics(db, 99);
}

TEST_F(InventoryOpsTest, AddRules) {
    InventoryRecord r = item("A1", "4");
    ASSERT_EQ(add_inventory_item(db, r, "", "2.00"), RESULT_OK);
    EXPECT_EQ(field(db.layers[1].remaining_quantity), "4");
    EXPECT_EQ(field(db.layers[1].source), "INITIAL");
    EXPECT_EQ(add_inventory_item(db, item("a1"), "", ""), RESULT_EXISTS);

    // An opening quantity replaces the record's own; an empty one keeps it, even when that is empty.
    ASSERT_EQ(add_inventory_item(db, item("A2", "4"), "6", "1.00"), RESULT_OK);
    EXPECT_EQ(field(stored("A2").quantity), "6");
    EXPECT_EQ(field(db.layers[2].original_quantity), "6");
    ASSERT_EQ(add_inventory_item(db, item("A3", ""), "", ""), RESULT_OK);
    EXPECT_EQ(field(db.layers[3].original_quantity), "");

    // Empty keys are refused like the update refuses them.
    EXPECT_EQ(add_inventory_item(db, item(""), "", ""), RESULT_FAILED);
    InventoryRecord nameless = item("A4");
    set_field(nameless.description, "  ");
    EXPECT_EQ(add_inventory_item(db, nameless, "", ""), RESULT_FAILED);
    EXPECT_EQ(db.inventory.count, 3);
    EXPECT_EQ(db.search_marks.count, 3);

    // A file that cannot be written: the item is kept in memory and the answer says so.
    db.paths = DatabasePaths::in_folder(folder + "/missing");
    EXPECT_EQ(add_inventory_item(db, item("A5"), "", ""), RESULT_SAVE_FAILED);
    EXPECT_TRUE(db.inventory_unsaved);
    EXPECT_EQ(find_item(db, "a5"), 4);
}

TEST_F(InventoryOpsTest, AddAtCapacity) {
    db.release();
    open_db(2, 1);
    ASSERT_EQ(add_inventory_item(db, item("C1"), "", ""), RESULT_OK);
    ASSERT_EQ(add_inventory_item(db, item("C2"), "", ""), RESULT_OK);
    log.clear();
    EXPECT_EQ(add_inventory_item(db, item("C3"), "", ""), RESULT_FAILED);
    EXPECT_EQ(log,
              "Please increase maximum size of inventory database and restart Stockavelle. Please see stockavelle "
              "client settings.txt and stockavelle server settings.txt.\r\n");

    // A full layer table drops the new item again.
    db.release();
    open_db(2, 1);
    ASSERT_EQ(add_inventory_item(db, item("C1"), "", ""), RESULT_OK);
    add_layer("x", "1", "1", "1");
    add_layer("x", "1", "1", "1");
    add_layer("x", "1", "1", "1");
    log.clear();
    EXPECT_EQ(add_inventory_item(db, item("C2"), "", ""), RESULT_FAILED);
    EXPECT_EQ(db.inventory.count, 1);
    EXPECT_EQ(db.search_marks.count, 1);
    EXPECT_EQ(find_item(db, "C2"), 0);
    EXPECT_EQ(log, std::string(kInventoryFullText) + "\r\n");
}

TEST_F(InventoryOpsTest, UpdateRefusals) {
    ASSERT_EQ(add_inventory_item(db, item("U1"), "", "1"), RESULT_OK);
    ASSERT_EQ(add_inventory_item(db, item("U2"), "", "1"), RESULT_OK);
    const InventoryRecord u1 = stored("U1");

    InventoryRecord next = u1;
    set_field(next.item_number, "u2");
    EXPECT_EQ(update_inventory_item(db, u1, next, "", ""), RESULT_EXISTS);
    next = u1;
    set_field(next.description, "");
    EXPECT_EQ(update_inventory_item(db, u1, next, "", ""), RESULT_FAILED);

    // Somebody changed a compared field meanwhile; a change in a computed field alone does not count.
    InventoryRecord stale = u1;
    set_field(stale.note, "old note");
    EXPECT_EQ(update_inventory_item(db, stale, u1, "", ""), RESULT_CHANGED);
    stale = u1;
    set_field(stale.markup, "999%");
    set_field(stale.unaccounted_quantity, "7");
    EXPECT_EQ(update_inventory_item(db, stale, u1, "", ""), RESULT_OK);
    stale = u1;
    set_field(stale.item_number, "gone");
    next = u1;
    set_field(next.item_number, "fresh");
    EXPECT_EQ(update_inventory_item(db, stale, next, "", ""), RESULT_CHANGED);
    EXPECT_EQ(update_inventory_item(db, stale, u1, "", ""), RESULT_EXISTS);  // U1 is another item than "gone"
    stale = u1;
    set_field(stale.description, "ITEM U1");  // exact comparison
    EXPECT_EQ(update_inventory_item(db, stale, u1, "", ""), RESULT_CHANGED);
}

TEST_F(InventoryOpsTest, RenamingMovesTheLayersAndSurvivesARestart) {
    ASSERT_EQ(add_inventory_item(db, item("n1", "3"), "", "2.00"), RESULT_OK);
    InventoryRecord copy = stored("n1");
    InventoryRecord next = copy;
    set_field(next.item_number, "N1");  // letter case only
    ASSERT_EQ(update_inventory_item(db, copy, next, "", ""), RESULT_OK);
    EXPECT_EQ(field(db.layers[1].item_number), "N1");
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(db.layers.count, 1);  // no second opening layer for "N1"
    EXPECT_EQ(field(stored("N1").unaccounted_quantity), "0");

    copy = stored("N1");
    next = copy;
    set_field(next.item_number, "N2");
    ASSERT_EQ(update_inventory_item(db, copy, next, "", ""), RESULT_OK);
    EXPECT_EQ(field(db.layers[1].item_number), "N2");

    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(db.layers.count, 1);  // no second opening layer
    EXPECT_EQ(field(stored("N2").unaccounted_quantity), "0");
}

TEST_F(InventoryOpsTest, DeleteLeavesTheLayersSpent) {
    ASSERT_EQ(add_inventory_item(db, item("D1", "3"), "", "1"), RESULT_OK);
    ASSERT_EQ(add_inventory_item(db, item("D2", "5"), "", "1"), RESULT_OK);
    ASSERT_EQ(add_inventory_item(db, item("D3", "7"), "", "1"), RESULT_OK);
    add_layer("d2", "2", "2", "1");  // another letter case: not this item's layer for the delete
    db.search_marks[3] = 1;

    InventoryRecord stale = stored("D2");
    set_field(stale.quantity, "4");
    EXPECT_EQ(delete_inventory_item(db, stale), RESULT_CHANGED);
    EXPECT_EQ(delete_inventory_item(db, item("none")), RESULT_CHANGED);

    ASSERT_EQ(delete_inventory_item(db, stored("D2")), RESULT_OK);
    EXPECT_EQ(db.inventory.count, 2);
    EXPECT_EQ(db.search_marks.count, 2);
    EXPECT_EQ(db.search_marks[2], 1);  // D3's mark moved down with it
    EXPECT_EQ(find_item(db, "D3"), 2);
    EXPECT_EQ(db.layers.count, 4);
    EXPECT_EQ(remaining(2), "0");
    EXPECT_EQ(remaining(4), "2");
    EXPECT_NE(read(db.paths.layers).find("D2\t5\t0\t1\t"), std::string::npos);

    // Deleting the last items empties both files, so nothing comes back at the next start.
    ASSERT_EQ(delete_inventory_item(db, stored("D1")), RESULT_OK);
    ASSERT_EQ(delete_inventory_item(db, stored("D3")), RESULT_OK);
    EXPECT_EQ(read(db.paths.inventory), "");
    EXPECT_EQ(read(db.paths.layers), "");
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(db.inventory.count, 0);
}

TEST_F(InventoryOpsTest, TextThatWouldBreakTheFilesIsStoredAsBlanks) {
    InventoryRecord r = item("T1");
    set_field(r.description, "Two\tcolumns\r\nand a line");
    set_field(r.note, "tab at end\t");
    ASSERT_EQ(add_inventory_item(db, r, "", "1.00\r\n"), RESULT_OK);
    EXPECT_EQ(field(stored("T1").description), "Two columns  and a line");
    EXPECT_EQ(field(stored("T1").note), "tab at end");
    EXPECT_EQ(field(db.layers[1].unit_cost), "1.00");

    InventoryRecord copy = stored("T1");
    InventoryRecord next = copy;
    set_field(next.remark, "x\ty");
    ASSERT_EQ(update_inventory_item(db, copy, next, "2", "3\t"), RESULT_OK);
    EXPECT_EQ(field(stored("T1").remark), "x y");
    EXPECT_EQ(field(db.layers[2].unit_cost), "3");

    // The files still have one line per record and the restart loads what was answered.
    const InventoryRecord before = stored("T1");
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    ASSERT_EQ(db.inventory.count, 1);
    EXPECT_EQ(db.layers.count, 2);
    EXPECT_TRUE(same_item(stored("T1"), before));
}

TEST_F(InventoryOpsTest, LargeAndPreciseQuantitiesStayNumbers) {
    ASSERT_EQ(add_inventory_item(db, item("Q1", "1000000"), "", "1"), RESULT_OK);
    InventoryRecord copy = stored("Q1");
    ASSERT_EQ(update_inventory_item(db, copy, copy, "234567", "1"), RESULT_OK);
    EXPECT_EQ(field(stored("Q1").quantity), "1234567");  // "%g" would write 1.23457e+06

    copy = stored("Q1");
    InventoryRecord next = copy;
    set_field(next.quantity, "123456.7");
    ASSERT_EQ(update_inventory_item(db, copy, next, "", ""), RESULT_OK);
    EXPECT_EQ(remaining(2), "123456.7");  // "%g" would write 123457
    EXPECT_EQ(remaining(1), "0");

    // Quantities "%g" keeps are written as "%g" writes them.
    copy = stored("Q1");
    next = copy;
    set_field(next.quantity, "2.5");
    ASSERT_EQ(update_inventory_item(db, copy, next, "0.25", "1"), RESULT_OK);
    EXPECT_EQ(field(stored("Q1").quantity), "2.75");
    EXPECT_EQ(remaining(2), "2.5");
}

TEST_F(InventoryOpsTest, RestartLoadsWhatWasAnswered) {
    ASSERT_EQ(add_inventory_item(db, item("Z1", "3", "2.00", "3.00"), "", "2.00"), RESULT_OK);
    ASSERT_EQ(add_inventory_item(db, item("Z2", "1"), "", "4.00"), RESULT_OK);
    InventoryRecord copy = stored("Z1");
    InventoryRecord next = copy;
    set_field(next.quantity, "5");
    ASSERT_EQ(update_inventory_item(db, copy, next, "4", "2.50"), RESULT_OK);
    ASSERT_EQ(delete_inventory_item(db, stored("Z2")), RESULT_OK);
    ASSERT_EQ(add_inventory_item(db, item("Z3", "0"), "", "1.00"), RESULT_OK);

    std::vector<InventoryRecord> items(&db.inventory[1], &db.inventory[1] + db.inventory.count);
    std::vector<FifoLayer> layers(&db.layers[1], &db.layers[1] + db.layers.count);
    const std::string cost_before = cost("Z1", "8");
    const std::string inventory_file = read(db.paths.inventory);
    const std::string layer_file = read(db.paths.layers);

    db.release();
    open_db(8, 4);
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    ASSERT_EQ(db.inventory.count, static_cast<int>(items.size()));
    ASSERT_EQ(db.layers.count, static_cast<int>(layers.size()));
    for (int i = 1; i <= db.inventory.count; ++i) {
        EXPECT_TRUE(same_item(db.inventory[i], items[i - 1]));
        EXPECT_EQ(field(db.inventory[i].markup), field(items[i - 1].markup));
        EXPECT_EQ(field(db.inventory[i].unaccounted_quantity), field(items[i - 1].unaccounted_quantity));
    }
    for (int i = 1; i <= db.layers.count; ++i) {
        EXPECT_EQ(field(db.layers[i].remaining_quantity), field(layers[i - 1].remaining_quantity));
        EXPECT_EQ(field(db.layers[i].source), field(layers[i - 1].source));
    }
    EXPECT_EQ(cost("Z1", "8"), cost_before);
    EXPECT_EQ(read(db.paths.inventory), inventory_file);
    EXPECT_EQ(read(db.paths.layers), layer_file);
}

}  // namespace
}  // namespace stk::server
