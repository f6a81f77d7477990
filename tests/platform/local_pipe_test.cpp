// The socket folder, the stale/live decision before listening, the instance lock and the app-data folder.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>

#include "platform/app_data.h"
#include "platform/durable_file.h"
#include "platform/host_port.h"
#include "platform/instance_lock.h"
#include "platform/local_pipe.h"
#include "tests/support/server_process.h"

using namespace stk::platform;

namespace {

// A socket file at `path`; listening or not. Returns the descriptor (the caller closes it).
int bound_socket(const std::string& path, bool listening) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
    if (listening) ::listen(fd, 4);
    return fd;
}

}  // namespace

TEST(LocalPipe, NamesStayOneFileInTheFolder) {
    const std::string folder = stk::test::test_pipe_folder();
    EXPECT_EQ(pipe_folder(), folder);
    EXPECT_EQ(local_pipe_path("stockavelle server 1.0"), folder + "/stockavelle server 1.0");
    EXPECT_EQ(local_pipe_path("a/b%c"), folder + "/a%2Fb%25c");
    EXPECT_EQ(local_pipe_path(".."), folder + "/%2E.");
    EXPECT_EQ(local_pipe_path("."), folder + "/%2E");
}

TEST(LocalPipe, StaleSocketIsReplacedLiveOneIsLeftAlone) {
    const std::string name = stk::test::unique_server_name("pipe");
    const std::string path = local_pipe_path(name);
    ASSERT_TRUE(ensure_pipe_folder());

    // Left by a crash: bound, nobody listening.
    const int stale = bound_socket(path, false);
    ASSERT_GE(stale, 0);
    ::close(stale);
    QLocalServer first;
    std::string error;
    ASSERT_TRUE(listen_local(first, name, &error)) << error;
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0777u);  // every local user may connect

    // Ours, live: refused, and the socket stays.
    QLocalServer second;
    EXPECT_FALSE(listen_local(second, name, &error));
    EXPECT_TRUE(first.isListening());
    EXPECT_TRUE(file_exists(path));
    close_local(first);
    EXPECT_FALSE(file_exists(path));

    // Another program listening there (no claim of ours): the probe connects, so it is live.
    const int foreign = bound_socket(path, true);
    ASSERT_GE(foreign, 0);
    EXPECT_FALSE(listen_local(second, name, &error));
    EXPECT_TRUE(file_exists(path));
    ::close(foreign);
    ::unlink(path.c_str());

    // Not a socket at all: never removed.
    ASSERT_TRUE(write_file_durably(path, "keep me"));
    EXPECT_FALSE(listen_local(second, name, &error));
    EXPECT_TRUE(file_exists(path));
    ::unlink(path.c_str());

    // Free again: the name can be taken.
    EXPECT_TRUE(listen_local(second, name, &error)) << error;
    close_local(second);
}

TEST(LocalPipe, FolderIsClosedToOtherUsers) {
    QTemporaryDir dir;
    const std::string saved = pipe_folder();
    const std::string fresh = dir.path().toStdString() + "/new/pipes";
    ::setenv(kPipeFolderVariable, fresh.c_str(), 1);
    ASSERT_TRUE(ensure_pipe_folder());
    struct stat st {};
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);

    // One of ours that anyone could write to, as earlier versions made it, is closed to others.
    ASSERT_EQ(::chmod(fresh.c_str(), 01777), 0);
    ASSERT_TRUE(ensure_pipe_folder());
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    ::setenv(kPipeFolderVariable, saved.c_str(), 1);
}

TEST(InstanceLock, HeldWhileAServerRuns) {
    stk::test::test_pipe_folder();
    release_server_instance();
    EXPECT_FALSE(server_instance_running());
    ASSERT_TRUE(hold_server_instance());
    EXPECT_TRUE(server_instance_running());
    release_server_instance();
    EXPECT_FALSE(server_instance_running());
}

TEST(AppData, VariableOrDefaultAndSharedSubfolders) {
    QTemporaryDir dir;
    const char* old = std::getenv(kAppDataVariable);
    const std::string saved = old ? old : "";
    ::unsetenv(kAppDataVariable);
    EXPECT_EQ(app_data_folder(), kDefaultAppDataFolder);
    const std::string base = dir.path().toStdString() + "/a/b";
    ::setenv(kAppDataVariable, base.c_str(), 1);
    EXPECT_EQ(app_data_folder(), base);
    const std::string sub = app_data_subfolder("Stockavelle 1.0.1");
    EXPECT_EQ(sub, base + "/Stockavelle 1.0.1");
    struct stat st {};
    ASSERT_EQ(::stat(sub.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0777u);
    ASSERT_EQ(::stat(base.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 01777u);
    if (old)
        ::setenv(kAppDataVariable, saved.c_str(), 1);
    else
        ::unsetenv(kAppDataVariable);
}

TEST(HostPort, Forms) {
    std::string host;
    unsigned short port = 0;
    ASSERT_TRUE(split_host_port("till2", &host, &port));
    EXPECT_EQ(host, "till2");
    EXPECT_EQ(port, kDefaultTcpPort);
    ASSERT_TRUE(split_host_port("10.0.0.5:5000", &host, &port));
    EXPECT_EQ(host, "10.0.0.5");
    EXPECT_EQ(port, 5000);
    ASSERT_TRUE(split_host_port("[::1]:6000", &host, &port));
    EXPECT_EQ(host, "::1");
    EXPECT_EQ(port, 6000);
    ASSERT_TRUE(split_host_port("fe80::1", &host, &port));
    EXPECT_EQ(host, "fe80::1");
    EXPECT_EQ(port, kDefaultTcpPort);
    EXPECT_FALSE(split_host_port("host:", &host, &port));
    EXPECT_FALSE(split_host_port("host:70000", &host, &port));
    EXPECT_FALSE(split_host_port("host:0", &host, &port));
    EXPECT_FALSE(split_host_port(":80", &host, &port));
}
