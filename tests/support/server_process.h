// Starts the real StockavelleServer (headless) on a temporary database set, for end-to-end tests.
//
//   stk::test::ServerProcess server;                  // temp dir: set/, appdata/; a unique server name
//   ASSERT_TRUE(server.start()) << server.log();      // waits for "Server initialization complete..."
//   int count = 0;
//   EXPECT_EQ(server.api().get_invoice_count(&count), 1);
//   EXPECT_TRUE(server.wait_for_log("Waiting for a client request\r\n"));
//   ASSERT_TRUE(server.stop());                       // SIGTERM; true when it ended with status 0
//   ASSERT_TRUE(server.start());                      // again, on the same set (the log starts afresh)
//
// Every test process gets one private pipe folder (STOCKAVELLE_PIPE_DIR is set for the whole process on
// first use), so the api() of any ServerProcess finds its server; each server gets a fresh app-data folder.
// The server's standard output is the activity log, byte for byte.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "client/api/server_api.h"

namespace stk::test {

// The private pipe folder of this test process (created and exported on first call).
std::string test_pipe_folder();

// A server name no other test of this process uses.
std::string unique_server_name(std::string_view prefix = "test");

class ServerProcess {
public:
    ServerProcess();
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Arguments of the next start(). By default: --headless --database-set <set> --server-name <name>.
    // extra_args are appended (e.g. {"--listen-tcp", "127.0.0.1:0"}).
    std::vector<std::string> extra_args;
    // Replaces the default arguments entirely when not empty (--headless is still added first).
    std::vector<std::string> args_override;
    // Extra environment of the server process (e.g. STOCKAVELLE_STALL_TIMEOUT_MS).
    QProcessEnvironment environment;
    // The server program to run: the build's when empty (an installed copy, say).
    QString program;

    // Starts the server and waits (up to timeout_ms) for the initialization-complete line. false when the
    // server failed start-up, exited or did not get there in time; log() then tells why.
    bool start(int timeout_ms = 20000);
    // Starts the server and waits for it to exit (for start-ups that are meant to fail). Returns the exit
    // status, or -1 when it did not end in time.
    int run_to_exit(int timeout_ms = 20000);
    // SIGTERM, then waits for the exit. true when the server exited normally with status 0.
    bool stop(int timeout_ms = 10000);
    // stop() then start() on the same set.
    bool restart();
    // SIGKILL (leaves a stale socket file behind).
    void kill();

    bool running() const;
    // The server's process id (0 when not running), e.g. to send it SIGINT.
    qint64 pid() const;
    int exit_code() const { return exit_code_; }

    // All standard output of the current (or last) run so far.
    std::string log();
    // Standard error of the current (or last) run so far.
    std::string errors();
    // Waits until the log contains `text` after byte offset `from`. true when it does.
    bool wait_for_log(std::string_view text, int timeout_ms = 10000, std::size_t from = 0);

    // Waits until `text` occurs at least `n` times in the log. The server logs "Waiting for a client request"
    // after the client already has its answer: wait_for_count(that line, requests + 1) waits until the
    // server is idle again after `requests` requests.
    bool wait_for_count(std::string_view text, int n, int timeout_ms = 10000);
    static int count_of(std::string_view haystack, std::string_view text);

    // Paths.
    std::string root() const;  // the temporary folder of this server
    const std::string& database_set() const { return set_; }
    const std::string& app_data() const { return app_data_; }
    const std::string& server_name() const { return name_; }
    std::string pipe_path() const;  // the socket file of the server name
    void set_server_name(std::string name);

    // A request layer connected to this server by name (client name "stockavelle client 1.0").
    client::ServerApi& api() { return *api_; }
    // A fresh request layer, e.g. with another client name.
    client::ServerApi make_api(std::string client_name = "stockavelle client 1.0") const;

private:
    void drain();
    QTemporaryDir dir_;
    std::string set_;
    std::string app_data_;
    std::string name_;
    std::unique_ptr<QProcess> process_;
    std::unique_ptr<client::ServerApi> api_;
    std::string out_;
    std::string err_;
    int exit_code_ = -1;
};

}  // namespace stk::test
