// The shipped style sheets turn real report documents into pages; checked with xsltproc where it is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "common/text_field.h"
#include "report_test_db.h"
#include "server/handlers/report_ops.h"

namespace stk::server::testing {
namespace {

bool have_xsltproc() { return std::system("xsltproc --version >/dev/null 2>&1") == 0; }

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Writes the document where a client would keep it and transforms it with the named style sheet.
std::string transform(const ReportDb& t, const std::string& document, const std::string& sheet) {
    const std::string xml = t.folder + "/report.xml";
    const std::string html = t.folder + "/report.html";
    {
        std::ofstream out(xml, std::ios::binary | std::ios::trunc);
        out << document;
    }
    const std::string xsl = std::string(STOCKAVELLE_SOURCE_DIR) + "/resources/reports/" + sheet;
    const std::string command = "xsltproc --stringparam today 12/07/2026 " + quoted(xsl) + " " + quoted(xml) +
                                " >" + quoted(html) + " 2>" + quoted(t.folder + "/errors.txt");
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(html, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void expect_contains(const std::string& page, const std::string& text) {
    EXPECT_NE(page.find(text), std::string::npos) << "missing: " << text;
}

TEST(ReportStyleSheets, TransformRealReports) {
    if (!have_xsltproc()) GTEST_SKIP() << "xsltproc is not installed";
    ReportDb t;
    InventoryRecord& anchor =
        t.add_item({.number = "A-1", .description = "Anchor", .quantity = "2", .sold = "30", .cost = "12.50",
                    .category = "Marine"});
    set_field(anchor.remark, "galvanised");
    t.add_item({.number = "N&B", .description = "Nuts & Bolts <M8>", .quantity = "4", .sold = "0", .minimum = "10",
                .cost = "0.75"});
    t.add_layer("A-1", "2", "12.50");
    InvoiceRecord& paid = t.add_invoice(
        "Harbour Supplies", 1,
        {{.item_number = "A-1", .description = "Anchor", .quantity = "3", .price = "25.00", .cost = "12.50"},
         {.item_number = "ROPE-20", .description = "Rope 20 m", .price = "18.00", .cost = "9.00"},
         {.item_number = "X-9", .description = "Chain", .quantity = "1", .price = "40.00", .cost = "30.00",
          .backorder = "1", .note = "call when in", .ordered = 1}});
    set_field(paid.total, "1234.50");
    set_field(paid.tax, "84.75");

    std::string doc;
    ASSERT_TRUE(sales_report(t.db, doc));
    std::string page = transform(t, doc, "sales report.xsl");
    expect_contains(page, "<title>Sales Totals</title>");
    expect_contains(page, "12/07/2026");
    expect_contains(page, "1,234.50");  // cash, gross and the total of all invoices
    expect_contains(page, "84.75");
    expect_contains(page, "Inventory at cost");
    expect_contains(page, "25.00");  // inventory cost: 2 x 12.50

    doc.clear();
    ASSERT_TRUE(non_inventory_sales_report(t.db, doc));
    page = transform(t, doc, "non-inventory sales report.xsl");
    expect_contains(page, "ROPE-20");
    expect_contains(page, "Harbour Supplies");
    expect_contains(page, "2 lines sold");  // the rope and the chain
    expect_contains(page, "9.00");  // the margin of the rope
    EXPECT_EQ(page.find("A-1"), std::string::npos);

    doc.clear();
    ASSERT_TRUE(suggested_order_report(t.db, "", "", doc));
    page = transform(t, doc, "suggested order report.xsl");
    expect_contains(page, "Suggested Order");
    expect_contains(page, "12/07/2026");
    expect_contains(page, "call when in");
    expect_contains(page, "Ordered");
    expect_contains(page, "Nuts &amp; Bolts &lt;M8&gt;");
    expect_contains(page, "4.50");  // the order total: 6 x 0.75
    expect_contains(page, "1 item)");

    // Empty reports still make a page.
    ReportDb empty;
    doc.clear();
    ASSERT_TRUE(non_inventory_sales_report(empty.db, doc));
    expect_contains(transform(empty, doc, "non-inventory sales report.xsl"), "No items outside the inventory");
    doc.clear();
    ASSERT_TRUE(suggested_order_report(empty.db, "", "", doc));
    page = transform(empty, doc, "suggested order report.xsl");
    expect_contains(page, "Nothing needs to be re-ordered");
    expect_contains(page, "0.00");
}

}  // namespace
}  // namespace stk::server::testing
