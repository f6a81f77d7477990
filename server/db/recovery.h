// Start-up after a crash: the tables just loaded from the set's files are brought up to what the journal holds.
#pragma once

#include "server/db/database.h"
#include "server/db/invoice_file.h"

namespace stk::server {

// Call once the four tables are loaded (invoices with the repairing load, which fills `torn`). Opens the
// set's journal, applies every record it holds, writes the files those records touched (and an "invoices.dat"
// that was cut short) durably, and empties the journal.
//
// Returns false (logged) only when the journal cannot be opened although it exists, or holds a record this
// program cannot apply: it may hold acknowledged changes, so start-up stops and leaves it as it is. Any other
// trouble is logged and the server starts: files that cannot be written are marked unsaved and the journal
// keeps their changes, and a journal that cannot be created makes every change answer 4 until it can.
bool recover_from_journal(ServerDatabase& db, const TornInvoices& torn);

}  // namespace stk::server
