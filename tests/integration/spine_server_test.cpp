// The real server process: start-up, refusals, the stall bound, the socket's life and the orderly end.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QLocalSocket>
#include <QTcpServer>
#include <cstring>

#include "common/text_field.h"
#include "platform/durable_file.h"
#include "tests/support/server_process.h"

using stk::test::ServerProcess;

namespace {

constexpr const char* kProcessing = "Processing client request...\r\n";
constexpr const char* kWaiting = "Waiting for a client request\r\n";

std::string header_bytes(int version, std::string_view client, int opcode) {
    stk::RequestHeader h;
    std::memset(&h, 0, sizeof h);
    h.version = version;
    stk::set_field(h.client_name, client);
    h.opcode = opcode;
    return std::string(reinterpret_cast<const char*>(&h), sizeof h);
}

// The log position once the server is idle after `requests` requests (the client has its answer before the
// server logs its waiting line).
std::size_t idle_mark(ServerProcess& server, int requests) {
    EXPECT_TRUE(server.wait_for_count(kWaiting, requests + 1));
    return server.log().size();
}

}  // namespace

TEST(SpineServer, ServesRefusesAndEndsInOrder) {
    ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    EXPECT_TRUE(stk::platform::file_exists(server.pipe_path()));

    int count = -1;
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_EQ(count, 0);

    double totals[4] = {9, 9, 9, 9};
    EXPECT_EQ(server.api().get_invoice_totals(0, totals), 0);
    std::string answer;
    ASSERT_TRUE(server.api().raw_exchange(header_bytes(100, "stockavelle client 1.0", stk::GET_INVOICE_TOTALS), &answer));
    EXPECT_EQ(answer.size(), sizeof(stk::ResponseHeader));  // bad index: the header alone

    std::size_t mark = idle_mark(server, 3);
    ASSERT_TRUE(server.api().raw_exchange(header_bytes(99, "stockavelle client 1.0", stk::GET_INVOICE_COUNT), &answer));
    EXPECT_TRUE(answer.empty());
    ASSERT_TRUE(server.wait_for_log(kWaiting, 10000, mark));
    EXPECT_EQ(server.log().substr(mark),
              std::string(kProcessing) + "Client version incorrect for this server.\r\n" + kWaiting);

    mark = idle_mark(server, 4);
    ASSERT_TRUE(server.api().raw_exchange(header_bytes(100, "Stockavelle Client 1.0", stk::GET_INVOICE_COUNT), &answer));
    EXPECT_TRUE(answer.empty());
    ASSERT_TRUE(server.wait_for_log(kWaiting, 10000, mark));
    EXPECT_EQ(server.log().substr(mark), std::string(kProcessing) + "Client indentification incorrect.\r\n" + kWaiting);
    EXPECT_EQ(server.make_api("Stockavelle Client 1.0").get_invoice_count(&count), stk::client::kTransportFailed);

    mark = idle_mark(server, 6);
    ASSERT_TRUE(server.api().raw_exchange(header_bytes(100, "stockavelle client 1.0", 15), &answer));
    EXPECT_TRUE(answer.empty());
    ASSERT_TRUE(server.wait_for_log(kWaiting, 10000, mark));
    EXPECT_EQ(server.log().substr(mark), std::string(kProcessing) + kWaiting);

    ASSERT_TRUE(server.stop());
    EXPECT_FALSE(stk::platform::file_exists(server.pipe_path()));

    // The pointer file remembers the set; the next start opens it without being told.
    std::string pointer;
    ASSERT_TRUE(stk::platform::read_whole_file(server.app_data() + "/Stockavelle 1.0.1/Server Settings.txt", pointer));
    EXPECT_EQ(pointer, server.database_set());
    server.args_override = {"--server-name", server.server_name()};
    ASSERT_TRUE(server.start()) << server.log();
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
    ASSERT_TRUE(server.stop());
}

TEST(SpineServer, StalledClientIsDroppedAndOthersAreServed) {
    ServerProcess server;
    server.environment.insert("STOCKAVELLE_STALL_TIMEOUT_MS", "300");
    ASSERT_TRUE(server.start()) << server.log();
    const std::size_t mark = idle_mark(server, 0);

    QLocalSocket stalled;
    stalled.connectToServer(QString::fromStdString(server.pipe_path()));
    ASSERT_TRUE(stalled.waitForConnected(5000));
    const std::string half = header_bytes(100, "stockavelle client 1.0", stk::GET_INVOICE_COUNT).substr(0, 100);
    stalled.write(half.data(), static_cast<qint64>(half.size()));
    ASSERT_TRUE(stalled.waitForBytesWritten(5000));

    // Served at once, while the stalled request is still incomplete; that one is given up at the bound,
    // although its client never hangs up.
    int count = -1;
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_EQ(count, 0);
    ASSERT_TRUE(server.wait_for_count(kWaiting, 3));
    EXPECT_EQ(server.log().substr(mark), std::string(kProcessing) + kWaiting + kProcessing +
                                             "An error occured while receiving data.\r\n" + kWaiting);
    EXPECT_TRUE(stalled.state() == QLocalSocket::UnconnectedState || !stalled.waitForReadyRead(2000) ||
                stalled.bytesAvailable() == 0);
}

