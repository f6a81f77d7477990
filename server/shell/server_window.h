// The server's only window: its whole client area is the activity log.
#pragma once

#include <QMainWindow>
#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace stk::server {

// Windows-1252 bytes to and from the widget text. Characters 1252 cannot hold become '?'.
QString from_1252(std::string_view bytes);
std::string to_1252(const QString& text);

// Log lines and the title mix 8-bit record text with file-system paths: shown as UTF-8 when the bytes are
// valid UTF-8, else as Windows-1252, so that neither kind turns into replacement characters.
QString display_text(std::string_view bytes);

// Folder paths are file-system bytes, not record text.
QString from_path(const std::string& path);
std::string to_path(const QString& path);

class ServerWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kLogControlId = 1000;
    static constexpr int kMaxLogLines = 200;

    explicit ServerWindow(QWidget* parent = nullptr);

    // Appends text that carries its own line ends ("\r\n"). Once the log holds more than 200 lines, the oldest
    // line goes first, so the log shows the most recent 200 lines; then the log scrolls to its end.
    void append_log(std::string_view text);
    void append_log_text(const QString& text);

    QPlainTextEdit* log_view() const { return log_; }
    // The log's text with "\n" line ends, and its line count as an edit control counts it (the empty line
    // after the last line end included).
    QString log_text() const;
    int log_line_count() const;

    static QIcon server_icon();

signals:
    // The user closed the window: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPlainTextEdit* log_ = nullptr;
};

}  // namespace stk::server
