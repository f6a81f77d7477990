#include "server/handlers/report_ops.h"

#include <gtest/gtest.h>

#include <string>

#include "common/dates.h"
#include "report_test_db.h"

namespace stk::server::testing {
namespace {

std::string sales(const ReportDb& t) {
    std::string doc;
    EXPECT_TRUE(sales_report(t.db, doc));
    return doc;
}

std::string non_inventory(const ReportDb& t) {
    std::string doc;
    EXPECT_TRUE(non_inventory_sales_report(t.db, doc));
    return doc;
}

std::string suggested(const ReportDb& t, std::string_view category = "", std::string_view value = "") {
    std::string doc;
    EXPECT_TRUE(suggested_order_report(t.db, category, value, doc));
    return doc;
}

std::string amount(std::string_view type, std::string_view value) {
    return "\t\t<amount>\r\n\t\t\t<type>" + std::string(type) + "</type>\r\n\t\t\t<value>" + std::string(value) +
           "</value>\r\n\t\t</amount>\r\n";
}

std::string sales_document(const char* const values[11]) {
    static const char* const types[11] = {"UNPAID", "CASH",  "CHECK", "CREDIT CARD",
                                          "ACCOUNT", "WARRANTY", "TAX", "GROSS",
                                          "APPROXIMATE GROSS CALCULABLE PROFIT", "TODAY'S TRANSACTIONS",
                                          "INVENTORY COST"};
    std::string doc =
        "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"sales report.xsl\"?>\r\n"
        "<salestotalsreport>\r\n\t<amounts>\r\n";
    for (int i = 0; i < 11; ++i) doc += amount(types[i], values[i]);
    return doc + "\t</amounts>\r\n</salestotalsreport>";
}

// What the suggested order lists for its inventory part, one "number=quantity" per ordered item.
std::string ordered_items(const std::string& doc) {
    std::string out;
    std::size_t pos = doc.find("<inventoryitems>");
    for (;;) {
        const std::size_t q = doc.find("<suggestedorderquantity>", pos);
        if (q == std::string::npos) break;
        const std::size_t q_end = doc.find('<', q + 24);
        const std::size_t n = doc.find("<itemnumber>", q_end) + 12;
        out += doc.substr(n, doc.find('<', n) - n) + "=" + doc.substr(q + 24, q_end - q - 24) + " ";
        pos = n;
    }
    return out;
}

std::string order_total(const std::string& doc) {
    const std::size_t p = doc.find("<ordertotal>\r\n\t\t") + 16;
    return doc.substr(p, doc.find('\r', p) - p);
}

TEST(Reports, ExactBytesOnAnEmptySet) {
    ReportDb t;
    const char* const zeros[11] = {"0.00", "0.00", "0.00", "0.00", "0.00", "0.00",
                                   "0.00", "0.00", "0.00", "0.00", "0.00"};
    EXPECT_EQ(sales(t), sales_document(zeros));
    EXPECT_EQ(non_inventory(t),
              "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"non-inventory sales report.xsl\"?>"
              "\r\n<noninventoryreport>\r\n\t<noninventoryitems>\r\n\t</noninventoryitems>\r\n</noninventoryreport>");
    EXPECT_EQ(suggested(t, "", "100"),
              "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"suggested order report.xsl\"?>"
              "\r\n<suggestedorderreport>\r\n\t<specialitems>\r\n\t</specialitems>\r\n\r\n\t<inventoryitems>\r\n"
              "\t</inventoryitems>\r\n\t<ordertotal>\r\n\t\t0.00\r\n\t</ordertotal>\r\n</suggestedorderreport>");
}

TEST(Reports, SalesTotals) {
    ReportDb t;
    InvoiceRecord& unpaid = t.add_invoice("U", 0, {{.quantity = "2", .price = "10.00", .cost = "4.00"}});
    set_field(unpaid.total, "21.00");
    set_field(unpaid.tax, "1.00");
    set_field(unpaid.date, today());
    InvoiceRecord& cash = t.add_invoice(
        "C", 1,
        {{.quantity = "2", .price = "10.00", .cost = "4.00"},     // 12.00
         {.quantity = "", .price = "5.00", .cost = "3.50"},       // no quantity: 1.50
         {.quantity = "1", .price = "n/a", .cost = "1.00"}});     // not a price: left out
    set_field(cash.total, "30.50");
    set_field(cash.tax, "1.50");
    set_field(cash.date, today());
    InvoiceRecord& card = t.add_invoice("K", 3);
    set_field(card.total, "100.00");
    set_field(card.tax, "x");
    set_field(card.date, "01/01/2001");
    InvoiceRecord& warranty = t.add_invoice("W", 5);
    set_field(warranty.total, "not a number");
    t.add_layer("A", "3", "2.50");
    t.add_layer("A", "0", "9.00");
    t.add_layer("B", "", "9.00");
    t.add_layer("B", "4", "0.25");

    const char* const values[11] = {"21.00", "30.50", "0.00", "100.00", "0.00", "0.00",
                                    "1.50",  "130.50", "13.50", "30.50", "8.50"};
    EXPECT_EQ(sales(t), sales_document(values));
}

TEST(Reports, NonInventoryLinesEscaped) {
    ReportDb t;
    t.add_item({.number = "STOCKED"});
    t.add_invoice("Tom & \"Jerry\"", 0,
                  {{.item_number = "stocked", .description = "in the inventory"},
                   {.item_number = "", .description = "free text line"},
                   {.item_number = "X<1>", .description = "Nuts & Bolts <M8>", .remark = "it's", .price = "1.00",
                    .cost = "0.50"}});
    EXPECT_EQ(non_inventory(t),
              "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"non-inventory sales report.xsl\"?>"
              "\r\n<noninventoryreport>\r\n\t<noninventoryitems>\r\n"
              "\r\n\t\t<item>\r\n\t\t\t<itemnumber>X&lt;1&gt;</itemnumber>\r\n"
              "\t\t\t<description>Nuts &amp; Bolts &lt;M8&gt;</description>\r\n\t\t\t<remark>it's</remark>\r\n"
              "\t\t\t<customer>Tom &amp; \"Jerry\"</customer>\r\n\t\t\t<unitprice>1.00</unitprice>\r\n"
              "\t\t\t<unitcost>0.50</unitcost>\r\n\t\t</item>\r\n"
              "\t</noninventoryitems>\r\n</noninventoryreport>");
}

TEST(Reports, SuggestedOrderSpecialItems) {
    ReportDb t;
    t.add_invoice("Ann", 0,
                  {{.item_number = "A", .description = "no backorder"},
                   {.item_number = "B", .description = "Nuts & Bolts <M8>", .price = "2.00", .cost = "1.00",
                    .backorder = "0", .note = "call"},
                   {.item_number = "C", .description = "ordered", .backorder = "3", .ordered = 1}});
    const std::string doc = suggested(t);
    const std::string expected =
        "\t<specialitems>\r\n"
        "\t\t<item>\r\n\t\t\t<quantity>0</quantity>\r\n\t\t\t<itemnumber>B</itemnumber>\r\n"
        "\t\t\t<description>Nuts &amp; Bolts &lt;M8&gt;</description>\r\n\t\t\t<remark></remark>\r\n"
        "\t\t\t<unitprice>2.00</unitprice>\r\n\t\t\t<unitcost>1.00</unitcost>\r\n\t\t\t<note>call</note>\r\n"
        "\t\t\t<customer>Ann</customer>\r\n\t\t</item>\r\n"
        "\t\t<backorder>\r\n\t\t\t<quantity>3</quantity>\r\n\t\t\t<itemnumber>C</itemnumber>\r\n"
        "\t\t\t<description>ordered</description>\r\n\t\t\t<remark></remark>\r\n"
        "\t\t\t<unitprice>0.00</unitprice>\r\n\t\t\t<unitcost>0.00</unitcost>\r\n\t\t\t<note></note>\r\n"
        "\t\t\t<customer>Ann</customer>\r\n\t\t</backorder>\r\n"
        "\t</specialitems>\r\n";
    EXPECT_NE(doc.find(expected), std::string::npos) << doc;
}

TEST(Reports, SuggestedMinimumOrder) {
    ReportDb t;
    t.add_item({.number = "MIN10", .quantity = "4", .sold = "0", .minimum = "10", .cost = "2.00"});
    t.add_item({.number = "EMPTY", .quantity = "0", .sold = "0", .cost = "3.00"});
    t.add_item({.number = "MIN0", .quantity = "0", .sold = "5", .minimum = "0", .cost = "1.00"});
    t.add_item({.number = "IDLE", .quantity = "5", .sold = "0", .cost = "1.00"});
    t.add_item({.number = "FULL", .quantity = "12", .sold = "0", .minimum = "10", .cost = "1.00"});
    t.add_item({.number = "NOCOST", .quantity = "0", .sold = "0", .cost = "ask"});
    t.add_item({.number = "SELLER", .quantity = "2", .sold = "30", .cost = "1.00", .category = "Paint"});
    InventoryRecord& r = t.add_item({.number = "N&B", .quantity = "0", .sold = "1", .cost = "0.50"});
    set_field(r.description, "Nuts & Bolts <M8>");

    // Left blank, the order value is 0: the factor stays 0 and only minimums and empty shelves are filled.
    std::string doc = suggested(t);
    EXPECT_EQ(ordered_items(doc), "MIN10=6 EMPTY=1 N&amp;B=1 ");
    EXPECT_EQ(order_total(doc), "15.50");
    EXPECT_NE(doc.find("\t\t<item>\r\n\t\t\t<suggestedorderquantity>6</suggestedorderquantity>\r\n"
                       "\t\t\t<quantityinstock>4</quantityinstock>\r\n\t\t\t<quantitysold>0</quantitysold>\r\n"
                       "\t\t\t<itemnumber>MIN10</itemnumber>\r\n\t\t\t<description></description>\r\n"
                       "\t\t\t<remark></remark>\r\n\t\t\t<unitcost>2.00</unitcost>\r\n"
                       "\t\t\t<category></category>\r\n\t\t</item>\r\n"),
              std::string::npos);
    EXPECT_NE(doc.find("<description>Nuts &amp; Bolts &lt;M8&gt;</description>"), std::string::npos);
    // The category filter is a case-insensitive part of the category.
    EXPECT_EQ(ordered_items(suggested(t, "AIN", "")), "");
    // Asked for 10.00, the factor rises until round(30 f - 2) reaches 10.
    EXPECT_EQ(ordered_items(suggested(t, "AIN", "10")), "SELLER=10 ");
}

TEST(Reports, SuggestedOrderReachesTheRequestedValue) {
    ReportDb t;
    t.add_item({.number = "A", .quantity = "2", .sold = "10", .cost = "1.00"});
    t.add_item({.number = "B", .quantity = "0", .sold = "4", .cost = "5.00"});
    // A orders round(10 f - 2) at 1.00, B round(4 f) at 5.00. At f = 0.875 that is 7 + 20 = 27; the first
    // step with 28.00 is f = 0.95, where A's 7.5 rounds up to 8.
    const std::string doc = suggested(t, "", "28");
    EXPECT_EQ(ordered_items(doc), "A=8 B=4 ");
    EXPECT_EQ(order_total(doc), "28.00");
    // An unreachable value ends too: every candidate has stock, no sales and a fixed top-up to its minimum.
    ReportDb stuck;
    stuck.add_item({.number = "M", .quantity = "3", .sold = "0", .minimum = "5", .cost = "2.00"});
    const std::string stuck_doc = suggested(stuck, "", "1000");
    EXPECT_EQ(ordered_items(stuck_doc), "M=2 ");
    EXPECT_EQ(order_total(stuck_doc), "4.00");
}

TEST(Reports, LargeReportIsAnsweredWhole) {
    // 12 lines of long non-inventory texts per invoice: well past the 10,240,000 bytes of a fixed buffer.
    const int invoices = 2000;
    ReportDb t(4, invoices);
    const std::string long_text(63, 'x');
    for (int i = 0; i < invoices; ++i) {
        InvoiceRecord& inv = t.add_invoice(long_text);
        for (int n = 0; n < 12; ++n) {
            InvoiceLine& l = inv.lines[n];
            set_field(l.item_number, long_text);
            set_field(l.description, std::string(63, '&'));
            set_field(l.remark, long_text);
            set_field(l.unit_price, "1234567890.00");
            set_field(l.unit_cost, "1234567890.00");
        }
        inv.line_count = 12;
    }
    const std::string doc = non_inventory(t);
    EXPECT_GT(doc.size(), 10240000u);
    std::size_t items = 0;
    for (std::size_t p = doc.find("<item>"); p != std::string::npos; p = doc.find("<item>", p + 1)) ++items;
    EXPECT_EQ(items, 24000u);
    EXPECT_TRUE(doc.ends_with("</noninventoryitems>\r\n</noninventoryreport>"));
}

}  // namespace
}  // namespace stk::server::testing
