#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QMenu>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "client/contacts/contact_dialog.h"
#include "client/contacts/contacts_window.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/shell_open.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/text_field.h"
#include "tests/client/support/gui_helpers.h"

namespace stk::client {
namespace {

struct Fields {
    const char* account = "";
    const char* name = "";
    const char* phone = "";
    const char* address = "";
    const char* city = "";
    const char* zip = "";
    const char* fax = "";
    const char* email = "";
    const char* note = "";
    const char* web = "";
};

class ContactsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(table_.reserve(100));
        path_ = dir_.filePath(QStringLiteral("contacts.txt"));
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages_.push_back(m);
            if (answers_.empty()) return m.default_answer;
            const MsgAnswer a = answers_.front();
            answers_.pop_front();
            return a;
        });
        DialogSeam::set_dialog_handler([this](QDialog& d) {
            auto* contact = dynamic_cast<ContactDialog*>(&d);
            if (!contact || !fill_dialog_) return int(QDialog::Rejected);
            return fill_dialog_(*contact);
        });
        set_shell_opener([this](const QString& address) {
            opened_.push_back(address);
            return true;
        });
    }
    void TearDown() override {
        DialogSeam::reset();
        set_shell_opener(nullptr);
    }

    void add(const Fields& f) {
        ContactRecord r{};
        set_field(r.account_number, f.account);
        set_field(r.name, f.name);
        set_field(r.phone_number, f.phone);
        set_field(r.address, f.address);
        set_field(r.city, f.city);
        set_field(r.zip_code, f.zip);
        set_field(r.fax_number, f.fax);
        set_field(r.email_address, f.email);
        set_field(r.note, f.note);
        set_field(r.web_url, f.web);
        ASSERT_TRUE(table_.append(r));
    }

    std::unique_ptr<ContactsWindow> open() {
        ContactsContext c;
        c.table = &table_;
        c.file_path = path_;
        c.kept_search = &kept_search_;
        auto w = std::make_unique<ContactsWindow>(c, nullptr);
        tester_ = std::make_unique<QAbstractItemModelTester>(&w->model(),
                                                             QAbstractItemModelTester::FailureReportingMode::Fatal);
        return w;
    }

    // The names the list shows, top to bottom.
    static QStringList names(ContactsWindow& w) {
        QStringList out;
        for (int r = 0; r < w.model().rowCount(); ++r)
            out << w.model().data(w.model().index(r, ContactsModel::kNameColumn), Qt::DisplayRole).toString();
        return out;
    }
    static void select_row(ContactsWindow& w, int row) {
        w.list()->selectionModel()->setCurrentIndex(w.model().index(row, 0),
                                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    std::string file() const {
        QFile f(path_);
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }

    QTemporaryDir dir_;
    QString path_;
    ContactTable table_;
    QString kept_search_;
    std::vector<MessageRequest> messages_;
    std::deque<MsgAnswer> answers_;
    std::function<int(ContactDialog&)> fill_dialog_;
    std::vector<QString> opened_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

TEST_F(ContactsWindowTest, SearchFindsCapitalsInTheSearchedFieldsOnlyAndIsKeptForTheNextOpening) {
    add({.name = "By Address", .address = "12 ELM ROAD"});
    add({.name = "By City", .city = "ELMSWORTH"});
    add({.name = "By Note", .note = "ASK FOR ELMER"});
    add({.name = "By Zip", .zip = "ELM01"});
    add({.name = "By Fax", .fax = "ELM-FAX"});
    add({.name = "By Mail", .email = "ELM@EXAMPLE.COM"});
    auto w = open();
    EXPECT_EQ(w->model().rowCount(), 6);  // an empty search lists everyone

    testing::type_text(w->search_box(), QStringLiteral("elm"));
    EXPECT_EQ(names(*w), (QStringList{"By Address", "By City", "By Note"}));
    EXPECT_EQ(kept_search_, "elm");

    w.reset();
    auto again = open();
    EXPECT_EQ(again->search_box()->text(), "elm");
    EXPECT_EQ(again->model().rowCount(), 3);
    again->search_box()->clear();
    EXPECT_EQ(again->model().rowCount(), 6);
}

TEST_F(ContactsWindowTest, ListSortsNamesAsTextAndAllDigitZipCodesByValue) {
    add({.name = "bob", .zip = "900"});
    add({.name = "Alice", .zip = "1000"});
    add({.name = "Carl", .zip = "95"});
    auto w = open();
    EXPECT_EQ(names(*w), (QStringList{"Alice", "bob", "Carl"}));
    select_row(*w, 1);  // bob
    w->model().sort_rows(ContactsModel::kZipColumn);
    EXPECT_EQ(names(*w), (QStringList{"Carl", "bob", "Alice"}));  // 95, 900, 1000
    EXPECT_EQ(w->selected_slot(), 1);                             // the selection stayed with bob
}

TEST_F(ContactsWindowTest, DeletingTheSecondOfThreeKeepsTheOtherRowsOnTheirContacts) {
    add({.account = "1", .name = "Ann"});
    add({.account = "2", .name = "Ben"});
    add({.account = "3", .name = "Cid"});
    auto w = open();
    select_row(*w, 1);
    answers_ = {MsgAnswer::No};
    w->delete_selected();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, string_text(str::kConfirmRemoveItems));
    EXPECT_EQ(messages_[0].default_answer, MsgAnswer::No);
    EXPECT_EQ(table_.count(), 3);

    answers_ = {MsgAnswer::Yes};
    w->delete_selected();
    ASSERT_EQ(table_.count(), 2);
    EXPECT_EQ(names(*w), (QStringList{"Ann", "Cid"}));
    // Each remaining row names the slot of the contact it shows.
    for (int row = 0; row < 2; ++row) {
        const int slot = w->model().slot_of_row(row);
        EXPECT_EQ(from_1252(field(table_[slot].name)), names(*w)[row]);
    }
    EXPECT_EQ(field(table_[2].account_number), "3");
    EXPECT_NE(file().find("\tCid\t"), std::string::npos);
    EXPECT_EQ(file().find("\tBen\t"), std::string::npos);
}

TEST_F(ContactsWindowTest, NewContactNeedsANameAndIsStoredTrimmedAndSaved) {
    auto w = open();
    int attempts = 0;
    fill_dialog_ = [&](ContactDialog& d) {
        EXPECT_EQ(d.box(1045)->maxLength(), 63);
        EXPECT_EQ(d.box(1046)->maxLength(), 511);
        EXPECT_EQ(d.box(1047)->maxLength(), 511);
        d.box(1041)->setText(QStringLiteral("  3 Quay St\t"));
        // OK without a name: string 26, and the dialog stays open.
        d.findChild<QPushButton*>(QStringLiteral("1042"))->click();
        ++attempts;
        EXPECT_EQ(d.result(), QDialog::Rejected);
        d.box(ContactDialog::kNameBox)->setText(QStringLiteral("   "));
        d.findChild<QPushButton*>(QStringLiteral("1042"))->click();
        d.box(ContactDialog::kNameBox)->setText(QStringLiteral(" Harbour Supply "));
        d.findChild<QPushButton*>(QStringLiteral("1042"))->click();
        return d.result();
    };
    w->findChild<QPushButton*>(QStringLiteral("1036"))->click();
    EXPECT_EQ(attempts, 1);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].text, string_text(str::kEnterName));
    ASSERT_EQ(table_.count(), 1);
    EXPECT_EQ(field(table_[1].name), "Harbour Supply");
    EXPECT_EQ(field(table_[1].address), "3 Quay St");
    EXPECT_EQ(names(*w), QStringList{"Harbour Supply"});
    EXPECT_EQ(w->selected_slot(), 1);
    EXPECT_EQ(file(), "\tHarbour Supply\t\t\t\t\t3 Quay St\t\t\t\t\t\t\r\n");
}

