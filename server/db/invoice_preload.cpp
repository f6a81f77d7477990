#include "server/db/invoice_preload.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "platform/file_system.h"
#include "server/db/invoice_file.h"

namespace stk::server {

namespace {

constexpr auto kHeaderSize = static_cast<std::uint64_t>(kInvoiceFileHeaderSize);

}  // namespace

void InvoicePreload::start(const std::string& path, Table<InvoiceRecord>& table) {
    wait();
    read_ = false;
    thread_ = std::thread(&InvoicePreload::run, this, path, &table);
}

void InvoicePreload::wait() {
    if (thread_.joinable()) thread_.join();  // what the thread wrote is seen after the join
}

std::optional<int> InvoicePreload::invoices_read(std::uint64_t size) const {
    if (!read_ || size != size_) return std::nullopt;
    return invoices_;
}

// Reads the slots that the header counts and the file holds whole; anything else is left to the load, which
// reads and judges the file again.
void InvoicePreload::run(std::string path, Table<InvoiceRecord>* table) {
    std::unique_ptr<platform::File> file;
    if (!platform::posix_file_system().open(path, platform::OpenMode::Read, &file).ok()) return;
    std::uint64_t size = 0;
    InvoiceFileHeader header{};
    if (!file->size(&size).ok() || size < kHeaderSize + sizeof(InvoiceRecord)) return;
    if (!file->read_exact_at(0, &header, sizeof header).ok() || header.count < 0) return;
    const std::uint64_t whole = (size - kHeaderSize) / sizeof(InvoiceRecord) - 1;
    const auto n = static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(header.count), whole));
    if (static_cast<std::size_t>(n) + 1 > table->reserved_slots() || !table->commit_for(n)) return;
    const std::size_t bytes = (static_cast<std::size_t>(n) + 1) * sizeof(InvoiceRecord);
    if (!file->read_exact_at(kHeaderSize, table->data(), bytes).ok()) return;
    size_ = size;
    invoices_ = n;
    read_ = true;
}

}  // namespace stk::server
