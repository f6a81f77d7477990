#include <QTreeView>
#include <algorithm>
#include <cstring>

#include "common/dates.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

using SaleRoad = SaleFixture;

TEST_F(SaleRoad, LoadingSendsNoFieldRequestAndHistoryFollowsPreviousNext) {
    const int a = make_invoice("1001");
    const int b = make_invoice("1002");
    const int c = make_invoice("1003");
    ASSERT_TRUE(a != b && b != c && a != c);
    EXPECT_EQ(dialogs.size(), 3u);  // the salesperson is asked for every new invoice
    EXPECT_EQ(ws().history_count(), 3);

    sent.clear();
    ws().previous();
    EXPECT_EQ(ws().current_index(), b);
    EXPECT_EQ(edit(ids::kInvoiceNumber)->text(), "1002");
    EXPECT_EQ(edit(ids::kSalesperson)->text(), "PAT");
    ws().previous();
    EXPECT_EQ(ws().current_index(), a);
    ws().previous();  // at the first entry: stays
    EXPECT_EQ(ws().current_index(), a);
    // Filling every field during a load sends no field request.
    EXPECT_EQ(count_of(SET_INVOICE_FIELD), 0);
    EXPECT_EQ(count_of(GET_INVOICE), 2);

    ws().next();
    EXPECT_EQ(ws().current_index(), b);
    ws().previous();
    // Loading another invoice after going back drops the forward entries; Next then does nothing.
    ASSERT_EQ(ws().load_invoice(c, true), 1);
    EXPECT_EQ(ws().history_count(), 2);
    ws().next();
    EXPECT_EQ(ws().current_index(), c);
    ws().previous();
    EXPECT_EQ(ws().current_index(), a);
    // Loading the invoice that is already current adds no entry.
    ws().load_invoice(a, true);
    EXPECT_EQ(ws().history_top(), 1);
    EXPECT_EQ(ws().history_count(), 2);
    EXPECT_EQ(count_of(SET_INVOICE_FIELD), 0);

    // The copy is the server's record byte for byte.
    InvoiceRecord stored{};
    ASSERT_EQ(api->get_invoice(a, &stored), 1);
    EXPECT_EQ(std::memcmp(&stored, &ws().copy(), sizeof stored), 0);
}

TEST_F(SaleRoad, CashReceivedIsSavedKeystrokeByKeystrokeAndShowsTheServersChange) {
    make_invoice("2001");
    edit(ids::kTaxPercent)->clear();
    enter_line("2", "", "SERVICE CALL", "5", "1.00");
    ASSERT_EQ(ws().copy().line_count, 1);
    EXPECT_EQ(window->total_value()->text(), "10.00");

    // Each keystroke is one request, and the change label shows what the server worked out for it.
    sent.clear();
    QStringList changes;
    for (QChar c : QString("12.5")) {
        type_keys(edit(ids::kCashReceived), QString(c));
        changes << window->change_value()->text();
    }
    EXPECT_EQ(texts_of(SET_INVOICE_FIELD), (std::vector<std::string>{"1", "12", "12.", "12.5"}));
    EXPECT_EQ(changes, (QStringList{"-9.00", "2.00", "2.00", "2.50"}));
    EXPECT_STREQ(ws().copy().change, "2.50");
    EXPECT_TRUE(messages.empty());
    // Taking a character back is a change like any other.
    press_key(edit(ids::kCashReceived), Qt::Key_Backspace);
    press_key(edit(ids::kCashReceived), Qt::Key_Backspace);
    EXPECT_EQ(texts_of(SET_INVOICE_FIELD).back(), "12");
    EXPECT_EQ(window->change_value()->text(), "2.00");

    // The copy kept up with the server through every keystroke: the next change is accepted too.
    type_keys(edit(ids::kOrderNumber), "P");
    EXPECT_FALSE(asked(19));
    InvoiceRecord stored{};
    ASSERT_EQ(api->get_invoice(ws().current_index(), &stored), 1);
    EXPECT_EQ(std::memcmp(&stored, &ws().copy(), sizeof stored), 0);
    EXPECT_STREQ(stored.cash_received, "12");
    EXPECT_STREQ(stored.order_number, "P");
}

