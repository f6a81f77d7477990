// The kill harness: random request streams against a real server that is killed (SIGKILL) at random moments
// and started again, checked against a reference server that was sent the same answered requests and is never
// killed.
//
//     stk_kill_harness [--kills N] [--seed S] [--max-delay-ms M]
//
// After each restart the killed server's files must equal the reference's, or the reference's plus the one
// request that was in flight when the server died: every answered change is there, and no request is there
// in part. An item's stock must differ from what its cost layers hold only where the reference's does too.
// Prints the figures; exit status 0 when everything held.
#include <signal.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "common/protocol.h"
#include "tests/crash/random_requests.h"
#include "tests/crash/set_files.h"
#include "tests/support/server_process.h"

namespace {

using stk::test::ServerProcess;
using Clock = std::chrono::steady_clock;

struct Options {
    int kills = 30;
    unsigned seed = 0;
    int max_delay_ms = 300;
};

bool parse(int argc, char** argv, Options* o) {
    o->seed = static_cast<unsigned>(Clock::now().time_since_epoch().count());
    for (int i = 1; i + 1 < argc; i += 2) {
        const long v = std::strtol(argv[i + 1], nullptr, 10);
        if (std::strcmp(argv[i], "--kills") == 0) {
            o->kills = static_cast<int>(v);
        } else if (std::strcmp(argv[i], "--seed") == 0) {
            o->seed = static_cast<unsigned>(v);
        } else if (std::strcmp(argv[i], "--max-delay-ms") == 0) {
            o->max_delay_ms = static_cast<int>(v);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && o->kills > 0 && o->max_delay_ms > 0;
}

// Stops `reference`, gives it the database files of `victim`, and starts it again.
bool follow(ServerProcess& reference, const ServerProcess& victim) {
    if (!reference.stop()) return false;
    std::error_code ec;
    std::filesystem::remove(reference.database_set() + "/journal.dat", ec);
    for (const char* name : {"inventory.txt", "inventory fifo.txt", "invoices.dat", "messages.dat"}) {
        std::filesystem::copy_file(victim.database_set() + "/" + name, reference.database_set() + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) return false;
    }
    return reference.start();
}

// The reference never dies; when it stops answering, the harness cannot judge anything any more.
int reference_lost(ServerProcess& reference) {
    std::printf("the reference server stopped answering:\n%s\n", reference.log().c_str());
    return 1;
}

// A copy of the set as the kill left it, for a look at what went wrong.
void keep_evidence(const std::string& set, const std::string& into) {
    std::error_code ec;
    std::filesystem::remove_all(into, ec);
    std::filesystem::create_directories(into, ec);
    std::filesystem::copy(set, into, std::filesystem::copy_options::recursive, ec);
}

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
    int kills = 0;
    int answered = 0;  // requests the killed server answered before it died (each sent to the reference too)
    std::map<int, int> results;
    int in_flight_applied = 0;
    int in_flight_absent = 0;
    int restarts = 0;
    int restart_failures = 0;
    int lost_or_half = 0;  // files matching neither the reference before nor after the request in flight
    int divergent_answers = 0;
    int stock_mismatches = 0;
    int stock_apart_by_rule = 0;  // restarts after which some item's stock and layers differed in both servers
    double restart_ms_total = 0.0;
    double restart_ms_max = 0.0;
};

void print(const Figures& f, const Options& o, double seconds) {
    std::printf("kills: %d (seed %u, kill after 0-%d ms)\n", f.kills, o.seed, o.max_delay_ms);
    std::printf("requests answered before the kills: %d (", f.answered);
    for (const auto& [result, n] : f.results) std::printf(" result %d: %d", result, n);
    std::printf(" )\n");
    std::printf("request in flight at the kill: applied %d, absent %d\n", f.in_flight_applied, f.in_flight_absent);
    std::printf("restarts: %d, failed to start: %d, start-up average %.0f ms, longest %.0f ms\n", f.restarts,
                f.restart_failures, f.restarts ? f.restart_ms_total / f.restarts : 0.0, f.restart_ms_max);
    std::printf("lost or half-applied requests: %d\n", f.lost_or_half);
    std::printf("answers that differed from the reference's: %d\n", f.divergent_answers);
    std::printf(
        "restarts with an item whose stock differs from its layers where the reference's does not: %d "
        "(where the reference's does too, by the costing rules: %d)\n",
        f.stock_mismatches, f.stock_apart_by_rule);
    std::printf("time: %.1f s\n", seconds);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Options options;
    if (!parse(argc, argv, &options)) {
        std::fputs("usage: stk_kill_harness [--kills N] [--seed S] [--max-delay-ms M]\n", stderr);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const Clock::time_point began = Clock::now();
    ServerProcess victim;
    ServerProcess reference;
    if (!victim.start() || !reference.start()) {
        std::fprintf(stderr, "servers did not start:\n%s\n%s\n", victim.log().c_str(), reference.log().c_str());
        return 1;
    }
    const std::string evidence =
        std::filesystem::temp_directory_path().string() + "/stk-kill-evidence-" + std::to_string(options.seed);
    stk::crash::RequestMaker maker(options.seed);
    std::mt19937 random(options.seed ^ 0x9e3779b9u);
    Figures f;

    for (int k = 1; k <= options.kills; ++k) {
        const int delay_ms = std::uniform_int_distribution<int>(0, options.max_delay_ms)(random);
        const auto pid = static_cast<pid_t>(victim.pid());
        std::thread killer([pid, delay_ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
            ::kill(pid, SIGKILL);
        });
        stk::crash::Request in_flight;
        for (;;) {
            stk::crash::Request request = maker.next(reference.api());
            const int got = request.send(victim.api());
            if (got == stk::client::kTransportFailed) {
                in_flight = std::move(request);
                break;
            }
            ++f.answered;
            ++f.results[got];
            const int expected = request.send(reference.api());
            if (expected == stk::client::kTransportFailed) return reference_lost(reference);
            if (expected != got) {
                ++f.divergent_answers;
                std::printf("kill %d: %s answered %d, the reference %d\n", k, request.name.c_str(), got, expected);
            }
        }
        killer.join();
        victim.kill();
        ++f.kills;
        // The server's output is read as it comes, or a full pipe would stop it.
        reference.log();
        keep_evidence(victim.database_set(), evidence + "/last kill");

        const Clock::time_point restart = Clock::now();
        if (!victim.start()) {
            ++f.restart_failures;
            std::printf("kill %d: the server did not start again:\n%s\n", k, victim.log().c_str());
            break;
        }
        const double restart_ms = ms_since(restart);
        ++f.restarts;
        f.restart_ms_total += restart_ms;
        if (restart_ms > f.restart_ms_max) f.restart_ms_max = restart_ms;

        if (stk::crash::differing_files(victim.database_set(), reference.database_set()).empty()) {
            ++f.in_flight_absent;
        } else {
            if (in_flight.send(reference.api()) == stk::client::kTransportFailed) return reference_lost(reference);
            ++f.in_flight_applied;
            const std::string differing = stk::crash::differing_files(victim.database_set(), reference.database_set());
            if (!differing.empty()) {
                ++f.lost_or_half;
                const std::string kept = evidence + "/kill " + std::to_string(k);
                std::filesystem::rename(evidence + "/last kill", kept);
                std::printf("kill %d: after %s the files differ: %s (the set before the restart: %s)\n", k,
                            in_flight.name.c_str(), differing.c_str(), kept.c_str());
                // Counted; the reference takes the killed server's files, so that the next kills count alone.
                if (!follow(reference, victim)) break;
            }
        }
        // The costing rules themselves let stock and layers part (a filled backorder takes stock below zero
        // without a floor, and a later receipt adds its layer on top): only a difference the reference does not
        // have counts.
        const std::string stock = stk::crash::stock_layer_mismatches(victim.database_set());
        if (stock != stk::crash::stock_layer_mismatches(reference.database_set())) {
            ++f.stock_mismatches;
            std::printf("kill %d: stock and layers differ:\n%s", k, stock.c_str());
        } else if (!stock.empty()) {
            ++f.stock_apart_by_rule;
        }
        if (k % 100 == 0)
            std::printf("%d kills, %d requests answered, %.0f s\n", k, f.answered, ms_since(began) / 1000);
    }

    std::error_code ec;
    std::filesystem::remove_all(evidence + "/last kill", ec);
    std::filesystem::remove(evidence, ec);  // only when nothing was kept
    const bool stopped = victim.stop() && reference.stop();
    print(f, options, ms_since(began) / 1000.0);
    const bool held = stopped && f.restart_failures == 0 && f.lost_or_half == 0 && f.divergent_answers == 0 &&
                      f.stock_mismatches == 0;
    std::printf("%s\n", held ? "PASSED" : "FAILED");
    return held ? 0 : 1;
}
