// Start-up against a real server: data set, company dialog, local server start, wait dialog, first invoice.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "client/invoice/sale_attach.h"
#include "client/shell/control_ids.h"
#include "client/shell/data_set.h"
#include "client/shell/dialog_seam.h"
#include "client/shell/main_window.h"
#include "client/shell/session.h"
#include "client/shell/shell_open.h"
#include "client/shell/startup.h"
#include "client/shell/startup_dialogs.h"
#include "client/shell/strings.h"
#include "common/text_field.h"
#include "tests/client/shell/gui_helpers.h"
#include "tests/support/server_process.h"

namespace stk::client {
namespace {

QString program_folder() { return QFileInfo(QStringLiteral(STOCKAVELLE_CLIENT_PATH)).absolutePath(); }

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        session().reset();
        ::setenv("STOCKAVELLE_APPDATA", dir_.filePath(QStringLiteral("appdata")).toLocal8Bit().constData(), 1);
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages_.push_back(m);
            return MsgAnswer::Ok;
        });
        DialogSeam::set_dialog_handler([this](QDialog& d) {
            dialogs_ << d.objectName();
            if (d.objectName() == QStringLiteral("dialog137")) {
                auto& company = static_cast<CompanyDialog&>(d);
                company.edit(1087)->setText(QString::fromStdString(server_name_));
                company.edit(1080)->setText(QStringLiteral("8.25"));
                return company_answer_;
            }
            if (d.objectName() == QStringLiteral("dialog131")) {
                wait_texts_ << d.findChild<QLabel*>(QStringLiteral("control1111"))->property("raw_text").toString();
                return wait_answer_ ? wait_answer_(d) : 0;
            }
            if (d.objectName() == QStringLiteral("dialog145")) return data_set_answer_;
            return int(QDialog::Rejected);
        });
        set_shell_starter([this](const QString& program, const QStringList&) {
            started_ << program;
            return true;
        });
        options_.program_folder = program_folder();
        window_ = std::make_unique<MainWindow>();
    }
    void TearDown() override {
        window_.reset();
        DialogSeam::reset();
        set_shell_starter(nullptr);
        session().reset();
        ::unsetenv("STOCKAVELLE_APPDATA");
    }
    bool start() {
        return run_startup(*window_, options_, [this] { attach_sale(*window_); });
    }
    QStringList message_texts() const {
        QStringList out;
        for (const auto& m : messages_) out << m.text;
        return out;
    }

    QTemporaryDir dir_;
    std::string server_name_ = "nobody home";
    StartupOptions options_;
    std::unique_ptr<MainWindow> window_;
    std::vector<MessageRequest> messages_;
    QStringList dialogs_;
    QStringList wait_texts_;
    QStringList started_;
    int company_answer_ = CompanyDialog::kContinue;
    int data_set_answer_ = DataSetDialog::kChosen;
    std::function<int(QDialog&)> wait_answer_;
};

TEST_F(StartupTest, FirstRunOnAnEmptyServerCreatesTheDataSetAndTheFirstInvoice) {
    test::ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log();
    server_name_ = server.server_name();
    options_.data_set = dir_.filePath(QStringLiteral("new shop"));

    ASSERT_TRUE(start());
    const QString set = options_.data_set;
    for (const char* sub : {"Price Files", "Receipt Layouts/Default Layout.txt", "Reports/Inventory Images",
                            "contacts.txt"})
        EXPECT_TRUE(QFileInfo::exists(set + "/" + sub)) << sub;
    QFile settings(set + "/stockavelle client settings.txt");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray text = settings.readAll();
    EXPECT_TRUE(text.contains("ServerName=" + QByteArray::fromStdString(server_name_) + "\r\n")) << text.constData();
    EXPECT_TRUE(text.contains("TaxPercentage=8.25\r\nServerName="));
    EXPECT_TRUE(text.contains("ClientName=stockavelle client 1.0\r\nConnectToRemoteComputer=FALSE\r\n"));
    EXPECT_EQ(window_->edit(ids::kTaxPercent)->text(), QStringLiteral("8.25"));

    // The server runs, so nothing is started; no invoice yet, so one is made and its number asked for.
    EXPECT_TRUE(started_.isEmpty());
    EXPECT_FALSE(dialogs_.contains(QStringLiteral("dialog145")));
    EXPECT_TRUE(message_texts().contains(string_text(35))) << message_texts().join(" | ").toStdString();
    EXPECT_EQ(window_->focusWidget(), window_->edit(ids::kInvoiceNumber));
    int count = 0;
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_EQ(count, 1);
    // A data set given on the command line is for this run only.
    QString remembered;
    EXPECT_FALSE(read_pointer_file(&remembered));
}

