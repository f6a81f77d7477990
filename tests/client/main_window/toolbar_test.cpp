#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "client/app/session_attach.h"
#include "client/ui/toolbar.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client {
namespace {

TEST(ToolbarTest, HitTestingFramedLooksAndTheBand) {
    Toolbar bar;
    EXPECT_EQ(bar.add_button(1, 10, 2, 20, 10, 0, 1), 1);    // pixels 10..29 x 2..11
    EXPECT_EQ(bar.add_button(2, 100, 0, 40, 20, 1, 1), 2);   // ellipse
    EXPECT_EQ(bar.hit_test(29, 11), 1);
    EXPECT_EQ(bar.hit_test(30, 5), 0);
    EXPECT_EQ(bar.hit_test(119, 10), 2);  // the ellipse's middle and the ends of its axes
    EXPECT_EQ(bar.hit_test(100, 10), 2);
    EXPECT_EQ(bar.hit_test(139, 10), 2);
    EXPECT_EQ(bar.hit_test(100, 0), 0);   // not the corners of its rectangle
    EXPECT_EQ(bar.hit_test(104, 2), 0);
    for (int i = 3; i <= Toolbar::kMaxButtons; ++i) bar.add_button(i, 2000, 0, 1, 1, 0, 1);
    EXPECT_EQ(bar.add_button(21, 2000, 0, 1, 1, 0, 1), 0);
    EXPECT_EQ(bar.set_bitmaps(21, QPixmap(), QPixmap(), QPixmap()), 0);

    // No pictures of its own: a raised or sunken one-pixel frame around the band's face.
    QPixmap band(1700, 100);
    band.fill(QColor(200, 200, 200));
    QPainter(&band).fillRect(10, 2, 1, 1, Qt::green);
    ASSERT_EQ(bar.set_bitmaps(1, band, QPixmap(), QPixmap()), 1);
    QImage target(1700, 100, QImage::Format_RGB32);
    auto paint = [&] {
        target.fill(Qt::blue);
        QPainter p(&target);
        bar.paint_band(p, QRect(-20, -20, 2000, 300));
    };
    const QColor dark(127, 127, 127), light(Qt::white);
    bar.draw_button(1, Toolbar::kHot);
    paint();
    EXPECT_EQ(target.pixelColor(10, 10), light);
    EXPECT_EQ(target.pixelColor(29, 2), dark);
    EXPECT_EQ(target.pixelColor(10, 11), dark);
    EXPECT_EQ(target.pixelColor(11, 3), QColor(200, 200, 200));
    bar.draw_button(1, Toolbar::kPressedLook);
    paint();
    EXPECT_EQ(target.pixelColor(10, 2), dark);
    EXPECT_EQ(target.pixelColor(29, 11), light);
    EXPECT_EQ(target.pixelColor(11, 3), QColor(Qt::green));  // face one pixel right and down
    // Painting again (the window uncovered) shows it at rest; the band ends at 1600 x 54.
    paint();
    EXPECT_EQ(bar.shown_look(1), Toolbar::kRest);
    EXPECT_EQ(target.pixelColor(10, 2), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(1600, 54), QColor(200, 200, 200));
    EXPECT_EQ(target.pixelColor(1601, 10), QColor(Qt::blue));
    EXPECT_EQ(target.pixelColor(10, 55), QColor(Qt::blue));
}

// The main window's toolbar, driven through the client area's mouse messages.
class WindowToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        session().reset();
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages_.push_back(m);
            return MsgAnswer::Ok;
        });
        window_ = std::make_unique<MainWindow>();
        attach_session(*window_);
        window_->on_new_invoice = [this] { return ++new_invoices_, new_invoice_result_; };
        window_->on_previous_invoice = [this] { ++previous_; };
        window_->on_next_invoice = [this] { ++next_; };
        bar().pointer_on_surface = [this] { return pointer_inside_; };
    }
    void TearDown() override {
        window_.reset();
        DialogSeam::reset();
        session().reset();
    }
    Toolbar& bar() { return *window_->toolbar(); }
    void send(QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(window_->client_area(), &e);
    }
    void press(Qt::MouseButton b, QPoint at) { send(QEvent::MouseButtonPress, b, at, b); }
    void move(QPoint at, Qt::MouseButtons held = Qt::NoButton) { send(QEvent::MouseMove, Qt::NoButton, at, held); }
    void release(Qt::MouseButton b, QPoint at) { send(QEvent::MouseButtonRelease, b, at, Qt::NoButton); }
    void click(int button) {
        press(Qt::LeftButton, on(button));
        release(Qt::LeftButton, on(button));
    }
    static QPoint on(int button) { return {kMainToolbar[button - 1].left + 26, 28}; }
    static constexpr QPoint kBelow{140, 200};

    std::unique_ptr<MainWindow> window_;
    std::vector<MessageRequest> messages_;
    int new_invoices_ = 0, previous_ = 0, next_ = 0;
    int new_invoice_result_ = 1;
    bool pointer_inside_ = true;
};

