#include "server/db/invoice_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "platform/durable_file.h"
#include "platform/file_descriptor.h"
#include "server/db/invoice_texts.h"

namespace stk::server {

namespace {

constexpr std::int64_t kHeaderSize = 12;
constexpr std::int64_t kSlotSize = sizeof(InvoiceRecord);
constexpr std::int32_t kFormat = 1;

std::int64_t file_size_for(std::int64_t count) { return kHeaderSize + (count + 1) * kSlotSize; }

struct FileHeader {
    std::int32_t format;
    std::int32_t file_size;
    std::int32_t count;
};
static_assert(sizeof(FileHeader) == kHeaderSize);

FileHeader header_for(int count) {
    return FileHeader{kFormat, static_cast<std::int32_t>(file_size_for(count)), count};
}

bool write_exact_at(int fd, const void* buffer, std::size_t size, off_t offset) {
    const auto* p = static_cast<const char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
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

}  // namespace

int load_invoices(ServerDatabase& db, const std::string& path) {
    if (!db.invoices.reserved()) return 0;
    platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.valid()) return 0;

    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return 0;
    if (st.st_size == 0) {
        db.invoices.count = 0;
        return db.invoices.commit_for(0) ? 1 : 0;
    }

    FileHeader header{};
    if (!platform::read_exact(fd.get(), &header, sizeof header)) return 0;
    if (header.format != kFormat || header.file_size != st.st_size || header.count < 0) {
        log_corrupt(db, path);
        return 0;
    }
    if (header.count > db.max_invoices) {
        db.log_line(std::string(kInvoiceCapacityText) + "\r\n");
        return 0;
    }
    // The size field alone does not tie the count to the slots that are really there.
    if (file_size_for(header.count) != st.st_size) {
        log_corrupt(db, path);
        return 0;
    }
    if (!db.invoices.commit_for(header.count)) {
        db.log_line(kNoMemoryText);
        return 0;
    }
    const int slots = header.count + 1;
    const std::size_t bytes = static_cast<std::size_t>(slots) * sizeof(InvoiceRecord);
    if (!platform::read_exact(fd.get(), db.invoices.data(), bytes)) {
        forget_loaded(db, slots);
        return 0;
    }
    if (!slots_sound(db, header.count)) {
        forget_loaded(db, slots);
        log_corrupt(db, path);
        return 0;
    }
    db.invoices.count = header.count;
    return 1;
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
    return platform::write_file_durably(path, image) ? 1 : 0;
}

int save_invoice(ServerDatabase& db, int n, const std::string& path) {
    const int count = db.invoices.count;
    if (count <= 0) return 1;
    if (n < 0 || n > count) return 0;
    const bool existed = platform::file_exists(path);
    platform::UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.valid()) return 0;
    const FileHeader header = header_for(count);
    if (!write_exact_at(fd.get(), &header, sizeof header, 0)) return 0;
    if (!write_exact_at(fd.get(), &db.invoices[n], sizeof(InvoiceRecord),
                        static_cast<off_t>(kHeaderSize + static_cast<std::int64_t>(n) * kSlotSize))) {
        return 0;
    }
    // The answer tells a till its sale is stored; that must hold after a power cut too.
    if (!platform::sync_fd(fd.get())) return 0;
    if (!fd.close()) return 0;
    if (!existed && !platform::sync_parent_folder(path)) return 0;
    return 1;
}

}  // namespace stk::server
