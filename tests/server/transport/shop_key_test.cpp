// TCP clients must prove they hold the shop key: the right key is served, and a wrong key, no TLS or plain
// bytes are closed before a request is read, with one log line, while everyone else is served meanwhile.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QSslCipher>
#include <QTemporaryDir>

#include "platform/durable_file.h"
#include "platform/shop_key.h"
#include "tests/server/transport/transport_fixture.h"

using namespace stk;
using namespace stk::test;

namespace {

constexpr std::string_view kNoKey = " did not prove it holds this shop's key and was closed.\r\n";

struct ShopKeyFixture : TransportFixture {
    QTemporaryDir dir;
    std::string key_file = platform::shop_key_path(dir.path().toStdString());
    quint16 port = 0;

    explicit ShopKeyFixture(TransportLimits limits = {}) : TransportFixture(limits) {
        EXPECT_TRUE(listen());
        port = listen_tcp(key_file);
        EXPECT_NE(port, 0) << log;
        log.clear();
    }
    std::string key() { return platform::read_shop_key(key_file); }
};

}  // namespace

TEST(ShopKey, MadeOnFirstUseForTheOwnerAloneAndKeptAfterwards) {
    QTemporaryDir dir;
    const std::string path = platform::shop_key_path(dir.path().toStdString());
    bool created = false;
    std::string error;
    const std::string key = platform::load_or_create_shop_key(path, &error, &created);
    ASSERT_EQ(key.size(), platform::kShopKeyBytes) << error;
    EXPECT_TRUE(created);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::string text;
    ASSERT_TRUE(platform::read_whole_file(path, text));
    EXPECT_EQ(text.size(), 2 * platform::kShopKeyBytes + 2);
    EXPECT_EQ(text.find_first_not_of("0123456789abcdef"), 2 * platform::kShopKeyBytes);

    // The next start finds the same key; a copy that others may read is closed to them.
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(platform::load_or_create_shop_key(path, &error, &created), key);
    EXPECT_FALSE(created);
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A file that holds no key is refused and left as it is.
    ASSERT_TRUE(platform::write_file_durably(path, "not a key\r\n"));
    EXPECT_EQ(platform::load_or_create_shop_key(path, &error), "");
    EXPECT_NE(error.find("does not hold a key of 64 hexadecimal digits"), std::string::npos) << error;
    ASSERT_TRUE(platform::read_whole_file(path, text));
    EXPECT_EQ(text, "not a key\r\n");
}

TEST(ShopKey, RightKeyIsServedOverTcp) {
    ShopKeyFixture f;
    TcpClient till(f.port, f.key());
    QString cipher;
    QObject::connect(&till.socket, &QSslSocket::encrypted, [&] { cipher = till.socket.sessionCipher().name(); });
    till.send(request_bytes(GET_INVOICE_COUNT));
    ASSERT_TRUE(wait_until([&] { return till.closed; })) << f.log;
    ASSERT_EQ(till.received.size(), sizeof(ResponseHeader)) << f.log;
    EXPECT_EQ(till.response().result, RESULT_OK);
    EXPECT_EQ(cipher, QStringLiteral("ECDHE-PSK-CHACHA20-POLY1305"));
    EXPECT_EQ(f.log, std::string(kProcessing) + std::string(kWaiting));
}

