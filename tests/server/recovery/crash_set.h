// A database set in a temporary folder over a FaultFileSystem, started and ended the way the server does it:
// start() loads the four tables (invoices with the repairing load) and applies the journal, stop() is the
// orderly end, kill() drops everything without another write.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/durable_file.h"
#include "server/db/database.h"
#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/db/message_file.h"
#include "server/db/recovery.h"
#include "server/transport/dispatcher.h"
#include "tests/support/fault_file_system.h"

namespace stk::server::testing {

class CrashSet {
public:
    CrashSet() {
        // Durability is the fault file system's account, not the disk's: a memory-backed folder keeps the many
        // rewrites from waiting on the disk.
        std::error_code ec;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "stk-crash-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "no temporary folder";
        folder = pattern;
    }
    ~CrashSet() {
        kill();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    CrashSet(const CrashSet&) = delete;
    CrashSet& operator=(const CrashSet&) = delete;

    // The database files of `other` (not its journal), as this set's own.
    void copy_files_from(const CrashSet& other) {
        for (const char* name : {"inventory.txt", "inventory fifo.txt", "invoices.dat", "messages.dat"}) {
            std::filesystem::copy_file(other.folder + "/" + name, folder + "/" + name,
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }

    // false when the server would not start; log says why.
    bool start() {
        kill();
        db_ = std::make_unique<ServerDatabase>();
        ServerDatabase& d = *db_;
        d.files = &files;
        d.log = [this](std::string_view text) { log += text; };
        d.paths = DatabasePaths::in_folder(folder);
        d.journal.set_reserved_bytes(64 * 1024);
        if (!d.reserve(16, 16)) return false;
        TornInvoices torn;
        return load_inventory(d, d.paths.inventory, d.paths.layers) == 1 &&
               load_invoices(d, d.paths.invoices, &torn) == 1 && load_messages(d, d.paths.messages) == 1 &&
               recover_from_journal(d, torn);
    }
    bool stop() {
        const bool saved = save_before_exit(*db_);
        kill();
        return saved;
    }
    void kill() { db_.reset(); }

    ServerDatabase& db() { return *db_; }

    // The tables as their files would hold them: item and layer lines, invoice and message records.
    std::string state() const {
        const ServerDatabase& d = *db_;
        std::string s;
        for (int i = 1; i <= d.inventory.count; ++i) append_item_line(s, d.inventory[i]);
        s += "--\n";
        for (int i = 1; i <= d.layers.count; ++i) append_layer_line(s, d.layers[i]);
        s += "--\n";
        s.append(reinterpret_cast<const char*>(&d.invoices[1]),
                 static_cast<std::size_t>(d.invoices.count) * sizeof(InvoiceRecord));
        s += "--\n";
        s.append(reinterpret_cast<const char*>(&d.messages[1]),
                 static_cast<std::size_t>(d.messages.count) * sizeof(MessageRecord));
        return s;
    }

    std::string file(const char* name) const {
        std::string bytes;
        platform::read_whole_file(folder + "/" + name, bytes);
        return bytes;
    }
    std::string files_now() const {
        return file("inventory.txt") + "|" + file("inventory fifo.txt") + "|" + file("invoices.dat") + "|" +
               file("messages.dat");
    }

    test::FaultFileSystem files;
    std::string folder;
    std::string log;

private:
    std::unique_ptr<ServerDatabase> db_;
};

}  // namespace stk::server::testing
