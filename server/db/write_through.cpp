#include "server/db/write_through.h"

#include <new>
#include <set>

#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/db/journal_record.h"
#include "server/db/message_file.h"

namespace stk::server {

namespace {

// The journal follows the set's folder; a journal opened here starts empty, since the tables already hold
// whatever an earlier run left in it (start-up applies it before any request).
bool journal_ready(ServerDatabase& db) {
    if (db.journal.is_open() && db.journal.path() == db.paths.journal) return true;
    return db.succeeded(db.journal.open_fresh(*db.files, db.paths.journal));
}

std::set<int> existing_invoices(const ServerDatabase& db, const std::set<int>& slots) {
    std::set<int> existing;
    for (int slot : slots) {
        if (slot >= 1 && slot <= db.invoices.count) existing.insert(slot);
    }
    return existing;
}

}  // namespace

bool journal_unjournaled(ServerDatabase& db) {
    if (db.unjournaled.empty()) return true;
    if (!journal_ready(db)) return false;
    std::string body;
    try {
        body = encode_changes(db, db.unjournaled);
    } catch (const std::bad_alloc&) {
        db.log_line(kNoMemoryText);
        return false;
    }
    if (!db.succeeded(db.journal.append(body))) return false;
    db.unjournaled.clear();
    return true;
}

void settle_journal(ServerDatabase& db) {
    if (db.inventory_unsaved || db.invoices_unsaved || db.messages_unsaved || !db.unjournaled.empty()) return;
    db.journal.restart();
}

Result write_through(ServerDatabase& db, const ChangeSet& changes) {
    db.follow(changes);
    if (changes.touches_inventory()) {
        // The changed lines are formatted once, for the journal record and the files alike. Without the
        // memory for it the record formats them itself and the save tries again.
        try {
            refresh_inventory_images(db);
        } catch (const std::bad_alloc&) {
        }
    }
    db.unjournaled.merge(changes);
    const bool journaled = journal_unjournaled(db);

    // Inventory, then invoices, then messages; after the first failure the rest is left for the whole saves.
    bool saved = journaled;
    if (changes.touches_inventory()) {
        if (saved) saved = save_inventory_changes(db) == 1;
        // A whole save that worked also mends an earlier failed one.
        db.inventory_unsaved = !saved;
    }
    if (changes.touches_invoices()) {
        if (saved) saved = save_invoice_slots(db, existing_invoices(db, changes.invoices()), db.paths.invoices) == 1;
        // One slot written in place does not mend an earlier failure elsewhere in the file.
        if (!saved) db.invoices_unsaved = true;
    }
    if (changes.touches_messages()) {
        if (saved) saved = save_messages(db, db.paths.messages) == 1;
        db.messages_unsaved = !saved;
    }
    if (!saved) return RESULT_SAVE_FAILED;
    settle_journal(db);
    return RESULT_OK;
}

}  // namespace stk::server
