#include "server/db/item_index.h"

#include "common/text_field.h"

namespace stk::server {

namespace {

std::string key_of(const InventoryRecord& item) { return upper_1252(field(item.item_number)); }

}  // namespace

int ItemIndex::find(const Table<InventoryRecord>& items, std::string_view number) {
    if (number.size() >= sizeof(InventoryRecord::item_number)) return 0;  // no stored number is that long
    catch_up(items);
    const std::string key = upper_1252(number);
    auto it = first_.find(key);
    if (it != first_.end() && !field_equals_upper(items[it->second].item_number, key)) {
        // The number was changed in place without a word: start again from the table.
        build(items);
        it = first_.find(key);
    }
    return it == first_.end() ? 0 : it->second;
}

void ItemIndex::renumbered(int slot, std::string_view old_number, std::string_view new_number) {
    if (!built_ || slot > indexed_) return;  // not indexed yet: taken in with its new number
    if (duplicates_) return forget();
    const std::string old_key = upper_1252(old_number);
    if (auto it = first_.find(old_key); it != first_.end() && it->second == slot) first_.erase(it);
    if (!first_.emplace(upper_1252(new_number), slot).second) forget();
}

void ItemIndex::removed(int slot) {
    if (!built_ || slot > indexed_) return;  // nothing indexed there yet
    if (duplicates_) return forget();
    for (auto it = first_.begin(); it != first_.end();) {
        if (it->second == slot) {
            it = first_.erase(it);
            continue;
        }
        if (it->second > slot) it->second -= 1;
        ++it;
    }
    indexed_ -= 1;
}

void ItemIndex::forget() {
    built_ = false;
    first_.clear();
    indexed_ = 0;
    duplicates_ = false;
}

void ItemIndex::catch_up(const Table<InventoryRecord>& items) {
    if (!built_ || items.count < indexed_) return build(items);
    for (int slot = indexed_ + 1; slot <= items.count; ++slot) {
        // The first slot keeps the number; a later one that differs only in case is a duplicate.
        if (!first_.emplace(key_of(items[slot]), slot).second) duplicates_ = true;
    }
    indexed_ = items.count;
}

void ItemIndex::build(const Table<InventoryRecord>& items) {
    forget();
    built_ = true;
    first_.reserve(static_cast<std::size_t>(items.count));
    catch_up(items);
}

}  // namespace stk::server
