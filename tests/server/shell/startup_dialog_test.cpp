#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/app_data.h"
#include "server/shell/location_dialog.h"
#include "server/shell/new_set_dialog.h"
#include "server/shell/qt_startup_ui.h"
#include "server/shell/server_name_dialog.h"
#include "server/shell/server_startup.h"
#include "server/shell/server_window.h"

using namespace stk::server;

namespace {

// A folder browser that answers from a list and records what it was asked.
struct ScriptedBrowser {
    std::vector<std::optional<std::string>> answers;
    std::vector<QString> prompts{};
    std::vector<QWidget*> owners{};

    FolderBrowser hook() {
        return [this](QWidget* owner, const QString& prompt) -> std::optional<std::string> {
            prompts.push_back(prompt);
            owners.push_back(owner);
            if (answers.empty()) return std::nullopt;
            auto a = answers.front();
            answers.erase(answers.begin());
            return a;
        };
    }
};

NewSetAsker answer_new_set(bool next, bool inventory = false, bool invoices = false, bool messages = false) {
    return [=](QWidget*, bool) {
        NewSetChoice c;
        c.create = next;
        c.carry_inventory = next && inventory;
        c.carry_invoices = next && invoices;
        c.carry_messages = next && messages;
        return c;
    };
}

QPushButton* button(QWidget* w, int id) { return w->findChild<QPushButton*>(QString::number(id)); }

// Runs `act` on the modal dialog once the event loop of the next exec() is running.
void when_modal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(modal);
    });
}

}  // namespace

TEST(LocationDialog, FirstRunWithTheBrowserCancelledStaysOpenWithOkDisabled) {
    ScriptedBrowser browser;
    LocationDialog d(nullptr, std::nullopt, browser.hook(), answer_new_set(false));
    EXPECT_EQ(d.windowTitle(), "Stockavelle Inventory And Invoice Management System Server");
    d.show();
    d.start();
    ASSERT_EQ(browser.prompts.size(), 1u);
    EXPECT_EQ(browser.prompts[0], "Please select a location to save your inventory, invoices, and messages.");
    EXPECT_EQ(browser.owners[0], &d);
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(button(&d, LocationDialog::kOkButton)->isEnabled());
    EXPECT_TRUE(d.findChild<QLineEdit*>("1024")->text().isEmpty());
    EXPECT_TRUE(d.findChild<QLineEdit*>("1024")->isReadOnly());

    button(&d, LocationDialog::kExitButton)->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.choice().exit);
}

TEST(LocationDialog, EscapeOrTheCloseBoxWithNoFolderEndsTheProgramAsExitDoes) {
    for (bool by_escape : {false, true}) {
        ScriptedBrowser browser;  // cancelled
        LocationDialog d(nullptr, std::nullopt, browser.hook());
        d.show();
        d.start();
        if (by_escape) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&d, &escape);
        } else {
            d.close();
        }
        EXPECT_FALSE(d.isVisible());
        EXPECT_TRUE(d.choice().exit) << (by_escape ? "Escape" : "close box");
    }
}

TEST(LocationDialog, AFolderPathTooLongToRememberIsRefusedAsIfCancelled) {
    const std::string longest = "/" + std::string(259, 'L');
    const std::string too_long = longest + "x";
    int refusals = 0;
    auto expect_refusal = [&] {
        when_modal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            ++refusals;
            EXPECT_EQ(box->windowTitle(), "Stockavelle Server");
            EXPECT_EQ(box->text(), "The folder path is too long. Please select a folder with a shorter path.");
            box->accept();
        });
    };

    // First run: the dialog stays with no folder.
    ScriptedBrowser browser{{too_long, too_long, longest}};
    LocationDialog d(nullptr, std::nullopt, browser.hook(), answer_new_set(true));
    d.show();
    expect_refusal();
    d.start();
    EXPECT_EQ(refusals, 1);
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(button(&d, LocationDialog::kOkButton)->isEnabled());

    // A new set: refused, and its flags cleared as after a cancelled browser.
    expect_refusal();
    button(&d, LocationDialog::kCreateButton)->click();
    EXPECT_EQ(refusals, 2);
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.choice().new_set.create);

    // 260 bytes still fit.
    button(&d, LocationDialog::kOpenButton)->click();
    EXPECT_EQ(refusals, 2);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.choice().folder, longest);
}

