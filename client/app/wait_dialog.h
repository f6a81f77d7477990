// Dialog 131, shown while the server keeps the client waiting: for a connection, retried until the server
// accepts one, or for the answer to a request already sent. The client stays responsive while it shows.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QIODevice;
class QLabel;
class QPushButton;
class QTimer;

namespace stk::client {

struct ClientSettings;
struct ServerAddress;
class ServerApi;

enum class WaitFor { Connection, Answer };

// "Attempting to connect to Stockavelle Server..." for a connection, "Waiting for Stockavelle Server to
// answer..." for an answer; with the remote computer's name when the settings say remote.
QString wait_dialog_text(const ClientSettings& settings, WaitFor what = WaitFor::Connection);

// Result 1 when the wait is over (connected, or the answer has begun to arrive), 0 when the user cancelled,
// the answer did not come in time or the server closed the connection without one.
class WaitDialog : public QDialog {
    Q_OBJECT
public:
    // An attempt that has not connected after this long is given up and made again.
    static constexpr int kAttemptLimitMs = 2000;
    // Retries every 500 ms until a connection to `address` is made; that connection is kept for the request
    // that is waiting (Connection::keep_for_next_open).
    WaitDialog(QWidget* owner, const QString& text, const ServerAddress& address);
    // Waits at most `timeout_ms` for `answer` to have something to read. `answer` must outlive the dialog.
    WaitDialog(QWidget* owner, const QString& text, QIODevice& answer, int timeout_ms);
    ~WaitDialog() override;
    QLabel* text_label() const { return text_; }
    QPushButton* cancel_button() const { return cancel_; }
    // The 500 ms retry timer of a connection wait; the time limit of an answer wait.
    QTimer* retry_timer() const { return timer_; }

protected:
    void reject() override;

private:
    explicit WaitDialog(QWidget* owner, const QString& text);
    void try_once();
    struct Probe;
    std::unique_ptr<Probe> probe_;
    QLabel* text_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* timer_ = nullptr;
};

// Makes `api` show the wait dialog (owned by the active window) whenever the server cannot be reached, and
// whenever an answer is slow in coming.
void install_wait_dialog(ServerApi& api, const ClientSettings* settings);

}  // namespace stk::client
