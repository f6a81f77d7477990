#include "server/shell/server_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace stk::server {

namespace {

// 0x80..0x9F of Windows-1252; the five holes keep their C1 code points, as Windows converts them.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QPixmap paint_icon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // A blue tile holding three stacked shelves with a green light each: stock, served.
    QLinearGradient tile(0, 2, 0, 62);
    tile.setColorAt(0, QColor(0x3a, 0x7b, 0xc8));
    tile.setColorAt(1, QColor(0x1c, 0x4a, 0x84));
    p.setPen(QPen(QColor(0x14, 0x36, 0x60), 1.5));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);

    for (int i = 0; i < 3; ++i) {
        const qreal y = 12 + i * 14;
        QLinearGradient shelf(0, y, 0, y + 11);
        shelf.setColorAt(0, QColor(0xfb, 0xfc, 0xfd));
        shelf.setColorAt(1, QColor(0xd5, 0xdd, 0xe6));
        p.setPen(QPen(QColor(0x10, 0x2c, 0x50), 1));
        p.setBrush(shelf);
        p.drawRoundedRect(QRectF(11, y, 42, 11), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2e, 0xc2, 0x4e));
        p.drawEllipse(QPointF(17.5, y + 5.5), 2.6, 2.6);
        p.setBrush(QColor(0x6b, 0x7c, 0x90));
        for (int slot = 0; slot < 3; ++slot) p.drawRoundedRect(QRectF(26 + slot * 8.5, y + 3.5, 6, 4), 1, 1);
    }
    return pixmap;
}

}  // namespace

QString from_1252(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        out.append(c >= 0x80 && c <= 0x9F ? QChar(k1252High[c - 0x80]) : QChar(c));
    }
    return out;
}

std::string to_1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i) {
            if (k1252High[i] == u) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

QString display_text(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? from_1252(bytes) : text;
}

QString from_path(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string to_path(const QString& path) { return QFile::encodeName(path).toStdString(); }

ServerWindow::ServerWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("STOCKAVELLESERVER");
    setWindowTitle("Stockavelle Server");
    setWindowIcon(server_icon());

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QString::number(kLogControlId));
    log_->setProperty("controlId", kLogControlId);
    log_->setReadOnly(true);
    log_->setUndoRedoEnabled(false);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    log_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setCentralWidget(log_);
    resize(760, 460);
}

void ServerWindow::append_log(std::string_view text) { append_log_text(display_text(text)); }

void ServerWindow::append_log_text(const QString& text) {
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.remove(QChar('\r'));  // a lone CR would open a line of its own in the document

    QTextDocument* doc = log_->document();
    if (doc->blockCount() > kMaxLogLines) {
        QTextCursor first(doc->firstBlock());
        first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        first.removeSelectedText();
    }
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.insertText(normal);
    log_->setTextCursor(end);
    log_->ensureCursorVisible();
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    log_->horizontalScrollBar()->setValue(log_->horizontalScrollBar()->minimum());
}

QString ServerWindow::log_text() const { return log_->toPlainText(); }

int ServerWindow::log_line_count() const { return log_->document()->blockCount(); }

QIcon ServerWindow::server_icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(paint_icon(size));
    return icon;
}

void ServerWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

}  // namespace stk::server
