// The listener on a real local socket: clients that stall, trickle, flood or do not take their answer are
// dropped at the time bound, and none of them holds up a client that behaves.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <vector>

#include "tests/server/transport/transport_fixture.h"

using namespace stk;
using namespace stk::test;

namespace {

// Milliseconds that `n` GET_INVOICE_COUNT exchanges take one after another; -1 when one is not answered.
qint64 time_requests(TransportFixture& f, int n) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < n; ++i) {
        if (!f.count_invoices()) return -1;
    }
    return clock.elapsed();
}

}  // namespace

TEST(Listener, StalledClientsDoNotDelayAnother) {
    TransportFixture f;  // the real ten-second bound: a client held up by a staller would wait that long
    ASSERT_TRUE(f.listen());
    const qint64 alone = time_requests(f, 20);
    ASSERT_GE(alone, 0) << f.log;

    // One says nothing, one sends half a header, one sends a byte every second.
    PipeClient silent(f.path());
    PipeClient half(f.path());
    half.send(request_bytes(GET_INVOICE_COUNT).substr(0, 100));
    PipeClient trickler(f.path());
    const std::string trickled = request_bytes(GET_INVOICE_COUNT);
    std::size_t sent = 0;
    auto drip_one = [&] { trickler.send(trickled.substr(sent++, 1)); };
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, drip_one);
    drip_one();
    drip.start(1000);
    ASSERT_TRUE(wait_until([&] { return f.listener->open_connections() == 3; }));

    const qint64 beside_stallers = time_requests(f, 20);
    ASSERT_GE(beside_stallers, 0) << f.log;
    EXPECT_LT(beside_stallers, 3 * alone + 500) << "alone " << alone << " ms";
    // The stallers are all still there: nobody waited for them to be dropped.
    EXPECT_EQ(f.listener->open_connections(), 3u);
    EXPECT_EQ(f.count_of(kUnreadable), 0) << f.log;
    EXPECT_EQ(f.count_of(kWaiting), 40);
}

TEST(Listener, TricklerAndSilentClientAreDroppedAtTheBound) {
    TransportFixture f(TransportLimits{1000});
    ASSERT_TRUE(f.listen());
    QElapsedTimer clock;
    clock.start();
    PipeClient silent(f.path());
    PipeClient trickler(f.path());
    const std::string trickled = request_bytes(GET_INVOICE_COUNT);
    std::size_t sent = 0;
    qint64 first_byte = -1, silent_gone = -1, trickler_gone = -1;
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, [&] {
        if (trickler.closed) return;
        if (sent == 0) first_byte = clock.elapsed();
        trickler.send(trickled.substr(sent++, 1));
    });
    QTimer::singleShot(300, [&] { drip.start(100); });  // starts late: its bound runs from its first byte
    ASSERT_TRUE(wait_until([&] {
        if (silent.closed && silent_gone < 0) silent_gone = clock.elapsed();
        if (trickler.closed && trickler_gone < 0) trickler_gone = clock.elapsed();
        return silent.closed && trickler.closed;
    }));
    EXPECT_GE(silent_gone, 1000);
    EXPECT_LT(silent_gone, 1500);
    EXPECT_GE(trickler_gone - first_byte, 1000);
    EXPECT_LT(trickler_gone - first_byte, 1500);
    EXPECT_TRUE(silent.received.empty() && trickler.received.empty());
    ASSERT_TRUE(wait_until([&] { return f.count_of(kWaiting) == 2; }));
    const std::string dropped = std::string(kProcessing) + std::string(kUnreadable) + std::string(kWaiting);
    EXPECT_EQ(f.log, dropped + dropped);
}

TEST(Listener, TheOldestIncompleteConnectionMakesRoom) {
    TransportFixture f(TransportLimits{10000, 4});
    ASSERT_TRUE(f.listen());
    std::vector<std::unique_ptr<PipeClient>> idle;
    for (int i = 0; i < 4; ++i) {
        idle.push_back(std::make_unique<PipeClient>(f.path()));
        ASSERT_TRUE(wait_until([&] { return f.listener->open_connections() == idle.size(); }));
    }
    idle[1]->send(request_bytes(GET_INVOICE_COUNT).substr(0, 10));  // younger than idle[0] all the same

    // A fifth pushes out the first; its request is served at once.
    EXPECT_TRUE(f.count_invoices()) << f.log;
    EXPECT_TRUE(idle[0]->closed);
    for (int i = 1; i < 4; ++i) EXPECT_FALSE(idle[i]->closed) << i;
    EXPECT_EQ(f.log, std::string(kProcessing) + std::string(kUnreadable) + std::string(kWaiting) +
                         std::string(kProcessing) + std::string(kWaiting));
}

