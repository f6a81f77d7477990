// The server's in-memory database: the five tables in table storage, their capacities and their files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/records.h"
#include "platform/file_system.h"
#include "platform/table_storage.h"
#include "server/db/change_set.h"
#include "server/db/journal.h"

namespace stk::server {

// A 1-based table of fixed-size slots; slot 0 exists and is never a record. The slots live in address space
// reserved once for the whole capacity, so pointers into the table stay valid while it grows and shrinks.
template <class T>
class Table {
public:
    Table() = default;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    ~Table() { release(); }

    bool reserve(std::size_t reserved_slots) {
        release();
        base_ = static_cast<T*>(platform::reserve_table(reserved_slots * sizeof(T)));
        reserved_slots_ = base_ ? reserved_slots : 0;
        count = 0;
        return base_ != nullptr && commit_for(0);
    }
    void release() {
        platform::release_table(base_);
        base_ = nullptr;
        reserved_slots_ = 0;
        count = 0;
    }
    bool reserved() const { return base_ != nullptr; }
    std::size_t reserved_slots() const { return reserved_slots_; }

    // Commits exactly the pages for slots 0..n; the count itself is the caller's to change.
    bool commit_for(int n) {
        if (!base_ || n < 0 || static_cast<std::size_t>(n) + 1 > reserved_slots_) return false;
        return platform::resize_table(base_, (static_cast<std::size_t>(n) + 1) * sizeof(T)) == 1;
    }
    // Makes room for one more record (slots 0..count+1); the new slot is not counted yet.
    bool grow_for_one() { return commit_for(count + 1); }

    T& operator[](int slot) { return base_[slot]; }
    const T& operator[](int slot) const { return base_[slot]; }
    T* data() { return base_; }
    const T* data() const { return base_; }

    int count = 0;

private:
    T* base_ = nullptr;
    std::size_t reserved_slots_ = 0;
};

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

    // Databases whose files may no longer match memory after a failed save; saved whole again until it works.
    bool inventory_unsaved = false;
    bool invoices_unsaved = false;
    bool messages_unsaved = false;
    // The last file call that failed, for the log lines that explain why something is unsaved.
    platform::IoStatus last_failure;

    // Reserves the five tables for the given capacities (cost layers: 2 x max_items + 2 slots).
    bool reserve(int max_items, int max_invoices);
    void release();

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
