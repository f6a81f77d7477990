// A new database set: an empty folder that receives the copied default settings and, as chosen, the inventory,
// invoices and messages of the set that was current.
#include "server/shell/new_database_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/durable_file.h"
#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/db/message_file.h"
#include "server/handlers/inventory_ops.h"
#include "server/shell/server_settings.h"

namespace stk::server {

namespace {

std::string join(const std::string& folder, const char* name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The chosen folder must be a folder we can write into; a missing last folder of the path is made.
bool usable_folder(const std::string& folder) {
    if (folder.empty()) return false;
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT || ::mkdir(folder.c_str(), 0755) != 0) return false;
        if (::stat(folder.c_str(), &st) != 0) return false;
    }
    return S_ISDIR(st.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// The default settings are a convenience: when they cannot be copied, the set is created all the same.
void copy_default_settings(const std::string& program_folder, const std::string& target) {
    if (platform::file_exists(target)) return;
    std::string bytes;
    if (!platform::read_whole_file(join(program_folder, kDefaultSettingsFileName), bytes)) return;
    platform::write_file_durably(target, bytes);
}

// Loads read a missing file as empty but create it on the way; the source set must stay as it was, so a
// database that does not exist there is not loaded. The new set still gets its (empty) file: start-up does
// not load a carried database, and every later write expects the file to be there.
bool source_has(const std::string& path) { return platform::file_exists(path); }

bool carry_invoices(ServerDatabase& db, const DatabasePaths& source) {
    if (source_has(source.invoices) && !load_invoices(db, source.invoices)) return false;
    if (!save_invoices(db, db.paths.invoices)) return false;
    // With no invoices the save writes nothing; leave the empty file that a load would have made.
    return platform::file_exists(db.paths.invoices) || platform::write_file_durably(db.paths.invoices, "");
}

bool carry_inventory(ServerDatabase& db, const DatabasePaths& source, bool with_invoices) {
    // The load writes both files into the new set at once.
    if ((source_has(source.inventory) || source_has(source.layers)) &&
        !load_inventory(db, source.inventory, source.layers)) {
        return false;
    }
    if (!with_invoices) {
        // Without its invoices the history of the stock means nothing here: each cost layer starts again at
        // what is left of it, and the kept figures are recomputed against no sales.
        if (!save_inventory_to(db, db.paths, LayerSaveMode::Compacting)) return false;
        if (!load_inventory(db, db.paths.inventory, db.paths.layers)) return false;
        for (int slot = 1; slot <= db.inventory.count; ++slot) refresh_statistics(db, slot);
    }
    return save_inventory_to(db, db.paths) != 0;
}

bool carry_messages(ServerDatabase& db, const DatabasePaths& source) {
    if (source_has(source.messages) && !load_messages(db, source.messages)) return false;
    return save_messages(db, db.paths.messages) != 0;
}

}  // namespace

int create_database_set(ServerDatabase& db, const NewSetChoice& choice, const std::string& program_folder) {
    const DatabasePaths& target = db.paths;
    if (!usable_folder(target.folder)) return 0;
    const std::string databases[] = {target.inventory, target.layers, target.invoices, target.messages};
    for (const std::string& path : databases) {
        if (platform::file_exists(path)) return 0;
    }

    copy_default_settings(program_folder, target.settings);

    bool ok = true;
    if (ok && choice.carry_invoices) ok = carry_invoices(db, choice.source);
    if (ok && choice.carry_inventory) ok = carry_inventory(db, choice.source, choice.carry_invoices);
    if (ok && choice.carry_messages) ok = carry_messages(db, choice.source);
    if (ok) return 1;

    // None of the database files was there before: take back what this attempt wrote, so that the folder can
    // be chosen again once the cause is mended.
    for (const std::string& path : databases) {
        std::remove(path.c_str());
        std::remove((path + ".tmp").c_str());
    }
    return 0;
}

}  // namespace stk::server