TEST_F(SaleRoad, BackorderRuleAsksForTheShortage) {
    add_stock_item("WIDGET", "BLUE WIDGET", "9.99", "3", "4.00");
    make_invoice("3001");

    answers = {MsgAnswer::Yes};
    enter_line("5", "WIDGET", "BLUE WIDGET", "9.99", "4.00");
    ASSERT_EQ(ws().copy().line_count, 1);
    EXPECT_TRUE(asked(23));
    EXPECT_STREQ(line(1).backorder_quantity, "2");
    EXPECT_STREQ(line(1).amount, "49.95");
    EXPECT_EQ(count_of(GET_INVENTORY_ITEM) >= 1, true);
    // The entry fields were cleared after the line went on.
    EXPECT_TRUE(edit(ids::kItemNumber)->text().isEmpty());

    // Stock covers it: nothing asked, the typed backorder stays.
    add_stock_item("BOLT", "HEX BOLT", "0.25", "100", "0.05");
    messages.clear();
    edit(ids::kBackorderQuantity)->setText("1");
    enter_line("5", "BOLT", "HEX BOLT", "0.25", "0.05");
    EXPECT_FALSE(asked(23));
    EXPECT_STREQ(line(2).backorder_quantity, "1");

    // No to the question: no backorder.
    messages.clear();
    answers = {MsgAnswer::No};
    enter_line("9", "WIDGET", "BLUE WIDGET", "9.99", "4.00");
    EXPECT_TRUE(asked(23));
    EXPECT_STREQ(line(3).backorder_quantity, "");

    // A backorder larger than the quantity is refused before anything is sent.
    messages.clear();
    const int adds = count_of(ADD_INVOICE_ITEM);
    edit(ids::kBackorderQuantity)->setText("7");
    enter_line("5", "", "FREE TEXT", "1", "1");
    EXPECT_TRUE(asked(28));
    EXPECT_EQ(count_of(ADD_INVOICE_ITEM), adds);

    // The list shows the stored lines, with their flags.
    auto* list = window->invoice_lines();
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(list->model()->index(0, 2).data().toString(), "WIDGET");
}

TEST_F(SaleRoad, ZeroCostAsksForTaxAndLaborGetsItsClaimNumber) {
    const int index = make_invoice("4001");
    answers = {MsgAnswer::No};
    enter_line("1", "", "GIFT WRAP", "0", "0.00");
    EXPECT_TRUE(asked(18));
    EXPECT_STREQ(line(1).tax_percent, "");
    EXPECT_STREQ(line(1).unit_price, "0.00");

    messages.clear();
    enter_line("1", "", "CABLE", "3", "1.00");
    EXPECT_FALSE(asked(18));
    EXPECT_STREQ(line(2).tax_percent, "8.25");

    // An empty tax edit never asks.
    messages.clear();
    enter_line("1", "", "SAMPLE", "0", "0");
    edit(ids::kTaxPercent)->clear();
    enter_line("1", "", "SAMPLE", "0", "0");
    EXPECT_EQ(std::count(messages.begin(), messages.end(), string_text(18)), 1);

    ws().millisecond_clock = [] { return 123; };
    enter_line("2", "", "LABOR 1 HOUR", "45", "20");
    EXPECT_EQ(std::string(line(ws().copy().line_count).note),
              today() + " Claim Number: " + std::to_string(index) + "-123");
    EXPECT_STREQ(line(1).note, today().c_str());
}

