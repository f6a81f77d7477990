// The Messages window against a real server, opened from View > Messages as the user does.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QMenu>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/app/messages_attach.h"
#include "client/main_window/main_window.h"
#include "client/messages/message_dialog.h"
#include "client/messages/messages_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "tests/support/server_process.h"

namespace stk::client {
namespace {

class MessagesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.log();
        api = std::make_unique<ServerApi>(server.make_api());
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages.push_back(m.text);
            if (answers.empty()) return m.default_answer;
            const MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        });
        DialogSeam::set_dialog_handler([this](QDialog& d) {
            if (auto* w = dynamic_cast<MessagesWindow*>(&d)) {
                QAbstractItemModelTester tester(&w->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
                if (in_window) in_window(*w);
                return int(QDialog::Rejected);
            }
            if (auto* m = dynamic_cast<MessageDialog*>(&d)) {
                shown_texts.push_back(m->text());
                if (!typed) return int(QDialog::Rejected);
                m->edit()->setText(*typed);
                m->findChild<QPushButton*>(QStringLiteral("1088"))->click();
                return m->result();
            }
            return int(QDialog::Rejected);
        });
        window = std::make_unique<MainWindow>();
        attach_messages(*window, *api);
    }
    void TearDown() override {
        window.reset();
        DialogSeam::reset();
    }

    // Opens the window from the menu and runs `steps` in it.
    void in_messages(std::function<void(MessagesWindow&)> steps) {
        in_window = std::move(steps);
        ASSERT_TRUE(window->run_command(ids::kMenuMessages));
    }
    static QStringList texts(MessagesWindow& w) {
        QStringList out;
        for (const MessageRecord& m : w.model().messages()) out << field_text(m.text);
        return out;
    }
    static void select_row(MessagesWindow& w, int row) { w.list()->setCurrentIndex(w.model().index(row, 0)); }
    void post(const char* text) {
        MessageRecord none{}, m{};
        set_field(m.text, text);
        ASSERT_EQ(api->save_message(none, m), RESULT_OK);
    }
    std::vector<std::string> stored() {
        std::vector<MessageRecord> list;
        EXPECT_EQ(api->list_messages(&list), RESULT_OK);
        std::vector<std::string> out;
        for (const MessageRecord& m : list) out.emplace_back(field(m.text));
        return out;
    }

    test::ServerProcess server;
    std::unique_ptr<ServerApi> api;
    std::unique_ptr<MainWindow> window;
    std::function<void(MessagesWindow&)> in_window;
    std::optional<QString> typed;  // what the Message dialog gets before OK; none: Cancel
    std::vector<QString> shown_texts;
    std::vector<QString> messages;
    std::deque<MsgAnswer> answers;
};