TEST_F(WindowToolbarTest, LeftClickRunsOnlyWhenReleasedOnTheButtonPressed) {
    press(Qt::LeftButton, on(3));
    EXPECT_EQ(bar().shown_look(3), Toolbar::kPressedLook);
    move(kBelow, Qt::LeftButton);
    EXPECT_EQ(bar().shown_look(3), Toolbar::kRest);
    release(Qt::LeftButton, kBelow);
    EXPECT_EQ(new_invoices_, 0);
    EXPECT_EQ(bar().hot_button(), 0);

    press(Qt::LeftButton, on(3));
    move(kBelow, Qt::LeftButton);
    move(on(3), Qt::LeftButton);
    EXPECT_EQ(bar().shown_look(3), Toolbar::kPressedLook);
    release(Qt::LeftButton, on(3));
    EXPECT_EQ(new_invoices_, 1);
    EXPECT_EQ(bar().shown_look(3), Toolbar::kHot);

    // Released over another button: nothing runs, that one lights up.
    press(Qt::LeftButton, on(3));
    move(on(4), Qt::LeftButton);
    release(Qt::LeftButton, on(4));
    EXPECT_EQ(new_invoices_, 1);
    EXPECT_EQ(bar().hot_button(), 4);
    EXPECT_EQ(bar().shown_look(4), Toolbar::kHot);

    // A quick second click arrives as a double click and is a click all the same; failures say so.
    EXPECT_TRUE(messages_.empty());
    new_invoice_result_ = 0;
    click(3);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton, on(3), Qt::LeftButton);
    release(Qt::LeftButton, on(3));
    EXPECT_EQ(new_invoices_, 3);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].text, QStringLiteral("Please check Stockavelle Server."));
    EXPECT_EQ(messages_[0].icon, MsgIcon::Information);
}

