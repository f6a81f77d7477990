// The real StockavelleServer, headless, on a benchmark's database set: started and stopped as a process, its
// log in a file, its CPU time read from /proc.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>

#include "client/api/server_api.h"

namespace stk::bench {

class BenchServer {
public:
    // `program`: the server executable; `root`: a folder for the server's application data, socket and log.
    BenchServer(std::string program, std::string root);
    ~BenchServer();
    BenchServer(const BenchServer&) = delete;
    BenchServer& operator=(const BenchServer&) = delete;

    // Starts the server on `set_folder` and waits until it serves. The milliseconds that took, or -1 when it
    // failed to start (its log is printed).
    double start(const std::string& set_folder);
    // SIGTERM, and the wait for the end. true when it ended with status 0.
    bool stop();

    // Nanoseconds of CPU the server's threads have used so far.
    std::uint64_t cpu_ns() const;
    client::ServerApi& api() { return *api_; }

private:
    std::string read_log() const;

    std::string program_;
    std::string root_;
    std::string name_;
    std::string log_path_;
    pid_t pid_ = 0;
    std::unique_ptr<client::ServerApi> api_;
};

// The executable called `name` beside the running program.
std::string program_beside_me(const std::string& name);

}  // namespace stk::bench
