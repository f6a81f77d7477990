// The full-disk run: a real server on a database set in `folder` (which should sit on a small file system of
// its own, see full_disk_run.sh), the disk filled to the last byte, changing requests sent, the server stopped
// while the disk is full, the space freed, and the server started again. Prints what it did and saw; exit
// status 0 when the restarted server holds everything the server held when it was stopped: every change it
// answered 1 to, and every change it answered 4 to (the journal's reserved room takes them all).
//
//     stk_full_disk_run FOLDER
#include <sys/statvfs.h>

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/protocol.h"
#include "common/text_field.h"
#include "tests/support/server_process.h"

namespace {

using stk::client::ServerApi;
using stk::test::ServerProcess;

unsigned long long free_bytes(const std::string& folder) {
    struct statvfs s {};
    if (::statvfs(folder.c_str(), &s) != 0) return 0;
    return static_cast<unsigned long long>(s.f_bavail) * s.f_frsize;
}

// Writes `path` until the file system refuses another byte; returns the bytes written.
unsigned long long fill(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::setvbuf(f, nullptr, _IONBF, 0);
    unsigned long long written = 0;
    std::vector<char> block(1 << 16, 'F');
    for (std::size_t size = block.size(); size > 0; size /= 2) {
        while (std::fwrite(block.data(), 1, size, f) == size) written += size;
        std::clearerr(f);
    }
    std::fclose(f);
    return written;
}

stk::InvoiceLine line(std::string_view item, std::string_view quantity) {
    stk::InvoiceLine l{};
    stk::set_field(l.item_number, item);
    stk::set_field(l.description, item.empty() ? std::string("Labour") : "Item " + std::string(item));
    stk::set_field(l.quantity, quantity);
    stk::set_field(l.unit_price, "12.50");
    stk::set_field(l.unit_cost, "1.00");
    return l;
}

stk::InventoryRecord item(std::string_view number) {
    stk::InventoryRecord r{};
    stk::set_field(r.item_number, number);
    stk::set_field(r.description, "Part " + std::string(number));
    stk::set_field(r.unit_price, "12.50");
    stk::set_field(r.standard_unit_cost, "1.00");
    return r;
}

stk::MessageRecord message(std::string_view text) {
    stk::MessageRecord m{};
    stk::set_field(m.text, text);
    return m;
}

stk::InvoiceRecord copy(ServerApi& api, int index) {
    stk::InvoiceRecord r{};
    api.get_invoice(index, &r);
    return r;
}

// Everything a client can read of the server, as one text: every invoice's bytes, every item, every message.
std::string everything(ServerApi& api) {
    std::string all;
    int count = 0;
    api.get_invoice_count(&count);
    for (int i = 1; i <= count; ++i) {
        const stk::InvoiceRecord r = copy(api, i);
        all.append(reinterpret_cast<const char*>(&r), sizeof r);
    }
    std::vector<stk::InventoryRecord> items;
    api.search_inventory("*", &items);
    for (const auto& r : items) {
        all += std::string(stk::field(r.item_number)) + "=" + std::string(stk::field(r.quantity)) + "/" +
               std::string(stk::field(r.sold_quantity)) + ";";
    }
    std::vector<stk::MessageRecord> messages;
    api.list_messages(&messages);
    for (const auto& m : messages)
        all += std::string(stk::field(m.timestamp)) + " " + std::string(stk::field(m.text)) + ";";
    return all;
}

std::string tail(const std::string& log, std::size_t from) { return from < log.size() ? log.substr(from) : ""; }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: stk_full_disk_run FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string set = folder + "/set";
    const std::string filler = folder + "/filler";
    ServerProcess server;
    server.args_override = {"--database-set", set, "--server-name", server.server_name()};
    if (!server.start()) {
        std::printf("the server did not start:\n%s", server.log().c_str());
        return 1;
    }
    ServerApi& api = server.api();
    int index = 0;
    bool seeded = api.add_inventory_item(item("BOLT"), "40", "1.00") == 1 &&
                  api.add_inventory_item(item("NUT"), "25", "0.50") == 1 && api.new_invoice(&index) == 1 &&
                  api.set_invoice_field(1, stk::FIELD_DATE, "12/01/2026", copy(api, 1)) == 1 &&
                  api.add_invoice_item(1, 1, copy(api, 1), line("BOLT", "3")) == 1 &&
                  api.save_message(stk::MessageRecord{}, message("seeded")) == 1;
    if (!seeded) {
        std::printf("seeding failed:\n%s", server.log().c_str());
        return 1;
    }
    std::printf("seeded: 2 items, 1 invoice with a sale line, 1 message; free space %llu bytes\n", free_bytes(folder));
    const unsigned long long filled = fill(filler);
    std::printf("filled the disk: %llu bytes written to %s, free space now %llu bytes\n", filled, filler.c_str(),
                free_bytes(folder));

    std::size_t log_at = server.log().size();
    struct Sent {
        const char* what;
        int result;
    };
    std::vector<Sent> sent;
    sent.push_back({"ADD_INVOICE_ITEM (2 NUT from stock) on invoice 1",
                    api.add_invoice_item(1, 1, copy(api, 1), line("NUT", "2"))});
    sent.push_back({"NEW_INVOICE", api.new_invoice(&index)});
    sent.push_back({"SET_INVOICE_FIELD date on the new invoice",
                    api.set_invoice_field(index, stk::FIELD_DATE, "12/02/2026", copy(api, index))});
    sent.push_back({"ADD_INVOICE_ITEM labour on the new invoice",
                    api.add_invoice_item(index, 0, copy(api, index), line("", "1"))});
    sent.push_back({"SAVE_MESSAGE new", api.save_message(stk::MessageRecord{}, message("disk is full"))});
    sent.push_back({"ADD_INVENTORY_ITEM WASHER", api.add_inventory_item(item("WASHER"), "100", "0.10")});
    sent.push_back(
        {"SET_INVOICE_PAYMENT cash on invoice 1", api.set_invoice_payment(1, stk::PAYMENT_CASH, copy(api, 1))});
    for (const Sent& s : sent) std::printf("  %-50s answered %d\n", s.what, s.result);
    // Served after every save the answers above set off: the server serves one connection at a time.
    const std::string expected = everything(api);
    std::printf("server log while full (excerpt):\n%s", tail(server.log(), log_at).substr(0, 1500).c_str());

    log_at = server.log().size();
    server.stop(120000);
    std::printf("stopped with SIGTERM while full: exit status %d\nits last lines:\n%s", server.exit_code(),
                tail(server.log(), log_at).c_str());
    const auto journal = std::filesystem::file_size(set + "/journal.dat");
    std::printf("journal.dat: %llu bytes\n", static_cast<unsigned long long>(journal));

    std::filesystem::remove(filler);
    std::printf("freed the filler: free space %llu bytes\n", free_bytes(folder));
    if (!server.start()) {
        std::printf("the server did not start again:\n%s", server.log().c_str());
        return 1;
    }
    std::printf("started again; its log:\n%s", server.log().c_str());
    const std::string after = everything(api);
    const bool same = after == expected;
    std::printf("everything the server held before the stop is there after the start: %s\n", same ? "yes" : "NO");
    server.stop();
    const bool held = same;
    std::printf("%s\n", held ? "PASSED" : "FAILED");
    return held ? 0 : 1;
}
