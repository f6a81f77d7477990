// Times the server's changing requests over its socket, next to the disk floor of the same writes measured
// in the same run, at 1k, 10k and 100k items and at capacity; then its searches, and its start-up against the
// time it takes to read the set's files. Each request sample follows a sample of its floor, so that both see
// the same disk and the same load on the machine.
//
//   server_requests_bench [--sizes 1k,10k,100k,capacity] [--folder DIR] [--server PATH] [--keep]
//
// Sizes: N items with 2N cost layers and N invoices of one to twelve lines; "capacity" is 100,000 items,
// 200,000 layers and 100,000 invoices of twelve lines each (the default MAX_ITEMS and MAX_INVOICES).
// The folder (default /var/tmp) must be on the disk the server would use; each set needs up to 700 MB there.
// --server times another build of StockavelleServer (an older one, for the figures before a change); the
// default is the one beside this program.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bench/requests/bench_server.h"
#include "bench/requests/disk_floor.h"
#include "bench/requests/shop_set.h"
#include "common/protocol.h"
#include "common/text_field.h"

using namespace stk;
using namespace stk::bench;

namespace {

constexpr std::uint64_t kSlotBytes = sizeof(InvoiceRecord);
constexpr int kFilledInvoices = 4;  // open invoices the sale lines fill, twelve lines each

struct Sample {
    double wall_ms = 0;
    double floor_ms = 0;
    double cpu_ms = 0;
    double floor_cpu_ms = 0;
};

struct Series {
    explicit Series(std::string n, bool floor = true) : name(std::move(n)), has_floor(floor) {}
    std::string name;
    bool has_floor;
    std::vector<Sample> samples;
};

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <class Member>
double median_of(const Series& s, Member m) {
    std::vector<double> v;
    for (const Sample& x : s.samples) v.push_back(x.*m);
    return median(v);
}

// Rows of the closing table, in the order they were first given, with one cell per size.
class Summary {
public:
    void add(const std::string& row, std::string cell) {
        auto it = std::find_if(rows_.begin(), rows_.end(), [&](const auto& r) { return r.first == row; });
        if (it == rows_.end()) it = rows_.insert(rows_.end(), {row, {}});
        it->second.push_back(std::move(cell));
    }
    void print() const {
        for (const auto& [row, cells] : rows_) {
            std::printf("  %-46s", row.c_str());
            for (const std::string& c : cells) std::printf(" | %-22s", c.c_str());
            std::printf("\n");
        }
    }

private:
    std::vector<std::pair<std::string, std::vector<std::string>>> rows_;
};

double ms_since(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

ShopShape shape_named(const std::string& name) {
    ShopShape s;
    s.name = name;
    if (name == "capacity") {
        s.items = 100000;
        s.invoices = 100000;
        s.lines = 12;
    } else {
        const int n = name == "1k" ? 1000 : name == "10k" ? 10000 : name == "100k" ? 100000 : std::atoi(name.c_str());
        s.items = n;
        s.invoices = n;
    }
    return s;
}

// The requests of one size against its server, each after a sample of its floor.
struct Run {
    // One request, after one sample of its floor.
    template <class Fn>
    void sample(Series& series, const WritePlan& plan, Fn request) {
        Sample s;
        if (series.has_floor) {
            const Cost c = floor.run(plan);
            s.floor_ms = c.wall_ms;
            s.floor_cpu_ms = c.cpu_ms;
        }
        const std::uint64_t cpu = server.cpu_ns();
        const auto start = std::chrono::steady_clock::now();
        if (request() != RESULT_OK) ++failures;
        s.wall_ms = ms_since(start);
        s.cpu_ms = static_cast<double>(server.cpu_ns() - cpu) / 1e6;
        series.samples.push_back(s);
    }

    WritePlan plan(std::uint64_t journal, bool inventory, bool slot) const {
        WritePlan p;
        p.journal_bytes = journal;
        p.inventory_bytes = inventory ? set.inventory_bytes : 0;
        p.layer_bytes = inventory ? set.layer_bytes : 0;
        p.invoice_slot = slot;
        return p;
    }

    InvoiceRecord copy(int index) {
        InvoiceRecord r{};
        if (server.api().get_invoice(index, &r) != RESULT_OK) ++failures;
        return r;
    }

    // Items spread over the whole stock.
    const std::string& some_item() { return set.stocked[next_item++ * 7919 % set.stocked.size()]; }

    const ShopSet& set;
    BenchServer& server;
    DiskFloor& floor;
    std::size_t next_item = 1;
    int failures = 0;
};

InvoiceLine sale_line(const std::string& item) {
    InvoiceLine l{};
    set_field(l.quantity, "1");
    set_field(l.item_number, item);
    set_field(l.description, "HEX BOLT 10 MM");
    set_field(l.unit_price, "9.99");
    set_field(l.unit_cost, "1.00");
    set_field(l.tax_percent, "8.25");
    return l;
}

std::vector<Series> changing_requests(Run& run) {
    client::ServerApi& api = run.server.api();
    const int first = run.set.first_open_invoice;
    Series sale("ADD_INVOICE_ITEM (stock item)");
    Series payment("SET_INVOICE_PAYMENT (12 lines)");
    Series note("SET_INVOICE_FIELD (note)");
    Series receive("UPDATE_INVENTORY_ITEM (receive)");
    Series remove("DELETE_INVENTORY_ITEM (middle)");

    // A sale's record: the invoice, the item's line and its layers' lines.
    const WritePlan sale_writes = run.plan(kSlotBytes + 512, true, true);
    for (int index = first; index < first + kFilledInvoices; ++index) {
        for (int n = 0; n < kMaxInvoiceLines; ++n) {
            const InvoiceRecord shown = run.copy(index);
            const InvoiceLine line = sale_line(run.some_item());
            run.sample(sale, sale_writes, [&] { return api.add_invoice_item(index, 1, shown, line); });
        }
    }
    // Paid, unpaid again and paid again: each refreshes the twelve items; the first also numbers the invoice.
    const WritePlan payment_writes = run.plan(kSlotBytes + 12 * 128 + 256, true, true);
    for (int payment_code : {PAYMENT_CASH, PAYMENT_UNPAID, PAYMENT_CHECK}) {
        for (int index = first; index < first + kFilledInvoices; ++index) {
            const InvoiceRecord shown = run.copy(index);
            run.sample(payment, payment_writes, [&] { return api.set_invoice_payment(index, payment_code, shown); });
        }
    }
    const WritePlan note_writes = run.plan(kSlotBytes + 64, false, true);
    for (int n = 0; n < 12; ++n) {
        const int index = first + n % kFilledInvoices;
        const InvoiceRecord shown = run.copy(index);
        const std::string text = "CALL BEFORE DELIVERY " + std::to_string(n);
        run.sample(note, note_writes, [&] { return api.set_invoice_field(index, FIELD_NOTE, text, shown); });
    }
    const WritePlan receive_writes = run.plan(1024, true, false);
    for (int n = 0; n < 12; ++n) {
        InventoryRecord shown{};
        if (api.get_inventory_item(run.some_item(), &shown) != RESULT_OK) continue;
        run.sample(receive, receive_writes, [&] { return api.update_inventory_item(shown, shown, "5", "1.25"); });
    }
    // Last: a deletion moves every later item down one slot.
    const int items = static_cast<int>(run.set.stocked.size());
    for (int n = 0; n < 3; ++n) {
        const int slot = items / 2;
        InventoryRecord shown{};
        if (api.get_inventory_item(run.set.stocked[static_cast<std::size_t>(slot - 1 + n)], &shown) != RESULT_OK)
            continue;
        const WritePlan writes = run.plan(run.set.bytes_from[static_cast<std::size_t>(slot)] + 1024, true, false);
        run.sample(remove, writes, [&] { return api.delete_inventory_item(shown); });
    }
    return {sale, payment, note, receive, remove};
}

std::vector<Series> searches(Run& run) {
    client::ServerApi& api = run.server.api();
    struct Query {
        const char* name;
        const char* text;
        int unpaid_only;
    };
    const Query queries[] = {
        {"SEARCH_INVOICES \"customer 12\"", "customer 12", 0},
        {"SEARCH_INVOICES \"bolt\"", "bolt", 0},
        {"SEARCH_INVOICES \"zzzz\" (no hit)", "zzzz", 0},
        {"SEARCH_INVOICES \"\" unpaid only", "", 1},
    };
    std::vector<Series> out;
    for (const Query& q : queries) {
        Series s(q.name, false);
        std::vector<client::InvoiceSearchRow> rows;
        for (int n = 0; n < 5; ++n) {
            run.sample(s, {}, [&] { return api.search_invoices(q.text, q.unpaid_only, &rows); });
        }
        out.push_back(s);
    }
    Series items("SEARCH_INVENTORY \"bolt 10\"", false);
    std::vector<InventoryRecord> found;
    for (int n = 0; n < 5; ++n) run.sample(items, {}, [&] { return api.search_inventory("bolt 10", &found); });
    out.push_back(items);
    return out;
}

std::vector<std::string> set_files(const ShopSet& set) {
    return {set.folder + "/inventory.txt", set.folder + "/inventory fifo.txt", set.folder + "/invoices.dat",
            set.folder + "/messages.dat"};
}

// Drops the set's files from the page cache, so that the next read comes from the disk.
void evict(const ShopSet& set) {
    for (const std::string& path : set_files(set)) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

double read_files_ms(const ShopSet& set) {
    std::vector<char> buffer(8 << 20);
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : set_files(set)) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        while (::read(fd, buffer.data(), buffer.size()) > 0) {
        }
        ::close(fd);
    }
    return ms_since(start);
}

struct StartUp {
    double cold_read_ms = 0, cold_start_ms = 0, warm_read_ms = 0, warm_start_ms = 0;  // medians
};

// Medians of five rounds: in a virtual machine the first touch of memory freed a while before can make one
// start-up several times slower than the next, whatever the server does. Leaves the server running after a
// warm start.
bool start_up(const ShopSet& set, BenchServer& server, StartUp* out) {
    constexpr int kRounds = 5;
    std::vector<double> cold_read, cold_start, warm_read, warm_start;
    for (int round = 0; round < kRounds; ++round) {
        evict(set);
        cold_read.push_back(read_files_ms(set));
        evict(set);
        cold_start.push_back(server.start(set.folder));
        if (cold_start.back() < 0 || !server.stop()) return false;
        warm_read.push_back(read_files_ms(set));
        warm_start.push_back(server.start(set.folder));
        if (warm_start.back() < 0) return false;
        if (round + 1 < kRounds && !server.stop()) return false;
    }
    out->cold_read_ms = median(cold_read);
    out->cold_start_ms = median(cold_start);
    out->warm_read_ms = median(warm_read);
    out->warm_start_ms = median(warm_start);
    return true;
}

void print_series(const Series& s) {
    const double wall = median_of(s, &Sample::wall_ms);
    const double cpu = median_of(s, &Sample::cpu_ms);
    if (!s.has_floor) {
        std::printf("  %-36s %9.1f %9s %7s %9.1f\n", s.name.c_str(), wall, "", "", cpu);
        return;
    }
    const double floor = median_of(s, &Sample::floor_ms);
    const double floor_cpu = median_of(s, &Sample::floor_cpu_ms);
    std::printf("  %-36s %9.1f %9.1f %7.2f %9.1f %9.1f %9.1f\n", s.name.c_str(), wall, floor, wall / floor, cpu,
                floor_cpu, cpu - floor_cpu);
}

std::string megabytes(std::uint64_t bytes) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return b;
}