TEST(LocationDialog, FirstRunWithAFolderChosenStartsANewEmptySet) {
    ScriptedBrowser browser{{std::string("/srv/shop")}};
    LocationDialog d(nullptr, std::nullopt, browser.hook());
    d.show();
    d.start();
    EXPECT_FALSE(d.isVisible());
    const LocationChoice c = d.choice();
    EXPECT_FALSE(c.exit);
    EXPECT_EQ(c.folder, "/srv/shop");
    EXPECT_TRUE(c.new_set.create);
    EXPECT_FALSE(c.new_set.carry_inventory || c.new_set.carry_invoices || c.new_set.carry_messages);

    // An empty pointer file is no folder at all.
    ScriptedBrowser again;
    LocationDialog empty(nullptr, std::string(), again.hook());
    EXPECT_TRUE(empty.first_run());
}

TEST(LocationDialog, AKnownFolderIsShownAndOkOrClosingKeepsIt) {
    ScriptedBrowser browser;
    LocationDialog d(nullptr, std::string("/srv/shop"), browser.hook());
    d.show();
    d.start();
    EXPECT_TRUE(browser.prompts.empty());
    EXPECT_EQ(d.findChild<QLineEdit*>("1024")->text(), "/srv/shop");
    ASSERT_TRUE(button(&d, LocationDialog::kOkButton)->isEnabled());
    button(&d, LocationDialog::kOkButton)->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.choice().folder, "/srv/shop");
    EXPECT_FALSE(d.choice().new_set.create);
    EXPECT_FALSE(d.choice().exit);

    LocationDialog closed(nullptr, std::string("/srv/shop"), browser.hook());
    closed.show();
    closed.close();
    EXPECT_EQ(closed.choice().folder, "/srv/shop");
    EXPECT_FALSE(closed.choice().exit);
}

TEST(LocationDialog, OpeningAnExistingSet) {
    ScriptedBrowser browser{{std::nullopt, std::string("/srv/other")}};
    LocationDialog d(nullptr, std::string("/srv/shop"), browser.hook());
    d.show();
    button(&d, LocationDialog::kOpenButton)->click();  // cancelled: nothing changes
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.choice().folder, "/srv/shop");
    button(&d, LocationDialog::kOpenButton)->click();
    EXPECT_EQ(browser.prompts[1], "Please select the location of your inventory, invoices, and messages.");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.choice().folder, "/srv/other");
    EXPECT_FALSE(d.choice().new_set.create);
}

TEST(LocationDialog, CreatingANewSetCarriesFromTheCurrentOne) {
    ScriptedBrowser browser{{std::nullopt, std::string("/srv/new")}};
    bool ask_next = true;
    LocationDialog d(nullptr, std::string("/srv/shop"), browser.hook(), [&](QWidget* owner, bool can_carry) {
        EXPECT_TRUE(can_carry);
        return answer_new_set(ask_next, true, false, true)(owner, can_carry);
    });
    d.show();

    // Next, then the browser cancelled: every flag is cleared and the dialog stays.
    button(&d, LocationDialog::kCreateButton)->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.choice().new_set.create || d.choice().new_set.carry_inventory || d.choice().new_set.carry_messages);
    EXPECT_EQ(d.choice().folder, "/srv/shop");

    // Cancel in the new-set dialog: no browser at all.
    ask_next = false;
    button(&d, LocationDialog::kCreateButton)->click();
    EXPECT_EQ(browser.prompts.size(), 1u);
    EXPECT_TRUE(d.isVisible());

    ask_next = true;
    button(&d, LocationDialog::kCreateButton)->click();
    EXPECT_FALSE(d.isVisible());
    const LocationChoice c = d.choice();
    EXPECT_EQ(c.folder, "/srv/new");
    EXPECT_TRUE(c.new_set.create);
    EXPECT_TRUE(c.new_set.carry_inventory);
    EXPECT_FALSE(c.new_set.carry_invoices);
    EXPECT_TRUE(c.new_set.carry_messages);
    EXPECT_EQ(c.new_set.source.invoices, "/srv/shop/invoices.dat");
    EXPECT_EQ(c.new_set.source.inventory, "/srv/shop/inventory.txt");
    EXPECT_EQ(browser.prompts[1], "Please select a location to save your inventory, invoices, and messages.");
}

