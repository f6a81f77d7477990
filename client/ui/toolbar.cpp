#include "client/ui/toolbar.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace stk::client {

Toolbar::Toolbar(QObject* parent) : QObject(parent), buttons_(1), shown_(1) {
    buttons_.reserve(kMaxButtons + 1);
    shown_.reserve(kMaxButtons + 1);
    hover_timer_ = new QTimer(this);
    hover_timer_->setInterval(kHoverIntervalMs);
    connect(hover_timer_, &QTimer::timeout, this, &Toolbar::hover_tick);
}

int Toolbar::add_button(int command, int left, int top, int width, int height, int shape, int enabled) {
    if (count() >= kMaxButtons) return 0;
    ToolbarButton b;
    b.shape = shape;
    b.enabled = enabled;
    b.command = command;
    b.left = left;
    b.top = top;
    b.right = left + width - 1;
    b.bottom = top + height - 1;
    b.visible = 1;
    buttons_.push_back(std::move(b));
    shown_.emplace_back();
    return count();
}

int Toolbar::set_bitmaps(int index, const QPixmap& background, const QPixmap& hot, const QPixmap& pressed) {
    if (index < 1 || index > count()) return 0;
    ToolbarButton& b = button(index);
    b.background = background;
    b.hot = hot;
    b.pressed = pressed;
    return 1;
}

int Toolbar::shown_look(int index) const {
    if (index < 1 || index > count()) return kRest;
    return shown_[static_cast<std::size_t>(index)].look;
}

int Toolbar::draw_button(int index, int look) {
    if (index < 1 || index > count()) return 0;
    const ToolbarButton& b = button(index);
    if (!b.enabled || !b.visible) return 0;
    Shown& s = shown_[static_cast<std::size_t>(index)];
    s.look = look;
    s.pending = true;
    if (invalidate) invalidate(QRect(QPoint(b.left, b.top), QPoint(b.right, b.bottom)));
    return 1;
}

int Toolbar::hit_test(int x, int y) const {
    for (int i = 1; i <= count(); ++i) {
        const ToolbarButton& b = button(i);
        if (!b.visible) continue;
        if (b.shape == 0) {
            if (b.left <= x && x <= b.right && b.top <= y && y <= b.bottom) return i;
            continue;
        }
        if (b.bottom < b.top) continue;
        const double w = b.right - b.left + 1;
        const double h = b.bottom - b.top + 1;
        const double cx = b.left + w / 2 - 0.5;
        const double cy = b.top + h / 2 - 0.5;
        const double dx = x - cx;
        const double dy = y - cy;
        if (dx * dx + dy * dy * w * w / (h * h) <= w * w / 4) return i;
    }
    return 0;
}

void Toolbar::start_hover_timer() { hover_timer_->start(kHoverIntervalMs); }

void Toolbar::button_down(Qt::MouseButton which, int x, int y) {
    if (which != Qt::LeftButton && which != Qt::RightButton) return;
    // One button at a time: a second one pressed while the first is held is ignored.
    if (capture_ != kNoCapture) return;
    capture_ = which == Qt::LeftButton ? kLeftHeld : kRightHeld;
    const int hit = hit_test(x, y);
    if (hit == 0) return;
    hot_ = hit;
    hot_state_ = kPressed;
    if (which == Qt::LeftButton) draw_button(hot_, kPressedLook);
}

void Toolbar::mouse_move(int x, int y) {
    if (capture_ == kNoCapture) {
        const int old = hot_;
        hot_ = hit_test(x, y);
        if (old != 0 && old != hot_) draw_button(old, kRest);
        if (hot_ != 0 && hot_ != old) {
            hot_state_ = kRaised;
            draw_button(hot_, kHot);
            start_hover_timer();
        }
        return;
    }
    if (hot_ == 0) return;
    const bool on = hit_test(x, y) == hot_;
    if (on && hot_state_ == kPressedOff) {
        hot_state_ = kPressed;
        if (capture_ == kLeftHeld) {
            draw_button(hot_, kPressedLook);
        } else {
            draw_button(hot_, kHot);
            start_hover_timer();
        }
    } else if (!on && hot_state_ == kPressed) {
        hot_state_ = kPressedOff;
        draw_button(hot_, kRest);
    }
}

