#include "server/transport/client_connection.h"

#include <QHostAddress>
#include <QLocalSocket>
#include <QSslSocket>
#include <QTcpSocket>
#include <algorithm>
#include <cstring>

#include "platform/shop_tls.h"
#include "server/transport/dispatcher.h"

namespace stk::server {

ClientConnection::ClientConnection(std::unique_ptr<QIODevice> socket, const Dispatcher& dispatcher, int deadline_ms,
                                   std::string shop_key, Hooks hooks)
    : socket_(std::move(socket)),
      dispatcher_(dispatcher),
      deadline_ms_(deadline_ms),
      hooks_(std::move(hooks)),
      shop_key_(std::move(shop_key)),
      proven_(shop_key_.empty()),
      length_(sizeof(RequestHeader)) {
    socket_->setParent(nullptr);
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    connect(&deadline_, &QTimer::timeout, this, &ClientConnection::deadline_passed);
    // Qt would otherwise buffer whatever a client sends; no request is longer than this, and what follows a
    // request is never read.
    if (auto* local = qobject_cast<QLocalSocket*>(socket_.get())) {
        local->setReadBufferSize(static_cast<qint64>(kLargestRequest));
        connect(local, &QLocalSocket::disconnected, this, &ClientConnection::peer_changed);
        connect(local, &QLocalSocket::errorOccurred, this, &ClientConnection::peer_failed);
    } else if (auto* tcp = qobject_cast<QAbstractSocket*>(socket_.get())) {
        tcp->setReadBufferSize(static_cast<qint64>(kLargestRequest));
        tcp->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(tcp, &QAbstractSocket::disconnected, this, &ClientConnection::peer_changed);
        connect(tcp, &QAbstractSocket::errorOccurred, this, &ClientConnection::peer_failed);
        const QHostAddress from = tcp->peerAddress();
        bool v4 = false;
        const quint32 v4_address = from.toIPv4Address(&v4);
        peer_ = (v4 ? QHostAddress(v4_address) : from).toString().toStdString();
    }
    if (auto* tls = qobject_cast<QSslSocket*>(socket_.get()); tls && !proven_) {
        platform::use_shop_key(*tls, shop_key_);
        connect(tls, &QSslSocket::encrypted, this, [this] {
            proven_ = true;
            receive();
        });
        // Any error before the handshake is done means it failed: a wrong key, no TLS at all, or gone.
        connect(tls, &QSslSocket::errorOccurred, this, [this] {
            if (!proven_ && stage_ == Stage::Receiving) refuse_without_key();
        });
    }
    connect(socket_.get(), &QIODevice::readyRead, this, &ClientConnection::receive);
    // The answer's progress: bytes the system took for the client. A TLS socket reports its plain bytes as
    // written as soon as they are encrypted, so only its encrypted bytes tell whether the client reads.
    if (auto* tls = qobject_cast<QSslSocket*>(socket_.get()))
        connect(tls, &QSslSocket::encryptedBytesWritten, this, &ClientConnection::answer_progressed);
    else
        connect(socket_.get(), &QIODevice::bytesWritten, this, &ClientConnection::answer_progressed);
}

ClientConnection::~ClientConnection() {
    // Deleting the socket must not call back into a connection that is going away.
    if (socket_) socket_->disconnect(this);
}

void ClientConnection::start() {
    deadline_.start(deadline_ms_);
    if (auto* tls = qobject_cast<QSslSocket*>(socket_.get()); tls && !proven_) tls->startServerEncryption();
    QTimer::singleShot(0, this, [this] {
        receive();
        peer_changed();  // a client that sent its request and hung up before we looked
    });
}

bool ClientConnection::connected() const {
    if (auto* local = qobject_cast<const QLocalSocket*>(socket_.get()))
        return local->state() == QLocalSocket::ConnectedState;
    if (auto* tcp = qobject_cast<const QAbstractSocket*>(socket_.get()))
        return tcp->state() == QAbstractSocket::ConnectedState;
    return false;
}

void ClientConnection::receive() {
    if (stage_ != Stage::Receiving || !proven_) return;
    for (;;) {
        const std::size_t have = request_.size();
        request_.resize(length_);
        const qint64 got = socket_->read(request_.data() + have, static_cast<qint64>(length_ - have));
        request_.resize(have + static_cast<std::size_t>(got > 0 ? got : 0));
        if (got <= 0) return;
        // The clock of a request runs from its first byte.
        if (have == 0) deadline_.start(deadline_ms_);
        if (request_.size() == sizeof(RequestHeader) && length_ == sizeof(RequestHeader)) {
            RequestHeader header;
            std::memcpy(&header, request_.data(), sizeof header);
            length_ = dispatcher_.request_length(header);
        }
        if (request_.size() == length_) {
            stage_ = Stage::Queued;
            deadline_.stop();
            hooks_.ready(*this);
            return;
        }
    }
}

void ClientConnection::peer_failed() {
    failed_ = true;
    peer_changed();
}

void ClientConnection::answer_progressed() {
    if (stage_ == Stage::Answering) deadline_.start(deadline_ms_);
}

void ClientConnection::peer_changed() {
    if (connected()) return;
    if (!proven_) {
        if (stage_ == Stage::Receiving) refuse_without_key();
        return;
    }
    if (stage_ == Stage::Receiving) {
        receive();  // what the client sent before it went is still there to read
        if (stage_ == Stage::Receiving) drop();
    } else if (stage_ == Stage::Answering) {
        // We close only once the whole answer is sent, so an error first means the client left before it had it.
        close_now(failed_ ? kSendError : std::string_view{});
    }
    // A Queued request is still carried out, as any whole request is; its answer finds no one.
}

void ClientConnection::deadline_passed() {
    if (stage_ == Stage::Receiving && !proven_) {
        refuse_without_key();
    } else if (stage_ == Stage::Receiving) {
        drop();
    } else if (stage_ == Stage::Answering) {
        close_now(kSendError);  // the client took none of its answer for the whole bound
    }
}

bool ClientConnection::push_out() {
    if (stage_ != Stage::Receiving) return false;
    if (proven_)
        drop();
    else
        refuse_without_key();
    return true;
}

void ClientConnection::refuse_without_key() {
    close_now("A connection from " + peer_ + " did not prove it holds this shop's key and was closed.\r\n");
}

void ClientConnection::drop() {
    stage_ = Stage::Dropped;
    deadline_.stop();
    if (auto* local = qobject_cast<QLocalSocket*>(socket_.get())) local->abort();
    if (auto* tcp = qobject_cast<QAbstractSocket*>(socket_.get())) tcp->abort();
    hooks_.ready(*this);
}

void ClientConnection::close_now(std::string_view line) {
    stage_ = Stage::Closed;
    deadline_.stop();
    if (auto* local = qobject_cast<QLocalSocket*>(socket_.get())) local->abort();
    if (auto* tcp = qobject_cast<QAbstractSocket*>(socket_.get())) tcp->abort();
    hooks_.closed(*this, line);
}

long ClientConnection::read_some(char* data, std::size_t n) {
    if (read_at_ >= request_.size()) return -1;
    const std::size_t k = std::min(n, request_.size() - read_at_);
    std::memcpy(data, request_.data() + read_at_, k);
    read_at_ += k;
    return static_cast<long>(k);
}

std::size_t ClientConnection::write(const char* data, std::size_t n) {
    if (stage_ != Stage::Queued || !connected()) return 0;
    const qint64 queued = socket_->write(data, static_cast<qint64>(n));
    return queued > 0 ? static_cast<std::size_t>(queued) : 0;
}

void ClientConnection::finish() {
    if (stage_ != Stage::Queued) {
        if (stage_ == Stage::Dropped) close_now({});
        return;
    }
    stage_ = Stage::Answering;
    if (!connected()) {
        close_now({});
        return;
    }
    deadline_.start(deadline_ms_);
    // Hand what the socket can take to the system now, so a small answer is with the client before any slow
    // work that follows the request; the rest goes out from the event loop. The socket closes once it is sent.
    if (auto* local = qobject_cast<QLocalSocket*>(socket_.get())) {
        local->flush();
        local->disconnectFromServer();
    } else if (auto* tcp = qobject_cast<QAbstractSocket*>(socket_.get())) {
        tcp->flush();
        tcp->disconnectFromHost();
    }
}

}  // namespace stk::server
