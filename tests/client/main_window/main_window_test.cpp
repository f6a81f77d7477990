#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include "tests/client/support/gui_helpers.h"

#include "client/app/session.h"
#include "client/app/session_attach.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/shell_open.h"
#include "client/ui/strings.h"
#include "common/records.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        session().reset();
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages_.push_back(m);
            return answer_;
        });
        window_ = std::make_unique<MainWindow>();
        attach_session(*window_);
    }
    void TearDown() override {
        window_.reset();
        DialogSeam::reset();
        set_shell_opener(nullptr);
        session().reset();
    }
    QRect at(int id) const { return window_->control(id)->geometry(); }

    std::unique_ptr<MainWindow> window_;
    std::vector<MessageRequest> messages_;
    MsgAnswer answer_ = MsgAnswer::Ok;
};

TEST_F(MainWindowTest, ControlsHaveTheirIdsLimitsAndTabOrder) {
    // Each edit takes no more than the record field it lands in holds; the note is sent in text_a (63).
    const InvoiceRecord r{};
    const InvoiceLine l{};
    auto held = [](const auto& f) { return static_cast<int>(sizeof f) - 1; };
    const std::pair<int, int> limits[] = {{401, held(r.customer_name)},
                                          {407, held(r.customer_phone_number)},
                                          {404, held(r.invoice_number)},
                                          {408, held(r.order_number)},
                                          {402, held(r.date)},
                                          {414, held(r.time)},
                                          {409, held(l.quantity)},
                                          {410, held(l.backorder_quantity)},
                                          {405, held(l.item_number)},
                                          {403, held(l.description)},
                                          {411, held(l.remark)},
                                          {416, held(l.unit_price)},
                                          {ids::kUnitCost, held(l.unit_cost)},
                                          {ids::kTaxPercent, held(l.tax_percent)},
                                          {412, held(r.salesperson)},
                                          {406, held(RequestHeader{}.text_a)},
                                          {400, held(r.cash_received)}};
    for (auto [id, limit] : limits) {
        ASSERT_NE(window_->edit(id), nullptr) << id;
        EXPECT_EQ(window_->edit(id)->maxLength(), limit) << id;
        EXPECT_EQ(window_->control(id), window_->edit(id));
    }
    EXPECT_EQ(window_->edit(400)->alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_TRUE(window_->inventory_item_check()->isChecked());
    EXPECT_EQ(window_->control(501), window_->inventory_list());
    EXPECT_EQ(window_->control(502), window_->invoice_lines());
    EXPECT_EQ(window_->change_value()->text(), QStringLiteral("0.00"));
    ASSERT_EQ(window_->payment_list()->count(), 6);
    EXPECT_EQ(window_->payment_list()->itemText(3), QStringLiteral("CREDIT CARD"));
    EXPECT_EQ(window_->payment_list()->currentIndex(), 0);
    EXPECT_EQ(window_->status_list()->itemText(1), QStringLiteral("COMPLETE"));
    for (int id : {100, 101, 102, 103, 104, 105}) EXPECT_NE(window_->button(id), nullptr) << id;

    // Upper-case edits upper-case what is typed.
    testing::type_text(window_->edit(ids::kItemNumber), QStringLiteral("ab-\u00e9"));
    EXPECT_EQ(window_->edit(ids::kItemNumber)->text(), QStringLiteral("AB-\u00c9"));

    // Tab walks the controls in creation order.
    const int order[] = {401, 407, 104, 102, 404, 408, 402, 414, 409, 410, 200, 405, 105, 403, 411, 416,
                         ids::kUnitCost, ids::kTaxPercent, 100, 101, 103, 501, 502, 412, 406, 301, 300, 400};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget* w = window_->control(order[i - 1]);
        QWidget* next = w->nextInFocusChain();
        while (next && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
        EXPECT_EQ(next, window_->control(order[i])) << "after " << order[i - 1];
    }

    EXPECT_FALSE(window_->action(ids::kMenuSalesReport)->isEnabled());
    EXPECT_TRUE(window_->action(ids::kMenuNonInventorySalesReport)->isEnabled());
    window_->set_sales_report_enabled(true);
    EXPECT_TRUE(window_->action(ids::kMenuSalesReport)->isEnabled());
}

TEST_F(MainWindowTest, LayoutFollowsTheSizeDownToTheFloor) {
    window_->layout_controls(1000, 700);
    EXPECT_EQ(at(501), QRect(0, 178, 1000, 266));
    EXPECT_EQ(at(502), QRect(0, 445, 1000, 191));
    EXPECT_EQ(at(400), QRect(781, 639, 62, 23));
    EXPECT_EQ(at(300), QRect(597, 659, 100, 23));
    EXPECT_EQ(window_->total_value()->geometry(), QRect(897, 676, 100, 19));
    EXPECT_EQ(at(401), QRect(78, 55, 221, 23));
    EXPECT_EQ(at(101), QRect(660, 131, 104, 23));

    // Below 738 x 440 everything keeps the 738 x 440 placement: the inventory list is 6 pixels high.
    window_->layout_controls(500, 300);
    EXPECT_EQ(at(501), QRect(0, 178, 738, 6));
    EXPECT_EQ(at(502), QRect(0, 185, 738, 191));
    EXPECT_EQ(at(400), QRect(519, 379, 62, 23));
    EXPECT_EQ(at(412), QRect(65, 379, 215, 23));
    EXPECT_EQ(window_->change_value()->geometry(), QRect(519, 404, 59, 19));

    // A real resize of the window's client area goes through the same rule.
    window_->show();
    window_->resize(400, 250);
    EXPECT_TRUE(testing::wait_until([&] { return at(501) == QRect(0, 178, 738, 6); }));
}

// Every fixed caption must be readable whole in its placement, whatever face the desktop gives us.
void expect_captions_fit(MainWindow& window) {
    int labels = 0, buttons = 0;
    for (QLabel* l : window.client_area()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!l->objectName().isEmpty() || l->text().isEmpty()) continue;  // value labels change with the invoice
        ++labels;
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
        EXPECT_LE(l->fontMetrics().height(), l->height()) << l->text().toStdString();
    }
    for (QPushButton* b : window.client_area()->findChildren<QPushButton*>()) {
        ++buttons;
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 4, b->width()) << b->text().toStdString();
    }
    QCheckBox* check = window.inventory_item_check();
    EXPECT_LE(check->sizeHint().width(), check->width());
    EXPECT_EQ(labels, 23);
    EXPECT_EQ(buttons, 6);
    EXPECT_GE(window.client_area()->font().pixelSize(), MainWindow::kSmallestCaptionPixels);
}

