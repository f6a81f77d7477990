// The real server process against crowds of connections, and the socket folder it will listen in.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <cstring>
#include <vector>

#include "platform/durable_file.h"
#include "tests/support/server_process.h"

using stk::client::ServerAddress;
using stk::client::ServerApi;
using stk::test::ServerProcess;

namespace {

// Plain blocking connections to a socket file, closed together.
struct IdleConnections {
    std::vector<int> fds;
    ~IdleConnections() {
        for (int fd : fds) ::close(fd);
    }
    bool open(const std::string& path) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        fds.push_back(fd);
        return fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
};

}  // namespace

TEST(TransportServer, TwoHundredIdleConnectionsDoNotStopAClient) {
    ServerProcess server;  // the real ten-second bound
    ASSERT_TRUE(server.start()) << server.log();
    IdleConnections idle;
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(idle.open(server.pipe_path())) << i;
    QElapsedTimer clock;
    clock.start();
    int count = -1;
    EXPECT_EQ(server.api().get_invoice_count(&count), 1);
    EXPECT_LT(clock.elapsed(), 5000);
    // The oldest were pushed out to make room, each logged as a request that could not be read.
    EXPECT_TRUE(server.wait_for_count("An error occured while receiving data.\r\n", 200 - 64));
}

TEST(TransportServer, SocketFolderOfAnotherUserIsRefused) {
    QTemporaryDir dir;
    std::string folder = dir.path().toStdString() + "/pipes";
    if (::geteuid() == 0) {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
        ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);  // nobody's
    } else {
        folder = "/";  // root's
    }
    ServerProcess server;
    server.environment.insert("STOCKAVELLE_PIPE_DIR", QString::fromStdString(folder));
    EXPECT_EQ(server.run_to_exit(), 1);
    const std::string log = server.log();
    EXPECT_NE(log.find("The socket folder " + folder + " belongs to another user"), std::string::npos) << log;
    EXPECT_NE(log.find("Unable to initialize communications resource.\r\n"), std::string::npos) << log;
}

TEST(TransportServer, RemoteTillNeedsTheShopKeyTheServerMade) {
    QTcpServer free_port;
    ASSERT_TRUE(free_port.listen(QHostAddress::LocalHost, 0));
    const std::string address = "127.0.0.1:" + std::to_string(free_port.serverPort());
    free_port.close();
    ServerProcess server;
    server.extra_args = {"--listen-tcp", address};
    ASSERT_TRUE(server.start()) << server.log() << server.errors();

    // Made on first use, readable by the server's user alone, and announced in the log.
    const std::string key_file = server.database_set() + "/stockavelle shop key.txt";
    struct stat st {};
    ASSERT_EQ(::stat(key_file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_NE(server.log().find("A new shop key was made in " + key_file), std::string::npos) << server.log();
    // The owner can read in the log where remote tills must connect.
    EXPECT_NE(server.log().find("Tills on other computers are served on TCP " + address +
                                ", over TLS with the shop key in " + key_file + ".\r\n"),
              std::string::npos)
        << server.log();

    int count = -1;
    ServerApi till(ServerAddress{server.server_name(), address, key_file}, "stockavelle client 1.0");
    EXPECT_EQ(till.get_invoice_count(&count), 1);
    EXPECT_EQ(count, 0);

    // Another shop's key: no answer, and the server says who tried.
    QTemporaryDir other;
    const std::string other_key = other.path().toStdString() + "/stockavelle shop key.txt";
    ASSERT_TRUE(stk::platform::write_file_durably(other_key, std::string(64, '7') + "\r\n"));
    ServerApi stranger(ServerAddress{server.server_name(), address, other_key}, "stockavelle client 1.0");
    EXPECT_EQ(stranger.get_invoice_count(&count), stk::client::kTransportFailed);
    EXPECT_TRUE(
        server.wait_for_log("A connection from 127.0.0.1 did not prove it holds this shop's key and was "
                            "closed.\r\n"));
    // No key at all: nothing is even tried.
    ServerApi keyless(ServerAddress{server.server_name(), address, other.path().toStdString() + "/none"},
                      "stockavelle client 1.0");
    EXPECT_EQ(keyless.get_invoice_count(&count), stk::client::kTransportFailed);

    // The next start keeps the key the tills have.
    std::string before, after;
    ASSERT_TRUE(stk::platform::read_whole_file(key_file, before));
    ASSERT_TRUE(server.restart()) << server.log();
    ASSERT_TRUE(stk::platform::read_whole_file(key_file, after));
    EXPECT_EQ(before, after);
    EXPECT_EQ(server.log().find("A new shop key was made"), std::string::npos);
    EXPECT_EQ(till.get_invoice_count(&count), 1);
}
