#include "bench/requests/shop_set.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "bench/shop_words.h"
#include "common/number_text.h"
#include "common/text_field.h"
#include "platform/durable_file.h"
#include "server/db/database.h"
#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/db/message_file.h"

namespace stk::bench {

using server::ServerDatabase;

namespace {

const char* const kStreets[] = {"MAIN ST", "OAK AVE", "RIVER RD", "HILL ST", "LAKE DR", "PARK LN"};

void fill_items(ServerDatabase& db, const ShopShape& shape, Sequence& seq, ShopSet* out) {
    for (int i = 1; i <= shape.items; ++i) {
        db.inventory.commit_for(i);
        db.search_marks.commit_for(i);
        InventoryRecord& r = db.inventory[i];
        std::memset(&r, 0, sizeof r);
        set_field(r.item_number, std::string(kWords[i % 20]) + "-" + format_g(i));
        set_field(r.description, std::string(kWords[seq.next(20)]) + " " + kWords[seq.next(20)] + " " +
                                     format_g(seq.next(100)) + " MM");
        set_field(r.remark, seq.next(3) == 0 ? "ZINC PLATED" : "");
        set_field(r.quantity, format_g(40 + seq.next(60)));
        set_field(r.minimum_quantity, seq.next(3) == 0 ? "" : format_g(seq.next(20)));
        set_field(r.sold_quantity, format_g(seq.next(200)));
        set_field(r.unaccounted_quantity, "0");
        set_field(r.category, kCategories[seq.next(6)]);
        set_field(r.location, "AISLE " + format_g(1 + seq.next(12)));
        set_field(r.standard_unit_cost, format_2f(0.05 + seq.next(5000) / 100.0));
        set_field(r.unit_price, format_2f(0.10 + seq.next(9000) / 100.0));
        set_field(r.gross_profit, format_2f(seq.next(100000) / 100.0));
        set_field(r.last_audit_date, "03/14/2025");
        db.inventory.count = i;
        db.search_marks.count = i;
        out->stocked.emplace_back(field(r.item_number));
    }
    // Two layers per item, older ones first as a shop's history would have them: the first delivery is sold,
    // the second holds the stock on hand.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 1; i <= shape.items; ++i) {
            const InventoryRecord& item = db.inventory[i];
            const std::string quantity = pass == 0 ? format_g(10 + seq.next(50)) : std::string(field(item.quantity));
            FifoLayer layer =
                server::make_layer(field(item.item_number), quantity, field(item.standard_unit_cost),
                                   pass == 0 ? "01/06/2024" : "09/30/2024", pass == 0 ? "INITIAL" : "RECEIVED");
            if (pass == 0) set_field(layer.remaining_quantity, "0");
            server::append_layer(db, layer);
        }
    }
}

void fill_invoice(ServerDatabase& db, const ShopShape& shape, Sequence& seq, int n) {
    InvoiceRecord& inv = db.invoices[n];
    std::memset(&inv, 0, sizeof inv);
    set_field(inv.invoice_number, format_g(10000 + n));
    set_field(inv.date, "0" + format_g(1 + seq.next(9)) + "/1" + format_g(seq.next(10)) + "/2025");
    set_field(inv.time, format_g(8 + seq.next(10)) + ":" + format_g(10 + seq.next(50)) + ":0" + format_g(seq.next(10)));
    set_field(inv.customer_name, std::string("CUSTOMER ") + format_g(seq.next(5000)));
    set_field(inv.customer_address, format_g(1 + seq.next(900)) + " " + kStreets[seq.next(6)]);
    set_field(inv.customer_phone_number, "555-0" + format_g(100 + seq.next(900)));
    set_field(inv.salesperson, seq.next(2) == 0 ? "DIANE" : "TOMAS");
    inv.payment = static_cast<std::int32_t>(seq.next(6));
    inv.status = inv.payment != 0 ? 1 : 0;
    const int lines = shape.lines > 0 ? shape.lines : 1 + static_cast<int>(seq.next(12));
    double subtotal = 0;
    for (int k = 0; k < lines; ++k) {
        const int slot = 1 + static_cast<int>(seq.next(static_cast<unsigned>(shape.items)));
        const InventoryRecord& item = db.inventory[slot];
        InvoiceLine& l = inv.lines[inv.line_count++];
        const double quantity = 1 + seq.next(5);
        // Every tenth line is sold from free text (labour, special orders).
        if (seq.next(10) == 0) {
            set_field(l.item_number, "SPECIAL-" + format_g(seq.next(1000)));
        } else {
            set_field(l.item_number, field(item.item_number));
        }
        set_field(l.description, field(item.description));
        set_field(l.quantity, format_g(quantity));
        set_field(l.unit_price, field(item.unit_price));
        set_field(l.unit_cost, field(item.standard_unit_cost));
        set_field(l.amount, format_2f(quantity * number_or(field(item.unit_price), 0)));
        set_field(l.tax_percent, "8.25");
        if (seq.next(40) == 0) set_field(l.backorder_quantity, "1");
        subtotal += quantity * number_or(field(item.unit_price), 0);
    }
    set_field(inv.subtotal, format_2f(subtotal));
    set_field(inv.tax, format_2f(subtotal * 0.0825));
    set_field(inv.total, format_2f(subtotal * 1.0825));
    set_field(inv.cash_received, "");
    set_field(inv.change, "0.00");
}

