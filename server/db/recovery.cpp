#include "server/db/recovery.h"

#include <string>
#include <vector>

#include "platform/durable_file.h"
#include "server/db/inventory_file.h"
#include "server/db/journal_record.h"
#include "server/db/message_file.h"

namespace stk::server {

namespace {

void log_with_path(const ServerDatabase& db, const std::string& text, const std::string& path) {
    db.log_line(text);
    db.log_line(path);
    db.log_line("\r\n");
}

// The journal restored what a cut-short growth left out, or the log says what is gone.
void report_torn_invoices(const ServerDatabase& db, const TornInvoices& torn, const AppliedChanges& applied) {
    if (!torn.found) return;
    if (db.invoices.count >= torn.counted && !applied.invoices.empty()) return;
    log_with_path(db,
                  "Invoice database was cut short while it grew. Kept the " + std::to_string(torn.kept) +
                      " whole invoices of the " + std::to_string(torn.counted) + " it counts, and left out " +
                      std::to_string(torn.dropped_bytes) + " bytes after them:\r\n",
                  db.paths.invoices);
}

// Writes what the records (or a repaired invoice file) changed; false when some file could not be written.
bool save_recovered(ServerDatabase& db, const TornInvoices& torn, const AppliedChanges& applied) {
    bool saved = true;
    if (applied.inventory && save_inventory_to(db, db.paths) != 1) {
        db.inventory_unsaved = true;
        saved = false;
    }
    if (torn.found) {
        if (db.invoices.count > 0 ? save_invoices(db, db.paths.invoices) != 1
                                  : !db.succeeded(platform::write_file_durably(*db.files, db.paths.invoices, ""))) {
            db.invoices_unsaved = true;
            saved = false;
        }
    } else if (!applied.invoices.empty() && save_invoice_slots(db, applied.invoices, db.paths.invoices) != 1) {
        db.invoices_unsaved = true;
        saved = false;
    }
    if (applied.messages && save_messages(db, db.paths.messages) != 1) {
        db.messages_unsaved = true;
        saved = false;
    }
    return saved;
}

}  // namespace

bool recover_from_journal(ServerDatabase& db, const TornInvoices& torn) {
    const bool existed = db.files->exists(db.paths.journal);
    std::vector<std::string> records;
    if (!db.succeeded(db.journal.open(*db.files, db.paths.journal, &records))) {
        if (existed) {
            log_with_path(db, "Unable to read the journal:\r\n", db.paths.journal);
            db.log_line(db.last_failure.message() + "\r\n");
            return false;
        }
        // Nothing to apply; changes answer 4 until the journal can be made.
        log_with_path(db, "Unable to create the journal:\r\n", db.paths.journal);
        db.log_line(db.last_failure.message() + "\r\n");
    }

    AppliedChanges applied;
    for (const std::string& record : records) {
        if (!apply_changes(db, record, &applied)) {
            db.journal.close();
            log_with_path(db, "Unable to apply the journal to the databases:\r\n", db.paths.journal);
            return false;
        }
    }
    if (applied.records > 0) {
        log_with_path(
            db,
            "Changes kept in the journal were applied to the databases (" + std::to_string(applied.records) + "):\r\n",
            db.paths.journal);
    }
    report_torn_invoices(db, torn, applied);

    if (!save_recovered(db, torn, applied)) {
        // The journal keeps the records; new ones follow them until a whole save works.
        db.log_line("The databases could not be saved at start-up; the journal keeps their changes.\r\n");
        db.log_line(db.last_failure.message() + "\r\n");
        return true;
    }
    if (db.journal.is_open() && !db.succeeded(db.journal.clear())) {
        // The files hold everything: applying the records again at the next start changes nothing.
        db.log_line(db.last_failure.message() + "\r\n");
    }
    return true;
}

}  // namespace stk::server
