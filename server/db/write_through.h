// The one way a request's changes reach the disk.
//
//     ChangeSet changes(db);              // before the first change
//     ... change the tables, noting every changed slot in `changes` ...
//     return write_through(db, changes);
//
// write_through appends one journal record with the after-images of everything noted (and of anything earlier
// requests could not journal), returns from the disk only once the record is on it, and then writes the files
// the request touched, the way they have always been written: "inventory.txt" and "inventory fifo.txt" whole,
// each changed invoice slot in place, "messages.dat" whole. A crash anywhere in between is made good at the
// next start from the journal (recovery.h). See journal.h for the design.
#pragma once

#include "common/protocol.h"
#include "server/db/change_set.h"
#include "server/db/database.h"

namespace stk::server {

// RESULT_OK when the record and every file were written. RESULT_SAVE_FAILED otherwise: the change stays in
// memory, the databases whose files may now differ from memory are marked unsaved and are saved whole later
// (the dispatcher's save with retry, or the next request). When the record itself cannot be written no file is
// touched at all, so no file holds part of the request; the record is written with the next one that can be.
Result write_through(ServerDatabase& db, const ChangeSet& changes);

// Appends a record for db.unjournaled when it holds anything; true when nothing is left unjournaled. Whole-file
// saves call this first and do not write when it fails: a file may never get ahead of the journal, or the next
// start would apply older records over it.
bool journal_unjournaled(ServerDatabase& db);

// When every file holds everything in memory, the journal's records are spent and it starts again.
void settle_journal(ServerDatabase& db);

}  // namespace stk::server