TEST_F(SaleRoad, ThirteenthLineGoesToANewInvoiceForTheSameCustomer) {
    const int first = make_invoice("5001");
    edit(ids::kCustomerName)->setText("ACME TOOLS");
    edit(ids::kPhoneNumber)->setText("555-0100");
    for (int i = 1; i <= 12; ++i) enter_line("1", "", QString("PART %1").arg(i), "2", "1");
    ASSERT_EQ(ws().copy().line_count, 12);
    dialogs.clear();
    sent.clear();
    salesperson = "LEE";

    enter_line("1", "", "PART 13", "2", "1");
    EXPECT_EQ(dialogs, (std::vector<QString>{"Enter Your Identification"}));
    // The new invoice gets its salesperson and then the customer before the line goes on.
    auto position = [&](int opcode, const std::string& text) {
        for (std::size_t i = 0; i < sent.size(); ++i)
            if (sent[i].opcode == opcode && (text.empty() || sent[i].text == text)) return static_cast<int>(i);
        return -1;
    };
    const int named = position(SET_INVOICE_FIELD, "LEE");
    const int customer = position(SET_INVOICE_CUSTOMER, "");
    const int added = position(ADD_INVOICE_ITEM, "");
    EXPECT_LT(position(NEW_INVOICE, ""), named);
    EXPECT_GE(named, 0);
    EXPECT_LT(named, customer);
    EXPECT_LT(customer, added);
    EXPECT_NE(ws().current_index(), first);
    EXPECT_EQ(ws().copy().line_count, 1);
    EXPECT_STREQ(ws().copy().lines[0].description, "PART 13");
    EXPECT_STREQ(ws().copy().customer_name, "ACME TOOLS");
    EXPECT_STREQ(ws().copy().customer_phone_number, "555-0100");
    EXPECT_STREQ(ws().copy().salesperson, "LEE");
    EXPECT_EQ(edit(ids::kCustomerName)->text(), "ACME TOOLS");
    EXPECT_EQ(ws().history_entry(ws().history_top()), ws().current_index());

    InvoiceRecord full{};
    ASSERT_EQ(api->get_invoice(first, &full), 1);
    EXPECT_EQ(full.line_count, 12);
}

TEST_F(SaleRoad, AnotherClientsChangeIsRefusedReportedAndReloaded) {
    const int index = make_invoice("6001");
    ServerApi other = server.make_api();
    InvoiceRecord theirs{};
    ASSERT_EQ(other.get_invoice(index, &theirs), 1);
    ASSERT_EQ(other.set_invoice_field(index, FIELD_ORDER_NUMBER, "PO-77", theirs), 1);

    enter_line("1", "", "LATE CHANGE", "3", "1");
    EXPECT_TRUE(asked(19));
    EXPECT_EQ(ws().copy().line_count, 0);
    EXPECT_EQ(edit(ids::kOrderNumber)->text(), "PO-77");

    // After the reload the copy is current again and changes go through.
    messages.clear();
    enter_line("1", "", "RETRY", "3", "1");
    EXPECT_FALSE(asked(19));
    EXPECT_EQ(ws().copy().line_count, 1);
}

TEST_F(SaleRoad, CashOnANamedCustomerAddsOneContactOnce) {
    make_invoice("7001");
    enter_line("1", "", "REPAIR", "20", "5");
    edit(ids::kCustomerName)->setText("JO BLOGGS");
    edit(ids::kPhoneNumber)->setText("555-0199");

    QComboBox* payment = window->payment_list();
    payment->setCurrentIndex(PAYMENT_CASH);
    emit payment->activated(PAYMENT_CASH);
    EXPECT_EQ(ws().copy().payment, PAYMENT_CASH);
    EXPECT_EQ(window->status_list()->currentIndex(), 1);  // paid invoices are complete
    ASSERT_EQ(contact_list.size(), 1u);
    EXPECT_STREQ(contact_list[0].customer_name, "JO BLOGGS");
    EXPECT_EQ(contact_saves, 1);

    emit payment->activated(PAYMENT_CASH);
    EXPECT_EQ(contact_list.size(), 1u);
    EXPECT_EQ(contact_saves, 1);

    // A paid invoice asks before a line is added; No leaves it alone.
    answers = {MsgAnswer::No};
    enter_line("1", "", "EXTRA", "1", "1");
    EXPECT_TRUE(asked(8));
    EXPECT_EQ(ws().copy().line_count, 1);
}

