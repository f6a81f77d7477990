#include "server/db/invoice_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/durable_file.h"
#include "server/db/invoice_preload.h"
#include "server/db/invoice_texts.h"

namespace stk::server {

namespace {

constexpr std::int64_t kHeaderSize = kInvoiceFileHeaderSize;
constexpr std::int64_t kSlotSize = sizeof(InvoiceRecord);
constexpr std::int32_t kFormat = 1;

std::int64_t file_size_for(std::int64_t count) { return kHeaderSize + (count + 1) * kSlotSize; }
std::uint64_t slot_offset(int n) { return static_cast<std::uint64_t>(kHeaderSize + n * kSlotSize); }

using FileHeader = InvoiceFileHeader;

FileHeader header_for(int count) {
    return FileHeader{kFormat, static_cast<std::int32_t>(file_size_for(count)), count};
}

void log_corrupt(const ServerDatabase& db, const std::string& path) {
    const std::string& shown = db.paths.invoices.empty() ? path : db.paths.invoices;
    db.log_line(std::string(kInvoiceFileCorruptText) + shown + "\r\n");
}

// A slot is only trusted as far as its line count: everything else in it is text or a code that is read
// defensively, but the line count indexes the line array.
bool slots_sound(const ServerDatabase& db, int count) {
    for (int n = 1; n <= count; ++n) {
        const std::int32_t lines = db.invoices[n].line_count;
        if (lines < 0 || lines > kMaxInvoiceLines) return false;
    }
    return true;
}

void forget_loaded(ServerDatabase& db, int slots_read) {
    std::memset(db.invoices.data(), 0, static_cast<std::size_t>(slots_read) * sizeof(InvoiceRecord));
    db.invoices.count = 0;
    db.invoices.commit_for(0);
}

// How many invoices a file of `size` bytes holds whole, given a header that counts `counted`; fills *torn when
// the two disagree.
int whole_invoices(std::uint64_t size, int counted, TornInvoices* torn) {
    const auto expected = static_cast<std::uint64_t>(file_size_for(counted));
    if (size == expected) return counted;
    int kept = 0;
    if (size >= static_cast<std::uint64_t>(file_size_for(0))) {
        const auto whole = static_cast<std::int64_t>((size - kHeaderSize) / kSlotSize) - 1;
        kept = static_cast<int>(std::min<std::int64_t>(counted, whole));
    }
    torn->found = true;
    torn->counted = counted;
    torn->kept = kept;
    const auto kept_size = static_cast<std::uint64_t>(file_size_for(kept));
    torn->dropped_bytes = size > kept_size ? size - kept_size : size;
    return kept;
}

int load(ServerDatabase& db, const std::string& path, TornInvoices* torn, InvoicePreload* preload) {
    if (preload) preload->wait();  // the table is the preload's until then
    if (!db.invoices.reserved()) return 0;
    db.invoice_index.forget();
    std::unique_ptr<platform::File> file;
    if (!db.succeeded(db.files->open(path, platform::OpenMode::ReadCreate, &file))) return 0;
    std::uint64_t size = 0;
    if (!db.succeeded(file->size(&size))) return 0;
    if (size == 0) {
        db.invoices.count = 0;
        return db.invoices.commit_for(0) ? 1 : 0;
    }

    FileHeader header{};
    if (size >= sizeof header) {
        if (!db.succeeded(file->read_exact_at(0, &header, sizeof header))) return 0;
    } else if (!torn) {
        return 0;
    }
    // A file whose first growth was cut short before its header was written: slots, no header yet.
    if (torn && header.format == 0 && header.file_size == 0 && header.count == 0) header = header_for(0);
    const bool size_agrees = header.file_size >= 0 && static_cast<std::uint64_t>(header.file_size) == size;
    if (header.format != kFormat || header.count < 0 || (!torn && !size_agrees)) {
        log_corrupt(db, path);
        return 0;
    }
    if (header.count > db.max_invoices) {
        db.log_line(std::string(kInvoiceCapacityText) + "\r\n");
        return 0;
    }
    // The size field alone does not tie the count to the slots that are really there.
    if (header.file_size != file_size_for(header.count)) {
        log_corrupt(db, path);
        return 0;
    }
    const int count = torn ? whole_invoices(size, header.count, torn) : header.count;
    const int preloaded = preload ? preload->invoices_read(size).value_or(-1) : -1;
    if (preloaded > count) {
        // Slots the header does not count read as zero, as they would after a read of the counted ones only.
        std::memset(&db.invoices[count + 1], 0, static_cast<std::size_t>(preloaded - count) * sizeof(InvoiceRecord));
    }
    if (!db.invoices.commit_for(count)) {
        db.log_line(kNoMemoryText);
        return 0;
    }
    if (size < static_cast<std::uint64_t>(file_size_for(0))) {
        // Not even slot 0 is whole: no invoice to read, and slot 0 is all zero anyway.
        std::memset(db.invoices.data(), 0, sizeof(InvoiceRecord));
        db.invoices.count = 0;
        return 1;
    }
    const int slots = count + 1;
    const std::size_t bytes = static_cast<std::size_t>(slots) * sizeof(InvoiceRecord);
    if (preloaded < count && !db.succeeded(file->read_exact_at(kHeaderSize, db.invoices.data(), bytes))) {
        forget_loaded(db, slots);
        return 0;
    }
    if (!slots_sound(db, count)) {
        forget_loaded(db, slots);
        log_corrupt(db, path);
        return 0;
    }
    db.invoices.count = count;
    return 1;
}

}  // namespace

int load_invoices(ServerDatabase& db, const std::string& path) { return load(db, path, nullptr, nullptr); }

int load_invoices(ServerDatabase& db, const std::string& path, TornInvoices* torn, InvoicePreload* preload) {
    *torn = TornInvoices{};
    return load(db, path, torn, preload);
}

int save_invoices(ServerDatabase& db, const std::string& path) {
    const int count = db.invoices.count;
    if (count <= 0) return 1;
    const FileHeader header = header_for(count);
    const std::size_t body = static_cast<std::size_t>(count + 1) * sizeof(InvoiceRecord);
    std::string image;
    try {
        image.reserve(sizeof header + body);
    } catch (const std::bad_alloc&) {
        db.log_line(kNoMemoryText);
        return 0;
    }
    image.append(reinterpret_cast<const char*>(&header), sizeof header);
    image.append(reinterpret_cast<const char*>(db.invoices.data()), body);
    return db.succeeded(platform::write_file_durably(*db.files, path, image)) ? 1 : 0;
}

int save_invoice(ServerDatabase& db, int n, const std::string& path) { return save_invoice_slots(db, {n}, path); }

int save_invoice_slots(ServerDatabase& db, const std::set<int>& slots, const std::string& path) {
    const int count = db.invoices.count;
    if (count <= 0) return 1;
    for (int n : slots) {
        if (n < 0 || n > count) return 0;
    }
    const bool existed = db.files->exists(path);
    std::unique_ptr<platform::File> file;
    if (!db.succeeded(db.files->open(path, platform::OpenMode::ReadWriteCreate, &file))) return 0;
    for (int n : slots) {
        if (!db.succeeded(file->write_at(slot_offset(n), &db.invoices[n], sizeof(InvoiceRecord)))) return 0;
    }
    const FileHeader header = header_for(count);
    if (!db.succeeded(file->write_at(0, &header, sizeof header))) return 0;
    // The answer tells a till its sale is stored; that must hold after a power cut too.
    if (!db.succeeded(file->sync())) return 0;
    if (!db.succeeded(file->close())) return 0;
    if (!existed && !db.succeeded(db.files->sync_folder(platform::folder_of(path)))) return 0;
    return 1;
}

}  // namespace stk::server
