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
}

}  // namespace stk::server
