// The real server process against crowds of connections, and the socket folder it will listen in.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstring>
#include <vector>

#include "tests/support/server_process.h"

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
