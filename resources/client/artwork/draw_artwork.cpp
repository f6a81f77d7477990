// Draws the client's icons and About picture into the folder given as the first argument.
// Run by hand (target stk_draw_artwork) when the artwork changes; the PNGs are kept in the source tree.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kNavy(16, 42, 92);
const QColor kBlue(38, 99, 186);
const QColor kSky(92, 170, 240);
const QColor kAmber(244, 170, 44);

// The program icon: a blue tile holding a stacked crate with an amber price tag.
QImage program_icon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, kSky);
    tile.setColorAt(1, kBlue.darker(115));
    p.setPen(QPen(kNavy, size <= 16 ? 3 : 1.5));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    // crate
    auto crate = [&](QRectF r) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(255, 236, 200));
        g.setColorAt(1, QColor(226, 186, 120));
        p.setPen(QPen(QColor(120, 78, 30), size <= 16 ? 2.5 : 1.6));
        p.setBrush(g);
        p.drawRoundedRect(r, 2, 2);
        if (size > 16) {
            p.drawLine(QPointF(r.left() + 3, r.center().y()), QPointF(r.right() - 3, r.center().y()));
        }
    };
    crate(QRectF(11, 33, 20, 20));
    crate(QRectF(31, 33, 20, 20));
    crate(QRectF(21, 13, 20, 20));
    // price tag
    QPainterPath tag;
    tag.moveTo(40, 36);
    tag.lineTo(52, 36);
    tag.lineTo(58, 44);
    tag.lineTo(52, 52);
    tag.lineTo(40, 52);
    tag.closeSubpath();
    p.setPen(QPen(QColor(150, 90, 0), size <= 16 ? 2.5 : 1.4));
    p.setBrush(kAmber);
    p.drawPath(tag);
    if (size >= 32) {
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(52.5, 44), 2, 2);
    }
    return img;
}

// 16 x 16 line marks: a green rising arrow (sold at a profit) and a red falling one (at or below cost).
QImage line_mark(bool profit) {
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = profit ? QColor(46, 160, 67) : QColor(214, 48, 49);
    QRadialGradient g(QPointF(6, 5), 11);
    g.setColorAt(0, fill.lighter(140));
    g.setColorAt(1, fill);
    p.setPen(QPen(fill.darker(140), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (profit) {
        p.drawLine(QPointF(8, 12), QPointF(8, 4.5));
        p.drawPolyline(QPolygonF({QPointF(4.5, 7.5), QPointF(8, 4), QPointF(11.5, 7.5)}));
    } else {
        p.drawLine(QPointF(8, 4), QPointF(8, 11.5));
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(8, 12), QPointF(11.5, 8.5)}));
    }
    return img;
}

// The About picture: a shop counter at dusk with shelves of stock and the product name.
QImage about_picture() {
    QImage img(480, 320, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 320);
    sky.setColorAt(0, kNavy);
    sky.setColorAt(0.65, kBlue);
    sky.setColorAt(1, kSky);
    p.fillRect(img.rect(), sky);
    // shelves
    p.setPen(Qt::NoPen);
    const QColor shelf(12, 30, 66, 190);
    for (int row = 0; row < 3; ++row) {
        const int y = 128 + row * 52;
        p.setBrush(shelf);
        p.drawRect(QRectF(250, y + 38, 210, 6));
        for (int k = 0; k < 7; ++k) {
            const int h = 18 + ((k * 7 + row * 5) % 4) * 6;
            QColor c = (k + row) % 3 == 0 ? kAmber : ((k + row) % 3 == 1 ? QColor(120, 200, 255) : QColor(235, 240, 250));
            c.setAlpha(220);
            p.setBrush(c);
            p.drawRoundedRect(QRectF(258 + k * 28, y + 38 - h, 22, h), 3, 3);
        }
    }
    // logo tile
    p.drawImage(QRectF(28, 34, 96, 96), program_icon(256));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(140, 40, 330, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Stockavelle"));
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(15);
    p.setFont(sub);
    p.setPen(QColor(220, 234, 255));
    p.drawText(QRectF(142, 88, 330, 40), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Inventory And Invoice Management System"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(200, 220, 250));
    p.drawText(QRectF(28, 160, 210, 120), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Version 1.0.1\n\nStock lists, invoices, receipts and reports for the small shop "
                              "and service counter."));
    p.setPen(QPen(kAmber, 3));
    p.drawLine(QPointF(28, 300), QPointF(452, 300));
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    for (int size : {16, 32, 48, 64, 256}) program_icon(size).save(out.filePath(QStringLiteral("icon130_%1.png").arg(size)));
    line_mark(false).save(out.filePath(QStringLiteral("icon139.png")));
    line_mark(true).save(out.filePath(QStringLiteral("icon140.png")));
    about_picture().save(out.filePath(QStringLiteral("about.png")));
    return 0;
}
