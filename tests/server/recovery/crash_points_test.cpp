// Every kind of changing request, stopped at every file call it makes (a kill, a power cut, a torn write) and
// failed at every file call (an I/O error once, a disk that stays full): the server starts again, its tables
// are those from before the request or those after it, never a mix, and its files reload to the same bytes.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "common/protocol.h"
#include "common/text_field.h"
#include "server/handlers/inventory_ops.h"
#include "server/handlers/invoice_ops.h"
#include "server/handlers/message_ops.h"
#include "tests/server/recovery/crash_set.h"

namespace stk::server::testing {
namespace {

InventoryRecord item(std::string_view number, std::string_view quantity, std::string_view cost) {
    InventoryRecord r{};
    set_field(r.item_number, number);
    set_field(r.description, "Item " + std::string(number));
    set_field(r.unit_price, "9.50");
    set_field(r.quantity, quantity);
    set_field(r.standard_unit_cost, cost);
    return r;
}

InvoiceLine line(std::string_view number, std::string_view quantity, std::string_view backorder = "") {
    InvoiceLine l{};
    set_field(l.item_number, number);
    set_field(l.description, number.empty() ? std::string("Labour") : "Item " + std::string(number));
    set_field(l.quantity, quantity);
    set_field(l.backorder_quantity, backorder);
    set_field(l.unit_price, "9.50");
    set_field(l.unit_cost, "2.00");
    set_field(l.tax_percent, "8");
    return l;
}

MessageRecord message(std::string_view text) {
    MessageRecord m{};
    set_field(m.text, text);
    return m;
}

InvoiceRecord copy(ServerDatabase& db, int index) {
    InvoiceRecord r{};
    EXPECT_EQ(get_invoice(db, index, r), RESULT_OK);
    return r;
}

// A small shop: three items (one with two cost layers), three invoices (stock taken, a backorder, a customer
// only), three messages.
void seed(ServerDatabase& db) {
    ASSERT_EQ(add_inventory_item(db, item("A", "6", "2.00"), "", "2.00"), RESULT_OK);
    const InventoryRecord a = db.inventory[1];
    ASSERT_EQ(update_inventory_item(db, a, a, "4", "3.00"), RESULT_OK);
    ASSERT_EQ(add_inventory_item(db, item("B", "5", "1.00"), "", "1.00"), RESULT_OK);
    ASSERT_EQ(add_inventory_item(db, item("C", "2", "4.00"), "", "4.00"), RESULT_OK);
    int n = 0;
    std::string change;
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(new_invoice(db, &n), RESULT_OK);
        ASSERT_EQ(set_invoice_field(db, n, FIELD_DATE, "12/01/2026", copy(db, n), &change), RESULT_OK);
    }
    ASSERT_EQ(add_invoice_item(db, 1, 1, copy(db, 1), line("A", "2")), RESULT_OK);
    ASSERT_EQ(add_invoice_item(db, 1, 0, copy(db, 1), line("", "1")), RESULT_OK);
    ASSERT_EQ(add_invoice_item(db, 2, 1, copy(db, 2), line("B", "5", "3")), RESULT_OK);
    ASSERT_EQ(set_invoice_field(db, 3, FIELD_CUSTOMER_NAME, "Smith", copy(db, 3), &change), RESULT_OK);
    for (const char* text : {"first", "second", "third"}) {
        ASSERT_EQ(save_message(db, MessageRecord{}, message(text)), RESULT_OK);
    }
}

using Request = std::function<int(ServerDatabase&)>;

struct Case {
    const char* name;
    Request run;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"NEW_INVOICE",
         [](ServerDatabase& db) {
             int n = 0;
             return static_cast<int>(new_invoice(db, &n));
         }},
        {"ADD_INVOICE_ITEM from stock",
         [](ServerDatabase& db) { return +add_invoice_item(db, 1, 1, copy(db, 1), line("A", "3")); }},
        {"ADD_INVOICE_ITEM labour",
         [](ServerDatabase& db) { return +add_invoice_item(db, 3, 0, copy(db, 3), line("", "2")); }},
        {"FILL_BACKORDER",
         [](ServerDatabase& db) {
             double filled = 0.0;
             InvoiceLine delivered = line("B", "2");
             set_field(delivered.unit_cost, "3.00");
             return +fill_backorder(db, 2, 1, copy(db, 2), delivered, &filled);
         }},
        {"REMOVE_INVOICE_ITEM", [](ServerDatabase& db) { return +remove_invoice_item(db, 1, 1, 1, copy(db, 1)); }},
        {"REPLACE_INVOICE_ITEM",
         [](ServerDatabase& db) { return +replace_invoice_item(db, 1, 2, copy(db, 1), line("C", "1")); }},
        {"SET_INVOICE_FIELD",
         [](ServerDatabase& db) {
             std::string change;
             return +set_invoice_field(db, 1, FIELD_CASH_RECEIVED, "50", copy(db, 1), &change);
         }},
        {"SET_INVOICE_PAYMENT",
         [](ServerDatabase& db) { return +set_invoice_payment(db, 1, PAYMENT_CASH, copy(db, 1)); }},
        {"SET_INVOICE_STATUS",
         [](ServerDatabase& db) { return +set_invoice_status(db, 3, STATUS_COMPLETE, copy(db, 3)); }},
        {"SET_INVOICE_CUSTOMER",
         [](ServerDatabase& db) {
             InvoiceRecord header = copy(db, 3);
             set_field(header.customer_name, "Jones");
             set_field(header.cash_received, "20");
             return +set_invoice_customer(db, 3, copy(db, 3), header);
         }},
        {"ADD_INVENTORY_ITEM",
         [](ServerDatabase& db) { return +add_inventory_item(db, item("D", "7", "1.50"), "", "1.50"); }},
        {"UPDATE_INVENTORY_ITEM",
         [](ServerDatabase& db) {
             const InventoryRecord shown = db.inventory[1];
             InventoryRecord renamed = shown;
             set_field(renamed.item_number, "A2");
             return +update_inventory_item(db, shown, renamed, "5", "4.00");
         }},
        {"DELETE_INVENTORY_ITEM",
         [](ServerDatabase& db) {
             const InventoryRecord shown = db.inventory[1];
             return +delete_inventory_item(db, shown);
         }},
        {"SAVE_MESSAGE new", [](ServerDatabase& db) { return +save_message(db, MessageRecord{}, message("fourth")); }},
        {"SAVE_MESSAGE edit",
         [](ServerDatabase& db) {
             const MessageRecord shown = db.messages[2];
             MessageRecord edited = shown;
             set_field(edited.text, "second, edited");
             return +save_message(db, shown, edited);
         }},
        {"DELETE_MESSAGE",
         [](ServerDatabase& db) {
             const MessageRecord shown = db.messages[1];
             return +delete_message(db, shown);
         }},
    };
    return all;
}

