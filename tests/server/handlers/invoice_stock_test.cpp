#include <gtest/gtest.h>

#include <string>

#include "common/protocol.h"
#include "tests/server/handlers/invoice_fixture.h"

namespace stk::server {
namespace {

using testing::InvoiceDb;
using testing::make_line;

TEST(InvoiceStock, SellingMoreThanInStockEmptiesStockAndLayers) {
    InvoiceDb t;
    const int bolt = t.add_item("BOLT", "3");
    t.add_layer("bolt", "2", "2", "2.00");
    t.add_layer("Bolt", "1", "1", "3.00");
    const int n = t.new_invoice();

    // The client backorders what the stock cannot cover; the line's cost is what the layers hold.
    ASSERT_EQ(t.add_line(n, make_line("5", "10", "bolt", "2", "9.99"), 1), 1);
    EXPECT_EQ(field(t.db.inventory[bolt].quantity), "0");
    EXPECT_EQ(field(t.db.layers[1].remaining_quantity), "0");
    EXPECT_EQ(field(t.db.layers[2].remaining_quantity), "0");
    EXPECT_EQ(field(t.db.invoices[n].lines[0].unit_cost), "2.33");
    EXPECT_EQ(field(t.db.inventory[bolt].sold_quantity), "5");

    // Removing it gives back only what was delivered; the layers fill again from the newest.
    ASSERT_EQ(remove_invoice_item(t.db, n, 1, 1, t.copy(n)), 1);
    EXPECT_EQ(field(t.db.inventory[bolt].quantity), "3");
    EXPECT_EQ(field(t.db.layers[1].remaining_quantity), "2");
    EXPECT_EQ(field(t.db.layers[2].remaining_quantity), "1");
    EXPECT_EQ(field(t.db.inventory[bolt].sold_quantity), "0");
}

TEST(InvoiceStock, BackorderDeliveriesLeaveStock) {
    InvoiceDb t;
    const int bolt = t.add_item("bolt", "1");
    t.add_layer("bolt", "1", "1", "2.00");
    const int n = t.new_invoice();
    ASSERT_EQ(t.add_line(n, make_line("5", "10", "bolt", "4", "2.00"), 1), 1);
    EXPECT_EQ(field(t.db.inventory[bolt].quantity), "0");

    // Stock received later is delivered against the backorder.
    set_field(t.db.inventory[bolt].quantity, "3");
    double filled = 0;
    ASSERT_EQ(fill_backorder(t.db, n, 1, t.copy(n), make_line("3", "0", "bolt", "", "2.00"), &filled), 1);
    EXPECT_EQ(filled, 3.0);
    EXPECT_EQ(field(t.db.inventory[bolt].quantity), "0");
    EXPECT_EQ(field(t.db.invoices[n].lines[0].backorder_quantity), "1");

    // The delivery is taken even beyond the stock the server knows of.
    ASSERT_EQ(fill_backorder(t.db, n, 1, t.copy(n), make_line("1", "0", "bolt", "", "2.00"), &filled), 1);
    EXPECT_EQ(field(t.db.inventory[bolt].quantity), "-1");
}

TEST(InvoiceStock, SoldQuantityAndGrossProfitFollowTheInvoices) {
    InvoiceDb t;
    const int bolt = t.add_item("bolt", "100");
    const int nut = t.add_item("nut", "100");
    t.add_layer("bolt", "100", "100", "4.00");
    const int n = t.new_invoice();
    ASSERT_EQ(t.add_line(n, make_line("5", "10", "BOLT", "", "4.00"), 0), 1);
    EXPECT_EQ(field(t.db.inventory[bolt].quantity), "100");  // not taken from stock
    EXPECT_EQ(field(t.db.inventory[bolt].sold_quantity), "5");
    EXPECT_EQ(field(t.db.inventory[bolt].gross_profit), "0.00");

    ASSERT_EQ(set_invoice_payment(t.db, n, PAYMENT_CASH, t.copy(n)), 1);
    EXPECT_EQ(field(t.db.inventory[bolt].gross_profit), "30.00");
    ASSERT_EQ(set_invoice_payment(t.db, n, PAYMENT_UNPAID, t.copy(n)), 1);
    EXPECT_EQ(field(t.db.inventory[bolt].gross_profit), "0.00");
    EXPECT_EQ(field(t.db.inventory[bolt].sold_quantity), "5");

    // A replacement refreshes the item it names now; the one named before keeps its figures until next time.
    ASSERT_EQ(replace_invoice_item(t.db, n, 1, t.copy(n), make_line("2", "3.00", "nut", "", "1.00")), 1);
    EXPECT_EQ(field(t.db.inventory[nut].sold_quantity), "2");
    EXPECT_EQ(field(t.db.inventory[bolt].sold_quantity), "5");
}

}  // namespace
}  // namespace stk::server