TEST_F(StartupTest, ExitInTheCompanyDialogEndsWithoutTouchingServerOrFiles) {
    const QString set = dir_.filePath(QStringLiteral("shop"));
    QDir().mkpath(set);
    ASSERT_TRUE(write_pointer_file(set));
    company_answer_ = CompanyDialog::kExit;
    EXPECT_FALSE(start());
    EXPECT_TRUE(session().exit_requested);
    EXPECT_EQ(dialogs_, (QStringList{QStringLiteral("dialog145"), QStringLiteral("dialog137")}));
    EXPECT_FALSE(QFileInfo::exists(set + "/stockavelle client settings.txt"));
    EXPECT_FALSE(QFileInfo::exists(set + "/contacts.txt"));
    EXPECT_TRUE(started_.isEmpty());
    EXPECT_TRUE(wait_texts_.isEmpty());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(StartupTest, DataSetDialogClosedWithoutADataSetEndsStartUp) {
    // No pointer file: the folder browser opens at once; cancelling it leaves dialog 145, which the user closes.
    QStringList browsed;
    DialogSeam::set_folder_handler([&](const QString& title) {
        browsed << title;
        return QString();
    });
    data_set_answer_ = QDialog::Rejected;
    const QString here = QDir::currentPath();
    const bool had_settings = QFileInfo::exists(here + "/stockavelle client settings.txt");
    EXPECT_FALSE(start());
    EXPECT_EQ(browsed.size(), 1);
    EXPECT_TRUE(browsed.value(0).startsWith(QStringLiteral("Please select a location to save")));
    EXPECT_EQ(dialogs_, QStringList{QStringLiteral("dialog145")});
    EXPECT_TRUE(session().exit_requested);
    EXPECT_EQ(QFileInfo::exists(here + "/stockavelle client settings.txt"), had_settings);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(StartupTest, NoLocalServerStartsOneAndCancelledWaitingEndsWithStringThirtySeven) {
    server_name_ = test::unique_server_name("absent");
    options_.data_set = dir_.filePath(QStringLiteral("shop"));
    EXPECT_FALSE(start());
    ASSERT_GE(messages_.size(), 2u);
    EXPECT_EQ(messages_.front().text, string_text(43));
    EXPECT_EQ(messages_.front().icon, MsgIcon::Information);
    EXPECT_EQ(messages_.back().text, string_text(37));
    EXPECT_EQ(started_, QStringList{program_folder() + QStringLiteral("/StockavelleServer")});
    ASSERT_FALSE(wait_texts_.isEmpty());
    EXPECT_EQ(wait_texts_.front(), QStringLiteral("Attempting to connect to Stockavelle Server.\r\nStockavelle Server "
                                                  "Name: ") + QString::fromStdString(server_name_) +
                                       QStringLiteral("\r\n\r\nPlease wait..."));
}

TEST_F(StartupTest, RemoteSettingsNeverStartALocalServer) {
    options_.data_set = dir_.filePath(QStringLiteral("shop"));
    QDir().mkpath(options_.data_set);
    QFile f(options_.data_set + "/stockavelle client settings.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("ConnectToRemoteComputer=TRUE\r\nRemoteComputerName=127.0.0.1:1\r\n");
    f.close();
    EXPECT_FALSE(start());
    EXPECT_TRUE(started_.isEmpty());
    EXPECT_NE(messages_.front().text, string_text(43));
    ASSERT_FALSE(wait_texts_.isEmpty());
    EXPECT_TRUE(wait_texts_.front().startsWith(
        QStringLiteral("Attempting to connect to remote computer.\r\nRemote Computer Name: 127.0.0.1:1\r\n")));
}

TEST_F(StartupTest, WaitDialogClosesByItselfOnceTheServerListens) {
    test::ServerProcess server;
    ClientSettings settings;
    set_field(settings.server_name, server.server_name());
    ServerApi api(ServerAddress{server.server_name(), ""}, "stockavelle client 1.0");
    install_wait_dialog(api, &settings);

    // Cancel: the request fails at once.
    int count = -5;
    EXPECT_EQ(api.get_invoice_count(&count), kTransportFailed);
    EXPECT_EQ(wait_texts_.size(), 1);

    // The server comes up while the dialog is open; the dialog keeps running its event loop and closes
    // with 1 by itself, and the request goes through.
    bool server_started = false;
    wait_answer_ = [&](QDialog& d) {
        auto& wait = static_cast<WaitDialog&>(d);
        EXPECT_EQ(wait.retry_timer()->interval(), 500);
        QTimer::singleShot(0, [&] { server_started = server.start(); });
        return d.exec();
    };
    EXPECT_EQ(api.get_invoice_count(&count), 1);
    EXPECT_TRUE(server_started) << server.log();
    EXPECT_EQ(count, 0);
    EXPECT_EQ(wait_texts_.size(), 2);
}

TEST_F(StartupTest, ExistingInvoicesShowTheLastOne) {
    test::ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log();
    server_name_ = server.server_name();
    ServerApi& api = server.api();
    int first = 0, second = 0;
    ASSERT_EQ(api.new_invoice(&first), 1);
    ASSERT_EQ(api.new_invoice(&second), 1);
    InvoiceRecord copy{};
    ASSERT_EQ(api.get_invoice(second, &copy), 1);
    ASSERT_EQ(api.set_invoice_field(second, ids::kInvoiceNumber, "20002", copy), 1);

    options_.data_set = dir_.filePath(QStringLiteral("shop"));
    ASSERT_TRUE(start());
    EXPECT_EQ(window_->edit(ids::kInvoiceNumber)->text(), QStringLiteral("20002"));
    EXPECT_TRUE(messages_.empty()) << message_texts().join(" | ").toStdString();
}

}  // namespace
}  // namespace stk::client
