#include <QDir>
#include <QFile>

#include "client/ui/file_picker.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

class PriceSearch : public SaleFixture {
protected:
    void write_price_file(const QString& name, const QByteArray& bytes) {
        ASSERT_TRUE(QDir(data_set.path()).mkpath("Price Files"));
        QFile f(data_set.filePath("Price Files/" + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Answers the picker by activating `rows` in turn while it stays open.
    void pick_rows(std::vector<int> rows) {
        DialogSeam::set_dialog_handler([this, rows](QDialog& d) {
            auto* picker = qobject_cast<FilePicker*>(&d);
            if (!picker) return static_cast<int>(QDialog::Rejected);
            pickers.push_back(picker->windowTitle());
            for (int row : rows) {
                picker->activate(row);
                descriptions.push_back(edit(ids::kDescription)->text());
                if (!picker->chosen().isEmpty()) break;
            }
            return picker->result();
        });
    }
    QStringList pickers, descriptions;
};

TEST_F(PriceSearch, AFileWithoutTheItemEmptiesTheFieldsAndKeepsThePickerAMatchFillsThemAndCloses) {
    write_price_file("Acme Hardware.txt", "ZZ-1\tOTHER\t\t1.00\t0.50\r\n");
    write_price_file("Zenith Supply.txt", "XY-9\tNUT\t\t0.10\t0.05\nAB-12\tHINGE 3IN\tBRASS\t4.95\t2.10\n");
    edit(ids::kItemNumber)->setText("  AB-12 ");
    edit(ids::kDescription)->setText("OLD TEXT");
    edit(ids::kTaxPercent)->setText("7");
    pick_rows({0, 1, 0});

    window->run_command(ids::kSearchPriceFile);
    EXPECT_EQ(pickers, QStringList({"Select a Price File to Search"}));
    // The first file was read but has no AB-12: the four fields are emptied and the picker stays open.
    EXPECT_EQ(descriptions, QStringList({"", "HINGE 3IN"}));
    EXPECT_EQ(edit(ids::kOrderQuantity)->text(), "1");
    EXPECT_EQ(edit(ids::kRemark)->text(), "BRASS");
    EXPECT_EQ(edit(ids::kUnitPrice)->text(), "4.95");
    EXPECT_EQ(edit(ids::kUnitCost)->text(), "2.10");
    EXPECT_EQ(edit(ids::kItemNumber)->text(), "  AB-12 ");
    EXPECT_EQ(edit(ids::kTaxPercent)->text(), "7");  // the tax stays the user's
}

TEST_F(PriceSearch, ATypedOrderQuantityStaysAndAnUnusableLineFillsNothingButEmptiness) {
    write_price_file("Acme Hardware.txt", "AB-12\tHINGE\tBRASS\t4.95\r\n");  // three TABs: no match
    write_price_file("Zenith Supply.txt", "AB-12\tHINGE 3IN\tBRASS\t4.95\t2.10\r\n");
    edit(ids::kItemNumber)->setText("AB-12");
    edit(ids::kOrderQuantity)->setText("3");
    edit(ids::kUnitPrice)->setText("9.99");
    pick_rows({0});
    window->run_command(ids::kSearchPriceFile);
    EXPECT_EQ(edit(ids::kUnitPrice)->text(), "");
    EXPECT_EQ(edit(ids::kOrderQuantity)->text(), "3");

    pick_rows({1});
    window->run_command(ids::kSearchPriceFile);
    EXPECT_EQ(edit(ids::kOrderQuantity)->text(), "3");
    EXPECT_EQ(edit(ids::kUnitPrice)->text(), "4.95");
}

}  // namespace
}  // namespace stk::client::testing
