#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "client/contacts/contact_rules.h"
#include "client/contacts/contacts.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

class ContactsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("contacts.txt")).toStdString();
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages_.push_back(m);
            return MsgAnswer::Ok;
        });
    }
    void TearDown() override { DialogSeam::reset(); }

    void write(const std::string& bytes) {
        QFile f(QString::fromStdString(path_));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    std::string read() {
        QFile f(QString::fromStdString(path_));
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    static std::string line(const std::string& account, const std::string& name, const std::string& rest = "") {
        std::string l = account + "\t" + name;
        for (int i = 2; i < kContactColumns; ++i) l += "\t";
        return l + rest;
    }

    QTemporaryDir dir_;
    std::string path_;
    std::vector<MessageRequest> messages_;
};

TEST_F(ContactsTest, LoadsColumnsAsTheyAreAndSkipsNamelessLines) {
    write(
        "A1\t  Ann Smith \tBob\t555-1\tfax\tmob\t1 Main "
        "St\tSpringfield\tIL\t62701\thttp://ann.example\tann@x\tnote\textra\r\n"
        "A2\t\tnobody\r\n"
        "A3\tCarl");  // last line without CR LF, and with its trailing columns missing
    ContactTable table;
    ASSERT_TRUE(table.reserve(10));
    EXPECT_EQ(load_contacts(path_, table), 1);
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(field(table[1].name), "  Ann Smith ");  // blanks survive loading
    EXPECT_EQ(field(table[1].web_url), "http://ann.example");
    EXPECT_EQ(field(table[1].note), "note");  // columns after the 13th are ignored
    EXPECT_EQ(field(table[2].account_number), "A3");
    EXPECT_EQ(field(table[2].name), "Carl");
    EXPECT_EQ(field(table[2].city), "");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ContactsTest, TooLongColumnOrLineFailsWithPathAndKeepsEarlierContacts) {
    write(line("A1", "Ann") + "\r\n" + line("A2", std::string(64, 'N')) + "\r\n" + line("A3", "Carl") + "\r\n");
    ContactTable table;
    ASSERT_TRUE(table.reserve(10));
    EXPECT_EQ(load_contacts(path_, table), 0);
    EXPECT_EQ(table.count(), 1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, string_text(42) + "\r\n" + QString::fromStdString(path_));
    EXPECT_EQ(messages_[0].icon, MsgIcon::Warning);
    EXPECT_EQ(messages_[0].caption, kCaption);

    // A 63-character name and a 511-character note fit; a 3328-character line does not.
    messages_.clear();
    table.clear();
    write(line("A1", std::string(63, 'N'), std::string(511, 'x')) + "\r\n" + std::string(3328, 'y'));
    EXPECT_EQ(load_contacts(path_, table), 0);
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(ContactsTest, FullTableShowsStringFortyThenFortyTwo) {
    write(line("1", "A") + "\r\n" + line("2", "B") + "\r\n" + line("3", "C") + "\r\n");
    ContactTable table;
    ASSERT_TRUE(table.reserve(2));
    EXPECT_EQ(load_contacts(path_, table), 0);
    EXPECT_EQ(table.count(), 2);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].text, string_text(40));
    EXPECT_EQ(messages_[0].icon, MsgIcon::Information);
    EXPECT_TRUE(messages_[1].text.startsWith(string_text(42)));
}

TEST_F(ContactsTest, MissingFileIsCreatedEmptyAndSaveRoundTrips) {
    ContactTable table;
    ASSERT_TRUE(table.reserve(5));
    EXPECT_EQ(load_contacts(path_, table), 1);
    EXPECT_EQ(read(), "");
    EXPECT_EQ(table.count(), 0);

    ContactRecord r{};
    set_field(r.name, "Dana \xE9");  // Windows-1252 bytes go to the file unchanged
    set_field(r.phone_number, "555");
    set_field(r.note, " spaced ");
    ASSERT_TRUE(table.append(r));
    set_field(r.name, "Eve");
    ASSERT_TRUE(table.append(r));
    EXPECT_EQ(save_contacts(path_, table), 1);
    EXPECT_EQ(read(), "\tDana \xE9\t\t555\t\t\t\t\t\t\t\t\t spaced \r\n\tEve\t\t555\t\t\t\t\t\t\t\t\t spaced \r\n");

    ContactTable again;
    ASSERT_TRUE(again.reserve(5));
    EXPECT_EQ(load_contacts(path_, again), 1);
    ASSERT_EQ(again.count(), 2);
    EXPECT_EQ(field(again[1].name), "Dana \xE9");
    EXPECT_EQ(field(again[2].phone_number), "555");
    EXPECT_EQ(field(again[2].note), " spaced ");

    // Removing contacts down to none writes an empty file.
    table.remove(1);
    EXPECT_EQ(field(table[1].name), "Eve");
    table.remove(1);
    EXPECT_EQ(save_contacts(path_, table), 1);
    EXPECT_EQ(read(), "");
}

