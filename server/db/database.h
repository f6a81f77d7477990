// The server's in-memory database: the five tables in table storage, their capacities and their files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/records.h"
#include "platform/file_system.h"
#include "server/db/change_set.h"
#include "server/db/invoice_index.h"
#include "server/db/item_index.h"
#include "server/db/journal.h"
#include "server/db/layer_index.h"
#include "server/db/line_image.h"
#include "server/db/table.h"

namespace stk::server {

struct DatabasePaths {
    std::string folder;
    std::string inventory;  // "inventory.txt"
    std::string layers;     // "inventory fifo.txt"
    std::string invoices;   // "invoices.dat"
    std::string messages;   // "messages.dat"
    std::string settings;   // "stockavelle server settings.txt"
    std::string journal;    // "journal.dat": the write-ahead journal (server/db/journal.h)

    static DatabasePaths in_folder(const std::string& folder);
};

inline constexpr int kDefaultMaxItems = 100000;
inline constexpr int kDefaultMaxInvoices = 100000;
inline constexpr int kMaxMessages = 10000;

using LogFn = std::function<void(std::string_view)>;

// Logged when a table cannot get the memory for one more record.
inline constexpr std::string_view kNoMemoryText = "Unable to allocate required memory.\r\n";

// How many of an invoice's line slots hold lines. A stored or received record is not trusted to keep its
// line count inside the line array.
inline int used_lines(const InvoiceRecord& invoice) {
    if (invoice.line_count < 0) return 0;
    return invoice.line_count > kMaxInvoiceLines ? kMaxInvoiceLines : invoice.line_count;
}

struct ServerDatabase {
    Table<InventoryRecord> inventory;
    Table<FifoLayer> layers;
    Table<InvoiceRecord> invoices;
    Table<MessageRecord> messages;
    Table<std::uint8_t> search_marks;  // one byte per inventory slot: 1 = matched the last inventory search

    int max_items = kDefaultMaxItems;
    int max_invoices = kDefaultMaxInvoices;

    DatabasePaths paths;
    LogFn log;  // the activity log; texts carry their own "\r\n"

    // Every file of the set is opened, written, synced and renamed through this. Tests put a fault-injecting
    // file system here.
    platform::FileSystem* files = &platform::posix_file_system();
    // The write-ahead journal of the set; opened at start-up (server/db/recovery.h) or by the first write.
    Journal journal;
    // Changes made in memory that no journal record holds yet, because appending the record failed. The next
    // record written carries them too.
    ChangeSet unjournaled;

    // Kept from the tables so that no request has to scan a whole table: items by number, an item's cost
    // layers, the invoice lines of an item number and the invoice numbers, and the lines of the two inventory
    // files as last formatted. Each is told of the changes it cannot see for itself (see its class); follow()
    // tells them what a request changed, and forget_derived() makes them start again from the tables after a
    // load. The indexes are caches that a lookup on a const database may fill, hence mutable.
    mutable ItemIndex item_index;
    mutable LayerIndex layer_index;
    mutable InvoiceIndex invoice_index;
    LineImage item_lines;   // "inventory.txt"
    LineImage layer_lines;  // "inventory fifo.txt"

    // Databases whose files may no longer match memory after a failed save; saved whole again until it works.
    bool inventory_unsaved = false;
    bool invoices_unsaved = false;
    bool messages_unsaved = false;
    // The last file call that failed, for the log lines that explain why something is unsaved.
    platform::IoStatus last_failure;

    // Reserves the five tables for the given capacities (cost layers: 2 x max_items + 2 slots).
    bool reserve(int max_items, int max_invoices);
    void release();

    // Marks what `changes` names in the indexes and line images: the invoices to read again, the item and
    // layer lines to format again, an item's removal.
    void follow(const ChangeSet& changes);
    // The tables were loaded or rewritten as a whole.
    void forget_derived();

    void log_line(std::string_view text) const {
        if (log) log(text);
    }

    // true when `s` succeeded; otherwise keeps it as last_failure.
    bool succeeded(platform::IoStatus s) {
        if (s) return true;
        last_failure = std::move(s);
        return false;
    }
};

}  // namespace stk::server