class CrashPoints : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(seed_set.start()) << seed_set.log;
        seed(seed_set.db());
        ASSERT_TRUE(seed_set.stop()) << seed_set.log;
    }

    // A set holding the seed, started. Its file calls are counted from here.
    std::unique_ptr<CrashSet> started_copy() {
        auto set = std::make_unique<CrashSet>();
        set->copy_files_from(seed_set);
        EXPECT_TRUE(set->start()) << set->log;
        set->files.reset();
        return set;
    }

    // The file calls the request makes when nothing goes wrong.
    std::vector<std::string> calls_of(const Case& c, std::vector<bool>* tearable = nullptr) {
        auto set = started_copy();
        EXPECT_EQ(c.run(set->db()), RESULT_OK) << c.name;
        if (tearable) {
            for (int n = 1; n <= set->files.calls(); ++n) tearable->push_back(set->files.tearable(n));
        }
        return set->files.call_log();
    }

    // After a restart: the tables are `before` or `after` (exactly `after` when `must_be_after`), and a second
    // start finds the same tables and leaves the files as they are.
    static void expect_restarts_whole(CrashSet& set, const std::string& before, const std::string& after,
                                      bool must_be_after, const std::string& where) {
        set.files.reset();
        ASSERT_TRUE(set.start()) << where << "\n" << set.log;
        const std::string recovered = set.state();
        if (must_be_after) {
            EXPECT_TRUE(recovered == after) << where << ": the acknowledged change is missing";
        } else {
            EXPECT_TRUE(recovered == before || recovered == after) << where << ": half a request on disk";
        }
        const std::string files = set.files_now();
        set.kill();
        ASSERT_TRUE(set.start()) << where << "\n" << set.log;
        EXPECT_TRUE(set.state() == recovered) << where << ": a second start changed the tables";
        EXPECT_TRUE(set.files_now() == files) << where << ": a second start changed the files";
    }

    CrashSet seed_set;
};

