// "invoices.dat": a header, slot 0 and one InvoiceRecord image per invoice, single invoices written in place.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "server/db/database.h"

namespace stk::server {

// The header keeps the file's size in 32 bits: with more invoices than this the size would wrap, and the next
// start would refuse the whole file as corrupt. New invoices stop here, whatever MAX_INVOICES allows.
inline constexpr int kMaxInvoicesInFile =
    static_cast<int>((std::numeric_limits<std::int32_t>::max() - 12) / static_cast<std::int64_t>(sizeof(InvoiceRecord)) - 1);

int load_invoices(ServerDatabase& db, const std::string& path);
int save_invoices(ServerDatabase& db, const std::string& path);
int save_invoice(ServerDatabase& db, int n, const std::string& path);

}  // namespace stk::server