TEST_F(ContactsTest, AFileThatFailedToLoadIsWrittenBackWithTheLinesItCouldNotRead) {
    // Line 2 has a 64-character name: the load stops there with string 42, and lines 2 to 4 stay unread.
    const std::string bad = line("A2", std::string(64, 'N'));
    const std::string rest = bad + "\r\n" + line("A3", "Carl") + "\r\n" + line("A4", "Dora");  // no final CR LF
    write(line("A1", "Ann") + "\r\n" + rest);
    ContactTable table;
    ASSERT_TRUE(table.reserve(10));
    EXPECT_EQ(load_contacts(path_, table), 0);
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.unread_lines(), rest);

    // A new contact goes in behind the ones that loaded and before the unread part, so it is found again at
    // the next start; nothing of the file is lost.
    ContactRecord r{};
    set_field(r.name, "Eve");
    ASSERT_TRUE(table.append(r));
    ASSERT_EQ(save_contacts(path_, table), 1);
    EXPECT_EQ(read(), line("A1", "Ann") + "\r\n" + line("", "Eve") + "\r\n" + rest);

    ContactTable again;
    ASSERT_TRUE(again.reserve(10));
    EXPECT_EQ(load_contacts(path_, again), 0);
    EXPECT_EQ(again.count(), 2);
    EXPECT_EQ(again.unread_lines(), rest);

    // A full table keeps the lines it had no room for in the same way.
    ContactTable small;
    ASSERT_TRUE(small.reserve(1));
    EXPECT_EQ(load_contacts(path_, small), 0);
    EXPECT_EQ(small.unread_lines(), line("", "Eve") + "\r\n" + rest);
    ASSERT_EQ(save_contacts(path_, small), 1);
    EXPECT_EQ(read(), line("A1", "Ann") + "\r\n" + line("", "Eve") + "\r\n" + rest);

    // A table given back forgets the file it came from.
    small.release();
    EXPECT_EQ(small.unread_lines(), "");
}

TEST_F(ContactsTest, ATableWhoseFileCouldNotBeReadIsNeverSaved) {
    // A folder where the file should be: it exists, but reading it fails.
    const std::string folder = dir_.filePath(QStringLiteral("folder.txt")).toStdString();
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    ContactTable table;
    ASSERT_TRUE(table.reserve(10));
    EXPECT_EQ(load_contacts(folder, table), 0);
    EXPECT_TRUE(table.file_unreadable());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].text.startsWith(string_text(42)));

    // Whatever the table holds now, writing it would replace contacts nobody has seen.
    ContactRecord r{};
    set_field(r.name, "Eve");
    ASSERT_TRUE(table.append(r));
    EXPECT_EQ(save_contacts(path_, table), 0);
    EXPECT_EQ(read(), "<missing>");
}

TEST_F(ContactsTest, TabsAndLineBreaksInsideAFieldAreWrittenAsBlanks) {
    ContactTable table;
    ASSERT_TRUE(table.reserve(5));
    ContactRecord r{};
    set_field(r.name, "Ann\tSmith");
    set_field(r.note, "line one\r\nline two");
    ASSERT_TRUE(table.append(r));
    ASSERT_EQ(save_contacts(path_, table), 1);
    EXPECT_EQ(read(), line("", "Ann Smith", "line one  line two") + "\r\n");
}

TEST_F(ContactsTest, TheCustomerOfAnInvoiceIsFoundTrimmedAndWithoutCase) {
    ContactTable table;
    ASSERT_TRUE(table.reserve(5));
    ContactRecord r{};
    set_field(r.name, "Zed");
    set_field(r.phone_number, " 555-0101");  // blanks survive loading a file
    ASSERT_TRUE(table.append(r));
    EXPECT_EQ(find_contact(table, "ZED ", "555-0101\t"), 1);
    EXPECT_EQ(find_contact(table, "ZED", "555-0102"), 0);
    EXPECT_EQ(find_contact(table, "ZEDD", "555-0101"), 0);

    InvoiceRecord invoice{};
    set_field(invoice.account_number, " 77 ");
    set_field(invoice.customer_name, "ZED ");
    set_field(invoice.customer_zip_code, "\t04011");
    const ContactRecord made = contact_of_customer(invoice);
    EXPECT_EQ(field(made.account_number), "77");
    EXPECT_EQ(field(made.name), "ZED");
    EXPECT_EQ(field(made.zip_code), "04011");
}

}  // namespace
}  // namespace stk::client
