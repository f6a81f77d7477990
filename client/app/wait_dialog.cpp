#include "client/app/wait_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocalSocket>
#include <QPushButton>
#include <QSslSocket>
#include <QTimer>
#include <QVBoxLayout>

#include "client/api/connection.h"
#include "client/api/server_api.h"
#include "client/app/client_settings.h"
#include "client/app/session.h"
#include "client/main_window/main_window.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/text_1252.h"
#include "platform/host_port.h"
#include "platform/local_pipe.h"
#include "platform/shop_key.h"
#include "platform/shop_tls.h"

namespace stk::client {

QString wait_dialog_text(const ClientSettings& s, WaitFor what) {
    const bool connecting = what == WaitFor::Connection;
    if (!s.remote()) {
        return (connecting ? QStringLiteral("Attempting to connect to Stockavelle Server.")
                           : QStringLiteral("Waiting for Stockavelle Server to answer.")) +
               QStringLiteral("\r\nStockavelle Server Name: ") + field_text(s.server_name) +
               QStringLiteral("\r\n\r\nPlease wait...");
    }
    return (connecting ? QStringLiteral("Attempting to connect to remote computer.")
                       : QStringLiteral("Waiting for the remote computer to answer.")) +
           QStringLiteral("\r\nRemote Computer Name: ") + field_text(s.remote_computer_name) +
           QStringLiteral("\r\nStockavelle Server Name: ") + field_text(s.server_name) +
           QStringLiteral("\r\n\r\nPlease wait...");
}

// One connection attempt in flight, watched through signals so the dialog keeps painting and answering.
struct WaitDialog::Probe {
    ServerAddress address;
    std::unique_ptr<QLocalSocket> local;
    std::unique_ptr<QSslSocket> tcp;
    QElapsedTimer started;
    bool busy() const {
        if (local) return local->state() != QLocalSocket::UnconnectedState;
        if (tcp) return tcp->state() != QAbstractSocket::UnconnectedState;
        return false;
    }
    void stop() {
        if (local) local->abort();
        if (tcp) tcp->abort();
        local.reset();
        tcp.reset();
    }
};

WaitDialog::WaitDialog(QWidget* owner, const QString& text) : QDialog(owner), probe_(std::make_unique<Probe>()) {
    setObjectName(QStringLiteral("dialog131"));
    setWindowTitle(QStringLiteral("Stockavelle"));
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("control1111"));
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text_->setText(shown);
    text_->setProperty("raw_text", text);
    layout->addWidget(text_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("control1060"));
    row->addWidget(cancel_);
    layout->addLayout(row);
    connect(cancel_, &QPushButton::clicked, this, &WaitDialog::reject);
    timer_ = new QTimer(this);
}

WaitDialog::WaitDialog(QWidget* owner, const QString& text, const ServerAddress& address) : WaitDialog(owner, text) {
    probe_->address = address;
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &WaitDialog::try_once);
    timer_->start();
}

WaitDialog::WaitDialog(QWidget* owner, const QString& text, QIODevice& answer, int timeout_ms)
    : WaitDialog(owner, text) {
    // Queued, so that an answer arriving before exec() runs still ends the dialog once it has started.
    connect(
        &answer, &QIODevice::readyRead, this, [this] { done(1); }, Qt::QueuedConnection);
    connect(
        &answer, &QIODevice::readChannelFinished, this, [this, &answer] { done(answer.bytesAvailable() > 0); },
        Qt::QueuedConnection);
    timer_->setSingleShot(true);
    timer_->setInterval(timeout_ms);
    connect(timer_, &QTimer::timeout, this, [this] { done(0); });
    timer_->start();
}

WaitDialog::~WaitDialog() { probe_->stop(); }

void WaitDialog::reject() {
    timer_->stop();
    probe_->stop();
    done(0);
}

void WaitDialog::try_once() {
    // An attempt still under way reports by itself; one that has waited as long as a connect may wait is
    // given up and made again, so a host that swallows the attempt does not stall the retries.
    if (probe_->busy() && probe_->started.isValid() && probe_->started.elapsed() < kAttemptLimitMs) return;
    probe_->stop();
    probe_->started.start();
    // The connection made here is the one the waiting request goes on to use.
    auto succeeded = [this] {
        const bool connected = probe_->local ? probe_->local->state() == QLocalSocket::ConnectedState
                               : probe_->tcp ? probe_->tcp->isEncrypted()
                                             : false;
        if (!connected) return;  // a report from an attempt given up since
        timer_->stop();
        Connection::keep_for_next_open(probe_->address, std::move(probe_->local), std::move(probe_->tcp));
        done(1);
    };
    if (probe_->address.remote_computer.empty()) {
        probe_->local = std::make_unique<QLocalSocket>();
        connect(probe_->local.get(), &QLocalSocket::connected, this, succeeded, Qt::QueuedConnection);
        probe_->local->connectToServer(
            QString::fromLocal8Bit(platform::local_pipe_path(probe_->address.server_name).c_str()));
        return;
    }
    std::string host;
    unsigned short port = 0;
    if (!platform::split_host_port(probe_->address.remote_computer, &host, &port)) return;
    // Read at every attempt: a key copied in while the dialog waits is used at once.
    const std::string key = platform::read_shop_key(probe_->address.shop_key_file);
    if (key.empty()) return;
    probe_->tcp = std::make_unique<QSslSocket>();
    platform::use_shop_key(*probe_->tcp, key);
    connect(probe_->tcp.get(), &QSslSocket::encrypted, this, succeeded, Qt::QueuedConnection);
    probe_->tcp->connectToHostEncrypted(QString::fromLocal8Bit(host.c_str()), port);
}

namespace {

QWidget* wait_owner() {
    QWidget* owner = QApplication::activeWindow();
    if (!owner) owner = session().main_window;
    return owner;
}

}  // namespace

void install_wait_dialog(ServerApi& api, const ClientSettings* settings) {
    api.on_unreachable = [&api, settings] {
        WaitDialog dialog(wait_owner(), wait_dialog_text(*settings), api.address());
        return DialogSeam::exec(dialog) == 1;
    };
    api.on_slow_answer = [settings](QIODevice& answer, int timeout_ms) {
        WaitDialog dialog(wait_owner(), wait_dialog_text(*settings, WaitFor::Answer), answer, timeout_ms);
        return DialogSeam::exec(dialog) == 1;
    };
}

}  // namespace stk::client
