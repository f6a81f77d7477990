// The screen shows what the server holds after every answer other than a plain success, and after none.
// Answers are forced through the request layer's relay, as a relay between client and server would.
#include <signal.h>

#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "client/app/wait_dialog.h"
#include "client/invoice/invoice_item_dialog.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

class ServerAnswers : public SaleFixture {
protected:
    bool told(const char* text) const {
        return std::find(messages.begin(), messages.end(), QString::fromLatin1(text)) != messages.end();
    }
    int stored_line_count() {
        InvoiceRecord stored{};
        return api->get_invoice(ws().current_index(), &stored) == RESULT_OK ? stored.line_count : -1;
    }
    void choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
};

TEST_F(ServerAnswers, AnAddAnsweredFourShowsTheLineClearsTheEntryFieldsAndAddsNothingTwice) {
    make_invoice("9001");
    force_result(ADD_INVOICE_ITEM, RESULT_SAVE_FAILED, true);
    enter_line("2", "", "HOSE CLAMP", "1.50", "0.50");
    EXPECT_TRUE(told(text::kChangeNotSaved));
    EXPECT_EQ(ws().copy().line_count, 1);
    EXPECT_EQ(window->invoice_lines()->model()->rowCount(), 1);
    EXPECT_EQ(window->total_value()->text(), "3.25");  // with 8.25 % tax
    EXPECT_TRUE(copy_is_stored());
    EXPECT_TRUE(edit(ids::kDescription)->text().isEmpty());

    // Pressing "Add to Invoice" again finds the entry fields empty; the line is on the invoice once.
    stop_forcing();
    window->run_command(ids::kAddToInvoice);
    EXPECT_TRUE(asked(str::kEnterDescriptionAndCost));
    EXPECT_EQ(stored_line_count(), 1);
    // The next change is made against a current copy: no false string 19.
    type_keys(edit(ids::kOrderNumber), "Q");
    EXPECT_FALSE(asked(str::kInvoiceModified));
    EXPECT_STREQ(ws().copy().order_number, "Q");
}

TEST_F(ServerAnswers, EveryOtherChangeAnsweredFourIsReportedAndReloaded) {
    make_invoice("9101");
    enter_line("1", "", "FILTER", "4", "2");
    customer_dialog = [](QDialog& d) {
        d.findChild<QLineEdit*>("1093")->setText("MAE BROWN");
        return static_cast<int>(QDialog::Accepted);
    };
    struct Change {
        const char* what;
        int opcode;
        std::function<void()> make;
        std::function<bool()> shown;
    };
    const Change changes[] = {
        {"field", SET_INVOICE_FIELD, [&] { type_keys(edit(ids::kOrderNumber), "Z"); },
         [&] { return edit(ids::kOrderNumber)->text() == "Z"; }},
        {"payment", SET_INVOICE_PAYMENT, [&] { choose(window->payment_list(), PAYMENT_CHECK); },
         [&] { return window->payment_list()->currentIndex() == PAYMENT_CHECK; }},
        {"status", SET_INVOICE_STATUS, [&] { choose(window->status_list(), STATUS_INCOMPLETE); },
         [&] { return window->status_list()->currentIndex() == STATUS_INCOMPLETE; }},
        {"customer", SET_INVOICE_CUSTOMER, [&] { window->run_command(ids::kAddress); },
         [&] { return edit(ids::kCustomerName)->text() == "MAE BROWN"; }},
        {"line", REPLACE_INVOICE_ITEM,
         [&] {
             other_dialog = [](QDialog& d) {
                 auto& item = static_cast<InvoiceItemDialog&>(d);
                 item.edit(InvoiceItemDialog::kRemark)->setText("BENT");
                 item.button(InvoiceItemDialog::kOk)->click();
                 return item.result();
             };
             window->invoice_lines()->setCurrentIndex(window->invoice_lines()->model()->index(0, 0));
             answers = {MsgAnswer::Yes};  // string 8: the invoice is paid by now
             window->run_command(ids::kCtxEditLine);
         },
         [&] { return window->invoice_lines()->model()->index(0, 4).data().toString() == "BENT"; }},
        {"remove", REMOVE_INVOICE_ITEM,
         [&] {
             window->invoice_lines()->setCurrentIndex(window->invoice_lines()->model()->index(0, 0));
             answers = {MsgAnswer::Yes};  // string 8: the invoice is paid by now
             ws().delete_selected_line();
         },
         [&] { return window->invoice_lines()->model()->rowCount() == 0; }},
    };
    for (const Change& c : changes) {
        messages.clear();
        force_result(c.opcode, RESULT_SAVE_FAILED, true);
        c.make();
        stop_forcing();
        EXPECT_TRUE(told(text::kChangeNotSaved)) << c.what;
        EXPECT_TRUE(c.shown()) << c.what;
        EXPECT_TRUE(copy_is_stored()) << c.what;
    }
    // After all of them the copy is current: the next change is accepted.
    messages.clear();
    type_keys(edit(ids::kOrderNumber), "9");
    EXPECT_FALSE(asked(str::kInvoiceModified));
    EXPECT_STREQ(ws().copy().order_number, "Z9");
}

