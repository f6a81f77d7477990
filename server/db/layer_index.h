// An item's cost layers: the slots whose number equals the item's without regard to case, oldest first,
// without a scan of the layer table.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/records.h"
#include "server/db/table.h"

namespace stk::server {

// Layers appended to the table are taken in when the index is next asked. Layers are never removed and keep
// their number, except where renumbered() is told so; anything else that rewrites the table (a load, the
// journal applied at start-up, the table emptied with the last item) calls forget(), and the index is built
// again when next asked.
class LayerIndex {
public:
    // Slots of the layers carrying this number, in ascending order. Valid until the next call on the index.
    const std::vector<int>& of(const Table<FifoLayer>& layers, std::string_view number);
    // Every layer of `old_number` (without regard to case) now carries `new_number`.
    void renumbered(std::string_view old_number, std::string_view new_number);
    void forget();

private:
    void catch_up(const Table<FifoLayer>& layers);

    std::unordered_map<std::string, std::vector<int>> slots_;
    int indexed_ = 0;  // slots 1..indexed_ are in slots_
    bool built_ = false;
};

}  // namespace stk::server
