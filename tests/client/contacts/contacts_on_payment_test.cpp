// The automatic contact of a paid invoice on the client's own contacts and file, through the session as the
// program wires it: a file that did not load whole keeps every line, and a customer is added once.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/app/session_attach.h"
#include "client/invoice/invoice_workspace.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "common/protocol.h"
#include "tests/support/server_process.h"

namespace stk::client {
namespace {

class ContactsOnPayment : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.log();
        session().reset();
        ASSERT_TRUE(session().contacts.reserve(100));
        session().contacts_path = dir.filePath(QStringLiteral("contacts.txt"));
        session().api.set_address(server.api().address());
        session().api.set_client_name(server.api().client_name());
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages.push_back(m.text);
            return m.default_answer;
        });
        DialogSeam::set_dialog_handler([](QDialog& d) {
            if (auto* e = d.findChild<QLineEdit*>(QStringLiteral("1050"))) e->setText(QStringLiteral("PAT"));
            return int(QDialog::Accepted);
        });
    }
    void TearDown() override {
        window.reset();
        session().reset();
        DialogSeam::reset();
    }

    void write_file(const std::string& bytes) {
        QFile f(session().contacts_path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    std::string file() {
        QFile f(session().contacts_path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
    }
    static std::string line(const std::string& name, const std::string& phone) {
        return "\t" + name + "\t\t" + phone + "\t\t\t\t\t\t\t\t\t";
    }

    // Loads the contacts as start-up does, then builds the main window with the sale workspace on the session
    // and a new invoice for this customer.
    void start_with_customer(const QString& name, const QString& phone) {
        load_contacts(QFile::encodeName(session().contacts_path).toStdString(), session().contacts);
        window = std::make_unique<MainWindow>();
        attach_session(*window);
        invoice = attach_sale(*window).invoice;
        ASSERT_EQ(invoice->new_invoice(), 1);
        window->edit(ids::kInvoiceNumber)->setText(QStringLiteral("9001"));
        window->edit(ids::kCustomerName)->setText(name);
        window->edit(ids::kPhoneNumber)->setText(phone);
    }
    void pay(int payment) {
        window->payment_list()->setCurrentIndex(payment);
        emit window->payment_list()->activated(payment);
        ASSERT_EQ(invoice->copy().payment, payment);
    }

    test::ServerProcess server;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    InvoiceWorkspace* invoice = nullptr;
    std::vector<QString> messages;
};

TEST_F(ContactsOnPayment, AFourLineFileWithABadSecondLineKeepsAllFourLines) {
    const std::vector<std::string> lines = {line("ANN", "555-0001"), line(std::string(64, 'N'), "555-0002"),
                                            line("CARL", "555-0003"), line("DORA", "555-0004")};
    write_file(lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n" + lines[3] + "\r\n");
    start_with_customer(QStringLiteral("NEW CUSTOMER"), QStringLiteral("555-0199"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith(string_text(str::kCannotOpenContacts)));

    pay(PAYMENT_CASH);
    EXPECT_EQ(session().contacts.count(), 2);
    EXPECT_EQ(file(), lines[0] + "\r\n" + line("NEW CUSTOMER", "555-0199") + "\r\n" + lines[1] + "\r\n" + lines[2] +
                          "\r\n" + lines[3] + "\r\n");
    EXPECT_EQ(messages.size(), 1u);  // the save went through
}

TEST_F(ContactsOnPayment, ACustomerTypedWithATrailingBlankIsAddedOnce) {
    start_with_customer(QStringLiteral("ZED "), QStringLiteral("555-0100"));
    pay(PAYMENT_CASH);
    pay(PAYMENT_CHECK);
    pay(PAYMENT_CASH);
    ASSERT_EQ(session().contacts.count(), 1);
    EXPECT_EQ(file(), line("ZED", "555-0100") + "\r\n");
}

}  // namespace
}  // namespace stk::client