TEST_F(MessagesWindowTest, NewMessagesAreStoredTrimmedAndWholeAndListedNewestFirst) {
    post("OPEN AT 9 TOMORROW");
    const QString longest(MessageDialog::kLimit, QLatin1Char('x'));
    in_messages([&](MessagesWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Messages And Notes");
        EXPECT_EQ(w.size(), QSize(668, 462));
        EXPECT_TRUE(w.list()->isHeaderHidden());
        EXPECT_EQ(texts(w), QStringList{"OPEN AT 9 TOMORROW"});

        typed = QStringLiteral("  \tCall the glass supplier \t ");
        w.findChild<QPushButton*>(QStringLiteral("1078"))->click();
        typed = longest + QStringLiteral("yyy");  // more than the box takes
        w.findChild<QPushButton*>(QStringLiteral("1078"))->click();
        EXPECT_EQ(texts(w), (QStringList{longest, "Call the glass supplier", "OPEN AT 9 TOMORROW"}));

        // Cancel sends nothing; OK on an empty new message is refused by the server and changes nothing.
        typed.reset();
        w.findChild<QPushButton*>(QStringLiteral("1078"))->click();
        typed = QStringLiteral("   ");
        w.findChild<QPushButton*>(QStringLiteral("1078"))->click();
        EXPECT_EQ(w.model().rowCount(), 3);
    });
    EXPECT_EQ(stored(),
              (std::vector<std::string>{longest.toStdString(), "Call the glass supplier", "OPEN AT 9 TOMORROW"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(MessagesWindowTest, EditingReplacesTheTextAndKeepsTheTimeStamp) {
    post("TILL 2 SHORT 5.00");
    std::vector<MessageRecord> before;
    ASSERT_EQ(api->list_messages(&before), RESULT_OK);
    in_messages([&](MessagesWindow& w) {
        select_row(w, 0);
        typed = QStringLiteral("TILL 2 SHORT 5.00 - FOUND IT");
        w.run_command(MessagesWindow::kEditCommand);
        EXPECT_EQ(texts(w), QStringList{"TILL 2 SHORT 5.00 - FOUND IT"});
    });
    EXPECT_EQ(shown_texts, std::vector<QString>{"TILL 2 SHORT 5.00"});
    std::vector<MessageRecord> after;
    ASSERT_EQ(api->list_messages(&after), RESULT_OK);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_STREQ(after[0].timestamp, before[0].timestamp);
}

TEST_F(MessagesWindowTest, AMessageDeletedElsewhereGivesStringTwentyAndAReload) {
    post("FIRST");
    post("SECOND");
    in_messages([&](MessagesWindow& w) {
        ASSERT_EQ(texts(w), (QStringList{"SECOND", "FIRST"}));
        // Another till deletes SECOND and writes THIRD while this window still shows the old list.
        std::vector<MessageRecord> list;
        ASSERT_EQ(api->list_messages(&list), RESULT_OK);
        ASSERT_EQ(server.make_api().delete_message(list[0]), RESULT_OK);
        post("THIRD");

        select_row(w, 0);
        typed = QStringLiteral("SECOND, EDITED");
        w.run_command(MessagesWindow::kEditCommand);
        EXPECT_EQ(messages, std::vector<QString>{string_text(str::kItemModified)});
        EXPECT_EQ(texts(w), (QStringList{"THIRD", "FIRST"}));
    });
    EXPECT_EQ(stored(), (std::vector<std::string>{"THIRD", "FIRST"}));
}

TEST_F(MessagesWindowTest, DeleteAsksFirstAndAMessageAlreadyGoneIsReloaded) {
    post("KEEP");
    post("DROP");
    in_messages([&](MessagesWindow& w) {
        select_row(w, 0);
        answers = {MsgAnswer::No};
        w.run_command(MessagesWindow::kDeleteCommand);
        EXPECT_EQ(messages, std::vector<QString>{string_text(str::kConfirmRemoveItems)});
        EXPECT_EQ(w.model().rowCount(), 2);

        // Yes, from the row's right-click menu.
        answers = {MsgAnswer::Yes};
        QStringList offered;
        DialogSeam::set_menu_handler([&](QMenu& menu) -> QAction* {
            QAction* chosen = nullptr;
            for (QAction* a : menu.actions()) {
                offered << (a->isSeparator() ? QStringLiteral("-") : a->text());
                if (a->text() == "Delete") chosen = a;
            }
            return chosen;
        });
        w.show();
        emit w.list()->customContextMenuRequested(w.list()->visualRect(w.model().index(0, 1)).center());
        EXPECT_EQ(offered, (QStringList{"Edit/View...", "-", "Delete"}));
        EXPECT_EQ(texts(w), QStringList{"KEEP"});

        // Gone from the server meanwhile: string 20, and the list shows what is left.
        std::vector<MessageRecord> list;
        ASSERT_EQ(api->list_messages(&list), RESULT_OK);
        ASSERT_EQ(server.make_api().delete_message(list[0]), RESULT_OK);
        messages.clear();
        select_row(w, 0);
        answers = {MsgAnswer::Yes};
        w.run_command(MessagesWindow::kDeleteCommand);
        EXPECT_EQ(messages,
                  (std::vector<QString>{string_text(str::kConfirmRemoveItems), string_text(str::kItemModified)}));
        EXPECT_EQ(w.model().rowCount(), 0);
    });
}

TEST_F(MessagesWindowTest, RefreshShowsWhatOthersWroteAndAServerGoneKeepsTheList) {
    post("ONE");
    in_messages([&](MessagesWindow& w) {
        post("TWO");
        w.findChild<QPushButton*>(QStringLiteral("1091"))->click();
        EXPECT_EQ(texts(w), (QStringList{"TWO", "ONE"}));
        ASSERT_TRUE(server.stop());
        w.reload();
        EXPECT_EQ(texts(w), (QStringList{"TWO", "ONE"}));
    });
}

}  // namespace
}  // namespace stk::client