TEST_F(ServerAnswers, ANewInvoiceAnsweredFourIsShownAndNotReportedAsImpossible) {
    const int before = make_invoice("9151");
    force_result(NEW_INVOICE, RESULT_SAVE_FAILED, true);
    window->run_command(ids::kMenuNewInvoice);
    stop_forcing();
    EXPECT_TRUE(told(text::kChangeNotSaved));
    EXPECT_FALSE(asked(str::kCheckServer));
    EXPECT_NE(ws().current_index(), before);
    EXPECT_EQ(ws().history_top(), 2);
    EXPECT_EQ(edit(ids::kSalesperson)->text(), "PAT");  // asked for, as on any new invoice
    EXPECT_TRUE(copy_is_stored());
}

TEST_F(ServerAnswers, ARefusedPaymentOrStatusShowsWhatIsStored) {
    make_invoice("9201");
    force_result(SET_INVOICE_PAYMENT, RESULT_FAILED, false);
    force_result(SET_INVOICE_STATUS, RESULT_FAILED, false);
    choose(window->payment_list(), PAYMENT_CREDIT_CARD);
    EXPECT_EQ(window->payment_list()->currentIndex(), PAYMENT_UNPAID);
    choose(window->status_list(), STATUS_COMPLETE);
    EXPECT_EQ(window->status_list()->currentIndex(), STATUS_INCOMPLETE);
    EXPECT_EQ(window->focusWidget(), window->status_list());
    stop_forcing();
    EXPECT_TRUE(copy_is_stored());
}

TEST_F(ServerAnswers, ALineThatCannotBeFetchedAfterItWasAddedIsShownByAReload) {
    make_invoice("9301");
    force_result(GET_INVOICE_ITEM, RESULT_FAILED, false);
    enter_line("3", "", "WASHER", "0.20", "0.05");
    stop_forcing();
    EXPECT_EQ(window->invoice_lines()->model()->rowCount(), 1);
    EXPECT_TRUE(copy_is_stored());
    EXPECT_TRUE(edit(ids::kDescription)->text().isEmpty());
}

TEST_F(ServerAnswers, HistoryMovesOnlyWithTheInvoiceShown) {
    const int a = make_invoice("9401");
    const int b = make_invoice("9402");
    force_result(GET_INVOICE, RESULT_FAILED, false);
    ws().previous();
    EXPECT_EQ(ws().history_top(), 2);
    EXPECT_EQ(ws().current_index(), b);
    EXPECT_EQ(edit(ids::kInvoiceNumber)->text(), "9402");
    stop_forcing();
    ws().previous();
    EXPECT_EQ(ws().history_top(), 1);
    EXPECT_EQ(ws().current_index(), a);
    force_result(GET_INVOICE, RESULT_FAILED, false);
    ws().next();
    EXPECT_EQ(ws().history_top(), 1);
    EXPECT_EQ(edit(ids::kInvoiceNumber)->text(), "9401");
}

TEST_F(ServerAnswers, ALineWhoseAnswerNeverCameIsShownAndNotAddedAgainUnseen) {
    make_invoice("9601");
    force_result(ADD_INVOICE_ITEM, kTransportFailed, true);  // made by the server, its answer lost
    enter_line("2", "", "GARDEN HOSE", "12", "6", false);
    stop_forcing();
    EXPECT_TRUE(ws().copy_unknown());
    EXPECT_EQ(edit(ids::kDescription)->text(), "GARDEN HOSE");  // the client cannot know it was added

    // Pressed again, the button shows the line the server holds and says why nothing more was added.
    window->run_command(ids::kAddToInvoice);
    EXPECT_TRUE(told(text::kInvoiceReloadedAfterNoAnswer));
    EXPECT_EQ(stored_line_count(), 1);
    EXPECT_EQ(window->invoice_lines()->model()->rowCount(), 1);
    EXPECT_TRUE(copy_is_stored());
}

TEST_F(ServerAnswers, AnAnswerThatNeverCameIsWaitedForVisiblyAndTheNextKeystrokeIsKept) {
    const int index = make_invoice("9501");
    install_wait_dialog(*api, &session().settings);
    api->answer_notice_ms = 100;
    api->read_timeout_ms = 1500;
    int waits = 0;
    bool responsive = false;
    other_dialog = [&](QDialog& d) {
        ++waits;
        EXPECT_TRUE(d.findChild<QLabel*>("control1111")
                        ->property("raw_text")
                        .toString()
                        .startsWith("Waiting for Stockavelle Server to answer.\r\n"));
        // The client runs its event loop while it waits: a timer of the window still fires.
        QTimer::singleShot(20, window.get(), [&] { responsive = true; });
        return d.exec();
    };
    const qint64 pid = server.pid();
    struct Resume {
        qint64 pid;
        ~Resume() { ::kill(static_cast<pid_t>(pid), SIGCONT); }
    } resume{pid};

    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGSTOP), 0);
    type_keys(edit(ids::kOrderNumber), "A");
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(responsive);
    EXPECT_TRUE(ws().copy_unknown());

    // Resumed, the server carries out the request it was sent while paused, as the one that timed out.
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGCONT), 0);
    ServerApi other = server.make_api();
    EXPECT_TRUE(wait_for([&] {
        InvoiceRecord r{};
        return other.get_invoice(index, &r) == RESULT_OK && std::string(r.order_number) == "A";
    }));

    // The next keystroke reloads first, so it is neither refused as another user's change nor lost.
    type_keys(edit(ids::kOrderNumber), "B");
    EXPECT_FALSE(asked(str::kInvoiceModified));
    EXPECT_EQ(edit(ids::kOrderNumber)->text(), "AB");
    EXPECT_STREQ(ws().copy().order_number, "AB");
    EXPECT_TRUE(copy_is_stored());
    EXPECT_EQ(waits, 1);
}

}  // namespace
}  // namespace stk::client::testing
