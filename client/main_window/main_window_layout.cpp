// Applying the placements to a client-area size, and fitting the caption font to them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "client/main_window/main_window.h"

namespace stk::client {

void MainWindow::layout_controls(int width, int height) {
    const int w = std::max(width, kLayoutMinWidth);
    const int h = std::max(height, kLayoutMinHeight);
    for (const Placed& p : placed_) {
        QRect r;
        switch (p.anchor) {
            case kFixed: r = QRect(p.x, p.y, p.w < 0 ? w : p.w, p.h); break;
            case kBottom: r = QRect(p.x, h + p.y, p.w, p.h); break;
            case kBottomRight: r = QRect(w + p.x, h + p.y, p.w, p.h); break;
            case kInventoryPane: r = QRect(0, 178, w, h - 434); break;
            case kLinesPane: r = QRect(0, h - 255, w, 191); break;
        }
        p.widget->setGeometry(r);
    }
}

bool MainWindow::captions_fit(const QFont& font) const {
    const QFontMetrics fm(font);
    QStyle* style = client_->style();
    for (const Placed& p : placed_) {
        int needed = 0;
        if (auto* label = qobject_cast<QLabel*>(p.widget)) {
            if (std::find(captions_.begin(), captions_.end(), label) == captions_.end()) continue;
            needed = fm.horizontalAdvance(label->text()) + 1;
            if (fm.height() > p.h) return false;
        } else if (auto* b = qobject_cast<QPushButton*>(p.widget)) {
            // One pixel of border and one of padding on each side (the style sheet), one to spare.
            needed = fm.horizontalAdvance(b->text()) + 5;
        } else if (auto* c = qobject_cast<QCheckBox*>(p.widget)) {
            needed = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, c) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, c) + fm.horizontalAdvance(c->text()) +
                     4;
        } else if (auto* c = qobject_cast<QComboBox*>(p.widget)) {
            int widest = 0;
            for (int i = 0; i < c->count(); ++i) widest = std::max(widest, fm.horizontalAdvance(c->itemText(i)));
            QStyleOptionComboBox option;
            option.initFrom(c);
            needed = style->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widest, fm.height()), c).width();
        } else {
            continue;
        }
        if (needed > p.w) return false;
    }
    return true;
}

void MainWindow::fit_caption_font(int largest_pixel_size) {
    QFont font = client_->font();
    // Narrowing the face a little is hardly seen, a pixel less in height is, so that comes last. (An explicit
    // stretch is measured against the family's normal width, and condensed faces already sit near 87.)
    constexpr int kStretches[] = {QFont::AnyStretch, 84, 80, 76};
    bool fitted = false;
    for (int size = std::max(largest_pixel_size, kSmallestCaptionPixels); !fitted; --size) {
        for (int stretch : kStretches) {
            font.setPixelSize(size);
            font.setStretch(stretch);
            fitted = size == kSmallestCaptionPixels || captions_fit(font);
            if (fitted) break;
        }
    }
    client_->setFont(font);
    // Each control gets the font itself: once the style sheet has polished them, a parent's font no
    // longer reaches them by inheritance.
    for (const Placed& p : placed_) p.widget->setFont(font);
    QFont bold = font;
    bold.setBold(true);
    total_value_->setFont(bold);
}

}  // namespace stk::client
