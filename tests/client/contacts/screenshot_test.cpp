// Pictures of the Contacts and Messages windows on the demo shop (the demo's contacts and a seeded server),
// opened from the main window's View menu as the user does. Runs only when STOCKAVELLE_SCREENSHOT_DIR names the
// folder to write them into:
//   STOCKAVELLE_SCREENSHOT_DIR=docs/screenshots test_client_contacts --gtest_filter='Screen*'
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeView>

#include "client/app/contacts_attach.h"
#include "client/app/messages_attach.h"
#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/app/session_attach.h"
#include "client/app/startup.h"
#include "client/app/startup_dialogs.h"
#include "client/contacts/contact_dialog.h"
#include "client/contacts/contacts_window.h"
#include "client/main_window/main_window.h"
#include "client/messages/messages_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "tests/client/support/demo_shop.h"
#include "tests/client/support/gui_helpers.h"

namespace stk::client {
namespace {

// Shows a dialog that the seam was handed, lets it paint, and saves its picture.
void picture(QDialog& d, const QString& path) {
    d.show();
    testing::wait_until([] { return false; }, 200);
    d.grab().save(path);
}

TEST(ScreenshotTest, ContactsAndMessagesOnTheDemoShop) {
    const QString out = testing::screenshot_folder();
    if (out.isEmpty()) GTEST_SKIP() << "STOCKAVELLE_SCREENSHOT_DIR not set";
    QTemporaryDir dir;
    ::setenv("STOCKAVELLE_APPDATA", dir.filePath(QStringLiteral("appdata")).toLocal8Bit().constData(), 1);
    session().reset();
    test::ServerProcess server;
    ASSERT_TRUE(testing::start_demo_server(server));
    const QString shop = dir.filePath(QStringLiteral("shop"));
    QDir().mkpath(shop);
    ASSERT_TRUE(QFile::copy(QStringLiteral(STOCKAVELLE_SOURCE_DIR "/resources/demo/contacts.txt"),
                            shop + QStringLiteral("/contacts.txt")));

    DialogSeam::set_message_handler([](const MessageRequest&) { return MsgAnswer::Ok; });
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        if (d.objectName() == QStringLiteral("dialog137")) {
            auto& c = static_cast<CompanyDialog&>(d);
            c.edit(1087)->setText(QString::fromStdString(server.server_name()));
            c.edit(1071)->setText(QStringLiteral("Harbour Hardware"));
            return int(QDialog::Accepted);
        }
        if (auto* contacts = dynamic_cast<ContactsWindow*>(&d)) {
            picture(d, out + QStringLiteral("/client-contacts-window.png"));
            contacts->list()->setCurrentIndex(contacts->model().index(1, 0));
            contacts->edit_contact(contacts->selected_slot());
            return int(QDialog::Rejected);
        }
        if (dynamic_cast<ContactDialog*>(&d)) {
            picture(d, out + QStringLiteral("/client-contact-dialog.png"));
            return int(QDialog::Rejected);
        }
        if (auto* messages = dynamic_cast<MessagesWindow*>(&d)) {
            messages->list()->setCurrentIndex(messages->model().index(1, 0));
            picture(d, out + QStringLiteral("/client-messages-window.png"));
            return int(QDialog::Rejected);
        }
        return int(QDialog::Rejected);
    });

    MainWindow window;
    attach_session(window);
    window.resize(1040, 720);
    window.show();
    StartupOptions options;
    options.program_folder = testing::program_folder();
    options.data_set = shop;
    ASSERT_TRUE(run_startup(window, options, [&] {
        attach_sale(window);
        attach_contacts(window);
        attach_messages(window);
    }));
    EXPECT_EQ(session().contacts.count(), 7);
    EXPECT_TRUE(window.run_command(ids::kMenuContacts));
    EXPECT_TRUE(window.run_command(ids::kMenuMessages));
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/client-messages-window.png")));
    DialogSeam::reset();
    session().reset();
}

}  // namespace
}  // namespace stk::client
