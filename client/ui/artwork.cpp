#include "client/ui/artwork.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "client/ui/toolbar.h"

static void init_client_resources() { Q_INIT_RESOURCE(client_resources); }

namespace stk::client {

namespace {
void ensure_resources() {
    static const bool done = (init_client_resources(), true);
    (void)done;
}
}  // namespace

QIcon icon_resource(int id) {
    ensure_resources();
    QIcon icon;
    switch (id) {
    case 130:
        for (int size : {16, 32, 48, 64, 256})
            icon.addFile(QStringLiteral(":/stockavelle/client/icon130_%1.png").arg(size), QSize(size, size));
        break;
    case 139: icon.addFile(QStringLiteral(":/stockavelle/client/icon139.png"), QSize(16, 16)); break;
    case 140: icon.addFile(QStringLiteral(":/stockavelle/client/icon140.png"), QSize(16, 16)); break;
    default: break;
    }
    return icon;
}

QIcon small_image(int index) { return icon_resource(index == 0 ? 140 : 139); }

QPixmap about_picture() {
    ensure_resources();
    return QPixmap(QStringLiteral(":/stockavelle/client/about.png"));
}

// ---- Toolbar ---------------------------------------------------------------------------------------------

namespace {

constexpr int kBandWidth = Toolbar::kBandRight + 1;
constexpr int kBandHeight = Toolbar::kBandBottom + 1;
const QColor kCaptionInk(0x1d, 0x2a, 0x3a);
const QColor kPageEdge(0x6b, 0x7d, 0x93);
const QColor kPageRule(0xa3, 0xb4, 0xc8);

void paint_band_background(QPainter& p) {
    QLinearGradient g(0, 0, 0, kBandHeight);
    g.setColorAt(0.0, QColor(0xfb, 0xfc, 0xfe));
    g.setColorAt(0.6, QColor(0xea, 0xf0, 0xf7));
    g.setColorAt(1.0, QColor(0xd9, 0xe2, 0xed));
    p.fillRect(0, 0, kBandWidth, kBandHeight, g);
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.drawLine(0, 0, kBandWidth - 1, 0);
    p.setPen(QColor(0xa9, 0xb6, 0xc6));
    p.drawLine(0, kBandHeight - 1, kBandWidth - 1, kBandHeight - 1);
    // An etched line in the gap between the history buttons and the invoice commands.
    const int gap = (kMainToolbar[1].left + kToolbarButtonWidth + kMainToolbar[2].left) / 2 - 1;
    p.setPen(QColor(0xb0, 0xbd, 0xcd));
    p.drawLine(gap, 9, gap, 45);
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.drawLine(gap + 1, 9, gap + 1, 45);
}

QFont caption_font() {
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Segoe UI"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(10);
    return f;
}

void page(QPainter& p, const QRectF& r, double fold) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(0xff, 0xff, 0xff));
    g.setColorAt(1, QColor(0xe8, 0xee, 0xf5));
    p.setPen(QPen(kPageEdge, 1));
    p.setBrush(g);
    p.drawPath(path);
    if (fold > 0) {
        QPainterPath corner;
        corner.moveTo(r.right() - fold, r.top());
        corner.lineTo(r.right() - fold, r.top() + fold);
        corner.lineTo(r.right(), r.top() + fold);
        corner.closeSubpath();
        p.setBrush(QColor(0xd3, 0xdd, 0xea));
        p.drawPath(corner);
    }
}

void rules(QPainter& p, double x1, double x2, std::initializer_list<double> ys) {
    p.setPen(QPen(kPageRule, 1));
    for (double y : ys) p.drawLine(QPointF(x1, y), QPointF(x2, y));
}

