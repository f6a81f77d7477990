#include "client/receipts/receipt_drawing.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

// A point size that does not name one (0, negative or missing) gets this one.
constexpr int kFallbackPointSize = 10;

// Inches (or any product) to device units, truncated toward zero. Values no page could hold are clamped so
// the conversion stays defined.
int device_units(double value) {
    constexpr double kLimit = 1.0e9;
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

// a * b / c rounded to the nearest integer, halves away from zero.
int mul_div(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

QColor colour(std::int32_t windows_colour) {
    const auto v = static_cast<std::uint32_t>(windows_colour);
    return QColor(v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff);
}

struct Page {
    int dpi_x;
    int dpi_y;
    int offset;  // added to every horizontal position
};

// One element's box in device units.
QRect box_of(const ReceiptElement& e, const Page& page) {
    const int left = device_units(page.dpi_x * e.left) + page.offset;
    const int top = device_units(page.dpi_y * e.top);
    const int right = device_units(page.dpi_x * e.right) + page.offset;
    const int bottom = device_units(page.dpi_y * e.bottom);
    return QRect(left, top, right - left, bottom - top);
}

void draw_box(QPainter& painter, const ReceiptElement& e, const Page& page, const QRect& box) {
    if (e.border_colour == kNoColour) {
        painter.setPen(Qt::NoPen);
    } else {
        // Width 0 is the thinnest line the device draws.
        QPen pen(colour(e.border_colour), device_units(page.dpi_x * e.border_width));
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    }
    painter.setBrush(e.fill_colour == kNoColour ? QBrush(Qt::NoBrush) : QBrush(colour(e.fill_colour)));
    painter.drawRect(QRectF(box));
}

// The element's font; *height gets its character height in device units (the em, without leading).
QFont font_of(const ReceiptElement& e, const Page& page, int* height) {
    QFont font(from_1252(field(e.font_face)));
    *height = mul_div(e.font_size > 0 ? e.font_size : kFallbackPointSize, page.dpi_y, 72);
    font.setPixelSize(std::max(1, *height));
    font.setWeight(e.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setItalic(e.italic != 0);
    // Layouts are measured against printers that do not kern, and a kerned total would creep out of its box.
    font.setKerning(false);
    return font;
}

enum class Across { Left, Centre, Right };

// The text's reference x (before the page offset) and which of its points sits there.
int text_x(const ReceiptElement& e, const Page& page, Across* across) {
    const std::string_view align = field(e.horizontal_alignment);
    if (equal_ci(align, "CENTER")) {
        *across = Across::Centre;
        return device_units((e.left + e.width * 0.5) * page.dpi_x);
    }
    if (equal_ci(align, "RIGHT")) {
        *across = Across::Right;
        return device_units(page.dpi_x * e.right);
    }
    // "LEFT", and whatever else a layout writes there.
    *across = Across::Left;
    return device_units(page.dpi_x * e.left);
}

// The y of the text's top: the box's top, or for "CENTER" half a character height above the box's middle.
int text_y(const ReceiptElement& e, const Page& page, int font_height) {
    if (equal_ci(field(e.vertical_alignment), "CENTER")) {
        return device_units((e.top + e.height * 0.5) * page.dpi_y - font_height * 0.5);
    }
    return device_units(page.dpi_y * e.top);
}

class TextPen {
public:
    TextPen(QPainter& painter, const QRect& clip, Across across)
        : painter_(painter), metrics_(painter.font(), painter.device()), clip_(clip), across_(across) {}

    // Draws `text` with its top at y and its reference point at x, cut at the element's box.
    void draw(int x, int y, std::string_view text) {
        if (text.empty() || clip_.isEmpty()) return;
        const QString shown = from_1252(text);
        const qreal width = metrics_.horizontalAdvance(shown);
        qreal left = x;
        if (across_ == Across::Centre) left -= width / 2;
        if (across_ == Across::Right) left -= width;
        // Text wholly outside the box would be cut away entirely; leaving it out keeps it out of the document's
        // text as well (a PDF reader would otherwise find words that are not on the page).
        const QRectF cell(left, y, width, metrics_.height());
        if (!cell.intersects(QRectF(clip_))) return;
        painter_.drawText(QPointF(left, y + metrics_.ascent()), shown);
    }

private:
    QPainter& painter_;
    QFontMetricsF metrics_;
    QRect clip_;
    Across across_;
};

void draw_element(QPainter& painter, const ReceiptElement& e, const Page& page, const ReceiptContent& content) {
    painter.save();
    const QRect box = box_of(e, page);
    draw_box(painter, e, page, box);

    painter.setPen(colour(e.text_colour));
    painter.setBackgroundMode(Qt::TransparentMode);
    int font_height = 0;
    painter.setFont(font_of(e, page, &font_height));
    Across across = Across::Left;
    const int x = text_x(e, page, &across) + page.offset;
    int y = text_y(e, page, font_height);
    painter.setClipRect(box);
    TextPen pen(painter, box, across);

    const ReceiptDataField* data = find_data_field(field(e.name));
    if (data == nullptr) {
        pen.draw(x, y, field(e.literal));
    } else if (data->line_value != nullptr) {
        const int step = device_units(3.0 * content.row_height * page.dpi_y);
        for (int n = 0; n < printed_line_count(content.invoice); ++n) {
            pen.draw(x, y, data->line_value(content.invoice.lines[n]));
            y += step;
        }
    } else {
        pen.draw(x, y, data->value(content));
    }
    painter.restore();
}

}  // namespace

int page_offset(int physical_page_width, int physical_left_offset, int dpi_x, std::span<const ReceiptElement> layout) {
    double layout_width = 0;
    if (!layout.empty()) {
        double smallest_left = layout.front().left;
        double largest_right = layout.front().right;
        for (const ReceiptElement& e : layout) {
            smallest_left = std::min(smallest_left, e.left);
            largest_right = std::max(largest_right, e.right);
        }
        layout_width = largest_right - smallest_left;
    }
    return device_units((physical_page_width - 2.0 * physical_left_offset - dpi_x * layout_width) * 0.5);
}

void draw_receipt(QPainter& painter, const QPagedPaintDevice& device, std::span<const ReceiptElement> layout,
                  const ReceiptContent& content) {
    const QPageLayout paper = device.pageLayout();
    Page page{device.logicalDpiX(), device.logicalDpiY(), 0};
    page.offset = page_offset(paper.fullRectPixels(page.dpi_x).width(), paper.paintRectPixels(page.dpi_x).left(),
                              page.dpi_x, layout);
    for (const ReceiptElement& e : layout) draw_element(painter, e, page, content);
}

}  // namespace stk::client
