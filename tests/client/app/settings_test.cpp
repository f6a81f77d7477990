#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "client/app/client_settings.h"
#include "client/app/data_set.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

TEST(ClientSettingsTest, ReadingRules) {
    ClientSettings s;
    apply_settings_text("TaxPercentage=0.0825\r\nServerName=main shop\r\nRowHeight=0.2", s);
    EXPECT_EQ(field(s.tax_percentage), "0.0825");
    EXPECT_EQ(field(s.server_name), "main shop");
    EXPECT_EQ(field(s.row_height), "0.2");  // last line without CR LF still counts

    // 14 characters do not fit the 12-byte field: the old value stays. Keys ignore case, but not blanks.
    apply_settings_text("TaxPercentage=12345678901234\r\ntaxpercentage=5\r\nTaxPercentage = 7\r\n", s);
    EXPECT_EQ(field(s.tax_percentage), "5");
    apply_settings_text("TaxPercentage=12345678901\r\n", s);  // 11 characters fit
    EXPECT_EQ(field(s.tax_percentage), "12345678901");

    apply_settings_text("MAX_ITEMS=2500.9\r\nMAX_CONTACTS=2,500\r\nmax_invoices=.5\r\nMAX_HISTORYLENGTH=99999999999\r\n", s);
    EXPECT_EQ(s.max_items, 2500);
    EXPECT_EQ(s.max_contacts, 100000);
    EXPECT_EQ(s.max_invoices, 0);
    EXPECT_EQ(s.max_history_length, 10000);  // does not fit an integer: ignored like any malformed number

    // The value is everything after the first "=", untrimmed; a later line wins; unknown keys are ignored.
    apply_settings_text("WindowTitle= A=B \r\nNoSuchKey=1\r\nno equals sign\r\nCity=One\r\nCity=Two\r\n", s);
    EXPECT_EQ(field(s.window_title), " A=B ");
    EXPECT_EQ(field(s.city), "Two");

    // A line over 3327 characters is skipped as a whole.
    apply_settings_text("City=" + std::string(3323, 'x') + "\r\nState=OK\r\n", s);
    EXPECT_EQ(field(s.city), "Two");
    EXPECT_EQ(field(s.state), "OK");

    EXPECT_FALSE(s.remote());
    apply_settings_text("ConnectToRemoteComputer=true\r\nViewSalesTotalsReport=TrUe\r\n", s);
    EXPECT_TRUE(s.remote());
    EXPECT_TRUE(s.sales_report_enabled());
}

TEST(ClientSettingsTest, WritesEveryKeyInOrderAndReadsItBack) {
    ClientSettings s;
    set_field(s.company_name, "Hardware \xC9tienne");
    set_field(s.server_name, "stockavelle server 1.0");
    s.max_items = 2500;
    s.max_contacts = -3;
    const std::string text = settings_file_text(s);
    EXPECT_EQ(text,
              "WindowTitle=\r\nCompanyName=Hardware \xC9tienne\r\nAddress=\r\nCity=\r\nState=\r\nZipCode=\r\n"
              "PhoneNumber=\r\nTaxPercentage=\r\nServerName=stockavelle server 1.0\r\nClientName=\r\n"
              "ConnectToRemoteComputer=\r\nRemoteComputerName=\r\nViewSalesTotalsReport=\r\nRowHeight=0.14\r\n"
              "MAX_CONTACTS=-3\r\nMAX_HISTORYLENGTH=10000\r\nMAX_INVOICES=100000\r\nMAX_ITEMS=2500\r\n");
    ClientSettings back;
    apply_settings_text(text, back);
    EXPECT_EQ(settings_file_text(back), text);
}

TEST(Text1252Test, ConvertsAtTheWidgetBoundary) {
    EXPECT_EQ(to_1252(QStringLiteral("caf\u00e9 \u20ac5 \u2013 \u0153")), "caf\xE9 \x80" "5 \x96 \x9C");
    EXPECT_EQ(from_1252("caf\xE9 \x80" "5 \x96 \x9C"), QStringLiteral("caf\u00e9 \u20ac5 \u2013 \u0153"));
    // What Windows-1252 cannot hold becomes one "?" per character, also outside the basic plane.
    EXPECT_EQ(to_1252(QStringLiteral("\u4e2d") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("x")), "??x");
    // The five undefined bytes survive a round trip.
    const std::string odd("\x81\x8D\x8F\x90\x9D", 5);
    EXPECT_EQ(to_1252(from_1252(odd)), odd);
    char f[8];
    set_field_text(f, QStringLiteral("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"));
    EXPECT_EQ(std::string(f), std::string(7, '\xE9'));  // cut to the field, one byte per character
}

class DataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        program_ = dir_.filePath(QStringLiteral("program"));
        QDir().mkpath(program_);
        for (const char* name : {"default client settings.txt", "Default Layout.txt", "80mm Receipt.txt",
                                 "sales report.xsl", "non-inventory sales report.xsl", "suggested order report.xsl"}) {
            QFile f(program_ + "/" + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("template ") + name);
        }
        old_app_data_ = std::getenv("STOCKAVELLE_APPDATA") ? std::getenv("STOCKAVELLE_APPDATA") : "";
        ::setenv("STOCKAVELLE_APPDATA", dir_.filePath(QStringLiteral("appdata")).toLocal8Bit().constData(), 1);
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages_.push_back(m);
            return MsgAnswer::Ok;
        });
    }
    void TearDown() override {
        DialogSeam::reset();
        if (old_app_data_.empty()) ::unsetenv("STOCKAVELLE_APPDATA");
        else ::setenv("STOCKAVELLE_APPDATA", old_app_data_.c_str(), 1);
    }
    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir_;
    QString program_;
    std::string old_app_data_;
    std::vector<MessageRequest> messages_;
};

TEST_F(DataSetTest, NewDataSetGetsFoldersAndTemplates) {
    const QString set = dir_.filePath(QStringLiteral("shop"));
    QDir().mkpath(set);
    DialogSeam::set_folder_handler([&](const QString& title) {
        EXPECT_EQ(title, QStringLiteral("Please select a location to save your contacts, price files, report "
                                        "layouts and receipt layouts."));
        return set;
    });
    QString chosen;
    ASSERT_TRUE(create_data_set(nullptr, program_, &chosen));
    EXPECT_EQ(chosen, set);
    for (const char* sub : {"Price Files", "Receipt Layouts", "Reports", "Reports/Inventory Images"})
        EXPECT_TRUE(QDir(set + "/" + sub).exists()) << sub;
    EXPECT_EQ(contents(set + "/stockavelle client settings.txt"), "template default client settings.txt");
    EXPECT_EQ(contents(set + "/Receipt Layouts/Default Layout.txt"), "template Default Layout.txt");
    EXPECT_EQ(contents(set + "/Receipt Layouts/80mm Receipt.txt"), "template 80mm Receipt.txt");
    EXPECT_EQ(contents(set + "/Reports/suggested order report.xsl"), "template suggested order report.xsl");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(DataSetTest, ExistingReportsFolderGivesStringFortyFourButMissingTemplatesAreCopied) {
    const QString set = dir_.filePath(QStringLiteral("old"));
    QDir().mkpath(set + "/Reports");
    {
        QFile keep(set + "/stockavelle client settings.txt");
        ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
        keep.write("mine");
    }
    DialogSeam::set_folder_handler([&](const QString&) { return set; });
    QString chosen = QStringLiteral("unchanged");
    EXPECT_FALSE(create_data_set(nullptr, program_, &chosen));
    EXPECT_EQ(chosen, QStringLiteral("unchanged"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, string_text(44) + "\r\n" + set);
    EXPECT_EQ(messages_[0].icon, MsgIcon::Error);
    EXPECT_EQ(contents(set + "/stockavelle client settings.txt"), "mine");  // never overwritten
    EXPECT_EQ(contents(set + "/Reports/sales report.xsl"), "template sales report.xsl");

    // Cancelling the browser creates nothing and says nothing.
    messages_.clear();
    DialogSeam::set_folder_handler([](const QString&) { return QString(); });
    EXPECT_FALSE(create_data_set(nullptr, program_, &chosen));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(DataSetTest, PointerFileHoldsThePathAndIgnoresLongContent) {
    QString path;
    EXPECT_FALSE(read_pointer_file(&path));
    ASSERT_TRUE(write_pointer_file(QStringLiteral("/srv/shop data")));
    const QString file = pointer_file_path();
    EXPECT_TRUE(file.endsWith(QStringLiteral("/Stockavelle 1.0.1/Client Settings.txt")));
    EXPECT_EQ(contents(file), "/srv/shop data");  // no line end
    ASSERT_TRUE(read_pointer_file(&path));
    EXPECT_EQ(path, QStringLiteral("/srv/shop data"));

    ASSERT_TRUE(write_pointer_file(QString(260, QLatin1Char('p'))));
    EXPECT_TRUE(read_pointer_file(&path));
    ASSERT_TRUE(write_pointer_file(QString(261, QLatin1Char('p'))));
    EXPECT_FALSE(read_pointer_file(&path));
}

}  // namespace
}  // namespace stk::client
