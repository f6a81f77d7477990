#include <QHeaderView>
#include <QTreeView>

#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

class InventoryList : public SaleFixture {
protected:
    void SetUp() override {
        SaleFixture::SetUp();
        if (HasFatalFailure()) return;
        add_stock_item("WIDGET-1", "BLUE WIDGET", "9.99", "3", "4.00");
        add_stock_item("WIDGET-2", "RED WIDGET", "10.50", "12", "4.50");
        add_stock_item("WIDGET-10", "GREEN WIDGET", "2.00", "7", "1.25");
        add_stock_item("NUT", "HEX NUT", "0.10", "500", "0.02");
    }
    std::vector<std::string> shown_numbers() {
        std::vector<std::string> out;
        for (int r = 0; r < pane().model().rowCount(); ++r) out.emplace_back(pane().model().cell(r, 0));
        return out;
    }
};

TEST_F(InventoryList, TypingQuicklySendsOneSearchAfterTheLastKeystroke) {
    sent.clear();
    type_keys(edit(ids::kItemNumber), "WIDGE");
    EXPECT_EQ(edit(ids::kItemNumber)->text(), "WIDGE");
    EXPECT_TRUE(window->search_pending());
    EXPECT_EQ(count_of(SEARCH_INVENTORY), 0);
    ASSERT_TRUE(wait_for([&] { return count_of(SEARCH_INVENTORY) > 0; }));
    EXPECT_EQ(texts_of(SEARCH_INVENTORY), std::vector<std::string>{"WIDGE"});
    EXPECT_EQ(pane().model().rowCount(), 3);
    EXPECT_EQ(pane().last_search_text(), "WIDGE");

    // The description searches only while the item number is empty.
    sent.clear();
    edit(ids::kItemNumber)->clear();
    type_keys(edit(ids::kDescription), "HEX");
    ASSERT_TRUE(wait_for([&] { return count_of(SEARCH_INVENTORY) > 0; }));
    EXPECT_EQ(texts_of(SEARCH_INVENTORY), std::vector<std::string>{"HEX"});
    EXPECT_EQ(shown_numbers(), std::vector<std::string>{"NUT"});

    // Typed and taken back before the timer fires: one search, with the text there when it fires, which
    // empties the list.
    sent.clear();
    edit(ids::kDescription)->clear();
    wait_for([&] { return count_of(SEARCH_INVENTORY) > 0; });
    sent.clear();
    type_keys(edit(ids::kItemNumber), "NUT");
    for (int i = 0; i < 3; ++i) press_key(edit(ids::kItemNumber), Qt::Key_Backspace);
    EXPECT_TRUE(edit(ids::kItemNumber)->text().isEmpty());
    ASSERT_TRUE(wait_for([&] { return count_of(SEARCH_INVENTORY) > 0; }));
    EXPECT_EQ(texts_of(SEARCH_INVENTORY), std::vector<std::string>{""});
    EXPECT_EQ(pane().model().rowCount(), 0);
}

TEST_F(InventoryList, SearchSortsByStockOrSalesAndHeadingsSortAscending) {
    pane().sort_by_stock = true;
    ASSERT_EQ(pane().search("*"), 1);
    EXPECT_EQ(shown_numbers(), (std::vector<std::string>{"WIDGET-1", "WIDGET-10", "WIDGET-2", "NUT"}));

    // Numbers sort as numbers, item numbers as text.
    pane().sort_by_column(3);
    EXPECT_EQ(shown_numbers(), (std::vector<std::string>{"NUT", "WIDGET-10", "WIDGET-1", "WIDGET-2"}));
    auto* header = window->inventory_list()->header();
    emit header->sectionClicked(0);
    EXPECT_EQ(pane().model().cell(0, 0), "NUT");

    // The list shows the record's fields as received.
    EXPECT_EQ(window->inventory_list()->model()->headerData(6, Qt::Horizontal).toString(), "Sold/Allocated Quantity");
    const int row = pane().model().find_row("widget-2");
    ASSERT_GE(row, 0);
    EXPECT_EQ(window->inventory_list()->model()->index(row, 3).data().toString(), "10.50");
    EXPECT_EQ(window->inventory_list()->model()->index(row, 4).data().toString(), "12");
}