TEST(Listener, WhatNoRequestCanHoldIsNeitherWaitedForNorKept) {
    TransportFixture f;  // the ten-second bound: "at once" means long before it
    ASSERT_TRUE(f.listen());
    const std::string flood(4 << 20, 'x');

    // A header that names no operation, then megabytes: refused as soon as the header is in.
    QElapsedTimer clock;
    clock.start();
    PipeClient stranger(f.path());
    stranger.send(request_bytes(15) + flood);
    ASSERT_TRUE(wait_until([&] { return stranger.closed; }));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_TRUE(stranger.received.empty());
    EXPECT_EQ(f.log, std::string(kProcessing) + std::string(kWaiting));

    // A whole request followed by megabytes: answered as usual; what follows is never read.
    PipeClient chatty(f.path());
    chatty.send(request_bytes(GET_INVOICE_COUNT) + flood);
    ASSERT_TRUE(wait_until([&] { return chatty.closed; }));
    EXPECT_EQ(chatty.received.size(), sizeof(ResponseHeader));
    EXPECT_EQ(chatty.response().result, RESULT_OK);
}

TEST(Listener, ClientThatDoesNotTakeItsAnswerIsDroppedWithoutHoldingUpOthers) {
    TransportFixture f(TransportLimits{1000});
    // Enough messages that their list fills every buffer between the server and a client that does not read.
    ASSERT_TRUE(f.fill_messages(6000));
    ASSERT_TRUE(f.listen());

    PipeClient deaf(f.path());
    deaf.socket.setReadBufferSize(1);  // takes one byte and no more
    QObject::disconnect(&deaf.socket, &QLocalSocket::readyRead, nullptr, nullptr);
    deaf.send(request_bytes(LIST_MESSAGES));
    ASSERT_TRUE(wait_until([&] { return f.count_of(kWaiting) == 1; }));

    // Served at once while the first answer is still stuck.
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(f.count_invoices());
    EXPECT_LT(clock.elapsed(), 900);
    EXPECT_FALSE(deaf.closed);

    // Let go at the bound, with the line a failed send always had.
    ASSERT_TRUE(wait_until([&] { return f.count_of(kUnsent) == 1; }, 5000));
    EXPECT_EQ(f.log.substr(f.log.size() - kUnsent.size()), kUnsent);
    EXPECT_EQ(f.listener->open_connections(), 0u);
}

TEST(Listener, ASlowReaderGetsItsWholeAnswerAndOneThatLeavesIsLogged) {
    TransportFixture f(TransportLimits{500});
    const std::size_t whole = sizeof(ResponseHeader) + 10000 * sizeof(MessageRecord);
    ASSERT_TRUE(f.fill_messages(10000));
    ASSERT_TRUE(f.listen());

    // A till on a slow link: 64 KiB every 50 ms, so the answer takes several bounds, but it never stops.
    QElapsedTimer clock;
    clock.start();
    PipeClient slow(f.path());
    slow.socket.setReadBufferSize(64 * 1024);
    QObject::disconnect(&slow.socket, &QLocalSocket::readyRead, nullptr, nullptr);
    QTimer pace;
    QObject::connect(&pace, &QTimer::timeout, [&] { append_bytes(slow.received, slow.socket.readAll()); });
    pace.start(50);
    slow.send(request_bytes(LIST_MESSAGES));
    ASSERT_TRUE(wait_until([&] { return slow.received.size() == whole; })) << slow.received.size() << f.log;
    EXPECT_GT(clock.elapsed(), 1000);
    ASSERT_TRUE(wait_until([&] { return f.listener->open_connections() == 0; }));
    EXPECT_EQ(f.count_of(kUnsent), 0) << f.log;
    pace.stop();

    // A till that goes away with most of its answer unsent: the send failed, said at once, not at the bound.
    TransportFixture patient;  // the ten-second bound
    ASSERT_TRUE(patient.fill_messages(10000));
    ASSERT_TRUE(patient.listen());
    PipeClient leaving(patient.path());
    leaving.socket.setReadBufferSize(64 * 1024);
    leaving.send(request_bytes(LIST_MESSAGES));
    ASSERT_TRUE(wait_until([&] { return !leaving.received.empty(); }));
    clock.restart();
    leaving.socket.abort();
    ASSERT_TRUE(wait_until([&] { return patient.count_of(kUnsent) == 1; }, 5000)) << patient.log;
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(patient.listener->open_connections(), 0u);
}