TEST_F(WindowToolbarTest, RightClicksAndSecondButtonsRunNothing) {
    press(Qt::RightButton, on(2));
    EXPECT_EQ(bar().shown_look(2), Toolbar::kRest);  // a right press does not sink it
    release(Qt::RightButton, on(2));
    EXPECT_EQ(next_, 0);
    EXPECT_EQ(bar().hot_state(), Toolbar::kRaised);

    // While the left button is held on 1, the right button on 2 is ignored both ways.
    press(Qt::LeftButton, on(1));
    send(QEvent::MouseButtonPress, Qt::RightButton, on(2), Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(bar().hot_button(), 1);
    release(Qt::RightButton, on(2));
    EXPECT_EQ(bar().capture_state(), Toolbar::kLeftHeld);
    release(Qt::LeftButton, on(1));
    EXPECT_EQ(previous_, 1);
    EXPECT_EQ(next_, 0);
}

TEST_F(WindowToolbarTest, HoverMovesAlongAndClearsWhenThePointerLeaves) {
    move(on(1));
    EXPECT_EQ(bar().shown_look(1), Toolbar::kHot);
    EXPECT_TRUE(bar().hover_timer()->isActive());
    move(on(2));
    EXPECT_EQ(bar().shown_look(1), Toolbar::kRest);
    EXPECT_EQ(bar().shown_look(2), Toolbar::kHot);

    bar().hover_tick();  // still on the window's own surface
    EXPECT_EQ(bar().hot_button(), 2);
    pointer_inside_ = false;  // onto the item number edit, or off the window
    press(Qt::LeftButton, on(2));
    bar().hover_tick();  // not while a button is held
    EXPECT_EQ(bar().hot_button(), 2);
    move(kBelow, Qt::LeftButton);
    release(Qt::LeftButton, kBelow);
    move(on(2));
    bar().hover_tick();
    EXPECT_EQ(bar().hot_button(), 0);
    EXPECT_EQ(bar().shown_look(2), Toolbar::kRest);
    EXPECT_FALSE(bar().hover_timer()->isActive());
}

TEST_F(WindowToolbarTest, CommandsReachTheirHooksAndTheWindowPaintsTheLooks) {
    int refreshed = 0, printed = 0;
    window_->set_command_handler(ids::kMenuRefresh, [&] { ++refreshed; });
    window_->on_print_invoice = [&] {
        ++printed;
        EXPECT_EQ(bar().shown_look(6), Toolbar::kRest);  // not left lit while printing
    };
    for (int b : {1, 2, 4, 5, 6}) click(b);  // 5: no Invoices window attached, nothing happens
    EXPECT_EQ(previous_ + next_ + refreshed + printed, 4);

    window_->show();  // lays the client area out
    move(on(3));
    const QRect r3(kMainToolbar[2].left, 2, 53, 52);
    auto shot = [&] { return window_->client_area()->grab(r3).toImage().convertToFormat(QImage::Format_RGB32); };
    const QImage lit = shot();
    EXPECT_EQ(lit, bar().button(3).hot.toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(shot(), bar().button(3).background.copy(r3).toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(lit, shot());

    // For looking at it: STOCKAVELLE_SCREENSHOT_DIR=docs/screenshots.
    const QByteArray out = qgetenv("STOCKAVELLE_SCREENSHOT_DIR");
    if (!out.isEmpty()) {
        MainWindow window;
        window.resize(760, 260);
        window.show();
        QMouseEvent e(QEvent::MouseMove, QPointF(on(3)), QPointF(on(3)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.client_area(), &e);
        window.grab().save(QString::fromLocal8Bit(out) + QStringLiteral("/client-toolbar.png"));
    }
}

}  // namespace
}  // namespace stk::client

namespace stk::client::testing {
namespace {

// With the sale workspace attached, the toolbar makes new invoices and walks the history between them.
TEST_F(SaleFixture, ToolbarMakesInvoicesAndMovesBetweenThem) {
    auto click = [&](int button) {
        const QPoint at(kMainToolbar[button - 1].left + 26, 28);
        QMouseEvent down(QEvent::MouseButtonPress, QPointF(at), QPointF(at), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(window->client_area(), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(at), QPointF(at), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(window->client_area(), &up);
    };
    std::vector<int> made;
    for (const char* number : {"2001", "2002", "2003"}) {
        click(kToolbarNewInvoice);
        edit(ids::kInvoiceNumber)->setText(number);
        made.push_back(ws().current_index());
    }
    ASSERT_EQ(ws().history_count(), 3);
    click(kToolbarPrevious);
    click(kToolbarPrevious);
    EXPECT_EQ(ws().current_index(), made[0]);
    EXPECT_EQ(edit(ids::kInvoiceNumber)->text(), "2001");
    click(kToolbarNext);
    EXPECT_EQ(ws().current_index(), made[1]);
    EXPECT_EQ(edit(ids::kInvoiceNumber)->text(), "2002");
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace stk::client::testing