TEST_F(ContactsWindowTest, AnExistingContactMayLoseItsNameAndAFailedSaveNamesTheFile) {
    add({.name = "Ann", .phone = "555"});
    path_ = dir_.filePath(QStringLiteral("no such folder/contacts.txt"));
    auto w = open();
    select_row(*w, 0);
    fill_dialog_ = [](ContactDialog& d) {
        EXPECT_EQ(d.box(1039)->text(), "555");
        d.box(ContactDialog::kNameBox)->clear();
        d.findChild<QPushButton*>(QStringLiteral("1042"))->click();
        return d.result();
    };
    w->run_command(ContactsWindow::kEditCommand);
    EXPECT_EQ(field(table_[1].name), "");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, string_text(str::kCannotSaveContacts) + "\r\n" + path_);
    EXPECT_EQ(messages_[0].icon, MsgIcon::Error);

    // Cancel changes nothing.
    fill_dialog_ = [](ContactDialog& d) {
        d.box(ContactDialog::kNameBox)->setText(QStringLiteral("Zoe"));
        return int(QDialog::Rejected);
    };
    w->run_command(ContactsWindow::kEditCommand);
    EXPECT_EQ(field(table_[1].name), "");
}

TEST_F(ContactsWindowTest, AFullTableRefusesANewContact) {
    table_.release();
    ASSERT_TRUE(table_.reserve(1));
    add({.name = "Only"});
    auto w = open();
    fill_dialog_ = [](ContactDialog&) -> int {
        ADD_FAILURE() << "no dialog for a full table";
        return QDialog::Rejected;
    };
    w->create_contact();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, string_text(str::kContactsFull));
}

TEST_F(ContactsWindowTest, GoToWebsiteOpensOnlyWebPages) {
    add({.name = "A Empty"});
    add({.name = "B Bare", .web = "www.harbour.example/catalog"});
    add({.name = "C Port", .web = "shop.example:8080/x"});
    add({.name = "D Secure", .web = "HTTPS://secure.example"});
    add({.name = "E File", .web = "file:///etc/passwd"});
    add({.name = "F Script", .web = "javascript:alert(1)"});
    add({.name = "G Path", .web = "/usr/bin/xterm"});
    auto w = open();
    w->show();
    // Chosen from the row's right-click menu, as the user does.
    QStringList offered;
    DialogSeam::set_menu_handler([&](QMenu& menu) -> QAction* {
        offered.clear();
        QAction* chosen = nullptr;
        for (QAction* a : menu.actions()) {
            offered << (a->isSeparator() ? QStringLiteral("-") : a->text());
            if (a->text() == "Go to Website...") chosen = a;
        }
        return chosen;
    });
    for (int row = 0; row < 7; ++row)
        emit w->list()->customContextMenuRequested(w->list()->visualRect(w->model().index(row, 1)).center());
    EXPECT_EQ(offered, (QStringList{"Edit/View...", "Apply to Current Invoice", "Go to Website...", "-", "Delete"}));
    EXPECT_EQ(opened_, (std::vector<QString>{"http://www.harbour.example/catalog", "http://shop.example:8080/x",
                                             "https://secure.example"}));
    ASSERT_EQ(messages_.size(), 3u);
    EXPECT_TRUE(messages_[0].text.endsWith("\r\nfile:///etc/passwd"));
    EXPECT_TRUE(messages_[1].text.endsWith("\r\njavascript:alert(1)"));
    EXPECT_TRUE(messages_[2].text.endsWith("\r\n/usr/bin/xterm"));
}

}  // namespace
}  // namespace stk::client
