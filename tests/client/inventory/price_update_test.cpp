#include <QDir>
#include <QFile>
#include <QItemSelectionModel>

#include "client/ui/file_picker.h"
#include "tests/client/support/item_dialog_fixture.h"

namespace stk::client::testing {
namespace {

class PriceUpdate : public ItemDialogFixture {
protected:
    void SetUp() override {
        ItemDialogFixture::SetUp();
        if (HasFatalFailure()) return;
        add_stock_item("HM-16", "CLAW HAMMER 16 OZ", "24.99", "14", "13.10");
        add_stock_item("HM-20", "FRAMING HAMMER 20 OZ", "34.50", "6", "19.75");
        add_stock_item("HM-RB", "RUBBER MALLET", "12.95", "9", "5.40");
        add_stock_item("TM-25", "TAPE MEASURE 25 FT", "14.99", "25", "6.20");
        QDir(data_set.path()).mkpath("Price Files");
        QFile f(data_set.filePath("Price Files/westline.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "HM-16\tCLAW HAMMER 16OZ FG\tNEW HANDLE\t25.49\t13.45\r\n"
            "hm-20\tFRAMING HAMMER 20OZ\t\t35.99\t20.10\r\n"
            "HM-RB\tRUBBER MALLET 24OZ\tWHITE\t13.49\t5.55\r\n"
            "TM-25\tTAPE 25FT\tMAGNETIC\t15.49\t6.35\r\n");
        f.close();
        // The picker answers with the file named "westline".
        other_dialog = [this](QDialog& d) {
            auto* picker = qobject_cast<FilePicker*>(&d);
            if (!picker) return -1;
            picker_titles.push_back(picker->windowTitle());
            picker->activate(static_cast<int>(picker->names().indexOf("westline")));
            return picker->result();
        };
        pane().set_last_search_text("HM");
        ASSERT_EQ(pane().refresh(), 1);
        ASSERT_EQ(pane().model().rowCount(), 3);
        pane().sort_by_column(0);  // HM-16, HM-20, HM-RB: the walk goes in list order
    }
    // Selects these rows, in this order of the list.
    void select_rows(std::initializer_list<const char*> numbers) {
        auto* list = window->inventory_list();
        list->clearSelection();
        for (const char* n : numbers)
            list->selectionModel()->select(list->model()->index(pane().model().find_row(n), 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    bool ticked(const char* number) { return pane().model().checked(pane().model().find_row(number)); }

    std::vector<QString> picker_titles;
};

TEST_F(PriceUpdate, CancelInTheSecondOfThreeRowsEndsTheWalk) {
    select_rows({"HM-16", "HM-20", "HM-RB"});
    item_steps.push_back([](ItemDialog& d) {
        // Prices only: the description stays, price and standard unit cost come from the file.
        EXPECT_EQ(text(d, ItemDialog::kCurrentUnitPrice), "24.99");
        EXPECT_EQ(text(d, ItemDialog::kUnitPrice), "25.49");
        EXPECT_EQ(text(d, ItemDialog::kStandardUnitCost), "13.45");
        EXPECT_EQ(text(d, ItemDialog::kDescription), "CLAW HAMMER 16 OZ");
        press(d, ItemDialog::kOk);
    });
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kItemNumber), "HM-20");
        press(d, ItemDialog::kCancel);
    });
    // With several rows selected the menu offers only the two updates.
    EXPECT_EQ(right_click("HM-20", "Update Prices..."),
              QStringList({"Update Prices...", "Update Description(s) and Prices..."}));
    EXPECT_EQ(picker_titles, std::vector<QString>{"Select a Price File to Search"});
    EXPECT_EQ(item_dialogs, 2);
    EXPECT_TRUE(ticked("HM-16"));
    EXPECT_FALSE(ticked("HM-20"));
    EXPECT_FALSE(ticked("HM-RB"));
    EXPECT_STREQ(stored("HM-16").unit_price, "25.49");
    EXPECT_STREQ(stored("HM-16").standard_unit_cost, "13.45");
    EXPECT_STREQ(stored("HM-20").unit_price, "34.50");
    EXPECT_STREQ(stored("HM-RB").unit_price, "12.95");
}

TEST_F(PriceUpdate, AnItemChangedByAnotherTillMeanwhileIsTickedAndTheWalkGoesOn) {
    select_rows({"HM-16", "HM-20"});
    item_steps.push_back([this](ItemDialog& d) {
        // Another till moves the hammer while its dialog is open: string 20, and the list, searched again, now
        // lists the items by stock (HM-20, HM-RB, HM-16) with nothing selected.
        InventoryRecord theirs = stored("HM-16");
        set_field(theirs.location, "AISLE 9");
        ASSERT_EQ(api->update_inventory_item(stored("HM-16"), theirs, "", ""), 1);
        press(d, ItemDialog::kOk);
        EXPECT_TRUE(open(d));
        EXPECT_EQ(pane().model().find_row("HM-16"), 2);
        press(d, ItemDialog::kOk);
        EXPECT_FALSE(open(d));
    });
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kItemNumber), "HM-20");
        press(d, ItemDialog::kOk);
    });
    window->run_command(ids::kCtxUpdatePrices);
    EXPECT_TRUE(asked(str::kItemModified));
    EXPECT_EQ(item_dialogs, 2);
    EXPECT_TRUE(ticked("HM-16"));
    EXPECT_TRUE(ticked("HM-20"));
    EXPECT_FALSE(ticked("HM-RB"));
    EXPECT_STREQ(stored("HM-16").unit_price, "25.49");
    EXPECT_STREQ(stored("HM-20").unit_price, "35.99");
}

TEST_F(PriceUpdate, DescriptionsAndPricesWalkEverySelectedRowTheFileKnows) {
    InventoryRecord gone = stored("HM-20");
    ASSERT_EQ(api->delete_inventory_item(gone), 1);  // the server no longer has it: passed by
    select_rows({"HM-16", "HM-20", "HM-RB"});
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kDescription), "CLAW HAMMER 16OZ FG");
        EXPECT_EQ(text(d, ItemDialog::kRemark), "NEW HANDLE");
        press(d, ItemDialog::kOk);
    });
    item_steps.push_back([](ItemDialog& d) {
        EXPECT_EQ(text(d, ItemDialog::kItemNumber), "HM-RB");
        d.close();  // the close box goes on like OK, without saving
    });
    window->run_command(ids::kCtxUpdateDescriptionsAndPrices);
    EXPECT_EQ(item_dialogs, 2);
    EXPECT_TRUE(ticked("HM-16"));
    EXPECT_FALSE(ticked("HM-20"));
    EXPECT_TRUE(ticked("HM-RB"));
    EXPECT_STREQ(stored("HM-16").description, "CLAW HAMMER 16OZ FG");
    EXPECT_STREQ(stored("HM-RB").description, "RUBBER MALLET");
}

}  // namespace
}  // namespace stk::client::testing