TEST(NewSetDialog, NextSetsTheTickedFlagsAndCancelClearsAll) {
    NewSetDialog d(nullptr);
    EXPECT_EQ(d.windowTitle(), "Create New Database Set");
    auto* inventory = d.findChild<QCheckBox*>("1013");
    auto* invoices = d.findChild<QCheckBox*>("1015");
    auto* messages = d.findChild<QCheckBox*>("1014");
    ASSERT_TRUE(inventory && invoices && messages);
    EXPECT_EQ(inventory->text(), "Initialize new database set with inventory from currently selected database set.");
    EXPECT_EQ(invoices->text(), "Initialize new database set with invoices from currently selected database set.");
    EXPECT_EQ(messages->text(), "Initialize new database set with messages from currently selected database set.");
    EXPECT_FALSE(inventory->isChecked() || invoices->isChecked() || messages->isChecked());
    d.show();
    invoices->setChecked(true);
    messages->setChecked(true);
    button(&d, NewSetDialog::kNextButton)->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.choice().create);
    EXPECT_FALSE(d.choice().carry_inventory);
    EXPECT_TRUE(d.choice().carry_invoices);
    EXPECT_TRUE(d.choice().carry_messages);

    for (bool by_close_box : {false, true}) {
        NewSetDialog c(nullptr);
        c.show();
        c.findChild<QCheckBox*>("1013")->setChecked(true);
        if (by_close_box)
            c.close();
        else
            button(&c, NewSetDialog::kCancelButton)->click();
        EXPECT_FALSE(c.choice().create || c.choice().carry_inventory);
    }

    // With no current set there is nothing to carry over.
    NewSetDialog none(nullptr, false);
    none.findChild<QCheckBox*>("1013")->setChecked(true);
    EXPECT_FALSE(none.findChild<QCheckBox*>("1013")->isEnabled());
    button(&none, NewSetDialog::kNextButton)->click();
    EXPECT_TRUE(none.choice().create);
    EXPECT_FALSE(none.choice().carry_inventory);
}

TEST(ServerNameDialog, StartTakesTheTypedNameExitAndCloseDoNot) {
    ServerWindow window;
    QtStartupUi ui(&window);

    std::string name = "stockavelle server 1.0";
    when_modal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Stockavelle Server");
        auto* edit = d->findChild<QLineEdit*>("1000");
        EXPECT_EQ(edit->text(), "stockavelle server 1.0");
        EXPECT_EQ(edit->maxLength(), 31);
        edit->setText(QString::fromUtf8("Caf\u00e9 counter"));
        button(d, ServerNameDialog::kStartButton)->click();
    });
    EXPECT_EQ(ui.ask_server_name(name), ServerNameOutcome::Start);
    EXPECT_EQ(name, "Caf\xE9 counter");

    when_modal([](QWidget* d) {
        auto* edit = d->findChild<QLineEdit*>("1000");
        edit->clear();
        edit->insert(QString(40, 'n'));
        EXPECT_EQ(edit->text().size(), 31);
        edit->clear();
        button(d, ServerNameDialog::kStartButton)->click();
    });
    EXPECT_EQ(ui.ask_server_name(name), ServerNameOutcome::Start);
    EXPECT_EQ(name, "");  // start-up puts the default name in

    name = "till";
    when_modal([](QWidget* d) {
        d->findChild<QLineEdit*>("1000")->setText("other");
        d->close();
    });
    EXPECT_EQ(ui.ask_server_name(name), ServerNameOutcome::Closed);
    EXPECT_EQ(name, "till");

    when_modal([](QWidget* d) { button(d, ServerNameDialog::kExitButton)->click(); });
    EXPECT_EQ(ui.ask_server_name(name), ServerNameOutcome::Exit);
    EXPECT_EQ(name, "till");
}

