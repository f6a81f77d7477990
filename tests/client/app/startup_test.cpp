// Start-up against a real server: data set, company dialog, local server start, wait dialog, first invoice.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "client/api/connection.h"
#include "client/app/data_set.h"
#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/app/session_attach.h"
#include "client/app/startup.h"
#include "client/app/startup_dialogs.h"
#include "client/app/wait_dialog.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/shell_open.h"
#include "client/ui/strings.h"
#include "common/text_field.h"
#include "platform/host_port.h"
#include "tests/client/support/gui_helpers.h"
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
                if (!remote_address_.empty()) {
                    company.remote_check()->setChecked(true);
                    company.edit(1072)->setText(QString::fromStdString(remote_address_));
                }
                return company_answer_;
            }
            if (d.objectName() == QStringLiteral("dialog131")) {
                const QString text =
                    d.findChild<QLabel*>(QStringLiteral("control1111"))->property("raw_text").toString();
                // A slow answer on a busy machine is waited for, as the user would.
                if (text.startsWith(QStringLiteral("Waiting for"))) return d.exec();
                wait_texts_ << text;
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
        attach_session(*window_);
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
    std::string remote_address_;  // ticks "Connect to Stockavelle Server on a remote computer" when set
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
    // The command line names a folder that does not exist yet: it becomes a new data set, without dialog 145.
    EXPECT_EQ(parse_command_line({QStringLiteral("--data-set=/a b")}).data_set, QStringLiteral("/a b"));
    EXPECT_TRUE(parse_command_line({QStringLiteral("--data-set")}).data_set.isEmpty());
    options_.data_set =
        parse_command_line({QStringLiteral("--data-set"), dir_.filePath(QStringLiteral("new shop"))}).data_set;

    ASSERT_TRUE(start());
    const QString set = options_.data_set;
    for (const char* sub :
         {"Price Files", "Receipt Layouts/Default Layout.txt", "Reports/Inventory Images", "contacts.txt"})
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

TEST_F(StartupTest, EnterPressesTheFocusedButtonOfBothStartUpDialogs) {
    // Enter on a focused button presses that button; elsewhere it presses the dialog's default.
    auto enter_on = [](QDialog& d, QWidget* focus) {
        d.show();
        focus->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(focus, &enter);
        d.hide();
        return d.result();
    };
    ClientSettings settings;
    CompanyDialog on_exit(nullptr, settings);
    EXPECT_EQ(enter_on(on_exit, on_exit.button(1102)), CompanyDialog::kExit);
    CompanyDialog on_edit(nullptr, settings);
    EXPECT_EQ(enter_on(on_edit, on_edit.edit(1071)), CompanyDialog::kContinue);

    DataSetDialog known(nullptr, program_folder());
    known.set_path(dir_.path());
    EXPECT_EQ(enter_on(known, known.button(1102)), DataSetDialog::kExit);
    DataSetDialog chosen(nullptr, program_folder());
    chosen.set_path(dir_.path());
    EXPECT_EQ(enter_on(chosen, chosen.findChild<QLineEdit*>(QStringLiteral("control1117"))),
              DataSetDialog::kChosen);
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

TEST_F(StartupTest, CompanyDialogAppliesAndSavesTheSettings) {
    ClientSession& s = session();
    s.main_window = window_.get();
    s.settings_path = dir_.filePath(QStringLiteral("stockavelle client settings.txt"));
    apply_settings_text(
        "WindowTitle=Till 2\r\nViewSalesTotalsReport=true\r\nConnectToRemoteComputer=TRUE\r\n"
        "RemoteComputerName=backoffice\r\nServerName=old name\r\nTaxPercentage=7\r\n",
        s.settings);
    bool remote_edit_followed_the_box = false;
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        auto& company = static_cast<CompanyDialog&>(d);
        EXPECT_TRUE(company.remote_check()->isChecked());
        EXPECT_TRUE(company.edit(1072)->isEnabled());
        EXPECT_EQ(company.edit(1072)->text(), QStringLiteral("backoffice"));
        EXPECT_EQ(company.edit(1080)->maxLength(), 11);
        EXPECT_EQ(company.edit(1072)->maxLength(), 259);  // RemoteComputerName keeps 259 and its NUL
        company.remote_check()->click();  // unchecked: the remote name can no longer be edited
        remote_edit_followed_the_box = !company.edit(1072)->isEnabled();
        company.edit(1087)->clear();
        company.edit(1080)->setText(QStringLiteral("6.5"));
        return int(CompanyDialog::kContinue);
    });
    EXPECT_FALSE(window_->action(ids::kMenuSalesReport)->isEnabled());
    ASSERT_TRUE(run_company_dialog(window_.get()));
    EXPECT_TRUE(remote_edit_followed_the_box);
    EXPECT_TRUE(window_->action(ids::kMenuSalesReport)->isEnabled());
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Till 2"));
    EXPECT_EQ(window_->edit(ids::kTaxPercent)->text(), QStringLiteral("6.5"));
    // An emptied server name becomes the default one; the address follows the unchecked box.
    EXPECT_EQ(s.api.address().server_name, "stockavelle server 1.0");
    EXPECT_EQ(s.api.address().remote_computer, "");
    EXPECT_EQ(s.api.client_name(), "stockavelle client 1.0");
    QFile saved(s.settings_path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    EXPECT_TRUE(text.startsWith("WindowTitle=Till 2\r\n")) << text.constData();
    EXPECT_TRUE(
        text.contains("\r\nTaxPercentage=6.5\r\nServerName=stockavelle server 1.0\r\nClientName=stockavelle "
                      "client 1.0\r\nConnectToRemoteComputer=FALSE\r\nRemoteComputerName=backoffice\r\n"))
        << text.constData();
}

TEST_F(StartupTest, AFailedSettingsWriteIsReportedAndTheEnteredValuesStay) {
    ClientSession& s = session();
    s.main_window = window_.get();
    s.settings_path = dir_.filePath(QStringLiteral("no such folder/stockavelle client settings.txt"));
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        static_cast<CompanyDialog&>(d).edit(1071)->setText(QStringLiteral("HARBOUR HARDWARE"));
        return int(CompanyDialog::kContinue);
    });
    ASSERT_TRUE(run_company_dialog(window_.get()));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QString::fromLatin1(text::kCannotSaveSettings) + "\r\n" + s.settings_path);
    EXPECT_EQ(messages_[0].icon, MsgIcon::Error);
    EXPECT_STREQ(s.settings.company_name, "HARBOUR HARDWARE");
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
                                                  "Name: ") +
                                       QString::fromStdString(server_name_) + QStringLiteral("\r\n\r\nPlease wait..."));
}