// An invoice as NEW_INVOICE makes it.
void open_invoice(ServerDatabase& db, int n) {
    InvoiceRecord& inv = db.invoices[n];
    std::memset(&inv, 0, sizeof inv);
    set_field(inv.subtotal, "0.00");
    set_field(inv.tax, "0.00");
    set_field(inv.total, "0.00");
}

void fill_invoices(ServerDatabase& db, const ShopShape& shape, Sequence& seq, ShopSet* out) {
    out->first_open_invoice = shape.invoices - shape.open_invoices + 1;
    for (int n = 1; n <= shape.invoices; ++n) {
        db.invoices.commit_for(n);
        if (n < out->first_open_invoice) {
            fill_invoice(db, shape, seq, n);
        } else {
            open_invoice(db, n);
        }
        db.invoices.count = n;
    }
}

void fill_messages(ServerDatabase& db) {
    for (int n = 1; n <= 10; ++n) {
        db.messages.commit_for(n);
        MessageRecord& m = db.messages[n];
        std::memset(&m, 0, sizeof m);
        set_field(m.timestamp, "03/14/2025 at 9:" + format_g(10 + n));
        set_field(m.text, "Delivery " + format_g(n) + " expected Thursday before 10 AM.");
        db.messages.count = n;
    }
}

std::uint64_t size_of(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
}

}  // namespace

bool write_shop_set(const ShopShape& shape, const std::string& folder, ShopSet* out) {
    *out = ShopSet{};
    out->folder = folder;
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder, ec);

    ServerDatabase db;
    if (!db.reserve(shape.max_items, shape.max_invoices)) {
        std::fprintf(stderr, "cannot reserve the tables of the %s set\n", shape.name.c_str());
        return false;
    }
    db.paths = server::DatabasePaths::in_folder(folder);
    db.log = [](std::string_view) {};
    Sequence seq;
    fill_items(db, shape, seq, out);
    fill_invoices(db, shape, seq, out);
    fill_messages(db);

    out->bytes_from.assign(static_cast<std::size_t>(shape.items) + 2, 0);
    std::string line;
    for (int slot = shape.items; slot >= 1; --slot) {
        line.clear();
        server::append_item_line(line, db.inventory[slot]);
        out->bytes_from[static_cast<std::size_t>(slot)] =
            out->bytes_from[static_cast<std::size_t>(slot) + 1] + line.size();
    }

    const std::string settings =
        "ServerName=bench\r\nClientName=stockavelle client 1.0\r\nMAX_INVOICES=" + format_g(shape.max_invoices) +
        "\r\nMAX_ITEMS=" + format_g(shape.max_items) + "\r\n";
    const bool written =
        server::save_inventory_to(db, db.paths) == 1 && server::save_invoices(db, db.paths.invoices) == 1 &&
        server::save_messages(db, db.paths.messages) == 1 && platform::write_file_durably(db.paths.settings, settings);
    if (!written) {
        std::fprintf(stderr, "cannot write the %s set in %s: %s\n", shape.name.c_str(), folder.c_str(),
                     db.last_failure.message().c_str());
        return false;
    }
    out->inventory_bytes = size_of(db.paths.inventory);
    out->layer_bytes = size_of(db.paths.layers);
    out->invoice_bytes = size_of(db.paths.invoices);
    out->message_bytes = size_of(db.paths.messages);
    return true;
}

}  // namespace stk::bench
