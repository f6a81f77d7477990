#include "client/main_window/about_dialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "client/ui/artwork.h"

namespace stk::client {

AboutDialog::AboutDialog(QWidget* parent, const QString& company) : QDialog(parent), picture_(about_picture()) {
    setWindowTitle(QStringLiteral("About Stockavelle"));
    setObjectName(QStringLiteral("dialog121"));
    setFixedSize(480, 420);
    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("control1105"));
    text->setGeometry(16, 10, 448, 84);
    text->setWordWrap(true);
    // The picture below carries the name and version; the text says whose copy this is.
    const QString escaped = company.toHtmlEscaped();
    text->setText(QStringLiteral("<b>Stockavelle Inventory And Invoice Management System</b><br>") +
                  (escaped.isEmpty() ? QString() : QStringLiteral("Registered to %1<br>").arg(escaped)) +
                  QStringLiteral("Click anywhere to close."));
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - 480) / 2, area.y() + (area.height() - 420) / 2);
    }
}

void AboutDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(QRect(0, 100, 480, 320), picture_);
}

void AboutDialog::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) accept();
}

}  // namespace stk::client