TEST(QtStartupUi, LocationFlowRunsModallyOverTheWindow) {
    ServerWindow window;
    window.show();
    QtStartupUi ui(&window);

    // First run, browser cancelled, then Exit: the dialog waited with OK disabled.
    bool ok_enabled = true;
    ui.set_folder_browser([&](QWidget* owner, const QString&) -> std::optional<std::string> {
        when_modal([&](QWidget* d) {
            ok_enabled = button(d, LocationDialog::kOkButton)->isEnabled();
            button(d, LocationDialog::kExitButton)->click();
        });
        return std::nullopt;
    });
    LocationChoice c = ui.ask_location(std::nullopt);
    EXPECT_FALSE(ok_enabled);
    EXPECT_TRUE(c.exit);

    ui.set_folder_browser([](QWidget*, const QString&) { return std::optional<std::string>("/srv/first"); });
    c = ui.ask_location(std::nullopt);
    EXPECT_FALSE(c.exit);
    EXPECT_EQ(c.folder, "/srv/first");
    EXPECT_TRUE(c.new_set.create);

    ui.set_title("Stockavelle Server - till 2 - /srv/first");
    EXPECT_EQ(window.windowTitle(), "Stockavelle Server - till 2 - /srv/first");
    ui.append_log("Server initialization complete. Waiting for a client request\r\n");
    EXPECT_EQ(window.log_text(), "Server initialization complete. Waiting for a client request\n");
}

TEST(QtStartupUi, MessageBoxesHaveTheirCaptionsIconsAndButtons) {
    ServerWindow window;
    window.show();
    QtStartupUi ui(&window);
    const char* failure =
        "Stockavelle was unable to save invoices. The destination drive may be full, or the destination file may "
        "be inaccessible or write protected.";

    for (bool retry : {true, false}) {
        when_modal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Stockavelle Server");
            EXPECT_EQ(box->text(), failure);
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Retry | QMessageBox::Cancel);
            box->button(retry ? QMessageBox::Retry : QMessageBox::Cancel)->click();
        });
        EXPECT_EQ(ui.ask_retry(failure), retry);
    }

    bool shown = false;
    when_modal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        shown = true;
        EXPECT_EQ(box->windowTitle(), "Stockavelle Server");
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_EQ(box->text(),
                  "Another instance of Stockavelle Server is running on this computer. When running multiple "
                  "instances on one computer, each instance must have a unique name. Multiple instances must not "
                  "share databases.");
        box->accept();
    });
    ui.warn_another_instance();
    EXPECT_TRUE(shown);
}

TEST(QtStartupUi, ClosingTheFirstRunLocationDialogEndsStartUpWithoutTouchingTheWorkingFolder) {
    QTemporaryDir scratch;
    const QString appdata = scratch.path() + "/appdata";
    const QString working = scratch.path() + "/working";
    ASSERT_TRUE(QDir().mkpath(working));
    const char* saved = std::getenv(stk::platform::kAppDataVariable);
    const std::string saved_appdata = saved ? saved : "";
    ::setenv(stk::platform::kAppDataVariable, appdata.toLocal8Bit().constData(), 1);
    const QString saved_working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working));

    ServerWindow window;
    window.show();
    QtStartupUi ui(&window);
    ui.set_folder_browser([](QWidget*, const QString&) -> std::optional<std::string> {
        when_modal([](QWidget* d) { d->close(); });
        return std::nullopt;
    });
    ServerRuntime rt;
    EXPECT_EQ(start_server(ui, rt, StartupOptions{}), StartupOutcome::Exit);
    EXPECT_EQ(window.log_text(), "");
    EXPECT_TRUE(QDir(working).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));

    QDir::setCurrent(saved_working);
    if (saved)
        ::setenv(stk::platform::kAppDataVariable, saved_appdata.c_str(), 1);
    else
        ::unsetenv(stk::platform::kAppDataVariable);
}
