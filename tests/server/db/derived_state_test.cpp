// The indexes and line images kept beside the tables must give what a pass over the whole tables gives, after
// any sequence of requests: random requests, each followed by a comparison with the full recomputation.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "server/db/inventory_file.h"
#include "server/handlers/inventory_ops.h"
#include "server/handlers/invoice_ops.h"
#include "tests/server/handlers/invoice_fixture.h"

namespace stk::server {
namespace {

using testing::InvoiceDb;
using testing::make_line;

// The statistics as a pass over every invoice line sums them.
InvoiceIndex::Sales scanned_sales(const ServerDatabase& db, std::string_view number) {
    InvoiceIndex::Sales s;
    for (int inv = 1; inv <= db.invoices.count; ++inv) {
        const InvoiceRecord& invoice = db.invoices[inv];
        for (int n = 0; n < used_lines(invoice); ++n) {
            const InvoiceLine& line = invoice.lines[n];
            if (!equal_ci(field(line.item_number), number)) continue;
            const double k = number_or(field(line.quantity), 1.0);
            s.sold += k;
            double price = 0.0;
            double cost = 0.0;
            if (invoice.payment != 0 && is_number(field(line.unit_price), &price) &&
                is_number(field(line.unit_cost), &cost)) {
                s.profit += (price - cost) * k;
            }
        }
    }
    return s;
}

double scanned_highest_number(const ServerDatabase& db) {
    double highest = 0.0;
    for (int n = 1; n <= db.invoices.count; ++n) {
        double number = 0.0;
        if (is_number(field(db.invoices[n].invoice_number), &number)) highest = std::max(highest, number);
    }
    return highest;
}

int scanned_item(const ServerDatabase& db, std::string_view number) {
    for (int slot = 1; slot <= db.inventory.count; ++slot) {
        if (equal_ci(field(db.inventory[slot].item_number), number)) return slot;
    }
    return 0;
}

std::vector<int> scanned_layers(const ServerDatabase& db, std::string_view number) {
    std::vector<int> slots;
    for (int slot = 1; slot <= db.layers.count; ++slot) {
        if (equal_ci(field(db.layers[slot].item_number), number)) slots.push_back(slot);
    }
    return slots;
}

template <class Record, class Append>
std::string formatted(const Table<Record>& table, Append append) {
    std::string text;
    for (int slot = 1; slot <= table.count; ++slot) append(text, table[slot]);
    return text;
}

class RandomRequests {
public:
    explicit RandomRequests(InvoiceDb& t, unsigned seed) : t_(t), random_(seed) {}

    void one() {
        ServerDatabase& db = t_.db;
        const int index = db.invoices.count > 0 ? pick(1, db.invoices.count) : 0;
        last = pick(0, 9);
        switch (last) {
            case 0: t_.new_invoice(); break;
            case 1:
            case 2:
                if (index) add_invoice_item(db, index, pick(0, 1), t_.copy(index), line());
                break;
            case 3:
                if (index) remove_invoice_item(db, index, pick(1, 3), pick(0, 1), t_.copy(index));
                break;
            case 4:
                if (index) replace_invoice_item(db, index, pick(1, 3), t_.copy(index), line());
                break;
            case 5:
                if (index) set_invoice_payment(db, index, pick(0, 2), t_.copy(index));
                break;
            case 6: {
                std::string change;
                if (index) set_invoice_field(db, index, FIELD_NOTE, pick_number(), t_.copy(index), &change);
                break;
            }
            case 7: change_item(); break;
            case 8: {
                InventoryRecord item{};
                set_field(item.item_number, pick_number());
                set_field(item.description, "Added");
                set_field(item.unit_price, "4.00");
                add_inventory_item(db, item, std::to_string(pick(0, 9)), "1.50");
                break;
            }
            case 9:
                if (db.inventory.count > 0 && pick(0, 2) == 0) {
                    const InventoryRecord copy = db.inventory[pick(1, db.inventory.count)];
                    delete_inventory_item(db, copy);
                }
                break;
        }
    }