TEST_F(StartupTest, AFailedInvoiceCountCreatesNoInvoiceWhenTheServerComesUpLater) {
    test::ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log();
    for (const char* number : {"501", "502"}) {
        int index = 0;
        InvoiceRecord copy{};
        ASSERT_EQ(server.api().new_invoice(&index), 1);
        ASSERT_EQ(server.api().get_invoice(index, &copy), 1);
        ASSERT_EQ(server.api().set_invoice_field(index, ids::kInvoiceNumber, number, copy), 1);
    }
    ASSERT_TRUE(server.stop());
    server_name_ = server.server_name();
    options_.data_set = dir_.filePath(QStringLiteral("shop"));

    // The count's wait is cancelled; any later wait would find the server up.
    int waits = 0;
    wait_answer_ = [&](QDialog& d) {
        if (waits++ == 0) return 0;
        server.start();
        return d.exec();
    };
    EXPECT_FALSE(start());
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(messages_.back().text, string_text(37));
    EXPECT_FALSE(message_texts().contains(string_text(35)));
    if (!server.running()) {
        ASSERT_TRUE(server.start()) << server.log();
    }
    int count = 0;
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_EQ(count, 2);
}

TEST_F(StartupTest, AnInvoiceThatCannotBeLoadedEndsStartUpWithStringThirtySeven) {
    test::ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log();
    int index = 0;
    ASSERT_EQ(server.api().new_invoice(&index), 1);
    server_name_ = server.server_name();
    options_.data_set = dir_.filePath(QStringLiteral("shop"));
    session().api.relay = [](std::int32_t opcode, const std::function<int()>& exchange) {
        return opcode == GET_INVOICE ? int(RESULT_FAILED) : exchange();
    };
    EXPECT_FALSE(start());
    EXPECT_TRUE(session().exit_requested);
    EXPECT_EQ(messages_.back().text, string_text(37));
    int count = 0;
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_EQ(count, 1);
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
    EXPECT_FALSE(Connection::has_kept_connection());

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
    // The request went on the connection the dialog made: the server saw one request and no empty one.
    ASSERT_TRUE(server.wait_for_count("Waiting for a client request\r\n", 2)) << server.log();
    EXPECT_EQ(test::ServerProcess::count_of(server.log(), "Processing client request..."), 1) << server.log();
    EXPECT_EQ(server.log().find("An error occured while receiving data."), std::string::npos) << server.log();
    EXPECT_FALSE(Connection::has_kept_connection());
}

