// What the clerk types is what is kept: edits take no more than their fields hold, text is shown as stored,
// amounts that do not fit are refused, and Enter presses the focused button.
#include <QClipboard>
#include <QPushButton>
#include <QTreeView>

#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

using ClerkInput = SaleFixture;

// Pastes `text` into the edit, as Ctrl+V would.
void paste(QLineEdit* e, const QString& text) {
    QApplication::clipboard()->setText(text);
    e->setFocus();
    e->selectAll();
    e->paste();
}

TEST_F(ClerkInput, EditsTakeOnlyWhatTheirFieldsKeepTypedOrPasted) {
    const int index = make_invoice("1101");
    // The note edit: 100 characters typed, 63 shown, 63 stored, the same after a reload.
    const QString hundred = QString("N").repeated(100);
    type_keys(edit(ids::kInvoiceNote), hundred);
    EXPECT_EQ(edit(ids::kInvoiceNote)->text(), hundred.left(63));
    paste(edit(ids::kInvoiceNote), QString("P").repeated(100));
    EXPECT_EQ(edit(ids::kInvoiceNote)->text(), QString("P").repeated(63));
    ASSERT_EQ(ws().reload(), 1);
    EXPECT_EQ(edit(ids::kInvoiceNote)->text(), QString("P").repeated(63));

    // The customer dialog's account number: 63 pasted, 31 shown and kept.
    QString shown;
    customer_dialog = [&](QDialog& d) {
        auto* account = d.findChild<QLineEdit*>("1092");
        paste(account, QString("7").repeated(63));
        shown = account->text();
        paste(d.findChild<QLineEdit*>("1093"), QString("C").repeated(80));
        return static_cast<int>(QDialog::Accepted);
    };
    window->run_command(ids::kAddress);
    EXPECT_EQ(shown, QString("7").repeated(31));
    InvoiceRecord stored{};
    ASSERT_EQ(api->get_invoice(index, &stored), 1);
    EXPECT_EQ(std::string(stored.account_number), std::string(31, '7'));
    EXPECT_EQ(std::string(stored.customer_name), std::string(63, 'C'));
    EXPECT_EQ(edit(ids::kCustomerName)->text(), QString("C").repeated(63));
}

TEST_F(ClerkInput, ASavedFieldShowsTheStoredTextAtOnce) {
    make_invoice("1201");
    // Windows-1252 has no omega: it is stored, and shown, as "?" without waiting for a reload.
    type_keys(edit(ids::kOrderNumber), QString::fromUtf8("A\u03a9\u20ac"));
    EXPECT_EQ(edit(ids::kOrderNumber)->text(), QString::fromUtf8("A?\u20ac"));
    EXPECT_STREQ(ws().copy().order_number, "A?\x80");
    EXPECT_TRUE(copy_is_stored());
    // Typing goes on at the cursor, which the shown text left where it was.
    type_keys(edit(ids::kOrderNumber), "1");
    EXPECT_EQ(edit(ids::kOrderNumber)->text(), QString::fromUtf8("A?\u20ac1"));
}

TEST_F(ClerkInput, AnAmountTooLargeForItsFieldIsRefused) {
    make_invoice("1301");
    enter_line("79228162514264337593543950336", "", "BIG ORDER", "1024.00", "1.00");
    EXPECT_EQ(messages.back(), QString::fromLatin1(text::kAmountTooLarge));
    EXPECT_EQ(count_of(ADD_INVOICE_ITEM), 0);
    EXPECT_EQ(ws().copy().line_count, 0);
    EXPECT_EQ(edit(ids::kDescription)->text(), "BIG ORDER");  // kept, to be put right
    // The largest amount that fits goes on.
    edit(ids::kTaxPercent)->clear();
    enter_line("4951760157141521099596496896", "", "BIG ORDER", "1", "1.00");
    ASSERT_EQ(ws().copy().line_count, 1);
    EXPECT_STREQ(line(1).amount, "4951760157141521099596496896.00");
}

TEST_F(ClerkInput, EnterPressesTheFocusedButtonAndNothingElse) {
    make_invoice("1401");
    edit(ids::kOrderQuantity)->setText("1");
    edit(ids::kDescription)->setText("KEY RING");
    edit(ids::kUnitPrice)->setText("2");
    edit(ids::kUnitCost)->setText("1");
    window->inventory_item_check()->setChecked(false);
    // Enter in an edit adds nothing.
    edit(ids::kUnitCost)->setFocus();
    press_key(edit(ids::kUnitCost), Qt::Key_Return);
    EXPECT_EQ(ws().copy().line_count, 0);

    QPushButton* add = window->button(ids::kAddToInvoice);
    add->setFocus();
    press_key(add, Qt::Key_Return);
    ASSERT_EQ(ws().copy().line_count, 1);
    EXPECT_STREQ(line(1).description, "KEY RING");
    EXPECT_TRUE(edit(ids::kDescription)->text().isEmpty());

    // Keypad Enter on "Clear".
    edit(ids::kRemark)->setText("SCRATCH");
    QPushButton* clear = window->button(ids::kClear);
    clear->setFocus();
    QKeyEvent keypad_enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::sendEvent(clear, &keypad_enter);
    EXPECT_TRUE(edit(ids::kRemark)->text().isEmpty());
    EXPECT_EQ(ws().copy().line_count, 1);
}

}  // namespace
}  // namespace stk::client::testing
