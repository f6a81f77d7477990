#include "server/db/layer_index.h"

#include <algorithm>
#include <iterator>

#include "common/text_field.h"

namespace stk::server {

const std::vector<int>& LayerIndex::of(const Table<FifoLayer>& layers, std::string_view number) {
    static const std::vector<int> kNone;
    catch_up(layers);
    const auto it = slots_.find(upper_1252(number));
    return it == slots_.end() ? kNone : it->second;
}

void LayerIndex::renumbered(std::string_view old_number, std::string_view new_number) {
    const std::string old_key = upper_1252(old_number);
    const std::string new_key = upper_1252(new_number);
    if (!built_ || old_key == new_key) return;
    const auto old_it = slots_.find(old_key);
    if (old_it == slots_.end()) return;
    const std::vector<int> moved = std::move(old_it->second);
    slots_.erase(old_it);
    // Layers of the new number may exist already (an item of that number was deleted once): both lists keep
    // their age order.
    std::vector<int>& into = slots_[new_key];
    std::vector<int> merged;
    merged.reserve(into.size() + moved.size());
    std::merge(into.begin(), into.end(), moved.begin(), moved.end(), std::back_inserter(merged));
    into = std::move(merged);
}

void LayerIndex::forget() {
    built_ = false;
    slots_.clear();
    indexed_ = 0;
}

void LayerIndex::catch_up(const Table<FifoLayer>& layers) {
    if (!built_ || layers.count < indexed_) {
        forget();
        built_ = true;
    }
    for (int slot = indexed_ + 1; slot <= layers.count; ++slot) {
        slots_[upper_1252(field(layers[slot].item_number))].push_back(slot);
    }
    indexed_ = layers.count;
}

}  // namespace stk::server
