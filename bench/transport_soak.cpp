// Soak of the server's transport: many tills doing random requests for minutes while misbehaving clients come
// and go, then a check that every change the server acknowledged is there, before and after a restart.
//
//   transport_soak [--minutes 3] [--clients 16] [--stallers 6]
//
// It starts its own StockavelleServer (next to this program) on a fresh database set, with a private socket
// folder and TCP with the shop key on 127.0.0.1; half of the tills use the local socket, half TLS over TCP.
// Stallers open connections that say nothing, send half a header, trickle a byte every 1.5 s, never read a
// large answer, or try TCP without the key, and hold them for up to 15 s (the server's bound is 10 s).
// Exit status 0 when every acknowledged change was found.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_server.h"
#include "client/api/server_api.h"
#include "common/text_field.h"
#include "platform/local_pipe.h"
#include "platform/shop_key.h"

using namespace stk;
using client::ServerAddress;
using client::ServerApi;
using Clock = std::chrono::steady_clock;
using bench::request_bytes;

namespace {

constexpr const char* kServerName = "soak";
constexpr const char* kClientName = bench::kBenchClientName;

struct Options {
    double minutes = 3;
    int clients = 16;
    int stallers = 6;
};

// What one till saw, and the changes the server acknowledged to it.
struct TillRecord {
    bool tcp = false;
    std::map<std::string, int> requests;  // by operation
    int transport_failures = 0;
    std::vector<double> latencies_ms;
    std::set<std::string> messages;  // saved and not deleted since
    std::set<std::string> deleted;   // deleted (acknowledged)
    std::vector<std::string> items;  // added
    int invoice = 0;                 // its own invoice
    std::string customer;            // the last customer name acknowledged on it
};

MessageRecord message(std::string_view text) {
    MessageRecord m;
    std::memset(&m, 0, sizeof m);
    set_field(m.text, text);
    return m;
}

// One till: random requests until `until`, each on a connection of its own, as the client makes them.
void run_till(ServerAddress address, unsigned seed, Clock::time_point until, int id, TillRecord* rec) {
    ServerApi api(std::move(address), kClientName);
    std::mt19937 rng(seed);
    int serial = 0;
    auto timed = [&](const char* name, auto&& call) {
        const auto t0 = Clock::now();
        const int result = call();
        rec->latencies_ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        ++rec->requests[name];
        if (result == client::kTransportFailed) ++rec->transport_failures;
        return result;
    };

    while (Clock::now() < until) {
        const int dice = static_cast<int>(rng() % 100);
        const std::string tag = "T" + std::to_string(id) + "-" + std::to_string(++serial);
        if (dice < 12) {
            if (timed("save_message", [&] { return api.save_message(message(""), message(tag)); }) == RESULT_OK)
                rec->messages.insert(tag);
        } else if (dice < 16 && !rec->messages.empty()) {
            // Messages are stamped by the server; find ours in the list to delete it.
            std::vector<MessageRecord> list;
            if (timed("list_messages", [&] { return api.list_messages(&list); }) != RESULT_OK) continue;
            const std::string victim = *rec->messages.begin();
            for (const MessageRecord& m : list) {
                if (field(m.text) != victim) continue;
                if (timed("delete_message", [&] { return api.delete_message(m); }) == RESULT_OK) {
                    rec->messages.erase(victim);
                    rec->deleted.insert(victim);
                }
                break;
            }
        } else if (dice < 24) {
            InventoryRecord item;
            std::memset(&item, 0, sizeof item);
            set_field(item.item_number, tag);
            set_field(item.description, "SOAK ITEM");
            set_field(item.unit_price, "1.00");
            set_field(item.standard_unit_cost, "0.50");
            if (timed("add_inventory_item", [&] { return api.add_inventory_item(item, "3", "0.50"); }) == RESULT_OK)
                rec->items.push_back(tag);
        } else if (dice < 40 && rec->invoice > 0) {
            InvoiceRecord copy;
            if (timed("get_invoice", [&] { return api.get_invoice(rec->invoice, &copy); }) != RESULT_OK) continue;
            const int result = timed("set_invoice_field", [&] {
                return api.set_invoice_field(rec->invoice, FIELD_CUSTOMER_NAME, tag, copy);
            });
            if (result == RESULT_OK) rec->customer = tag;
            // Without an answer the change may or may not have been made: nothing to hold the server to.
            if (result == client::kTransportFailed) rec->invoice = 0;
        } else if (dice < 60) {
            int count = 0;
            timed("get_invoice_count", [&] { return api.get_invoice_count(&count); });
        } else if (dice < 80) {
            std::vector<InventoryRecord> items;
            timed("search_inventory", [&] { return api.search_inventory("T" + std::to_string(id) + "-1", &items); });
        } else if (dice < 98) {
            InvoiceRecord any;
            timed("get_invoice", [&] { return api.get_invoice(1 + static_cast<int>(rng() % 16), &any); });
        } else {
            std::string document;
            timed("sales_report", [&] { return api.sales_report(&document); });
        }
    }
}

int connect_local(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof(a.sun_path) - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
    ::close(fd);
    return -1;
}

int connect_tcp(quint16 port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
    ::close(fd);
    return -1;
}

// Misbehaving clients, one at a time per thread, until `until`. Counts what it did by kind.
void run_staller(std::string pipe, quint16 port, unsigned seed, Clock::time_point until,
                 std::map<std::string, int>* kinds) {
    std::mt19937 rng(seed);
    const std::string header = request_bytes(GET_INVOICE_COUNT);
    while (Clock::now() < until) {
        const int kind = static_cast<int>(rng() % 6);
        const auto hold = std::chrono::milliseconds(500 + rng() % 14500);
        const bool over_tcp = kind == 5 || rng() % 2 == 0;
        const int fd = over_tcp ? connect_tcp(port) : connect_local(pipe);
        if (fd < 0) continue;
        const char* names[] = {"silent", "half header", "trickle", "deaf", "garbage", "tcp without key"};
        ++(*kinds)[std::string(names[kind]) + (over_tcp ? " (tcp)" : " (local)")];
        const auto end = std::min(Clock::now() + hold, until);
        if (kind == 1) {
            ::send(fd, header.data(), 100, MSG_NOSIGNAL);
        } else if (kind == 2) {
            for (std::size_t i = 0; i < header.size() && Clock::now() < end; ++i) {
                if (::send(fd, header.data() + i, 1, MSG_NOSIGNAL) != 1) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            }
        } else if (kind == 3) {
            // The biggest answer there is, never read (over TCP it never gets past the handshake).
            int small = 1024;
            ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
            const std::string search = request_bytes(SEARCH_INVENTORY);
            std::string wildcard = search;
            set_field(reinterpret_cast<RequestHeader*>(wildcard.data())->text_a, "*");
            ::send(fd, wildcard.data(), wildcard.size(), MSG_NOSIGNAL);
        } else if (kind == 4 || kind == 5) {
            const std::string noise = kind == 5 ? header : std::string(64, 'z');
            ::send(fd, noise.data(), noise.size(), MSG_NOSIGNAL);
        }
        std::this_thread::sleep_until(end);
        ::close(fd);
    }
}

double percentile(std::vector<double>& v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

// Checks every acknowledged change against what the server holds now. Prints one line per kind.
bool verify(const ServerAddress& address, const std::vector<TillRecord>& tills, const char* when) {
    ServerApi api(address, kClientName);
    std::vector<MessageRecord> list;
    std::vector<InventoryRecord> items;
    if (api.list_messages(&list) != RESULT_OK || api.search_inventory("*", &items) != RESULT_OK) {
        std::printf("  %s: the server did not answer the check\n", when);
        return false;
    }
    std::set<std::string> held_messages, held_items;
    for (const MessageRecord& m : list) held_messages.insert(std::string(field(m.text)));
    for (const InventoryRecord& r : items) held_items.insert(std::string(field(r.item_number)));
    int messages = 0, messages_found = 0, deleted = 0, deleted_gone = 0, added = 0, added_found = 0;
    int invoices = 0, invoices_right = 0;
    for (const TillRecord& t : tills) {
        for (const std::string& m : t.messages) messages_found += held_messages.count(m) ? 1 : 0;
        for (const std::string& m : t.deleted) deleted_gone += held_messages.count(m) ? 0 : 1;
        for (const std::string& i : t.items) added_found += held_items.count(i) ? 1 : 0;
        messages += static_cast<int>(t.messages.size());
        deleted += static_cast<int>(t.deleted.size());
        added += static_cast<int>(t.items.size());
        if (t.invoice > 0 && !t.customer.empty()) {
            ++invoices;
            InvoiceRecord r;
            if (api.get_invoice(t.invoice, &r) == RESULT_OK && field(r.customer_name) == t.customer) ++invoices_right;
        }
    }
    std::printf(
        "  %s: messages saved %d/%d present, deleted %d/%d gone, items %d/%d present, "
        "invoice customers %d/%d as last acknowledged\n",
        when, messages_found, messages, deleted_gone, deleted, added_found, added, invoices_right, invoices);
    return messages_found == messages && deleted_gone == deleted && added_found == added && invoices_right == invoices;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--minutes") == 0) o.minutes = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--clients") == 0) o.clients = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--stallers") == 0) o.stallers = std::atoi(argv[i + 1]);
    }
    QTemporaryDir dir(QDir::tempPath() + "/stk-soak-XXXXXX");
    const std::string root = dir.path().toStdString();
    ::setenv(platform::kPipeFolderVariable, (root + "/pipes").c_str(), 1);
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();

    bench::BenchServer server(root);
    const QStringList tcp_args = {"--listen-tcp", QString::fromStdString("127.0.0.1:" + std::to_string(port))};
    if (!server.start(kServerName, tcp_args)) {
        std::fprintf(stderr, "transport_soak: the server did not start\n%s", server.log().c_str());
        return 1;
    }
    const ServerAddress local{kServerName, ""};
    const ServerAddress tcp{kServerName, "127.0.0.1:" + std::to_string(port), platform::shop_key_path(root + "/set")};

    const auto start = Clock::now();
    const auto until = start + std::chrono::milliseconds(static_cast<long long>(o.minutes * 60000));
    std::vector<TillRecord> tills(static_cast<std::size_t>(o.clients));
    std::vector<std::map<std::string, int>> staller_kinds(static_cast<std::size_t>(o.stallers));
    // Each till its own invoice, numbered at once: an empty invoice would be handed to the next till too.
    ServerApi setup(local, kClientName);
    for (int i = 0; i < o.clients; ++i) {
        InvoiceRecord copy;
        if (setup.new_invoice(&tills[i].invoice) != RESULT_OK ||
            setup.get_invoice(tills[i].invoice, &copy) != RESULT_OK ||
            setup.set_invoice_field(tills[i].invoice, FIELD_INVOICE_NUMBER, "SOAK-" + std::to_string(i), copy) !=
                RESULT_OK) {
            std::fprintf(stderr, "transport_soak: cannot make the tills' invoices\n");
            return 1;
        }
    }
    std::vector<std::thread> threads;
    for (int i = 0; i < o.clients; ++i) {
        tills[i].tcp = i % 2 == 1;
        threads.emplace_back(run_till, tills[i].tcp ? tcp : local, 1000u + i, until, i, &tills[i]);
    }
    for (int i = 0; i < o.stallers; ++i) {
        threads.emplace_back(run_staller, platform::local_pipe_path(kServerName), port, 7000u + i, until,
                             &staller_kinds[i]);
    }
    while (Clock::now() < until) server.drain(500);
    for (std::thread& t : threads) t.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    server.drain(200);

    // Figures.
    std::map<std::string, int> by_op, by_kind;
    std::vector<double> local_ms, tcp_ms;
    int total = 0, failures = 0;
    for (const TillRecord& t : tills) {
        for (const auto& [op, n] : t.requests) by_op[op] += n, total += n;
        failures += t.transport_failures;
        (t.tcp ? tcp_ms : local_ms)
            .insert((t.tcp ? tcp_ms : local_ms).end(), t.latencies_ms.begin(), t.latencies_ms.end());
    }
    for (const auto& kinds : staller_kinds)
        for (const auto& [k, n] : kinds) by_kind[k] += n;
    std::printf("transport_soak: %d tills (%d local, %d TLS), %d stallers, %.0f s\n", o.clients,
                o.clients - o.clients / 2, o.clients / 2, o.stallers, seconds);
    std::printf("  requests: %d (%.0f per second), transport failures: %d\n", total, total / seconds, failures);
    for (const auto& [op, n] : by_op) std::printf("    %-20s %d\n", op.c_str(), n);
    std::printf("  latency local ms: p50 %.1f  p95 %.1f  p99 %.1f  max %.1f\n", percentile(local_ms, 0.5),
                percentile(local_ms, 0.95), percentile(local_ms, 0.99), percentile(local_ms, 1.0));
    std::printf("  latency TLS ms:   p50 %.1f  p95 %.1f  p99 %.1f  max %.1f\n", percentile(tcp_ms, 0.5),
                percentile(tcp_ms, 0.95), percentile(tcp_ms, 0.99), percentile(tcp_ms, 1.0));
    int stalls = 0;
    for (const auto& [k, n] : by_kind) stalls += n;
    std::printf("  stallers: %d connections\n", stalls);
    for (const auto& [k, n] : by_kind) std::printf("    %-24s %d\n", k.c_str(), n);
    std::printf("  server log: %d requests processed, %d unreadable, %d answers not taken, %d without the key\n",
                server.count("Processing client request..."), server.count("An error occured while receiving data."),
                server.count("An error occured while sending data."), server.count("did not prove it holds"));

    bool ok = verify(local, tills, "live");
    if (!server.stop()) {
        std::printf("  the server did not stop cleanly\n");
        ok = false;
    }
    if (!server.start(kServerName, tcp_args)) {
        std::printf("  the server did not start again\n");
        return 1;
    }
    ok = verify(local, tills, "after restart") && ok;
    server.stop();
    std::printf("transport_soak: %s\n", ok ? "every acknowledged change is present" : "CHANGES MISSING");
    return ok ? 0 : 1;
}