TEST_F(SaleRoad, PaymentAsksForAMissingSalespersonFirst) {
    salesperson = "";
    make_invoice("7101");
    ASSERT_STREQ(ws().copy().salesperson, "");
    dialogs.clear();
    sent.clear();
    salesperson = "KIM";
    QComboBox* payment = window->payment_list();
    payment->setCurrentIndex(PAYMENT_CHECK);
    emit payment->activated(PAYMENT_CHECK);
    EXPECT_EQ(dialogs, (std::vector<QString>{"Enter Your Identification"}));
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0].opcode, SET_INVOICE_FIELD);
    EXPECT_EQ(sent[0].text, "KIM");
    EXPECT_EQ(ws().copy().payment, PAYMENT_CHECK);
    EXPECT_STREQ(ws().copy().salesperson, "KIM");
    // No name and phone number: no contact.
    EXPECT_TRUE(contact_list.empty());
    EXPECT_EQ(contact_saves, 0);
    // The inventory list is searched again, as sales figures move with payment.
    EXPECT_GE(count_of(SEARCH_INVENTORY), 1);

    // With a salesperson on the invoice nothing is asked.
    dialogs.clear();
    emit payment->activated(PAYMENT_UNPAID);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(ws().copy().payment, PAYMENT_UNPAID);
}

TEST_F(SaleRoad, FillingABackorderReportsWhatWasAppliedOrReloads) {
    add_stock_item("PUMP", "SUMP PUMP", "120.00", "0", "60.00");
    const int index = make_invoice("7201");
    answers = {MsgAnswer::Yes};
    enter_line("3", "PUMP", "SUMP PUMP", "120.00", "60.00");
    ASSERT_STREQ(line(1).backorder_quantity, "3");

    InvoiceLine delivered{};
    set_field(delivered.quantity, "2");
    set_field(delivered.item_number, "PUMP");
    set_field(delivered.unit_cost, "60.00");
    double filled = 0;
    int result = -1;
    messages.clear();
    ASSERT_EQ(ws().fill_backorder(index, 1, delivered, &filled, &result), 1);
    EXPECT_EQ(result, RESULT_OK);
    EXPECT_EQ(filled, 2.0);
    EXPECT_TRUE(messages.empty());

    // Our copy is now behind the server: string 19 and a reload that shows the smaller backorder.
    ASSERT_EQ(ws().fill_backorder(index, 1, delivered, &filled, &result), 0);
    EXPECT_EQ(result, RESULT_CHANGED);
    EXPECT_TRUE(asked(19));
    EXPECT_STREQ(line(1).backorder_quantity, "1");

    // A refused fill (no such line) reloads that invoice and says so with string 38.
    messages.clear();
    EXPECT_EQ(ws().fill_backorder(index, 5, delivered, &filled, &result), 0);
    EXPECT_EQ(result, RESULT_FAILED);
    EXPECT_TRUE(asked(38));
    EXPECT_FALSE(asked(19));
}

