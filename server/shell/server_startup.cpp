#include "server/shell/server_startup.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/app_data.h"
#include "platform/instance_lock.h"
#include "platform/shop_key.h"
#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/db/invoice_preload.h"
#include "server/db/message_file.h"
#include "server/db/recovery.h"
#include "server/shell/new_database_set.h"
#include "server/shell/pointer_file.h"

namespace stk::server {

namespace {

void note(const std::string& text) {
    std::fputs(("StockavelleServer: " + text + "\n").c_str(), stderr);
    std::fflush(stderr);
}

bool make_folder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

// A folder the pointer file could not name again is refused where it is chosen, before anything is made.
bool refuse_long_folder(ServerDatabase& db, const std::string& folder) {
    if (fits_pointer_file(folder)) return false;
    db.log_line(kSetPathTooLong);
    db.log_line(folder);
    db.log_line("\r\n");
    return true;
}

// nullopt when a folder given on the command line was refused (logged).
std::optional<LocationChoice> location_from_options(StartupUi& ui, const StartupOptions& options, ServerDatabase& db) {
    const std::optional<std::string> pointer = read_pointer_file();
    LocationChoice choice;
    if (options.new_set) {
        choice.folder = absolute_folder(*options.new_set);
        if (refuse_long_folder(db, choice.folder)) return std::nullopt;
        if (!make_folder(choice.folder)) note("cannot create the folder " + choice.folder);
        choice.new_set.create = true;
        choice.new_set.carry_inventory = options.carry_inventory;
        choice.new_set.carry_invoices = options.carry_invoices;
        choice.new_set.carry_messages = options.carry_messages;
        const std::optional<std::string> current = options.database_set ? options.database_set : pointer;
        if (current) choice.new_set.source = DatabasePaths::in_folder(absolute_folder(*current));
        return choice;
    }
    if (options.database_set) {
        choice.folder = absolute_folder(*options.database_set);
        if (refuse_long_folder(db, choice.folder)) return std::nullopt;
        if (!make_folder(choice.folder)) note("cannot create the folder " + choice.folder);
        return choice;
    }
    return ui.ask_location(pointer);
}

}  // namespace

std::string absolute_folder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(folder, ec);
    if (ec) return folder;
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

bool ServerRuntime::shutdown() {
    if (listener) {
        listener->close();
        listener.reset();
    }
    dispatcher.reset();
    // Once only: the destructor ends here too.
    if (!ended_) {
        saved_at_end_ = save_before_exit(db);
        ended_ = true;
    }
    db.release();
    return saved_at_end_;
}

void check_other_instance(StartupUi& ui) {
    if (platform::server_instance_running()) ui.warn_another_instance();
    platform::hold_server_instance();
}

StartupOutcome start_server(StartupUi& ui, ServerRuntime& rt, const StartupOptions& options) {
    ServerDatabase& db = rt.db;
    db.log = [&ui](std::string_view text) { ui.append_log(text); };
    auto fail = [&]() {
        db.log_line(kInitializationFailure);
        return StartupOutcome::Failed;
    };
    // A failure text, then the file it is about on a line of its own.
    auto log_with_path = [&](std::string_view text, const std::string& path) {
        db.log_line(text);
        db.log_line(path);
        db.log_line("\r\n");
    };

    // Where the databases live.
    const std::optional<LocationChoice> chosen = location_from_options(ui, options, db);
    if (!chosen) return fail();
    const LocationChoice& location = *chosen;
    if (location.exit) return StartupOutcome::Exit;
    rt.folder = location.folder;
    const bool new_set = location.new_set.create;
    if (!rt.folder.empty()) db.paths = DatabasePaths::in_folder(rt.folder);

    // One set, one server: held before the first file of the set is read, or made for a new set.
    if (!rt.folder.empty()) {
        const std::string lock_path = (rt.folder.back() == '/' ? rt.folder : rt.folder + "/") + kSetLockFileName;
        switch (rt.set_lock.take(lock_path)) {
        case platform::ExclusiveFileLock::Outcome::Held:
            break;
        case platform::ExclusiveFileLock::Outcome::Busy:
            log_with_path(kSetInUse, rt.folder);
            return fail();
        case platform::ExclusiveFileLock::Outcome::Failed:
            note("cannot lock " + lock_path + ": " + std::strerror(rt.set_lock.error()));
            log_with_path(kSetNotLockable, rt.folder);
            return fail();
        }
    }

    // The set's settings, unless this run creates the set.
    if (!new_set && load_settings(db.paths.settings, rt.settings) != 1) {
        db.log_line("Unable to load application settings.\r\n");
        db.log_line(db.paths.settings);
        db.log_line("\r\nUsing default settings.\r\n");
    }
    // A name line with nothing after the "=" means the default name.
    if (rt.settings.server_name.empty()) rt.settings.server_name = kDefaultServerName;
    if (rt.settings.client_name.empty()) rt.settings.client_name = kDefaultClientName;

    // A negative capacity cannot be reserved; it fails here rather than wrapping into a huge size.
    if (rt.settings.max_items < 0 || rt.settings.max_invoices < 0 ||
        !db.reserve(rt.settings.max_items, rt.settings.max_invoices)) {
        db.log_line("Unable to reserve required memory. System memory and/or hard disk space might be low.\r\n");
        return fail();
    }

    if (new_set && create_database_set(db, location.new_set, options.program_folder) != 1) {
        db.log_line(
            "Unable to initialize new database set. The selected location might already contain company information "
            "or the destination drive might be full or inaccessible.\r\n");
        return fail();
    }

    // Whatever was not carried into a new set is loaded from the set's files. Without a folder there is
    // nothing to load.
    const bool have_folder = !rt.folder.empty();
    const bool load_invoice_file = have_folder && !(new_set && location.new_set.carry_invoices);
    InvoicePreload invoices_read;  // reads "invoices.dat" while the inventory loads
    if (load_invoice_file && db.files == &platform::posix_file_system()) {
        invoices_read.start(db.paths.invoices, db.invoices);
    }
    if (!(new_set && location.new_set.carry_inventory) &&
        (!have_folder || load_inventory(db, db.paths.inventory, db.paths.layers) != 1)) {
        log_with_path("Unable to load inventory database.\r\n", db.paths.inventory);
        return fail();
    }
    TornInvoices torn;  // a growth of "invoices.dat" that a crash cut short is loaded up to its last whole invoice
    if (!(new_set && location.new_set.carry_invoices) &&
        (!have_folder || load_invoices(db, db.paths.invoices, &torn, &invoices_read) != 1)) {
        log_with_path("Unable to load invoices database.\r\n", db.paths.invoices);
        return fail();
    }
    if (!(new_set && location.new_set.carry_messages) &&
        (!have_folder || load_messages(db, db.paths.messages) != 1)) {
        log_with_path("Unable to load messages database.\r\n", db.paths.messages);
        return fail();
    }
    // What a crash kept from reaching the files is in the journal.
    if (!recover_from_journal(db, torn)) return fail();

    // The server name: given on the command line, or asked for.
    std::string name = rt.settings.server_name;
    ServerNameOutcome outcome = ServerNameOutcome::Start;
    if (options.server_name) {
        name = options.server_name->substr(0, kMaxNameLength);
    } else {
        outcome = ui.ask_server_name(name);
    }
    if (outcome == ServerNameOutcome::Exit) return StartupOutcome::Exit;
    if (outcome == ServerNameOutcome::Start) {
        rt.settings.server_name = name.empty() ? std::string(kDefaultServerName) : name;
        if (rt.settings.client_name.empty()) rt.settings.client_name = kDefaultClientName;
        if (save_settings(db.paths.settings, rt.settings) != 1) {
            log_with_path("An error occured while attempting to save Stockavelle Server settings.\r\n",
                          db.paths.settings);
        }
        ui.set_title("Stockavelle Server - " + rt.settings.server_name + " - " + rt.folder);
    }

    // Clients are let in only now that every database is loaded.
    DispatcherConfig config;
    config.client_name = rt.settings.client_name;
    config.ask_retry = [&ui](std::string_view text) { return ui.ask_retry(text); };
    rt.dispatcher = std::make_unique<Dispatcher>(db, std::move(config));
    rt.listener = std::make_unique<Listener>(*rt.dispatcher, TransportLimits{options.stall_timeout_ms});
    std::string why;
    bool listening = rt.listener->listen_local(rt.settings.server_name, &why);
    if (listening && options.listen_tcp)
        listening = rt.listener->listen_tcp(*options.listen_tcp, platform::shop_key_path(rt.folder), &why);
    if (!listening) {
        db.log_line(why + "\r\n");
        rt.listener->close();
        rt.listener.reset();
        db.log_line("Unable to initialize communications resource.\r\n");
        return fail();
    }

    // The next start offers this set again.
    write_pointer_file(rt.folder);
    db.log_line(kInitializationComplete);
    return StartupOutcome::Serving;
}

}  // namespace stk::server