TEST_F(MainWindowTest, CaptionsFitTheirPlacementsAndInvoicesWindowHasItsPlace) {
    window_->layout_controls(738, 440);
    expect_captions_fit(*window_);
    EXPECT_LE(window_->client_area()->font().pixelSize(), MainWindow::kLargestCaptionPixels);
    // Asked for a face far too large for the placements, the window takes the largest size that fits.
    window_->fit_caption_font(24);
    const int fitted = window_->client_area()->font().pixelSize();
    EXPECT_LT(fitted, 24);
    expect_captions_fit(*window_);
    window_->fit_caption_font(fitted + 1);
    EXPECT_EQ(window_->client_area()->font().pixelSize(), fitted);
    EXPECT_TRUE(window_->total_value()->font().bold());
    EXPECT_EQ(window_->total_value()->font().pixelSize(), fitted);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect place = session().invoices_window_placement;
    EXPECT_EQ(place.size(), QSize(790, 400));
    EXPECT_EQ(place.left(), screen.x() + (screen.width() - 790) / 2);
    EXPECT_EQ(place.bottom(), place.top() + 399);
}

TEST_F(MainWindowTest, TypingFiresOneSearchAfterTheLastKeystroke) {
    QStringList spy;
    QObject::connect(window_.get(), &MainWindow::type_ahead_search, [&](const QString& t) { spy << t; });
    QStringList hooked;
    window_->on_inventory_search = [&](const QString& text) { hooked << text; };
    testing::type_text(window_->edit(ids::kItemNumber), QStringLiteral("hamme"));
    EXPECT_TRUE(window_->search_pending());
    EXPECT_EQ(window_->type_ahead_timer()->interval(), 750);
    EXPECT_TRUE(window_->type_ahead_timer()->isSingleShot());
    EXPECT_EQ(spy.count(), 0);
    ASSERT_TRUE(testing::wait_until([&] { return !spy.isEmpty(); }));
    EXPECT_EQ(spy, QStringList{QStringLiteral("HAMME")});
    EXPECT_EQ(hooked, QStringList{QStringLiteral("HAMME")});
    EXPECT_EQ(window_->last_search_text, QStringLiteral("HAMME"));
    EXPECT_FALSE(window_->search_pending());  // nothing else is on its way

    // The description searches only while the item number is empty, and then with its own text.
    testing::type_text(window_->edit(ids::kDescription), QStringLiteral("x"));
    EXPECT_FALSE(window_->search_pending());
    window_->edit(ids::kItemNumber)->clear();  // a programmatic change arms the timer too
    EXPECT_TRUE(window_->search_pending());
    testing::type_text(window_->edit(ids::kDescription), QStringLiteral("y"));
    ASSERT_TRUE(testing::wait_until([&] { return spy.size() == 2; }));
    EXPECT_EQ(spy.at(1), QStringLiteral("XY"));
}

