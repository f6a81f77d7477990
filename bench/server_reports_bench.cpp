// Times the server's heavy requests on a large shop held in memory: searches over every item and invoice, the
// three reports (the suggested order for small and very large order values), a few changes that write the
// set's files (in a scratch folder), and a start-up load of those files. Prints one line per request with its
// wall time, and the process's peak memory at the end.
//
//   server_reports_bench [items [invoices]]      (defaults: 100000 items, 20000 invoices)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/shop_words.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "server/db/database.h"
#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/handlers/inventory_ops.h"
#include "server/handlers/invoice_ops.h"
#include "server/handlers/report_ops.h"
#include "server/handlers/search_ops.h"

using namespace stk;
using namespace stk::server;
using stk::bench::kCategories;
using stk::bench::kWords;
using stk::bench::Sequence;

namespace {


void fill(ServerDatabase& db, int items, int invoices) {
    Sequence seq;
    for (int i = 1; i <= items; ++i) {
        db.inventory.commit_for(i);
        db.search_marks.commit_for(i);
        InventoryRecord& r = db.inventory[i];
        std::memset(&r, 0, sizeof r);
        set_field(r.item_number, std::string(kWords[i % 20]) + "-" + format_g(i));
        set_field(r.description, std::string(kWords[seq.next(20)]) + " " + kWords[seq.next(20)] + " " +
                                     format_g(seq.next(100)) + " MM");
        set_field(r.quantity, format_g(seq.next(60)));
        set_field(r.sold_quantity, format_g(seq.next(200)));
        set_field(r.minimum_quantity, seq.next(3) == 0 ? "" : format_g(seq.next(20)));
        set_field(r.standard_unit_cost, format_2f(0.05 + seq.next(5000) / 100.0));
        set_field(r.unit_price, format_2f(0.10 + seq.next(9000) / 100.0));
        set_field(r.category, kCategories[seq.next(6)]);
        db.inventory.count = i;
        db.search_marks.count = i;  // the marks always follow the inventory
    }
    for (int n = 1; n <= invoices; ++n) {
        db.invoices.commit_for(n);
        InvoiceRecord& inv = db.invoices[n];
        std::memset(&inv, 0, sizeof inv);
        set_field(inv.invoice_number, format_g(10000 + n));
        set_field(inv.date, "12/01/2026");
        set_field(inv.time, "9:05:00");
        set_field(inv.customer_name, std::string("CUSTOMER ") + format_g(seq.next(5000)));
        inv.payment = static_cast<std::int32_t>(seq.next(6));
        const int lines = 1 + static_cast<int>(seq.next(12));
        double subtotal = 0;
        for (int k = 0; k < lines; ++k) {
            const InventoryRecord& item = db.inventory[1 + static_cast<int>(seq.next(static_cast<unsigned>(items)))];
            InvoiceLine& l = inv.lines[inv.line_count++];
            const double quantity = 1 + seq.next(5);
            // Every tenth line is sold from free text (labour, special orders): the non-inventory report's lines.
            if (seq.next(10) == 0)
                set_field(l.item_number, "SPECIAL-" + format_g(seq.next(1000)));
            else
                set_field(l.item_number, field(item.item_number));
            set_field(l.description, field(item.description));
            set_field(l.quantity, format_g(quantity));
            set_field(l.unit_price, field(item.unit_price));
            set_field(l.unit_cost, field(item.standard_unit_cost));
            set_field(l.amount, format_2f(quantity * number_or(field(item.unit_price), 0)));
            if (seq.next(40) == 0) set_field(l.backorder_quantity, "1");
            subtotal += quantity * number_or(field(item.unit_price), 0);
        }
        set_field(inv.subtotal, format_2f(subtotal));
        set_field(inv.tax, "0.00");
        set_field(inv.total, format_2f(subtotal));
        db.invoices.count = n;
    }
}

template <class Fn>
void timed(const char* what, Fn fn) {
    const auto start = std::chrono::steady_clock::now();
    const std::size_t bytes = fn();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-50s %10.1f ms %12zu bytes\n", what, ms, bytes);
}

}  // namespace

int main(int argc, char** argv) {
    const int items = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int invoices = argc > 2 ? std::atoi(argv[2]) : 20000;
    if (items < 1 || invoices < 1) {  // the invoices draw their lines from the items
        std::fprintf(stderr, "usage: server_reports_bench [items [invoices]], both at least 1\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "stockavelle-bench";
    ServerDatabase db;
    if (!db.reserve(items + 10, invoices + 10)) {  // room for the changes timed at the end
        std::fprintf(stderr, "server_reports_bench: cannot reserve the tables\n");
        return 1;
    }
    db.paths = DatabasePaths::in_folder(folder.string());
    db.log = [](std::string_view) {};
    fill(db, items, invoices);
    std::printf("%d items, %d invoices\n", items, invoices);

    std::string out;
    timed("SEARCH_INVENTORY \"*\"", [&] { out.clear(); search_inventory(db, "*", out); return out.size(); });
    timed("SEARCH_INVENTORY \"bolt 10\"", [&] { out.clear(); search_inventory(db, "bolt 10", out); return out.size(); });
    timed("SEARCH_INVOICES \"customer 12\"", [&] { out.clear(); search_invoices(db, "customer 12", 0, out); return out.size(); });
    timed("SALES_REPORT", [&] { out.clear(); sales_report(db, out); return out.size(); });
    timed("NON_INVENTORY_SALES_REPORT", [&] { out.clear(); non_inventory_sales_report(db, out); return out.size(); });
    for (const char* value : {"1000", "100000", "10000000", "1000000000"}) {
        const std::string what = std::string("SUGGESTED_ORDER_REPORT, order value ") + value;
        timed(what.c_str(), [&] { out.clear(); suggested_order_report(db, "", value, out); return out.size(); });
    }

    std::filesystem::create_directories(folder);
    timed("save invoices.dat whole", [&] { return static_cast<std::size_t>(save_invoices(db, db.paths.invoices)); });
    InventoryRecord item{};
    set_field(item.item_number, "BENCH-1");
    set_field(item.description, "BENCH ITEM");
    set_field(item.unit_price, "9.99");
    timed("ADD_INVENTORY_ITEM (rewrites inventory files)", [&] {
        return static_cast<std::size_t>(add_inventory_item(db, item, "5", "1.00"));
    });
    timed("GET_FIFO_COST", [&] {
        std::string cost;
        get_fifo_cost(db, "BENCH-1", "2", cost);
        return cost.size();
    });
    InvoiceRecord copy{};
    get_invoice(db, invoices, copy);
    timed("SET_INVOICE_FIELD (one invoice written in place)", [&] {
        return static_cast<std::size_t>(set_invoice_field(db, invoices, FIELD_SALESPERSON, "BENCH", copy, nullptr));
    });

    // What a start-up on this set costs: both inventory files and invoices.dat read back into fresh tables.
    {
        ServerDatabase loaded;
        if (!loaded.reserve(items + 10, invoices + 10)) {
            std::fprintf(stderr, "server_reports_bench: cannot reserve the tables for the load\n");
            return 1;
        }
        loaded.paths = db.paths;
        loaded.log = [](std::string_view) {};
        timed("start-up load of inventory and layers", [&] {
            return static_cast<std::size_t>(load_inventory(loaded, loaded.paths.inventory, loaded.paths.layers));
        });
        timed("start-up load of invoices.dat", [&] {
            return static_cast<std::size_t>(load_invoices(loaded, loaded.paths.invoices));
        });
        loaded.release();
    }

    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %ld MiB\n", usage.ru_maxrss / 1024);
    db.release();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
