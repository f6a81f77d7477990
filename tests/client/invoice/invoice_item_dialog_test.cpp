#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <cstring>

#include "client/invoice/invoice_item_dialog.h"
#include "client/invoice/invoice_lines_model.h"
#include "common/dates.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

using D = InvoiceItemDialog;

class InvoiceItemEdit : public SaleFixture {
protected:
    // One invoice with a line of 3 WIDGETs at 5.00 (cost 2.00), not from stock.
    void SetUp() override {
        SaleFixture::SetUp();
        make_invoice("7001");
        enter_line("3", "", "WIDGET", "5", "2.00", false);
        ASSERT_EQ(ws().copy().line_count, 1);
        // The dialog is answered by `typing`, which presses OK as often as it likes.
        DialogSeam::set_dialog_handler([this](QDialog& d) {
            dialogs.push_back(d.windowTitle());
            auto* item = qobject_cast<D*>(&d);
            if (!item || !typing) return static_cast<int>(QDialog::Rejected);
            typing(*item);
            return item->result();
        });
        sent.clear();
        messages.clear();
        dialogs.clear();
    }
    // Opens "Edit/View..." on the first line, types and presses OK.
    void edit_first_line(std::function<void(D&)> type) {
        typing = [type](D& d) {
            type(d);
            d.button(D::kOk)->click();
        };
        window->invoice_lines()->setCurrentIndex(ws().lines_model().index(0, 0));
        window->run_command(ids::kCtxEditLine);
    }
    static void set(D& d, int id, const QString& text) { d.edit(id)->setText(text); }
    // The client's copy is the server's record, byte for byte.
    void expect_copy_is_stored() {
        InvoiceRecord stored{};
        ASSERT_EQ(api->get_invoice(ws().current_index(), &stored), 1);
        EXPECT_EQ(std::memcmp(&stored, &ws().copy(), sizeof stored), 0);
    }

    std::function<void(D&)> typing;
};

TEST_F(InvoiceItemEdit, TheDialogShowsTheLineAndOkReplacesItEverywhere) {
    InvoiceItemEntry shown;
    edit_first_line([&](D& d) {
        shown = d.entry();
        set(d, D::kUnitPrice, "1.5");
        set(d, D::kUnitCost, " 2.5 ");
        set(d, D::kRemark, "  BLUE ");
    });
    EXPECT_EQ(shown.description, "WIDGET");
    EXPECT_EQ(shown.unit_price, "5.00");
    EXPECT_EQ(shown.note, today());
    EXPECT_FALSE(shown.ordered);

    // Price and cost in cents, the amount worked out again, the blanks gone.
    EXPECT_STREQ(line(1).unit_price, "1.50");
    EXPECT_STREQ(line(1).unit_cost, "2.50");
    EXPECT_STREQ(line(1).amount, "4.50");
    EXPECT_STREQ(line(1).remark, "BLUE");
    EXPECT_STREQ(line(1).quantity, "3");
    // The row, its warning mark (sold below cost now) and the totals follow.
    EXPECT_EQ(ws().lines_model().cell(0, 5), "1.50");
    EXPECT_EQ(line_flag(line(1)), 1);
    EXPECT_EQ(window->subtotal_value()->text(), "4.50");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].opcode, REPLACE_INVOICE_ITEM);
    EXPECT_EQ(sent[1].opcode, GET_INVOICE_TOTALS);
    EXPECT_TRUE(messages.empty());
    expect_copy_is_stored();
}

TEST_F(InvoiceItemEdit, PriceAndAmountAreCentsOnlyWhenThePriceIsANumber) {
    edit_first_line([](D& d) { set(d, D::kUnitPrice, "5"); });
    EXPECT_STREQ(line(1).unit_price, "5.00");
    EXPECT_STREQ(line(1).amount, "15.00");

    edit_first_line([](D& d) {
        set(d, D::kUnitPrice, "call");
        set(d, D::kUnitCost, "tbd");
    });
    EXPECT_STREQ(line(1).unit_price, "call");
    EXPECT_STREQ(line(1).amount, "call");
    EXPECT_STREQ(line(1).unit_cost, "tbd");
    expect_copy_is_stored();
}