bool keep_sets = false;  // --keep: the last size's set stays on disk, to profile a start-up by hand

bool bench_size(const std::string& name, const std::string& folder, const std::string& program, Summary* summary) {
    const ShopShape shape = shape_named(name);
    ShopSet set;
    const auto built = std::chrono::steady_clock::now();
    if (!write_shop_set(shape, folder + "/set", &set)) return false;
    std::printf(
        "\n== %s: %d items, %d cost layers, %d invoices (%s lines each); inventory.txt %s, inventory fifo.txt "
        "%s, invoices.dat %s (built in %.1f s)\n",
        name.c_str(), shape.items, 2 * shape.items, shape.invoices,
        shape.lines > 0 ? std::to_string(shape.lines).c_str() : "1-12", megabytes(set.inventory_bytes).c_str(),
        megabytes(set.layer_bytes).c_str(), megabytes(set.invoice_bytes).c_str(), ms_since(built) / 1e3);
    std::fflush(stdout);

    BenchServer server(program, folder + "/server");
    StartUp up;
    if (!start_up(set, server, &up)) {
        std::fprintf(stderr, "the server did not start and stop cleanly on the %s set\n", name.c_str());
        return false;
    }
    DiskFloor floor(folder + "/floor");
    Run run{set, server, floor};

    std::printf("  %-36s %9s %9s %7s %9s %9s %9s\n", "request (medians)", "wall ms", "floor ms", "ratio", "CPU ms",
                "floor CPU", "beyond");
    std::vector<Series> all = changing_requests(run);
    for (Series& s : searches(run)) all.push_back(s);
    for (const Series& s : all) print_series(s);
    std::printf("  %-36s %9.0f %9.0f %7.2f   (read of the files from the disk, then start-up to serving; medians of 5)\n",
                "start-up, cold", up.cold_start_ms, up.cold_read_ms, up.cold_start_ms / up.cold_read_ms);
    std::printf("  %-36s %9.0f %9.0f %7.2f   (files in the page cache)\n", "start-up, warm", up.warm_start_ms,
                up.warm_read_ms, up.warm_start_ms / up.warm_read_ms);
    if (run.failures > 0) std::printf("  !! %d requests did not answer 1\n", run.failures);
    std::fflush(stdout);

    for (const Series& s : all) {
        char cell[64];
        const double wall = median_of(s, &Sample::wall_ms);
        if (s.has_floor) {
            std::snprintf(cell, sizeof cell, "%.1f / %.1f = %.2f", wall, median_of(s, &Sample::floor_ms),
                          wall / median_of(s, &Sample::floor_ms));
        } else {
            std::snprintf(cell, sizeof cell, "%.1f", wall);
        }
        summary->add(s.name, cell);
    }
    for (const Series& s : all) {
        if (!s.has_floor) continue;
        char cell[64];
        std::snprintf(cell, sizeof cell, "%.1f", median_of(s, &Sample::cpu_ms) - median_of(s, &Sample::floor_cpu_ms));
        summary->add(s.name + ": CPU beyond writing, ms", cell);
    }
    char cell[64];
    std::snprintf(cell, sizeof cell, "%.0f / %.0f = %.2f", up.cold_start_ms, up.cold_read_ms,
                  up.cold_start_ms / up.cold_read_ms);
    summary->add("start-up / read of the files, cold", cell);
    std::snprintf(cell, sizeof cell, "%.0f / %.0f = %.2f", up.warm_start_ms, up.warm_read_ms,
                  up.warm_start_ms / up.warm_read_ms);
    summary->add("start-up / read of the files, warm", cell);
    const bool stopped = server.stop();
    if (keep_sets) {
        std::printf("  the set is kept in %s\n", set.folder.c_str());
        return stopped;
    }
    std::error_code ec;
    std::filesystem::remove_all(folder + "/set", ec);
    return stopped;
}

}  // namespace

