// The write-ahead journal of a database set, "journal.dat".
//
// Why: one request may change "inventory.txt", "inventory fifo.txt", "invoices.dat" and "messages.dat", and
// those are written one after the other. A crash between two of them would leave half a request on disk (stock
// taken, no line on the invoice). So before any of them is touched, the request's changes go into the journal
// as one record and the record is made durable; only then are the files written, exactly as they always were.
// At start-up whatever the journal holds is applied to the tables just loaded and the files are saved again.
//
// The records hold after-images (journal_record.h): the new contents of every slot the request changed and
// the new record counts of the tables it touched. Applying an image twice, or applying a record to files that
// already hold it in part or in whole, gives the same tables, so a start-up never has to know how far the
// files had got.
//
// File layout: records back to back from offset 0. Each is a 32-byte header (magic "SJR1", body size, run,
// sequence, CRC-32 of the body, CRC-32 of the header's first 28 bytes) and its body. Reading stops at the first
// header or body that does not check out, or whose run or sequence does not follow on from the record before:
// that is where the journal ends. A torn last record is therefore simply not there.
//
// Emptying: once every file holds everything the records hold, the journal starts again at offset 0 (restart,
// no I/O; the next record overwrites the old ones and the sequence rule hides what is left of them), or, at
// start-up and at a clean exit, the first header is zeroed and synced (clear, which also begins a new run).
// The file keeps a reserved size, so that a record still fits when the disk is full and writing one in place
// does not have to wait for the file system to record a new size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace stk::server {

class Journal {
public:
    // Room the file is given when it is opened: about 140 sale lines' records.
    static constexpr std::uint64_t kReservedBytes = 1 << 20;
    // Tests that open thousands of journals give them less.
    void set_reserved_bytes(std::uint64_t bytes) { reserved_bytes_ = bytes; }

    // Opens (creating) the journal at `path` and reads the records a previous run left in it into `records`
    // (their bodies, oldest first). New records go after them, in the same run, until restart() or clear().
    platform::IoStatus open(platform::FileSystem& files, const std::string& path, std::vector<std::string>* records);
    // Opens the journal for tables that already hold everything in it: earlier records are ignored.
    platform::IoStatus open_fresh(platform::FileSystem& files, const std::string& path);
    bool is_open() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }
    void close();

    // Appends one record and returns once it is on the disk (write, then fdatasync). On failure the journal is
    // where it was before: the next record is written over whatever of this one landed.
    platform::IoStatus append(std::string_view body);
    // The files hold everything the records hold: the next record starts the journal again. No I/O.
    void restart();
    // restart(), and makes it durable: the next start finds nothing to apply.
    platform::IoStatus clear();
    // No record since the last restart(), clear() or open.
    bool empty() const { return end_ == 0; }

private:
    platform::IoStatus open_file(platform::FileSystem& files, const std::string& path);
    void read_records(std::vector<std::string>* records);
    void new_run();

    std::unique_ptr<platform::File> file_;
    std::string path_;
    platform::FileSystem* files_ = nullptr;
    std::uint64_t reserved_bytes_ = kReservedBytes;
    std::uint64_t end_ = 0;   // where the next record goes
    std::uint64_t size_ = 0;  // the file's size as far as we know
    std::uint64_t run_ = 0;
    std::uint64_t next_sequence_ = 1;
};

}  // namespace stk::server
