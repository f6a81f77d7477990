// The inventory table and "inventory.txt".
#include "server/db/inventory_file.h"

#include <cstring>
#include <new>
#include <string>

#include "common/text_field.h"
#include "platform/durable_file.h"
#include "server/db/inventory_text.h"

namespace stk::server {

namespace it = inventory_text;

// The eighth column (index 7) is a leftover of an older layout: always written empty, never read.
bool parse_item_line(std::string_view line, InventoryRecord& r, bool* as_written) {
    const auto cols = it::split_columns(line);
    if (as_written) {
        *as_written = cols.count == 16 && !cols.more && !cols.trimmed && cols.at[7].empty() && it::plain_line(line);
    }
    auto col = [&](std::size_t i) { return it::column_at(cols, i); };
    return it::place_column(r.item_number, col(0)) && it::place_column(r.description, col(1)) &&
           it::place_column(r.remark, col(2)) && it::place_column(r.unit_price, col(3)) &&
           it::place_column(r.quantity, col(4)) && it::place_column(r.minimum_quantity, col(5)) &&
           it::place_column(r.sold_quantity, col(6)) && it::place_column(r.unaccounted_quantity, col(8)) &&
           it::place_column(r.category, col(9)) && it::place_column(r.location, col(10)) &&
           it::place_column(r.standard_unit_cost, col(11)) && it::place_column(r.gross_profit, col(12)) &&
           it::place_column(r.markup, col(13)) && it::place_column(r.note, col(14)) &&
           it::place_column(r.last_audit_date, col(15));
}

void append_item_line(std::string& out, const InventoryRecord& r) {
    it::append_line(out, {field(r.item_number), field(r.description), field(r.remark), field(r.unit_price),
                          field(r.quantity), field(r.minimum_quantity), field(r.sold_quantity),
                          std::string_view(),  // the eighth column
                          field(r.unaccounted_quantity), field(r.category), field(r.location),
                          field(r.standard_unit_cost), field(r.gross_profit), field(r.markup), field(r.note),
                          field(r.last_audit_date)});
}

void clean_record(InventoryRecord& r) {
    it::clean_field(r.item_number);
    it::clean_field(r.description);
    it::clean_field(r.remark);
    it::clean_field(r.unit_price);
    it::clean_field(r.quantity);
    it::clean_field(r.minimum_quantity);
    it::clean_field(r.sold_quantity);
    it::clean_field(r.unaccounted_quantity);
    it::clean_field(r.category);
    it::clean_field(r.location);
    it::clean_field(r.standard_unit_cost);
    it::clean_field(r.gross_profit);
    it::clean_field(r.markup);
    it::clean_field(r.note);
    it::clean_field(r.last_audit_date);
}

bool grow_inventory_for_one(ServerDatabase& db) {
    if (db.inventory.grow_for_one() && db.search_marks.grow_for_one()) return true;
    db.inventory.commit_for(db.inventory.count);
    db.search_marks.commit_for(db.search_marks.count);
    return false;
}

void count_new_item(ServerDatabase& db) {
    db.inventory.count += 1;
    db.search_marks.count = db.inventory.count;
    db.search_marks[db.search_marks.count] = 0;
}

void drop_last_item(ServerDatabase& db) {
    if (db.inventory.count <= 0) return;
    db.inventory.count -= 1;
    db.search_marks.count = db.inventory.count;
    db.inventory.commit_for(db.inventory.count);
    db.search_marks.commit_for(db.search_marks.count);
}

bool remove_item(ServerDatabase& db, int slot) {
    const int count = db.inventory.count;
    if (slot < 1 || slot > count) return false;
    const auto later = static_cast<std::size_t>(count - slot);
    std::memmove(&db.inventory[slot], &db.inventory[slot + 1], later * sizeof(InventoryRecord));
    if (db.search_marks.count >= count) {
        std::memmove(&db.search_marks[slot], &db.search_marks[slot + 1], later);
    }
    db.inventory.count = count - 1;
    db.search_marks.count = db.inventory.count;
    db.item_index.removed(slot);
    const bool items_ok = db.inventory.trim();
    const bool marks_ok = db.search_marks.trim();
    return items_ok && marks_ok;
}

StockedNumbers::StockedNumbers(const ServerDatabase& db) {
    upper_.reserve(static_cast<std::size_t>(db.inventory.count));
    for (int slot = 1; slot <= db.inventory.count; ++slot) {
        upper_.insert(upper_1252(field(db.inventory[slot].item_number)));
    }
}

int find_item(const ServerDatabase& db, std::string_view item_number) {
    return db.item_index.find(db.inventory, item_number);
}

void refresh_inventory_images(ServerDatabase& db) {
    db.item_lines.refresh(db.inventory.count,
                          [&](int slot, std::string& out) { append_item_line(out, db.inventory[slot]); });
    db.layer_lines.refresh(db.layers.count,
                           [&](int slot, std::string& out) { append_layer_line(out, db.layers[slot]); });
}

int save_inventory(ServerDatabase& db, const std::string& inventory_path, LayerSaveMode mode) {
    DatabasePaths paths = db.paths;
    paths.inventory = inventory_path;
    return save_inventory_to(db, paths, mode);
}

int save_inventory_to(ServerDatabase& db, const DatabasePaths& paths, LayerSaveMode mode) {
    db.item_lines.forget();
    db.layer_lines.forget();
    return save_inventory_lines(db, paths, mode);
}

int save_inventory_changes(ServerDatabase& db) { return save_inventory_lines(db, db.paths, LayerSaveMode::Normal); }

int save_inventory_lines(ServerDatabase& db, const DatabasePaths& paths, LayerSaveMode mode) {
    // With no items both files are written empty: leaving the old files would bring deleted items back at
    // the next start.
    try {
        db.item_lines.refresh(db.inventory.count,
                              [&](int slot, std::string& out) { append_item_line(out, db.inventory[slot]); });
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (!db.succeeded(platform::write_file_durably(*db.files, paths.inventory, db.item_lines.text()))) return 0;
    return save_layers(db, paths.layers, mode);
}

}  // namespace stk::server