void round_badge(QPainter& p, QPointF centre, double radius, QColor light, QColor deep) {
    QRadialGradient g(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    g.setColorAt(0, light);
    g.setColorAt(1, deep);
    p.setPen(QPen(deep.darker(125), 1));
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void history_arrow(QPainter& p, bool forward) {
    round_badge(p, QPointF(12, 12), 10.5, QColor(0x7d, 0xb3, 0xf0), QColor(0x1f, 0x5f, 0xb0));
    QPolygonF arrow({{6.5, 10.2}, {11.5, 10.2}, {11.5, 6.3}, {17.6, 12}, {11.5, 17.7}, {11.5, 13.8}, {6.5, 13.8}});
    if (!forward)
        for (QPointF& pt : arrow) pt.setX(24 - pt.x());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawPolygon(arrow);
}

void new_invoice_icon(QPainter& p) {
    page(p, QRectF(3.5, 1.5, 14, 20), 5);
    rules(p, 6, 13, {9.5, 12.5, 15.5});
    round_badge(p, QPointF(17.5, 17.5), 5.5, QColor(0x7c, 0xd6, 0x86), QColor(0x23, 0x86, 0x36));
    p.setPen(QPen(QColor(0xff, 0xff, 0xff), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17.5, 14.7), QPointF(17.5, 20.3));
    p.drawLine(QPointF(14.7, 17.5), QPointF(20.3, 17.5));
}

void refresh_icon(QPainter& p) {
    const QPointF c(12, 12);
    const double r = 7.5;
    const QColor ink(0x2b, 0x95, 0x44);
    for (double start : {25.0, 205.0}) {
        const double span = 135;
        QPainterPath arc;
        const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
        arc.arcMoveTo(box, start);
        arc.arcTo(box, start, span);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 2.8, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(arc);
        // Arrow head at the end of the arc, pointing on round the circle.
        const double a = (start + span) * std::numbers::pi / 180;
        const QPointF at(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        const QPointF along(-std::sin(a), -std::cos(a));
        const QPointF out(std::cos(a), -std::sin(a));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({at + along * 4.5, at - along * 0.5 + out * 4.2, at - along * 0.5 - out * 4.2}));
    }
}

void invoices_icon(QPainter& p) {
    page(p, QRectF(8.5, 1.5, 13, 17), 0);
    page(p, QRectF(5.5, 3.5, 13, 17), 0);
    page(p, QRectF(2.5, 5.5, 13, 17), 0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3d, 0x7c, 0xc9));
    p.drawRect(QRectF(3, 6, 12, 3.5));
    rules(p, 5, 13, {12.5, 15.5});
    p.setPen(QPen(QColor(0x33, 0x44, 0x58), 1.4));
    p.drawLine(QPointF(9, 19), QPointF(13.5, 19));
}

void print_icon(QPainter& p) {
    page(p, QRectF(6.5, 1.5, 11, 9), 0);
    QPainterPath body;
    body.addRoundedRect(QRectF(1.5, 8.5, 21, 9.5), 2, 2);
    QLinearGradient g(0, 8.5, 0, 18);
    g.setColorAt(0, QColor(0xe9, 0xed, 0xf2));
    g.setColorAt(1, QColor(0x98, 0xa4, 0xb2));
    p.setPen(QPen(QColor(0x55, 0x63, 0x73), 1));
    p.setBrush(g);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xc0, 0x5a));
    p.drawEllipse(QPointF(18.5, 11.5), 1.2, 1.2);
    page(p, QRectF(5.5, 14.5, 13, 8), 0);
    rules(p, 7.5, 16.5, {17.5, 19.5});
}

// One button's face in a 53 x 52 box at the painter's origin: resting (icon and caption on the band), hot
// (raised, lit) or pressed (sunk, contents one pixel right and down).
void paint_button_face(QPainter& p, int button, int look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    if (look != Toolbar::kRest) {
        const QRectF frame(1.5, 1.5, kToolbarButtonWidth - 3, kToolbarButtonHeight - 3);
        QLinearGradient g(0, 1, 0, kToolbarButtonHeight - 1);
        if (look == Toolbar::kHot) {
            g.setColorAt(0, QColor(0xff, 0xff, 0xff));
            g.setColorAt(1, QColor(0xdc, 0xea, 0xfa));
            p.setPen(QPen(QColor(0x7f, 0xa4, 0xd3), 1));
        } else {
            g.setColorAt(0, QColor(0xbf, 0xd3, 0xee));
            g.setColorAt(1, QColor(0xd9, 0xe5, 0xf5));
            p.setPen(QPen(QColor(0x4f, 0x79, 0xb0), 1));
        }
        p.setBrush(g);
        p.drawRoundedRect(frame, 4, 4);
        // A soft inner edge: light on a raised face, shadow along the top of a sunken one.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(look == Toolbar::kHot ? QColor(255, 255, 255, 200) : QColor(0x2a, 0x4a, 0x78, 60), 1));
        p.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 3, 3);
        if (look == Toolbar::kPressedLook) p.translate(1, 1);
    }
    p.save();
    p.translate(14.5, 5);
    switch (button) {
    case 0: history_arrow(p, false); break;
    case 1: history_arrow(p, true); break;
    case 2: new_invoice_icon(p); break;
    case 3: refresh_icon(p); break;
    case 4: invoices_icon(p); break;
    default: print_icon(p); break;
    }
    p.restore();
    p.setFont(caption_font());
    p.setPen(kCaptionInk);
    p.drawText(QRectF(0, 33, kToolbarButtonWidth, 14), Qt::AlignHCenter | Qt::AlignVCenter,
               QString::fromLatin1(kMainToolbar[button].caption));
    p.restore();
}

QImage band_image() {
    QImage image(kBandWidth, kBandHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    paint_band_background(p);
    for (int i = 0; i < 6; ++i) {
        p.save();
        p.translate(kMainToolbar[i].left, kToolbarButtonTop);
        paint_button_face(p, i, Toolbar::kRest);
        p.restore();
    }
    return image;
}

QImage button_image(int button, int look) {
    QImage image(kToolbarButtonWidth, kToolbarButtonHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.save();
    p.translate(-kMainToolbar[button].left, -kToolbarButtonTop);
    paint_band_background(p);
    p.restore();
    paint_button_face(p, button, look);
    return image;
}

}  // namespace

QPixmap toolbar_band_picture() {
    static const QImage image = band_image();
    return QPixmap::fromImage(image);
}

QPixmap toolbar_picture(int id) {
    for (int i = 0; i < 6; ++i) {
        if (kMainToolbar[i].hot_bitmap == id) return QPixmap::fromImage(button_image(i, Toolbar::kHot));
        if (kMainToolbar[i].pressed_bitmap == id) return QPixmap::fromImage(button_image(i, Toolbar::kPressedLook));
    }
    return QPixmap();
}

}  // namespace stk::client