TEST_F(InvoiceItemEdit, TickingOrderedStampsTheNoteOnceAndUntickingKeepsTheStamp) {
    // An empty note gets " Ordered " and today.
    edit_first_line([](D& d) {
        set(d, D::kNote, "");
        d.ordered()->setChecked(true);
    });
    EXPECT_EQ(line(1).ordered, 1);
    EXPECT_EQ(std::string(line(1).note), " Ordered " + today());

    // A note that says so already, in any case, is left alone.
    edit_first_line([](D& d) {
        EXPECT_TRUE(d.ordered()->isChecked());
        set(d, D::kNote, "ordered 01/02/2004");
    });
    EXPECT_STREQ(line(1).note, "ordered 01/02/2004");

    // Unticked: not ordered, the note as it is.
    edit_first_line([](D& d) {
        set(d, D::kNote, "CALL FRED Ordered 01/02/2004");
        d.ordered()->setChecked(false);
    });
    EXPECT_EQ(line(1).ordered, 0);
    EXPECT_STREQ(line(1).note, "CALL FRED Ordered 01/02/2004");

    // A long note gives way to the stamp, which is what the tick is for.
    edit_first_line([](D& d) {
        set(d, D::kNote, QString(63, 'N'));
        d.ordered()->setChecked(true);
    });
    EXPECT_EQ(std::string(line(1).note), std::string(44, 'N') + " Ordered " + today());
    expect_copy_is_stored();
}

TEST_F(InvoiceItemEdit, ABackorderAboveTheQuantityAnEmptyDescriptionOrAnOversizedAmountKeepsTheDialogOpen) {
    int oks = 0;
    edit_first_line([&](D& d) {
        set(d, D::kBackorder, "4");
        d.button(D::kOk)->click();
        ++oks;
        EXPECT_TRUE(asked(str::kBackorderOverQuantity));
        EXPECT_FALSE(d.result() == QDialog::Accepted);
        // Blanks are no description: the server would refuse the line.
        set(d, D::kBackorder, "SOME");
        set(d, D::kDescription, "   ");
        d.button(D::kOk)->click();
        ++oks;
        EXPECT_TRUE(asked(str::kEnterDescriptionAndCost));
        set(d, D::kDescription, "WIDGET, LARGE");
        // The price fits, but 3 of it is an amount no field holds whole: cut, it would be another number.
        set(d, D::kUnitPrice, "4951760157141521099596496896");
        d.button(D::kOk)->click();
        ++oks;
        EXPECT_EQ(messages.back(), QString::fromLatin1(text::kAmountTooLarge));
        EXPECT_FALSE(d.result() == QDialog::Accepted);
        set(d, D::kUnitPrice, "5");
    });
    EXPECT_EQ(oks, 3);
    ASSERT_EQ(count_of(REPLACE_INVOICE_ITEM), 1);      // only the last OK was sent
    EXPECT_STREQ(line(1).backorder_quantity, "SOME");  // no number: taken as typed
    EXPECT_STREQ(line(1).description, "WIDGET, LARGE");
}

TEST_F(InvoiceItemEdit, APaidInvoiceAsksFirstAndAnotherUsersChangeReloads) {
    ASSERT_EQ(ws().change_payment(1), 1);  // CASH
    messages.clear();
    dialogs.clear();
    answers = {MsgAnswer::No};
    edit_first_line([](D& d) { set(d, D::kRemark, "NEVER"); });
    EXPECT_TRUE(asked(str::kInvoicePaidModify));
    EXPECT_TRUE(dialogs.empty());

    // Someone else changes the invoice while this client shows it.
    ASSERT_EQ(api->set_invoice_field(ws().current_index(), 406, "CHANGED ELSEWHERE", ws().copy()), 1);
    messages.clear();
    answers = {MsgAnswer::Yes};
    edit_first_line([](D& d) { set(d, D::kRemark, "LOST"); });
    EXPECT_TRUE(asked(str::kInvoiceModified));
    EXPECT_STREQ(line(1).remark, "");
    EXPECT_EQ(edit(ids::kInvoiceNote)->text(), "CHANGED ELSEWHERE");
    expect_copy_is_stored();
}

TEST_F(InvoiceItemEdit, TheLinesMenuOffersEditAndDeleteOnARow) {
    QStringList offered;
    DialogSeam::set_menu_handler([&](QMenu& menu) -> QAction* {
        for (QAction* a : menu.actions()) offered << (a->isSeparator() ? "-" : a->text());
        return menu.actions().front();
    });
    typing = [](D& d) { d.reject(); };
    QTreeView* list = window->invoice_lines();
    emit list->customContextMenuRequested(list->visualRect(ws().lines_model().index(0, 3)).center());
    EXPECT_EQ(offered, QStringList({"Edit/View...", "-", "Delete"}));
    EXPECT_EQ(dialogs, std::vector<QString>{"Invoice Item"});
    EXPECT_EQ(count_of(REPLACE_INVOICE_ITEM), 0);  // Cancel sends nothing
}

}  // namespace
}  // namespace stk::client::testing
