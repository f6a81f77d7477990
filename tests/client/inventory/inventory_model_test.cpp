#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "client/inventory/inventory_model.h"
#include "client/inventory/inventory_pane.h"
#include "client/ui/list_sort.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

InventoryRecord item(const char* number, const char* quantity = "", const char* sold = "", const char* audit = "",
                     const char* description = "") {
    InventoryRecord r{};
    set_field(r.item_number, number);
    set_field(r.quantity, quantity);
    set_field(r.sold_quantity, sold);
    set_field(r.last_audit_date, audit);
    set_field(r.description, description);
    return r;
}

std::vector<std::string> column(const InventoryModel& m, int c) {
    std::vector<std::string> out;
    for (int r = 0; r < m.rowCount(); ++r) out.emplace_back(m.cell(r, c));
    return out;
}

TEST(InventoryModel, SortsNumbersAsNumbersTextAsTextAndAuditDatesByYear) {
    InventoryModel m;
    m.assign({item("A", "10"), item("B", "9"), item("C", "100"), item("D", "2.5")});
    m.sort_rows(4, true);
    EXPECT_EQ(column(m, 0), (std::vector<std::string>{"D", "B", "A", "C"}));
    m.sort_rows(4, false);
    EXPECT_EQ(column(m, 0), (std::vector<std::string>{"C", "A", "B", "D"}));

    // Dates in MM/dd/yyyy sort by year first; a date in another form sorts as plain text.
    m.assign({item("X", "", "", "01/05/2004"), item("Y", "", "", "12/31/2003"), item("Z", "", "", "2003-01-01")});
    m.sort_rows(14, true);
    EXPECT_EQ(column(m, 0), (std::vector<std::string>{"Y", "X", "Z"}));  // "2..." sorts after "0..." and "1..."
    EXPECT_LT(compare_list_dates("12/31/2003", "01/05/2004"), 0);
    EXPECT_GT(compare_list_dates("01/06/2004", "01/05/2004"), 0);
    EXPECT_EQ(compare_list_dates("ab/cd/efgh", "AB/CD/EFGH"), 0);

    // Mixed numbers and text give no strict order; the sort must still finish with every row kept.
    std::vector<InventoryRecord> mixed;
    for (int i = 0; i < 200; ++i) mixed.push_back(item("M", i % 3 == 0 ? "abc" : (i % 3 == 1 ? "5" : "10")));
    m.assign(mixed);
    m.sort_rows(4, true);
    m.sort_rows(4, false);
    EXPECT_EQ(m.rowCount(), 200);
    std::vector<int> seen(201, 0);
    for (int r = 0; r < 200; ++r) ++seen[static_cast<std::size_t>(m.slot_of_row(r))];
    for (int s = 1; s <= 200; ++s) EXPECT_EQ(seen[static_cast<std::size_t>(s)], 1);
}

TEST(InventoryModel, RemovingARowRenumbersLaterSlotsAndKeepsTheirData) {
    InventoryModel m;
    m.assign({item("ONE"), item("TWO"), item("THREE"), item("FOUR"), item("FIVE")});
    m.remove_row_and_slot(2);
    ASSERT_EQ(m.rowCount(), 4);
    EXPECT_EQ(m.slot_of_row(2), 3);
    EXPECT_EQ(m.slot_of_row(3), 4);
    EXPECT_EQ(column(m, 0), (std::vector<std::string>{"ONE", "TWO", "FOUR", "FIVE"}));

    // After a sort, rows name slots out of order; removing still keeps every row's own data.
    m.sort_rows(0, true);  // FIVE FOUR ONE TWO
    m.remove_row_and_slot(1);
    EXPECT_EQ(column(m, 0), (std::vector<std::string>{"FIVE", "ONE", "TWO"}));

    // One-row lookup ignores case; a record put into a row changes that row only.
    EXPECT_EQ(m.find_row("two"), 2);
    EXPECT_EQ(m.find_row("missing"), -1);
    m.replace_row_item(2, item("TWO", "7"));
    EXPECT_EQ(m.cell(2, 4), "7");
    EXPECT_EQ(m.cell(0, 0), "FIVE");
    EXPECT_EQ(m.cell(7, 0), "");  // rows that do not exist read empty
}

TEST(InventoryPane, ImagePathStaysInsideThePictureFolder) {
    QTemporaryDir dir;
    ServerApi api(ServerAddress{"unused", ""}, "client");
    SaleSettings settings;
    settings.data_set_folder = [&] { return dir.path(); };
    InventoryPane pane(api, settings, SaleWidgets{});
    pane.model().assign({item("AB-12"), item("../../etc/passwd"), item("x/y"), item("a\\b"), item(".."), item("")});
    const QString folder = QDir::cleanPath(dir.path() + "/Reports/Inventory Images");
    EXPECT_EQ(pane.image_path(0), folder + "/AB-12.jpg");
    for (int row = 1; row <= 5; ++row) EXPECT_TRUE(pane.image_path(row).isEmpty()) << row;

    QStringList opened;
    pane.open_file = [&](const QString& p) {
        opened << p;
        return true;
    };
    pane.view_image(1);
    pane.view_image(0);
    EXPECT_EQ(opened, QStringList{folder + "/AB-12.jpg"});
}

}  // namespace
}  // namespace stk::client
