#include "client/inventory/backorder_fill.h"
#include "tests/client/support/item_dialog_fixture.h"

namespace stk::client::testing {
namespace {

class BackorderFill : public ItemDialogFixture {
protected:
    // An invoice with one line of `quantity` masks, all of it backordered (nothing is in stock).
    int backordered_invoice(const QString& number, const QString& quantity) {
        const int index = make_invoice(number);
        answers = {MsgAnswer::Yes};
        enter_line(quantity, "MASK", "DUST MASKS N95", "19.99", "10.80");
        EXPECT_EQ(field(line(1).backorder_quantity), quantity.toStdString());
        return index;
    }
    std::string backorder_on(int index) {
        InvoiceRecord r{};
        EXPECT_EQ(api->get_invoice(index, &r), 1);
        return std::string(field(r.lines[0].backorder_quantity));
    }
    int questions() const {
        int n = 0;
        for (const QString& m : messages) n += m == string_text(str::kUpdateBackorder);
        return n;
    }
};

TEST_F(BackorderFill, ReceivedStockIsOfferedOncePerBackorderedLineAndTheOfferShrinks) {
    add_stock_item("MASK", "DUST MASKS N95", "19.99", "0", "10.80");
    const int a = backordered_invoice("5001", "3");
    const int b = backordered_invoice("5002", "2");
    const int c = backordered_invoice("5003", "1");

    // Four masks arrive. Yes on the first invoice (it takes 3), No on the second, Yes on the third (it takes
    // the last one), and nothing is left to offer after that.
    select_listed("MASK");
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kNewQuantity, "4");
        set(d, ItemDialog::kNewUnitCost, "11.00");
        press(d, ItemDialog::kOk);
    });
    messages.clear();
    sent.clear();
    answers = {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Yes};
    window->run_command(ids::kCtxEditViewItem);
    EXPECT_EQ(questions(), 3);
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(backorder_on(a), "");
    EXPECT_EQ(backorder_on(b), "2");
    EXPECT_EQ(backorder_on(c), "");
    EXPECT_STREQ(stored("MASK").quantity, "0");
    // The walk leaves the last invoice it filled on screen; the list row shows the stock left.
    EXPECT_EQ(ws().current_index(), c);
    EXPECT_EQ(pane().model().cell(pane().model().find_row("MASK"), 4), "0");
    EXPECT_EQ(texts_of(FIND_BACKORDER).size(), 3u);
    // Each question is asked with its invoice on screen and the line selected.
    ASSERT_TRUE(editor->backorders.show_line(b, 1));
    EXPECT_EQ(ws().current_index(), b);
    EXPECT_EQ(ws().selected_line_row(), 0);

    // An item with no stock offers nothing and asks nothing.
    messages.clear();
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kNote, "REORDERED");
        press(d, ItemDialog::kOk);
    });
    window->run_command(ids::kCtxEditViewItem);
    EXPECT_EQ(questions(), 0);
    EXPECT_STREQ(stored("MASK").note, "REORDERED");
}

TEST_F(BackorderFill, AFillMadeOnlyInTheServersMemoryStillShrinksTheOffer) {
    add_stock_item("MASK", "DUST MASKS N95", "19.99", "0", "10.80");
    const int a = backordered_invoice("5101", "3");
    const int b = backordered_invoice("5102", "2");

    // Four masks arrive; every fill is made but its file write fails (answer 4). The first invoice took 3 of
    // them all the same, so the second is offered the one left, and the stock does not go below 0.
    select_listed("MASK");
    item_steps.push_back([](ItemDialog& d) {
        set(d, ItemDialog::kNewQuantity, "4");
        set(d, ItemDialog::kNewUnitCost, "11.00");
        press(d, ItemDialog::kOk);
    });
    force_result(FILL_BACKORDER, RESULT_SAVE_FAILED, true);
    messages.clear();
    answers = {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::Yes};
    window->run_command(ids::kCtxEditViewItem);
    stop_forcing();
    EXPECT_EQ(questions(), 2);
    EXPECT_EQ(backorder_on(a), "");
    EXPECT_EQ(backorder_on(b), "1");
    EXPECT_STREQ(stored("MASK").quantity, "0");
}

TEST_F(BackorderFill, ALineThatTakesNothingIsPassedBy) {
    add_stock_item("MASK", "DUST MASKS N95", "19.99", "0", "10.80");
    const int a = backordered_invoice("6001", "3");
    const int b = backordered_invoice("6002", "2");

    // The server refuses the first fill and applies nothing on the second: each line is asked about once,
    // and the walk ends after the last invoice rather than asking again.
    std::vector<int> filled;
    BackorderDesk desk;
    desk.show_line = [this](int index, int) { return ws().load_invoice(index, true) == 1; };
    desk.fill = [&](int index, int, const InvoiceLine&, double* applied) {
        filled.push_back(index);
        *applied = 0;
        if (filled.size() > 4) {  // a walk that does not move on: end it here, the expectations tell
            *applied = 100;
            return static_cast<int>(RESULT_OK);
        }
        return static_cast<int>(index == a ? RESULT_FAILED : RESULT_OK);
    };
    InvoiceLine offer{};
    set_field(offer.quantity, "5");
    set_field(offer.item_number, "MASK");
    messages.clear();
    answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    EXPECT_EQ(fill_backorders(*api, desk, window.get(), offer), 0.0);
    EXPECT_EQ(filled, (std::vector<int>{a, b}));
    EXPECT_EQ(questions(), 2);

    // Nothing to offer: no question at all.
    set_field(offer.quantity, "0.00001");
    EXPECT_EQ(fill_backorders(*api, desk, window.get(), offer), 0.0);
    set_field(offer.quantity, "some");
    EXPECT_EQ(fill_backorders(*api, desk, window.get(), offer), 0.0);
    EXPECT_EQ(questions(), 2);
}

}  // namespace
}  // namespace stk::client::testing
