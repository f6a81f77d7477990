// Which slots of the tables a request changed, noted by the request as it changes them. The journal record
// takes the after-images of exactly those slots from the tables when it is written (journal_record.h), and
// the write-through writes the files they belong to (write_through.h).
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace stk::server {

struct ServerDatabase;

class ChangeSet {
public:
    // Notes the layer count: every layer slot above it that the request fills counts as changed.
    explicit ChangeSet(const ServerDatabase& db);
    ChangeSet() = default;  // for gathering sets

    // The item at `slot` changed (or was added). Its cost layers are noted apart, with layers_of.
    void item(int slot) { items_.insert(slot); }
    // Every item from `slot` on moved down one slot (one was removed).
    void items_from(int slot);
    // Layers carrying this item number (compared without regard to case) may have changed.
    void layers_of(std::string_view item_number);
    // The request saves the inventory files even where no slot of them changed.
    void inventory() { inventory_ = true; }
    void invoice(int slot) { invoices_.insert(slot); }
    void message(int slot) { messages_.insert(slot); }
    // Every message from `slot` on moved down one slot (one was removed).
    void messages_from(int slot);

    // Adds another set's notes: the result covers everything either covers.
    void merge(const ChangeSet& other);
    void clear() { *this = ChangeSet(); }
    bool empty() const { return !touches_inventory() && !touches_invoices() && !touches_messages(); }

    bool touches_inventory() const {
        return inventory_ || !items_.empty() || items_from_ > 0 || !layer_numbers_.empty();
    }
    bool touches_invoices() const { return !invoices_.empty(); }
    bool touches_messages() const { return !messages_.empty() || messages_from_ > 0; }

    const std::set<int>& items() const { return items_; }
    int items_from() const { return items_from_; }                                 // 0: none moved
    const std::set<std::string>& layer_numbers() const { return layer_numbers_; }  // upper-cased
    const std::set<int>& invoices() const { return invoices_; }
    const std::set<int>& messages() const { return messages_; }
    int messages_from() const { return messages_from_; }  // 0: none moved

    // The layer count before the request (the lowest of the gathered ones), -1 when unknown.
    int layers_before() const { return layers_before_; }

private:
    std::set<int> items_;
    int items_from_ = 0;
    std::set<std::string> layer_numbers_;
    bool inventory_ = false;
    std::set<int> invoices_;
    std::set<int> messages_;
    int messages_from_ = 0;
    int layers_before_ = -1;
};

}  // namespace stk::server