TEST(ShopKey, WithoutTheKeyNothingIsReadAndNobodyWaits) {
    ShopKeyFixture f;
    // A wrong key, a plain request, plain bytes, and a connection that never starts the handshake.
    TcpClient wrong(f.port, std::string(platform::kShopKeyBytes, 'x'));
    wrong.send(request_bytes(NEW_INVOICE));
    TcpClient plain(f.port, "");
    plain.send(request_bytes(NEW_INVOICE));
    TcpClient noise(f.port, "");
    noise.send(std::string(300, 'z'));
    TcpClient silent(f.port, "");

    // Meanwhile a till with the key and a local client are served as usual.
    TcpClient till(f.port, f.key());
    till.send(request_bytes(GET_INVOICE_COUNT));
    EXPECT_TRUE(f.count_invoices());
    ASSERT_TRUE(wait_until([&] { return till.closed && wrong.closed && plain.closed && noise.closed; })) << f.log;
    EXPECT_EQ(till.response().result, RESULT_OK);
    EXPECT_FALSE(silent.closed);  // until the bound

    EXPECT_TRUE(wrong.received.empty());
    EXPECT_TRUE(plain.received.empty() && noise.received.empty());
    EXPECT_EQ(f.db.invoices.count, 0);  // no NEW_INVOICE ran
    EXPECT_EQ(f.count_of(kNoKey), 3) << f.log;
    EXPECT_EQ(f.count_of("A connection from 127.0.0.1 did not prove"), 3) << f.log;
    EXPECT_EQ(f.count_of(kProcessing), 2);
    EXPECT_EQ(f.count_of(kUnreadable), 0);
}

TEST(ShopKey, ConnectionThatNeverShakesHandsIsClosedAtTheBound) {
    ShopKeyFixture f(TransportLimits{500});
    QElapsedTimer clock;
    clock.start();
    TcpClient silent(f.port, "");
    ASSERT_TRUE(wait_until([&] { return silent.closed; }));
    EXPECT_GE(clock.elapsed(), 450);
    ASSERT_TRUE(wait_until([&] { return f.count_of(kNoKey) == 1; }));
    EXPECT_EQ(f.log, "A connection from 127.0.0.1" + std::string(kNoKey));
}

TEST(ShopKey, TillsWithTheKeyThatStallOrDoNotReadAreDroppedAtTheBoundWhileOthersAreServed) {
    ShopKeyFixture f(TransportLimits{1000});
    // An answer larger than every buffer between the server and a till that does not read it.
    const int messages = 10000;
    ASSERT_TRUE(f.fill_messages(messages));

    // Past the handshake, one till says nothing, one sends half a header, one never takes its answer.
    TcpClient silent(f.port, f.key());
    TcpClient half(f.port, f.key());
    half.send(request_bytes(GET_INVOICE_COUNT).substr(0, 100));
    TcpClient deaf(f.port, f.key());
    QObject::connect(&deaf.socket, &QSslSocket::encrypted, [&] {
        deaf.socket.setReadBufferSize(1);
        deaf.socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        QObject::disconnect(&deaf.socket, &QSslSocket::readyRead, nullptr, nullptr);
    });
    deaf.send(request_bytes(LIST_MESSAGES));
    ASSERT_TRUE(wait_until([&] { return f.count_of(kWaiting) == 1; })) << f.log;

    // A till with the key and a local client are served at once meanwhile.
    QElapsedTimer clock;
    clock.start();
    TcpClient till(f.port, f.key());
    till.send(request_bytes(GET_INVOICE_COUNT));
    EXPECT_TRUE(f.count_invoices());
    ASSERT_TRUE(wait_until([&] { return till.closed; }));
    EXPECT_LT(clock.elapsed(), 900);
    EXPECT_EQ(till.response().result, RESULT_OK);
    EXPECT_FALSE(silent.closed || half.closed || deaf.closed);

    // At the bound: the two stallers as unreadable requests, the deaf till with the failed-send line. (The deaf
    // till itself cannot see the close: it reads nothing.)
    ASSERT_TRUE(wait_until([&] { return silent.closed && half.closed; }, 5000)) << f.log;
    ASSERT_TRUE(wait_until([&] { return f.count_of(kUnsent) == 1 && f.count_of(kUnreadable) == 2; }, 5000)) << f.log;
    EXPECT_TRUE(silent.received.empty() && half.received.empty());
    EXPECT_LT(deaf.received.size(), sizeof(ResponseHeader) + messages * sizeof(MessageRecord));
    EXPECT_EQ(f.count_of(kNoKey), 0) << f.log;
    EXPECT_EQ(f.listener->open_connections(), 0u);
}