int main(int argc, char** argv) {
    std::string sizes = "1k,10k,100k,capacity";
    std::string folder = "/var/tmp";
    std::string program = program_beside_me("StockavelleServer");
    for (int i = 1; i < argc; i += 2) {
        if (std::strcmp(argv[i], "--keep") == 0) {
            keep_sets = true;
            --i;
        } else if (i + 1 >= argc) {
            break;
        } else if (std::strcmp(argv[i], "--sizes") == 0) {
            sizes = argv[i + 1];
        } else if (std::strcmp(argv[i], "--folder") == 0) {
            folder = argv[i + 1];
        } else if (std::strcmp(argv[i], "--server") == 0) {
            program = argv[i + 1];
        } else {
            std::fprintf(stderr,
                         "usage: server_requests_bench [--sizes 1k,10k,100k,capacity] [--folder DIR] [--server PATH] "
                         "[--keep]\n");
            return 2;
        }
    }
    folder += "/stockavelle-requests-bench-" + std::to_string(::getpid());
    std::vector<std::string> names;
    std::stringstream list(sizes);
    for (std::string name; std::getline(list, name, ',');) names.push_back(name);

    std::printf(
        "server_requests_bench: wall = the request's round trip over the socket; floor = the same writes "
        "done bare (journal record + fdatasync, temporary file + fsync + rename + folder fsync of each "
        "rewritten file, invoice slot + fsync); CPU = the server's CPU time for the request; beyond = "
        "CPU less the CPU of the bare writes\n");
    Summary summary;
    bool ok = true;
    for (const std::string& name : names) ok = bench_size(name, folder, program, &summary) && ok;

    std::printf("\n== summary (wall ms / floor ms = ratio, medians), sizes: %s\n", sizes.c_str());
    summary.print();
    std::error_code ec;
    if (!keep_sets) std::filesystem::remove_all(folder, ec);
    return ok ? 0 : 1;
}
