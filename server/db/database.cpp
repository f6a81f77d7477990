#include "server/db/database.h"

namespace stk::server {

DatabasePaths DatabasePaths::in_folder(const std::string& folder) {
    std::string base = folder;
    if (!base.empty() && base.back() != '/') base += '/';
    DatabasePaths p;
    p.folder = folder;
    p.inventory = base + "inventory.txt";
    p.layers = base + "inventory fifo.txt";
    p.invoices = base + "invoices.dat";
    p.messages = base + "messages.dat";
    p.settings = base + "stockavelle server settings.txt";
    p.journal = base + "journal.dat";
    return p;
}

bool ServerDatabase::reserve(int items, int invoice_capacity) {
    forget_derived();
    max_items = items;
    max_invoices = invoice_capacity;
    if (items < 0 || invoice_capacity < 0) return false;  // would wrap into a huge size below
    const auto n_items = static_cast<std::size_t>(items);
    const auto n_invoices = static_cast<std::size_t>(invoice_capacity);
    return invoices.reserve(n_invoices + 1) && inventory.reserve(n_items + 1) && layers.reserve(2 * n_items + 2) &&
           search_marks.reserve(n_items + 1) && messages.reserve(kMaxMessages + 1);
}

void ServerDatabase::release() {
    invoices.release();
    inventory.release();
    layers.release();
    search_marks.release();
    messages.release();
    journal.close();
    unjournaled.clear();
    forget_derived();
}

void ServerDatabase::follow(const ChangeSet& changes) {
    invoice_index.changed(changes.invoices());
    if (!changes.touches_inventory()) return;
    // A request that removes an item notes its other slots as they are after the removal.
    if (changes.items_from() > 0) item_lines.removed(changes.items_from());
    for (int slot : changes.items()) item_lines.mark(slot);
    for (const std::string& number : changes.layer_numbers()) {
        for (int slot : layer_index.of(layers, number)) layer_lines.mark(slot);
    }
}

void ServerDatabase::forget_derived() {
    item_index.forget();
    layer_index.forget();
    invoice_index.forget();
    item_lines.forget();
    layer_lines.forget();
}

}  // namespace stk::server