TEST_F(InventoryList, ActivatingARowCopiesTheItemWithItsFifoCost) {
    ASSERT_EQ(pane().search("WIDGET-2"), 1);
    ASSERT_EQ(pane().model().rowCount(), 1);
    sent.clear();
    auto* list = window->inventory_list();
    edit(ids::kBackorderQuantity)->setText("4");
    edit(ids::kTaxPercent)->clear();
    window->inventory_item_check()->setChecked(false);
    list->setCurrentIndex(list->model()->index(0, 0));
    EXPECT_TRUE(edit(ids::kItemNumber)->text().isEmpty());  // selecting alone copies nothing
    press_key(list, Qt::Key_Return);
    EXPECT_EQ(edit(ids::kOrderQuantity)->text(), "1");
    EXPECT_TRUE(edit(ids::kBackorderQuantity)->text().isEmpty());
    EXPECT_TRUE(window->inventory_item_check()->isChecked());
    EXPECT_EQ(edit(ids::kItemNumber)->text(), "WIDGET-2");
    EXPECT_EQ(edit(ids::kDescription)->text(), "RED WIDGET");
    EXPECT_EQ(edit(ids::kUnitPrice)->text(), "10.50");
    EXPECT_EQ(edit(ids::kUnitCost)->text(), "4.50");
    EXPECT_EQ(edit(ids::kTaxPercent)->text(), "8.25");
    EXPECT_EQ(texts_of(GET_FIFO_COST), std::vector<std::string>{"WIDGET-2"});
    // Setting the item number re-arms the type-ahead search.
    EXPECT_TRUE(window->search_pending());

    // A double click copies too; without a FIFO answer (no stock left) the standard unit cost is taken.
    InventoryRecord empty{};
    set_field(empty.item_number, "EMPTY-1");
    set_field(empty.description, "NOTHING IN STOCK");
    set_field(empty.standard_unit_cost, "3.75");
    ASSERT_EQ(api->add_inventory_item(empty, "", ""), 1);
    ASSERT_EQ(pane().search("EMPTY-1"), 1);
    ASSERT_EQ(pane().model().rowCount(), 1);
    emit list->doubleClicked(list->model()->index(0, 1));
    EXPECT_EQ(edit(ids::kItemNumber)->text(), "EMPTY-1");
    EXPECT_EQ(edit(ids::kUnitCost)->text(), "3.75");
}

TEST_F(InventoryList, DeleteConfirmsAndAConcurrentChangeReloads) {
    pane().set_last_search_text("*");
    ASSERT_EQ(pane().refresh(), 1);
    auto* list = window->inventory_list();
    int row = pane().model().find_row("NUT");
    list->setCurrentIndex(list->model()->index(row, 0));
    answers = {MsgAnswer::No};
    press_key(list, Qt::Key_Delete);
    EXPECT_TRUE(asked(2));
    EXPECT_EQ(pane().model().rowCount(), 4);

    answers = {MsgAnswer::Yes};
    press_key(list, Qt::Key_Delete);
    EXPECT_EQ(pane().model().rowCount(), 3);
    EXPECT_EQ(pane().model().find_row("NUT"), -1);
    InventoryRecord gone{};
    EXPECT_EQ(api->get_inventory_item("NUT", &gone), 0);

    // Another client changes an item; deleting our stale copy is refused, told, and the list reloads.
    InventoryRecord theirs{};
    ASSERT_EQ(api->get_inventory_item("WIDGET-10", &theirs), 1);
    InventoryRecord changed = theirs;
    set_field(changed.description, "LIME WIDGET");
    ASSERT_EQ(api->update_inventory_item(theirs, changed, "", ""), 1);
    row = pane().model().find_row("WIDGET-10");
    list->setCurrentIndex(list->model()->index(row, 0));
    messages.clear();
    answers = {MsgAnswer::Yes};
    press_key(list, Qt::Key_Delete);
    EXPECT_TRUE(asked(20));
    row = pane().model().find_row("WIDGET-10");
    ASSERT_GE(row, 0);
    EXPECT_EQ(pane().model().cell(row, 1), "LIME WIDGET");
}

TEST_F(InventoryList, RefreshingOneRowAfterASale) {
    ASSERT_EQ(pane().search("*"), 1);
    make_invoice("9001");
    enter_line("2", "WIDGET-2", "RED WIDGET", "10.50", "4.50");
    ASSERT_EQ(ws().copy().line_count, 1);
    const int row = pane().model().find_row("WIDGET-2");
    ASSERT_GE(row, 0);
    EXPECT_EQ(pane().model().cell(row, 4), "10");
    EXPECT_EQ(pane().model().cell(row, 6), "2");
}

}  // namespace
}  // namespace stk::client::testing
