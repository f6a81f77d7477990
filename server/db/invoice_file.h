// "invoices.dat": a header, slot 0 and one InvoiceRecord image per invoice, single invoices written in place.
#pragma once

#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <type_traits>

#include "server/db/database.h"

namespace stk::server {

class InvoicePreload;

// The file's header, before slot 0.
struct InvoiceFileHeader {
    std::int32_t format;
    std::int32_t file_size;  // bytes of the whole file
    std::int32_t count;      // invoices, slot 0 not counted
};
inline constexpr std::int64_t kInvoiceFileHeaderSize = 12;
static_assert(std::is_standard_layout_v<InvoiceFileHeader> && sizeof(InvoiceFileHeader) == kInvoiceFileHeaderSize);

// The header keeps the file's size in 32 bits: with more invoices than this the size would wrap, and the next
// start would refuse the whole file as corrupt. New invoices stop here, whatever MAX_INVOICES allows.
inline constexpr int kMaxInvoicesInFile =
    static_cast<int>((std::numeric_limits<std::int32_t>::max() - kInvoiceFileHeaderSize) /
                         static_cast<std::int64_t>(sizeof(InvoiceRecord)) -
                     1);

// What a repairing load left out of a file whose size and header disagree: a growth that a crash or a full disk
// cut short (a new slot written, its header not yet; or an older writer's header ahead of its slot).
struct TornInvoices {
    bool found = false;
    int counted = 0;                  // invoices the header counts
    int kept = 0;                     // whole invoices loaded
    std::uint64_t dropped_bytes = 0;  // bytes of the file after the last whole invoice kept
};

// Loads the file into the table. 1, or 0 (logged) when it is missing pieces, not of this format, or holds more
// invoices than MAX_INVOICES.
int load_invoices(ServerDatabase& db, const std::string& path);
// The start-up load: as above, except that a file whose size disagrees with its (otherwise sound) header is
// loaded up to its last whole invoice and *torn says what was left out. The file itself is not touched.
// `preload`, when given, was started on the same file and table; the slots it read are not read again.
int load_invoices(ServerDatabase& db, const std::string& path, TornInvoices* torn, InvoicePreload* preload = nullptr);

// Replaces the whole file (temporary file and rename). 1, or 0 with the old file untouched. With no invoices
// nothing is written.
int save_invoices(ServerDatabase& db, const std::string& path);
// Writes slot n in place, then the header with the current count, then fsyncs: a slot the file grows by is
// there before the header counts it. 1 or 0; with no invoices nothing is written.
int save_invoice(ServerDatabase& db, int n, const std::string& path);
// The same for several slots at once.
int save_invoice_slots(ServerDatabase& db, const std::set<int>& slots, const std::string& path);

}  // namespace stk::server