    // Item numbers of mixed letter case, some of which name no item.
    int last = 0;  // which request the last step made (the case below)

    std::string pick_number() {
        static const char* const kNumbers[] = {"bolt",       "BOLT",       "Nut",  "nut",    "WASHER",
                                               "\xE9pingle", "\xC9PINGLE", "gear", "spring", "SPRING"};
        return kNumbers[pick(0, 9)];
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

    InvoiceLine line() {
        static const char* const kPrices[] = {"10.00", "9.99", "0.10", "", "x"};
        return make_line(std::to_string(pick(1, 4)), kPrices[pick(0, 4)], pick_number(), "", pick(0, 3) ? "2.00" : "");
    }

    // A stock count, a receipt, or a new number for an item.
    void change_item() {
        ServerDatabase& db = t_.db;
        if (db.inventory.count == 0) return;
        const InventoryRecord stored = db.inventory[pick(1, db.inventory.count)];
        InventoryRecord changed = stored;
        std::string received;
        switch (pick(0, 2)) {
            case 0: set_field(changed.quantity, std::to_string(pick(0, 20))); break;
            case 1: received = std::to_string(pick(1, 5)); break;
            case 2: set_field(changed.item_number, pick_number()); break;
        }
        update_inventory_item(db, stored, changed, received, "3.00");
    }

    InvoiceDb& t_;
    std::mt19937 random_;
};

void expect_derived_state_as_scanned(InvoiceDb& t, RandomRequests& requests) {
    ServerDatabase& db = t.db;
    for (int n = 0; n < 10; ++n) {
        const std::string number = requests.pick_number();
        EXPECT_EQ(find_item(db, number), scanned_item(db, number)) << number;
        EXPECT_EQ(db.layer_index.of(db.layers, number), scanned_layers(db, number)) << number;
        // The same additions in the same order: equal to the bit.
        const InvoiceIndex::Sales kept = db.invoice_index.sales_of(db.invoices, number);
        const InvoiceIndex::Sales scanned = scanned_sales(db, number);
        EXPECT_EQ(kept.sold, scanned.sold) << number;
        EXPECT_EQ(kept.profit, scanned.profit) << number;
    }
    EXPECT_EQ(db.invoice_index.highest_number(db.invoices), scanned_highest_number(db));

    // The files hold every line as the records format now.
    EXPECT_EQ(t.file(db.paths.inventory), formatted(db.inventory, append_item_line));
    EXPECT_EQ(t.file(db.paths.layers), formatted(db.layers, append_layer_line));

    // The search finds in the kept texts of each invoice what it finds in texts made afresh.
    for (int n = 1; n <= db.invoices.count; ++n) {
        InvoiceSearchText fresh;
        fresh.build(db.invoices[n]);
        const InvoiceSearchText& kept = db.invoice_index.search_text(db.invoices, n);
        for (const char* word : {"BOLT", "NUT", "", "\xC9PINGLE", "0.1", "CASH", "CHECK", "1", "2"}) {
            EXPECT_EQ(kept.find(word).found, fresh.find(word).found) << n << " " << word;
            EXPECT_EQ(kept.find(word).line, fresh.find(word).line) << n << " " << word;
        }
        EXPECT_EQ(kept.row_head(), fresh.row_head()) << n;
        EXPECT_EQ(kept.row_tail(), fresh.row_tail()) << n;
    }
}

TEST(DerivedState, FollowsRandomRequestsAsAFullRecomputeWould) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        InvoiceDb t(12, 12);
        for (const char* number : {"bolt", "NUT", "Washer", "\xE9pingle", "gear"}) {
            t.add_item(number, "8");
            t.add_layer(number, "8", "8", "2.00");
        }
        ASSERT_EQ(save_inventory(t.db, t.db.paths.inventory), 1);
        RandomRequests requests(t, seed);
        for (int step = 0; step < 100; ++step) {
            requests.one();
            expect_derived_state_as_scanned(t, requests);
            if (::testing::Test::HasFailure()) FAIL() << "after step " << step << ", request " << requests.last;
        }
    }
}

}  // namespace
}  // namespace stk::server
