// The drawn toolbar in the band at the top of the main window: one background picture that already shows the
// buttons at rest, and per button a hot and a pressed picture laid over it while the pointer is on or pressing
// it. The window feeds its mouse messages in; a left click on a button runs that button's command.
//
// A button drawn hot or pressed is shown once, as if drawn straight onto the window: the next repaint of its
// place (the window uncovered, resized) shows it at rest again, although it stays the hot button.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QRect>
#include <functional>
#include <vector>

class QEvent;
class QPainter;
class QTimer;
class QWidget;

namespace stk::client {

struct ToolbarButton {
    int shape = 0;  // 0 rectangle, otherwise the ellipse inscribed in the rectangle (for hit testing)
    QPixmap background;
    QPixmap hot;      // null: drawn with a raised frame instead
    QPixmap pressed;  // null: drawn with a sunken frame instead
    int enabled = 0;
    int command = 0;
    int left = 0, top = 0;
    int right = 0, bottom = 0;  // inclusive
    int visible = 0;
};

class Toolbar : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxButtons = 20;
    static constexpr int kHoverIntervalMs = 50;
    // The band's last column and row; the background picture covers at least 0..kBandRight x 0..kBandBottom.
    static constexpr int kBandRight = 1600;
    static constexpr int kBandBottom = 54;

    enum Capture { kNoCapture = 0, kLeftHeld = 1, kRightHeld = 2 };
    enum HotState { kNotHot = 0, kRaised = 1, kPressed = 2, kPressedOff = 3 };
    enum Look { kRest = 0, kHot = 1, kPressedLook = 2 };

    explicit Toolbar(QObject* parent = nullptr);

    // The new button's 1-based index, or 0 when the toolbar is full.
    int add_button(int command, int left, int top, int width, int height, int shape, int enabled);
    // 1, or 0 for an index outside 1..count. A null hot or pressed picture means none.
    int set_bitmaps(int index, const QPixmap& background, const QPixmap& hot, const QPixmap& pressed);
    // Shows the button in `look` at the next repaint of its place; 1 when it will be drawn, 0 for an unknown,
    // disabled or invisible button.
    int draw_button(int index, int look);
    // The first visible button containing the point, or 0.
    int hit_test(int x, int y) const;

    // Mouse messages in the window's client coordinates. Only the left and right buttons take part.
    void button_down(Qt::MouseButton which, int x, int y);
    void mouse_move(int x, int y);
    void button_up(Qt::MouseButton which, int x, int y);
    // The hover check, run by the hover timer every 50 ms while it is started.
    void hover_tick();

    // Paints the part of `update` that lies in the band, with the buttons whose look was drawn since.
    void paint_band(QPainter& painter, const QRect& update);
    // Routes an event of the window surface the toolbar is drawn on: a paint event paints the band onto
    // `surface` and returns false (the surface's own painting goes on); a mouse press, double click, move or
    // release goes to the toolbar and returns true (taken); anything else returns false.
    bool surface_event(QWidget& surface, QEvent* event);

    int count() const { return static_cast<int>(buttons_.size()) - 1; }
    const ToolbarButton& button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    ToolbarButton& button(int index) { return buttons_.at(static_cast<std::size_t>(index)); }
    int capture_state() const { return capture_; }
    int hot_button() const { return hot_; }
    int hot_state() const { return hot_state_; }
    // The look the button shows now (until the next repaint of its place).
    int shown_look(int index) const;
    QTimer* hover_timer() const { return hover_timer_; }

    // ---- Seams to the window ------------------------------------------------------------------------
    // Runs the command of the button clicked (index, command).
    std::function<void(int index, int command)> run_command;
    // Asks for a repaint of this client rectangle.
    std::function<void(const QRect&)> invalidate;
    // True while the pointer is over the window's own surface, inside its client rectangle (one pixel of
    // slack to the right and below) and not over one of its controls.
    std::function<bool()> pointer_on_surface;

private:
    void start_hover_timer();
    void draw_look(QPainter& painter, const ToolbarButton& b, int look) const;

    std::vector<ToolbarButton> buttons_;  // slot 0 unused
    struct Shown {
        int look = kRest;
        bool pending = false;  // drawn since the last repaint of its place
    };
    std::vector<Shown> shown_;
    int capture_ = kNoCapture;
    int hot_ = 0;
    int hot_state_ = kNotHot;
    QTimer* hover_timer_ = nullptr;
};

// The six buttons of the main window's toolbar, in creation order (all at top 2, 53 x 52): left edge, the
// numbers of the hot and pressed pictures, the command run on a click, and the caption the artwork shows.
struct MainToolbarEntry {
    int left;
    int hot_bitmap;
    int pressed_bitmap;
    int command;
    const char* caption;
};
inline constexpr int kToolbarButtonTop = 2;
inline constexpr int kToolbarButtonWidth = 53;
inline constexpr int kToolbarButtonHeight = 52;
inline constexpr MainToolbarEntry kMainToolbar[] = {
    {2, 108, 109, 1, "Previous"}, {55, 113, 110, 2, "Next"},      {114, 119, 117, 3, "New"},
    {167, 133, 134, 4, "Refresh"}, {220, 115, 112, 5, "Invoices"}, {273, 114, 111, 6, "Print"},
};
// The toolbar commands.
inline constexpr int kToolbarPrevious = 1;
inline constexpr int kToolbarNext = 2;
inline constexpr int kToolbarNewInvoice = 3;
inline constexpr int kToolbarRefresh = 4;
inline constexpr int kToolbarInvoices = 5;
inline constexpr int kToolbarPrint = 6;

}  // namespace stk::client
