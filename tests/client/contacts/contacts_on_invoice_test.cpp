// The Contacts window on the real main window and server: opening it, and putting a contact on the invoice.
#include <QPushButton>
#include <QTreeView>

#include "client/app/contacts_attach.h"
#include "client/contacts/contacts_window.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

class ContactsOnInvoice : public SaleFixture {
protected:
    void SetUp() override {
        SaleFixture::SetUp();
        ASSERT_TRUE(table.reserve(10));
        ContactRecord r{};
        set_field(r.account_number, "A-17");
        set_field(r.name, "HARBOUR SUPPLY");
        set_field(r.phone_number, "555-0142");
        set_field(r.address, "3 QUAY ST");
        set_field(r.city, "PORT ELLIS");
        set_field(r.state, "ME");
        set_field(r.zip_code, "04011");
        ASSERT_TRUE(table.append(r));
        attach_contacts(*window, table, contacts_dir.filePath("contacts.txt"), kept_search);
        // The Contacts window is answered by `in_contacts`; the rest as the sale fixture does.
        DialogSeam::set_dialog_handler([this](QDialog& d) {
            dialogs.push_back(d.windowTitle());
            if (auto* w = dynamic_cast<ContactsWindow*>(&d)) {
                if (in_contacts) in_contacts(*w);
                return d.result();
            }
            if (d.windowTitle() == "Enter Your Identification") return int(QDialog::Accepted);
            return int(QDialog::Rejected);
        });
    }

    // Selects the first contact and chooses "Apply to Current Invoice".
    void apply_first_contact() {
        in_contacts = [](ContactsWindow& w) {
            w.list()->setCurrentIndex(w.model().index(0, 0));
            w.run_command(ContactsWindow::kApplyCommand);
        };
        window->run_command(ids::kContacts);
    }

    ContactTable table;
    QTemporaryDir contacts_dir;
    QString kept_search;
    std::function<void(ContactsWindow&)> in_contacts;
};

TEST_F(ContactsOnInvoice, AContactGoesOnAnInvoiceWithoutCustomerWithoutAQuestion) {
    const int index = make_invoice("8001");
    sent.clear();
    apply_first_contact();
    EXPECT_EQ(dialogs.back(), "Contacts");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(count_of(SET_INVOICE_CUSTOMER), 1);
    EXPECT_EQ(edit(ids::kCustomerName)->text(), "HARBOUR SUPPLY");
    EXPECT_EQ(edit(ids::kPhoneNumber)->text(), "555-0142");
    InvoiceRecord stored{};
    ASSERT_EQ(api->get_invoice(index, &stored), 1);
    EXPECT_STREQ(stored.account_number, "A-17");
    EXPECT_STREQ(stored.customer_address, "3 QUAY ST");
    EXPECT_STREQ(stored.customer_zip_code, "04011");
    EXPECT_EQ(std::memcmp(&stored, &ws().copy(), sizeof stored), 0);
}

TEST_F(ContactsOnInvoice, ReplacingACustomerIsAskedAndNoLeavesTheInvoiceAlone) {
    make_invoice("8002");
    edit(ids::kPhoneNumber)->setText("555-0000");  // the phone number alone counts as customer information
    sent.clear();
    answers = {MsgAnswer::No};
    bool still_open = false;
    in_contacts = [&](ContactsWindow& w) {
        w.list()->setCurrentIndex(w.model().index(0, 0));
        w.run_command(ContactsWindow::kApplyCommand);
        still_open = w.result() != QDialog::Accepted;
    };
    window->run_command(ids::kMenuContacts);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], string_text(str::kReplaceCustomerWithContact));
    EXPECT_TRUE(still_open);
    EXPECT_EQ(count_of(SET_INVOICE_CUSTOMER), 0);

    answers = {MsgAnswer::Yes};
    apply_first_contact();
    EXPECT_EQ(count_of(SET_INVOICE_CUSTOMER), 1);
    EXPECT_EQ(edit(ids::kPhoneNumber)->text(), "555-0142");
}

TEST_F(ContactsOnInvoice, AnInvoiceChangedElsewhereIsToldAndShownAsTheServerHoldsIt) {
    const int index = make_invoice("8003");
    ServerApi other = server.make_api();
    InvoiceRecord theirs{};
    ASSERT_EQ(other.get_invoice(index, &theirs), 1);
    ASSERT_EQ(other.set_invoice_field(index, FIELD_ORDER_NUMBER, "PO-9", theirs), 1);

    apply_first_contact();
    EXPECT_TRUE(asked(str::kInvoiceModified));
    EXPECT_EQ(edit(ids::kOrderNumber)->text(), "PO-9");
    EXPECT_EQ(edit(ids::kCustomerName)->text(), "");
    InvoiceRecord stored{};
    ASSERT_EQ(api->get_invoice(index, &stored), 1);
    EXPECT_EQ(std::memcmp(&stored, &ws().copy(), sizeof stored), 0);
}

}  // namespace
}  // namespace stk::client::testing
