#include "bench/requests/bench_server.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/local_pipe.h"

namespace stk::bench {

namespace {

constexpr const char* kReadyLine = "Server initialization complete. Waiting for a client request\r\n";
constexpr const char* kFailureLine = "Server initialization failure.";

}  // namespace

std::string program_beside_me(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path me = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (me.parent_path() / name).string();
}

BenchServer::BenchServer(std::string program, std::string root)
    : program_(std::move(program)), root_(std::move(root)), name_("bench-" + std::to_string(::getpid())) {
    std::error_code ec;
    std::filesystem::create_directories(root_ + "/appdata", ec);
    // The server and this program's request layer find the socket through the same variable.
    ::setenv(platform::kPipeFolderVariable, (root_ + "/pipes").c_str(), 1);
    ::setenv("STOCKAVELLE_APPDATA", (root_ + "/appdata").c_str(), 1);
    log_path_ = root_ + "/server.log";
    api_ = std::make_unique<client::ServerApi>(client::ServerAddress{name_, ""}, "stockavelle client 1.0");
    api_->read_timeout_ms = 600000;
}

BenchServer::~BenchServer() { stop(); }

std::string BenchServer::read_log() const {
    std::ifstream in(log_path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

double BenchServer::start(const std::string& set_folder) {
    // The last run's log must not be taken for this one's.
    std::error_code ec;
    std::filesystem::remove(log_path_, ec);
    const auto started = std::chrono::steady_clock::now();
    pid_ = ::fork();
    if (pid_ == 0) {
        const int out = ::open(log_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
        ::execl(program_.c_str(), program_.c_str(), "--headless", "--database-set", set_folder.c_str(), "--server-name",
                name_.c_str(), static_cast<char*>(nullptr));
        std::perror("execl");
        ::_exit(127);
    }
    // The log is looked at every millisecond: start-ups take a second or more at the larger sizes.
    for (;;) {
        const std::string log = read_log();
        if (log.find(kReadyLine) != std::string::npos) break;
        int status = 0;
        if (log.find(kFailureLine) != std::string::npos || ::waitpid(pid_, &status, WNOHANG) == pid_) {
            std::fprintf(stderr, "the server did not start:\n%s\n", log.c_str());
            stop();
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}

bool BenchServer::stop() {
    if (pid_ <= 0) return true;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = 0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::uint64_t BenchServer::cpu_ns() const {
    if (pid_ <= 0) return 0;
    // Every thread's run time in nanoseconds: the first number of its schedstat.
    std::uint64_t total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid_) + "/task";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(tasks, ec)) {
        std::ifstream in(entry.path() / "schedstat");
        std::uint64_t ns = 0;
        if (in >> ns) total += ns;
    }
    return total;
}

}  // namespace stk::bench
