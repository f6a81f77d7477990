// "invoices.dat": a header, slot 0 and one InvoiceRecord image per invoice, single invoices written in place.
#pragma once

#include <string>

#include "server/db/database.h"

namespace stk::server {

int load_invoices(ServerDatabase& db, const std::string& path);
int save_invoices(ServerDatabase& db, const std::string& path);
int save_invoice(ServerDatabase& db, int n, const std::string& path);

}  // namespace stk::server