TEST_F(MainWindowTest, ClearAndAddToInvoiceEmptyTheEntryFields) {
    set_field(session().settings.tax_percentage, "8.25");
    for (int id : {409, 410, 405, 403, 411, 416, ids::kUnitCost}) window_->edit(id)->setText(QStringLiteral("1"));
    window_->inventory_item_check()->setChecked(false);
    window_->button(ids::kClear)->click();
    for (int id : {409, 410, 405, 403, 411, 416, ids::kUnitCost}) EXPECT_TRUE(window_->edit(id)->text().isEmpty());
    EXPECT_EQ(window_->edit(ids::kTaxPercent)->text(), QStringLiteral("8.25"));
    EXPECT_TRUE(window_->inventory_item_check()->isChecked());

    // "Add to Invoice" clears only when the line was added, and then always searches again.
    window_->type_ahead_timer()->stop();
    int result = 0;
    window_->on_add_to_invoice = [&] { return result; };
    window_->edit(409)->setText(QStringLiteral("2"));
    window_->button(ids::kAddToInvoice)->click();
    EXPECT_EQ(window_->edit(409)->text(), QStringLiteral("2"));
    EXPECT_FALSE(window_->search_pending());
    result = 1;
    window_->button(ids::kAddToInvoice)->click();
    EXPECT_TRUE(window_->edit(409)->text().isEmpty());
    EXPECT_TRUE(window_->search_pending());
}

TEST_F(MainWindowTest, InvoiceFieldChangesAreSavedOnlyOutsideLoading) {
    std::vector<int> saved;
    int cleared = 0;
    int save_result = 1;
    window_->on_save_field = [&](int id) {
        saved.push_back(id);
        return save_result;
    };
    window_->on_clear_customer = [&] { ++cleared; };

    window_->filling_fields = true;
    for (int id : ids::kInvoiceFieldIds) window_->edit(id)->setText(QStringLiteral("7"));
    EXPECT_TRUE(saved.empty());
    window_->filling_fields = false;

    window_->edit(ids::kOrderNumber)->setText(QStringLiteral("PO-1"));
    EXPECT_EQ(saved, std::vector<int>{ids::kOrderNumber});
    // Emptying the customer name asks string 36; Yes clears the customer instead of saving the field.
    answer_ = MsgAnswer::Yes;
    window_->edit(ids::kCustomerName)->clear();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, string_text(36));
    EXPECT_EQ(messages_[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages_[0].default_answer, MsgAnswer::No);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(saved.size(), 1u);
    // No saves the emptied field; a failed save puts the focus back into the edit.
    window_->show();
    window_->edit(ids::kOrderNumber)->setFocus();
    answer_ = MsgAnswer::No;
    save_result = 0;
    window_->edit(ids::kCustomerName)->setText(QStringLiteral("A"));
    window_->edit(ids::kCustomerName)->clear();
    EXPECT_EQ(saved.back(), ids::kCustomerName);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(window_->focusWidget(), window_->edit(ids::kCustomerName));
}

TEST_F(MainWindowTest, HelpAboutAndCommandHandlers) {
    QTemporaryDir dir;
    session().files_folder = dir.path();
    QStringList opened;
    set_shell_opener([&](const QString& path) {
        opened << path;
        return true;
    });
    window_->run_command(ids::kMenuViewHelp);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text,
              QStringLiteral("Documentation appears to be missing.\r\n") + dir.path() +
                  QStringLiteral("/Documentation/documentation.html"));
    EXPECT_EQ(messages_[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(opened.isEmpty());

    QDir(dir.path()).mkpath(QStringLiteral("Documentation"));
    QFile help(dir.path() + QStringLiteral("/Documentation/documentation.html"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    window_->action(ids::kMenuViewHelp)->trigger();
    EXPECT_EQ(opened, QStringList{help.fileName()});

    QString about_name;
    QSize about_size;
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        about_name = d.objectName();
        about_size = d.size();
        return int(QDialog::Accepted);
    });
    window_->action(ids::kMenuAbout)->trigger();
    EXPECT_EQ(about_name, QStringLiteral("dialog121"));
    EXPECT_EQ(about_size, QSize(480, 420));

    // Buttons and menu items run the handler set for their id; New Invoice reports a failure with string 37.
    int contacts = 0;
    window_->set_command_handler(ids::kContacts, [&] { ++contacts; });
    window_->button(ids::kContacts)->click();
    EXPECT_EQ(contacts, 1);
    EXPECT_FALSE(window_->run_command(ids::kMenuImportItems));
    messages_.clear();
    window_->on_new_invoice = [] { return 0; };
    window_->action(ids::kMenuNewInvoice)->trigger();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QStringLiteral("Please check Stockavelle Server."));
    EXPECT_EQ(messages_[0].icon, MsgIcon::Information);
}

}  // namespace
}  // namespace stk::client
