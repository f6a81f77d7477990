#include "server/db/change_set.h"

#include <algorithm>

#include "common/text_field.h"
#include "server/db/database.h"

namespace stk::server {

namespace {

// The lower of two slot bounds where 0 (or -1) means "none".
int lower_bound_of(int a, int b) {
    if (a <= 0) return b;
    if (b <= 0) return a;
    return std::min(a, b);
}

}  // namespace

ChangeSet::ChangeSet(const ServerDatabase& db) : layers_before_(db.layers.count) {}

void ChangeSet::items_from(int slot) { items_from_ = lower_bound_of(items_from_, slot); }

void ChangeSet::layers_of(std::string_view item_number) { layer_numbers_.insert(upper_1252(item_number)); }

void ChangeSet::messages_from(int slot) { messages_from_ = lower_bound_of(messages_from_, slot); }

void ChangeSet::merge(const ChangeSet& other) {
    items_.insert(other.items_.begin(), other.items_.end());
    items_from_ = lower_bound_of(items_from_, other.items_from_);
    layer_numbers_.insert(other.layer_numbers_.begin(), other.layer_numbers_.end());
    inventory_ = inventory_ || other.inventory_;
    invoices_.insert(other.invoices_.begin(), other.invoices_.end());
    messages_.insert(other.messages_.begin(), other.messages_.end());
    messages_from_ = lower_bound_of(messages_from_, other.messages_from_);
    // layers_before counts from 0, so 0 is a real bound here.
    if (other.layers_before_ >= 0) {
        layers_before_ = layers_before_ < 0 ? other.layers_before_ : std::min(layers_before_, other.layers_before_);
    }
}

}  // namespace stk::server
