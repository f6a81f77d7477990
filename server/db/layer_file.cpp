// The cost-layer table and "inventory fifo.txt".
#include <new>
#include <string>

#include "common/number_text.h"
#include "common/text_field.h"
#include "platform/durable_file.h"
#include "server/db/inventory_file.h"
#include "server/db/inventory_text.h"

namespace stk::server {

namespace it = inventory_text;

bool parse_layer_line(std::string_view line, FifoLayer& layer, bool* as_written) {
    const auto cols = it::split_columns(line);
    if (as_written) *as_written = cols.count == 6 && !cols.more && !cols.trimmed && it::plain_line(line);
    auto col = [&](std::size_t i) { return it::column_at(cols, i); };
    return it::place_column(layer.item_number, col(0)) && it::place_column(layer.original_quantity, col(1)) &&
           it::place_column(layer.remaining_quantity, col(2)) && it::place_column(layer.unit_cost, col(3)) &&
           it::place_column(layer.date, col(4)) && it::place_column(layer.source, col(5));
}

void append_layer_line(std::string& out, const FifoLayer& layer) {
    it::append_line(out, {field(layer.item_number), field(layer.original_quantity), field(layer.remaining_quantity),
                          field(layer.unit_cost), field(layer.date), field(layer.source)});
}

void clean_layer(FifoLayer& layer) {
    it::clean_field(layer.item_number);
    it::clean_field(layer.original_quantity);
    it::clean_field(layer.remaining_quantity);
    it::clean_field(layer.unit_cost);
    it::clean_field(layer.date);
    it::clean_field(layer.source);
}

FifoLayer make_layer(std::string_view item_number, std::string_view quantity, std::string_view unit_cost,
                     std::string_view date, std::string_view source) {
    FifoLayer layer{};
    set_field(layer.item_number, item_number);
    set_field(layer.original_quantity, quantity);
    set_field(layer.remaining_quantity, quantity);
    set_field(layer.unit_cost, unit_cost);
    set_field(layer.date, date);
    set_field(layer.source, source);
    return layer;
}

namespace {

// The slot after the last layer, committed; not counted yet. nullptr (logged) when the table is full.
FifoLayer* next_layer_slot(ServerDatabase& db) {
    if (db.layers.count >= 2 * db.max_items) {
        db.log_line(kInventoryFullText);
        db.log_line("\r\n");
        return nullptr;
    }
    if (!db.layers.grow_for_one()) {
        db.log_line(kNoMemoryText);
        return nullptr;
    }
    return &db.layers[db.layers.count + 1];
}

}  // namespace

int load_layers(ServerDatabase& db, const std::string& layers_path, platform::BigText* text_read) {
    db.layer_index.forget();
    db.layer_lines.forget();
    db.layers.count = 0;
    db.layers.commit_for(0);
    platform::BigText text;
    if (it::read_or_create(*db.files, layers_path, text) != it::ReadOutcome::Ok) return 0;
    (void)db.layers.make_room(it::line_count_at_most(text, 2 * db.max_items));  // else one record at a time
    bool as_written = it::ends_every_line(text);
    const bool read_all = it::for_each_line(text, [&](std::string_view line) {
        if (line.size() >= it::kMaxLineLength) return false;
        // Straight into the table: a line as a save writes it needs no cleaning either.
        FifoLayer* slot = next_layer_slot(db);
        if (!slot) return false;
        FifoLayer& layer = *slot;
        layer = FifoLayer{};
        bool same = false;
        if (!parse_layer_line(line, layer, &same)) return false;
        as_written = as_written && same;
        if (!same) clean_layer(layer);
        db.layers.count += 1;
        return true;
    });
    if (!read_all) return 0;
    // The next save formats only the layers that change; *text_read is then left empty.
    if (as_written) {
        db.layer_lines.adopt(std::move(text));
    } else if (text_read) {
        *text_read = std::move(text);
    }
    return 1;
}

int append_layer(ServerDatabase& db, const FifoLayer& layer) {
    FifoLayer* slot = next_layer_slot(db);
    if (!slot) return 0;
    *slot = layer;
    clean_layer(*slot);
    db.layers.count += 1;
    return 1;
}

int save_layers(ServerDatabase& db, const std::string& layers_path, LayerSaveMode mode) {
    if (db.inventory.count == 0) {
        // No item owns a layer any more. The file is written empty (see save_inventory_to) and the table
        // follows it, so that what a restart loads is what the server holds now.
        db.layers.count = 0;
        db.layers.commit_for(0);
        db.layer_index.forget();
        db.layer_lines.forget();
        return db.succeeded(platform::write_file_durably(*db.files, layers_path, "")) ? 1 : 0;
    }
    if (mode == LayerSaveMode::Normal) {
        try {
            db.layer_lines.refresh(db.layers.count,
                                   [&](int slot, std::string& out) { append_layer_line(out, db.layers[slot]); });
        } catch (const std::bad_alloc&) {
            return 0;
        }
        return db.succeeded(platform::write_file_durably(*db.files, layers_path, db.layer_lines.text())) ? 1 : 0;
    }
    std::string text;
    try {
        text.reserve(static_cast<std::size_t>(db.layers.count) * 64);
        const StockedNumbers items(db);
        for (int i = 1; i <= db.layers.count; ++i) {
            FifoLayer& layer = db.layers[i];
            double remaining = 0.0;
            if (!is_number(field(layer.remaining_quantity), &remaining) || !(remaining > 0.0)) continue;
            if (!items.contains(field(layer.item_number))) continue;
            set_field(layer.original_quantity, field(layer.remaining_quantity));
            append_layer_line(text, layer);
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    // Kept layers now start again at what is left of them: their lines are formatted anew next time.
    db.layer_lines.forget();
    return db.succeeded(platform::write_file_durably(*db.files, layers_path, text)) ? 1 : 0;
}

}  // namespace stk::server
