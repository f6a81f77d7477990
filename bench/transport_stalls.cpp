// How long one till waits for an answer while other connections stall: none, one silent connection, three,
// and one that trickles its request a byte every 4 s or every 9 s. Each stalling connection is opened first,
// so a server that serves connections in turn would reach it before the till.
//
//   transport_stalls [--server PATH] [--cap SECONDS]
//
// PATH is the StockavelleServer to measure (default: the one next to this program), so an older build can be
// compared with this one. A till still waiting after the cap (default 60 s) is reported as "> cap".
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/bench_server.h"

using namespace stk;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kServerName = "stalls";

struct Scenario {
    const char* name;
    int silent;              // connections that send nothing
    double trickle_every_s;  // 0: no trickler; else one connection sends a byte this often
};

int connect_local(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof(a.sun_path) - 1);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

// A connection that sends a request one byte at a time until stopped.
class Trickler {
public:
    Trickler(const std::string& path, double every_s) : fd_(connect_local(path)) {
        thread_ = std::thread([this, every_s] {
            const std::string bytes = bench::request_bytes(GET_INVOICE_COUNT);
            std::unique_lock<std::mutex> lock(mutex_);
            for (std::size_t i = 0; i < bytes.size() && !stop_; ++i) {
                if (::send(fd_, bytes.data() + i, 1, MSG_NOSIGNAL) != 1) break;
                stopped_.wait_for(lock, std::chrono::duration<double>(every_s), [this] { return stop_; });
            }
        });
    }
    ~Trickler() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        stopped_.notify_all();
        thread_.join();
        if (fd_ >= 0) ::close(fd_);
    }

private:
    int fd_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
    std::thread thread_;
};

// Seconds from connecting until the whole answer to GET_INVOICE_COUNT is in; -1 when the cap passed first.
double time_one_request(const std::string& path, double cap_s) {
    const auto start = Clock::now();
    const auto until = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(cap_s));
    const int fd = connect_local(path);
    if (fd < 0) return -1;
    const std::string request = bench::request_bytes(GET_INVOICE_COUNT);
    std::size_t got = 0;
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
        char buffer[sizeof(ResponseHeader)];
        while (got < sizeof buffer && Clock::now() < until) {
            pollfd p{fd, POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
            if (::poll(&p, 1, static_cast<int>(left > 0 ? left : 0)) <= 0) continue;
            const ssize_t n = ::recv(fd, buffer + got, sizeof buffer - got, 0);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    if (got < sizeof(ResponseHeader)) return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::string program;
    double cap_s = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--server") == 0) program = argv[i + 1];
        if (std::strcmp(argv[i], "--cap") == 0) cap_s = std::atof(argv[i + 1]);
    }
    QTemporaryDir dir(QDir::tempPath() + "/stk-stalls-XXXXXX");
    const std::string root = dir.path().toStdString();
    ::setenv(platform::kPipeFolderVariable, (root + "/pipes").c_str(), 1);
    bench::BenchServer server(root, program);
    if (!server.start(kServerName)) {
        std::fprintf(stderr, "transport_stalls: the server did not start\n%s", server.log().c_str());
        return 1;
    }
    const std::string path = platform::local_pipe_path(kServerName);

    const Scenario scenarios[] = {
        {"no stalled connection", 0, 0}, {"one silent connection", 1, 0}, {"three silent connections", 3, 0},
        {"a byte every 4 s", 0, 4},      {"a byte every 9 s", 0, 9},
    };
    std::printf("transport_stalls: %s, cap %.0f s\n", program.empty() ? "this build's server" : program.c_str(), cap_s);
    std::printf("  %-26s %s\n", "beside", "till's request answered after");
    bool all_answered = true;
    for (const Scenario& s : scenarios) {
        std::vector<int> silent;
        for (int i = 0; i < s.silent; ++i) silent.push_back(connect_local(path));
        std::unique_ptr<Trickler> trickler;
        if (s.trickle_every_s > 0) trickler = std::make_unique<Trickler>(path, s.trickle_every_s);
        // The stallers are the server's to see first.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const double waited = time_one_request(path, cap_s);
        if (waited < 0) {
            std::printf("  %-26s > %.0f s\n", s.name, cap_s);
            all_answered = false;
        } else {
            std::printf("  %-26s %.3f s\n", s.name, waited);
        }
        std::fflush(stdout);
        trickler.reset();
        for (int fd : silent) ::close(fd);
        // Whatever the stallers held is let go once they are closed; the next scenario starts on an idle server.
        if (time_one_request(path, cap_s) < 0) {
            std::printf("  the server did not recover after \"%s\"\n", s.name);
            return 1;
        }
    }
    server.stop();
    return all_answered ? 0 : 1;
}