void Toolbar::button_up(Qt::MouseButton which, int x, int y) {
    if (!(which == Qt::LeftButton && capture_ == kLeftHeld) && !(which == Qt::RightButton && capture_ == kRightHeld))
        return;
    capture_ = kNoCapture;
    if (hot_ == 0) return;
    if (hot_state_ == kPressedOff) {
        // Released away from the button it was pressed on: nothing runs; whatever is under the pointer now
        // lights up.
        hot_ = hit_test(x, y);
        if (hot_ != 0) {
            hot_state_ = kRaised;
            draw_button(hot_, kHot);
            start_hover_timer();
        }
        return;
    }
    hot_state_ = kRaised;
    if (which != Qt::LeftButton) return;
    draw_button(hot_, kHot);
    const ToolbarButton& b = button(hot_);
    if (run_command) run_command(hot_, b.command);
}

void Toolbar::hover_tick() {
    if (hot_ == 0 || capture_ != kNoCapture) return;
    if (pointer_on_surface && pointer_on_surface()) return;
    hover_timer_->stop();
    draw_button(hot_, kRest);
    hot_ = 0;
}

void Toolbar::draw_look(QPainter& p, const ToolbarButton& b, int look) const {
    const int l = b.left, t = b.top, r = b.right, bo = b.bottom;
    if (look == kRest) {
        p.drawPixmap(QPoint(l, t), b.background, QRect(QPoint(l, t), QPoint(r, bo)));
        return;
    }
    const QPixmap& own = look == kHot ? b.hot : b.pressed;
    if (!own.isNull()) {
        p.drawPixmap(QPoint(l, t), own);
        return;
    }
    // No picture of its own: the face inside a one-pixel frame, raised (light top-left) or sunken (dark
    // top-left, face shifted one pixel right and down).
    const QSize inner(r - l - 1, bo - t - 1);
    const QPoint source = look == kHot ? QPoint(l + 1, t + 1) : QPoint(l, t);
    if (inner.width() > 0 && inner.height() > 0) p.drawPixmap(QPoint(l + 1, t + 1), b.background, QRect(source, inner));
    const QColor light(Qt::white);
    const QColor dark(127, 127, 127);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(look == kHot ? light : dark, 0));
    p.drawLine(l, bo - 1, l, t);
    p.drawLine(l, t, r - 1, t);
    p.setPen(QPen(look == kHot ? dark : light, 0));
    p.drawLine(r, t, r, bo);
    p.drawLine(r, bo, l, bo);
    p.restore();
}

void Toolbar::paint_band(QPainter& painter, const QRect& update) {
    const int left = std::max(update.left(), 0);
    const int top = std::max(update.top(), 0);
    const int right = std::min(update.right(), kBandRight);
    const int bottom = std::min(update.bottom(), kBandBottom);
    if (right < left || bottom < top) return;
    const QRect band(QPoint(left, top), QPoint(right, bottom));
    if (count() > 0) painter.drawPixmap(band.topLeft(), button(1).background, band);

    // What was drawn since the last repaint shows once more; everything else under the repaint is at rest.
    for (int i = 1; i <= count(); ++i) {
        const ToolbarButton& b = button(i);
        Shown& s = shown_[static_cast<std::size_t>(i)];
        if (!band.intersects(QRect(QPoint(b.left, b.top), QPoint(b.right, b.bottom)))) continue;
        if (s.pending && b.enabled && b.visible && s.look != kRest) {
            painter.save();
            painter.setClipRect(band, Qt::IntersectClip);
            draw_look(painter, b, s.look);
            painter.restore();
        } else {
            s.look = kRest;
        }
        s.pending = false;
    }
}

bool Toolbar::surface_event(QWidget& surface, QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(&surface);
        paint_band(painter, static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {  // a quick second click is just another press
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        button_down(e->button(), at.x(), at.y());
        e->accept();
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        mouse_move(at.x(), at.y());
        e->accept();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        button_up(e->button(), at.x(), at.y());
        e->accept();
        return true;
    }
    default:
        return false;
    }
}

}  // namespace stk::client