TEST(SpineServer, LiveSocketIsRefusedAndStaleSocketReplaced) {
    ServerProcess first;
    ASSERT_TRUE(first.start()) << first.log();

    ServerProcess second;
    second.set_server_name(first.server_name());
    EXPECT_EQ(second.run_to_exit(), 1);
    const std::string log = second.log();
    EXPECT_NE(log.find("Another instance of Stockavelle Server is running on this computer."), std::string::npos);
    EXPECT_NE(log.find("Unable to initialize communications resource.\r\n"
                       "Server initialization failure. Please restart Stockavelle Server.\r\n"),
              std::string::npos)
        << log;
    int count = -1;
    EXPECT_EQ(first.api().get_invoice_count(&count), 1);  // the first server still owns its socket

    // A crash leaves the socket file behind; the next server replaces it.
    first.kill();
    ASSERT_TRUE(stk::platform::file_exists(first.pipe_path()));
    ASSERT_TRUE(first.start()) << first.log() << first.errors();
    EXPECT_EQ(first.api().get_invoice_count(&count), 1);
    EXPECT_TRUE(first.stop());
}

TEST(SpineServer, SocketFileNobodyListensOnIsReplaced) {
    ServerProcess server;
    const std::string path = server.pipe_path();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);  // bound, never listened: connects are refused
    ASSERT_TRUE(stk::platform::file_exists(path));
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    int count = -1;
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
}

TEST(SpineServer, ServesTcpWhenAsked) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const std::string address = "127.0.0.1:" + std::to_string(probe.serverPort());
    probe.close();

    ServerProcess server;
    server.extra_args = {"--listen-tcp", address};
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    stk::client::ServerApi remote(
        stk::client::ServerAddress{server.server_name(), address, server.database_set() + "/stockavelle shop key.txt"},
        "stockavelle client 1.0");
    int count = -1;
    EXPECT_EQ(remote.get_invoice_count(&count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
}

TEST(SpineServer, InterruptEndsInOrderAndNoSetMeansFailure) {
    ServerProcess server;
    ASSERT_TRUE(server.start()) << server.log();
    ::kill(static_cast<pid_t>(server.pid()), SIGINT);
    EXPECT_TRUE(server.stop());  // already ending: waits for the exit and checks status 0
    EXPECT_FALSE(stk::platform::file_exists(server.pipe_path()));

    // Headless with no set named and none remembered: the failure lines and status 1.
    ServerProcess lost;
    lost.args_override = {"--server-name", lost.server_name()};
    EXPECT_EQ(lost.run_to_exit(), 1);
    EXPECT_NE(lost.log().find("Unable to load inventory database.\r\n"), std::string::npos) << lost.log();
    EXPECT_EQ(lost.log().substr(lost.log().size() - 67),
              "Server initialization failure. Please restart Stockavelle Server.\r\n");
}

TEST(SpineServer, NewSetBecomesTheSet) {
    ServerProcess server;
    const std::string fresh = server.root() + "/fresh";
    server.args_override = {"--new-set", fresh, "--server-name", server.server_name()};
    ASSERT_TRUE(server.start()) << server.log() << server.errors();
    EXPECT_EQ(server.log().find("Unable to load application settings."), std::string::npos);  // not read for a new set
    for (const char* file : {"inventory.txt", "inventory fifo.txt", "invoices.dat", "messages.dat",
                             "stockavelle server settings.txt"})
        EXPECT_TRUE(stk::platform::file_exists(fresh + "/" + file)) << file;
    ASSERT_TRUE(server.stop());
    std::string pointer;
    ASSERT_TRUE(stk::platform::read_whole_file(server.app_data() + "/Stockavelle 1.0.1/Server Settings.txt", pointer));
    EXPECT_EQ(pointer, fresh);

    // The same folder again as a new set: its database files are there already.
    EXPECT_EQ(server.run_to_exit(), 1);
    EXPECT_NE(server.log().find("Unable to initialize new database set."), std::string::npos) << server.log();
}