TEST_F(StartupTest, RemoteComputerIsReachedOverTcpOnTheGivenPort) {
    QTcpServer free_port;
    ASSERT_TRUE(free_port.listen(QHostAddress::LocalHost, 0));
    const std::string address = "127.0.0.1:" + std::to_string(free_port.serverPort());
    free_port.close();

    test::ServerProcess server;
    server.extra_args = {"--listen-tcp", address};
    ClientSettings settings;
    set_field(settings.server_name, "not the local socket");  // only the remote computer's port counts
    set_field(settings.connect_to_remote_computer, "TRUE");
    set_field(settings.remote_computer_name, address);
    // The key the server makes when it starts; the dialog's attempts read it as soon as it is there.
    ServerApi api(ServerAddress{"not the local socket", address, server.database_set() + "/stockavelle shop key.txt"},
                  "stockavelle client 1.0");
    install_wait_dialog(api, &settings);

    bool server_started = false;
    wait_answer_ = [&](QDialog& d) {
        QTimer::singleShot(0, [&] { server_started = server.start(); });
        return d.exec();
    };
    int count = -5;
    EXPECT_EQ(api.get_invoice_count(&count), 1);
    EXPECT_TRUE(server_started) << server.log() << server.errors();
    EXPECT_EQ(count, 0);
    ASSERT_EQ(wait_texts_.size(), 1);
    EXPECT_EQ(wait_texts_.front(),
              QStringLiteral("Attempting to connect to remote computer.\r\nRemote Computer Name: ") +
                  QString::fromStdString(address) +
                  QStringLiteral("\r\nStockavelle Server Name: not the local socket\r\n\r\n"
                                 "Please wait..."));
    ASSERT_TRUE(server.wait_for_count("Waiting for a client request\r\n", 2)) << server.log();
    EXPECT_EQ(server.log().find("An error occured while receiving data."), std::string::npos) << server.log();

    // A host name without a port goes to the port the server's --listen-tcp takes by default.
    std::string host;
    unsigned short port = 0;
    ASSERT_TRUE(platform::split_host_port("till-2", &host, &port));
    EXPECT_EQ(port, platform::kDefaultTcpPort);
    EXPECT_EQ(port, 47100);
}

TEST_F(StartupTest, RemoteTillIsToldWhereTheShopKeyGoesAndUsesItOnceCopied) {
    QTcpServer free_port;
    ASSERT_TRUE(free_port.listen(QHostAddress::LocalHost, 0));
    remote_address_ = "127.0.0.1:" + std::to_string(free_port.serverPort());
    free_port.close();
    test::ServerProcess server;
    server.extra_args = {"--listen-tcp", remote_address_};
    ASSERT_TRUE(server.start()) << server.log();
    options_.data_set = dir_.filePath(QStringLiteral("till"));

    // The first request waits; copying the key into the data set lets it through.
    wait_answer_ = [&](QDialog& d) {
        QFile::copy(QString::fromStdString(server.database_set() + "/stockavelle shop key.txt"),
                    options_.data_set + QStringLiteral("/stockavelle shop key.txt"));
        return d.exec();
    };
    ASSERT_TRUE(start());
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_.front().icon, MsgIcon::Error);
    EXPECT_TRUE(messages_.front().text.startsWith(
        QStringLiteral("This till connects to Stockavelle Server on another computer and needs the shop's key")));
    EXPECT_TRUE(messages_.front().text.endsWith(
        QStringLiteral("Copy the file \"stockavelle shop key.txt\" from the server's database set into this till's "
                       "data set:\r\n") +
        options_.data_set));
    EXPECT_EQ(wait_texts_.size(), 1);
    int count = 0;
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_EQ(count, 1);  // the till made the shop's first invoice over TLS
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
    ASSERT_TRUE(start()) << message_texts().join(" | ").toStdString() << dialogs_.join(" ").toStdString();
    EXPECT_EQ(window_->edit(ids::kInvoiceNumber)->text(), QStringLiteral("20002"));
    EXPECT_TRUE(messages_.empty()) << message_texts().join(" | ").toStdString();
}

}  // namespace
}  // namespace stk::client