TEST_F(CrashPoints, EveryStopLeavesTheRequestWholeOrAbsent) {
    enum class Stop { Kill, PowerCut, TornWrite };
    for (const Case& c : cases()) {
        std::vector<bool> tearable;
        const std::vector<std::string> calls = calls_of(c, &tearable);
        ASSERT_FALSE(calls.empty()) << c.name;
        for (int n = 1; n <= static_cast<int>(calls.size()); ++n) {
            for (Stop stop : {Stop::Kill, Stop::PowerCut, Stop::TornWrite}) {
                if (stop == Stop::TornWrite && !tearable[static_cast<std::size_t>(n - 1)]) continue;
                const std::string where = std::string(c.name) + ", stopped at call " + std::to_string(n) + " (" +
                                          calls[static_cast<std::size_t>(n - 1)] + ")" +
                                          (stop == Stop::Kill       ? ", killed"
                                           : stop == Stop::PowerCut ? ", power cut"
                                                                    : ", torn write");
                auto set = started_copy();
                const std::string before = set->state();
                set->files.crash_after(n, stop == Stop::TornWrite);
                const int result = c.run(set->db());
                const std::string after = set->state();
                set->kill();
                if (stop == Stop::PowerCut) set->files.drop_unsynced();
                expect_restarts_whole(*set, before, after, result == RESULT_OK, where);
                if (::testing::Test::HasFailure()) return;
            }
        }
    }
}

TEST_F(CrashPoints, EveryFailedCallAnswersFourAndIsSavedWholeOrNotAtAll) {
    for (const Case& c : cases()) {
        const std::vector<std::string> calls = calls_of(c);
        for (int n = 1; n <= static_cast<int>(calls.size()); ++n) {
            for (const bool disk_stays_full : {false, true}) {
                const std::string where = std::string(c.name) + ", call " + std::to_string(n) + " (" +
                                          calls[static_cast<std::size_t>(n - 1)] + ") failed" +
                                          (disk_stays_full ? ", disk full" : ", I/O error");
                auto set = started_copy();
                const std::string before = set->state();
                const std::string files_before = set->files_now();
                set->files.fail_call(n, disk_stays_full ? ENOSPC : EIO, disk_stays_full);
                const int result = c.run(set->db());
                const std::string after = set->state();
                EXPECT_TRUE(result == RESULT_SAVE_FAILED || result == RESULT_OK) << where;
                // What the dispatcher does after a 4, then the end of the server while the fault lasts.
                save_all_databases(set->db(), [](std::string_view) { return false; });
                const bool journaled = set->db().unjournaled.empty();
                const bool saved = set->stop();
                EXPECT_EQ(saved, !disk_stays_full) << where;
                if (!journaled) {
                    // The journal did not take the request (its record may have landed all the same), so no
                    // database file may hold any of it.
                    EXPECT_FALSE(result == RESULT_OK) << where;
                    EXPECT_TRUE(set->files_now() == files_before) << where << ": a file holds an unjournaled change";
                }
                expect_restarts_whole(*set, before, after, journaled, where);
                if (::testing::Test::HasFailure()) return;
            }
        }
    }
}

}  // namespace
}  // namespace stk::server::testing