TEST_F(SaleRoad, RemovingALineAsksToReturnTheDeliveredPartToStock) {
    add_stock_item("GEAR", "SMALL GEAR", "3.00", "10", "1.00");
    make_invoice("8001");
    enter_line("4", "GEAR", "SMALL GEAR", "3.00", "1.00");
    enter_line("2", "", "NOTE LINE", "1", "1");
    ASSERT_EQ(ws().copy().line_count, 2);

    auto* list = window->invoice_lines();
    list->setCurrentIndex(list->model()->index(0, 0));
    answers = {MsgAnswer::Yes, MsgAnswer::Yes};  // string 2, then string 9
    ws().delete_selected_line();
    EXPECT_TRUE(asked(2));
    EXPECT_TRUE(asked(9));
    ASSERT_EQ(ws().copy().line_count, 1);
    EXPECT_STREQ(ws().copy().lines[0].description, "NOTE LINE");
    InventoryRecord gear{};
    ASSERT_EQ(api->get_inventory_item("GEAR", &gear), 1);
    EXPECT_STREQ(gear.quantity, "10");

    // The copy still equals the stored record, the stale last slot included.
    InvoiceRecord stored{};
    ASSERT_EQ(api->get_invoice(ws().current_index(), &stored), 1);
    EXPECT_EQ(std::memcmp(&stored, &ws().copy(), sizeof stored), 0);

    // Enter on a line copies it to the entry fields and sends nothing; a mere selection copies nothing.
    sent.clear();
    window->inventory_item_check()->setChecked(false);
    list->setCurrentIndex(list->model()->index(0, 0));
    EXPECT_TRUE(edit(ids::kDescription)->text().isEmpty());
    press_key(list, Qt::Key_Return);
    EXPECT_EQ(edit(ids::kDescription)->text(), "NOTE LINE");
    EXPECT_EQ(edit(ids::kOrderQuantity)->text(), "2");
    EXPECT_EQ(edit(ids::kUnitCost)->text(), "1.00");
    EXPECT_EQ(edit(ids::kTaxPercent)->text(), "8.25");
    EXPECT_TRUE(window->inventory_item_check()->isChecked());
    EXPECT_TRUE(sent.empty());
}

TEST_F(SaleRoad, CustomerDialogClearCustomerAndStatus) {
    make_invoice("8501");
    customer_dialog = [](QDialog& d) {
        d.findChild<QLineEdit*>("1092")->setText("  AC-9  ");
        d.findChild<QLineEdit*>("1093")->setText("ROSA DIAZ");
        d.findChild<QLineEdit*>("1094")->setText("555-0123");
        d.findChild<QLineEdit*>("1096")->setText("SPRINGFIELD");
        return static_cast<int>(QDialog::Accepted);
    };
    window->run_command(ids::kAddress);
    EXPECT_STREQ(ws().copy().account_number, "AC-9");  // trimmed
    EXPECT_STREQ(ws().copy().customer_city, "SPRINGFIELD");
    EXPECT_EQ(edit(ids::kCustomerName)->text(), "ROSA DIAZ");

    // Cancel sends nothing.
    customer_dialog = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
    sent.clear();
    window->run_command(ids::kAddress);
    EXPECT_EQ(count_of(SET_INVOICE_CUSTOMER), 0);

    // Emptying the customer name asks string 36; Yes clears every customer field.
    answers = {MsgAnswer::Yes};
    edit(ids::kCustomerName)->clear();
    EXPECT_TRUE(asked(36));
    EXPECT_STREQ(ws().copy().customer_name, "");
    EXPECT_STREQ(ws().copy().customer_city, "");
    EXPECT_STREQ(ws().copy().account_number, "");
    EXPECT_EQ(edit(ids::kPhoneNumber)->text(), "");

    // Status: stored locally without a reload, and the copy stays the server's.
    QComboBox* status = window->status_list();
    status->setCurrentIndex(STATUS_COMPLETE);
    sent.clear();
    emit status->activated(STATUS_COMPLETE);
    EXPECT_EQ(ws().copy().status, STATUS_COMPLETE);
    EXPECT_EQ(count_of(GET_INVOICE), 0);
    InvoiceRecord stored{};
    ASSERT_EQ(api->get_invoice(ws().current_index(), &stored), 1);
    EXPECT_EQ(std::memcmp(&stored, &ws().copy(), sizeof stored), 0);
}

}  // namespace
}  // namespace stk::client::testing
