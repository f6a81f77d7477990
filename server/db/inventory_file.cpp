// The inventory table and "inventory.txt".
#include "server/db/inventory_file.h"

#include <bit>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "common/dates.h"
#include "common/text_field.h"
#include "platform/durable_file.h"
#include "platform/huge_page_allocator.h"
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

namespace {

// Item numbers (exact letter case) that own a layer, as views into the tables, whose slots stay where they
// are: open addressing in one block, so that a start-up's 300,000 lookups and inserts allocate nothing.
class NumberSet {
public:
    explicit NumberSet(std::size_t expected) : slots_(std::bit_ceil(2 * expected + 16)) {}

    bool contains(std::string_view number) const {
        if (number.empty()) return has_empty_;
        for (std::size_t at = start(number);; at = (at + 1) & (slots_.size() - 1)) {
            if (slots_[at].empty()) return false;
            if (slots_[at] == number) return true;
        }
    }
    void insert(std::string_view number) {
        if (number.empty()) {
            has_empty_ = true;
            return;
        }
        if (2 * (used_ + 1) > slots_.size()) grow();
        std::size_t at = start(number);
        for (; !slots_[at].empty(); at = (at + 1) & (slots_.size() - 1)) {
            if (slots_[at] == number) return;
        }
        slots_[at] = number;
        ++used_;
    }

private:
    std::size_t start(std::string_view number) const {
        return std::hash<std::string_view>{}(number) & (slots_.size() - 1);
    }
    void grow() {
        Slots old(slots_.size() * 2);
        old.swap(slots_);
        used_ = 0;
        for (std::string_view number : old) {
            if (!number.empty()) insert(number);
        }
    }

    using Slots = std::vector<std::string_view, platform::HugePageAllocator<std::string_view>>;
    Slots slots_;
    std::size_t used_ = 0;
    bool has_empty_ = false;
};

// The save that ends a load: only a file whose bytes change is written. Lines adopted as they were read are
// not formatted at all, the others are, and compared with what was read; at capacity the two rewrites with
// their fsyncs were much of a start-up, for files that were already what they would become.
struct Loaded {
    bool items_unchanged = false;   // db.item_lines is the file as read
    bool layers_unchanged = false;  // db.layer_lines is the file as read
    std::string_view items_read;    // the files as read, where not adopted
    std::string_view layers_read;
};

int save_loaded(ServerDatabase& db, const Loaded& loaded) {
    try {
        refresh_inventory_images(db);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (!loaded.items_unchanged && db.item_lines.text() != loaded.items_read &&
        !db.succeeded(platform::write_file_durably(*db.files, db.paths.inventory, db.item_lines.text()))) {
        return 0;
    }
    if (db.inventory.count == 0) {
        if (db.layers.count == 0 && (loaded.layers_unchanged || loaded.layers_read.empty())) return 1;
        return save_layers(db, db.paths.layers, LayerSaveMode::Normal);
    }
    if (loaded.layers_unchanged || db.layer_lines.text() == loaded.layers_read) return 1;
    return db.succeeded(platform::write_file_durably(*db.files, db.paths.layers, db.layer_lines.text())) ? 1 : 0;
}

}  // namespace

int load_inventory(ServerDatabase& db, const std::string& inventory_path, const std::string& layers_path) {
    db.forget_derived();
    db.inventory.count = 0;
    db.search_marks.count = 0;
    db.layers.count = 0;
    db.inventory.commit_for(0);
    db.search_marks.commit_for(0);
    db.layers.commit_for(0);

    platform::BigText layers_text;
    if (!load_layers(db, layers_path, &layers_text)) {
        db.log_line("Unable to load inventory fifo data.\r\n");
        return 0;
    }
    const int layers_in_file = db.layers.count;
    const bool layers_adopted = db.layer_lines.current(layers_in_file);

    platform::BigText text;
    switch (it::read_or_create(*db.files, inventory_path, text)) {
        case it::ReadOutcome::Ok: break;
        case it::ReadOutcome::NoMemory: db.log_line("Unable to allocate memory for loading inventory.\r\n"); return 0;
        default: return 0;
    }
    if (text.empty()) return 1;
    // Else one record at a time. Each item may bring a layer of its own.
    const int lines = it::line_count_at_most(text, db.max_items);
    (void)(db.inventory.make_room(lines) && db.search_marks.make_room(lines) &&
           db.layers.make_room(std::min(db.layers.count + lines, 2 * db.max_items)));

    NumberSet layered(static_cast<std::size_t>(db.layers.count + lines));
    for (int i = 1; i <= db.layers.count; ++i) layered.insert(field(db.layers[i].item_number));
    const std::string today_text = today();

    bool as_written = it::ends_every_line(text);
    const bool read_all = it::for_each_line(text, [&](std::string_view line) {
        if (line.size() >= it::kMaxLineLength) return false;
        if (db.inventory.count >= db.max_items || !grow_inventory_for_one(db)) return false;
        InventoryRecord& item = db.inventory[db.inventory.count + 1];
        item = InventoryRecord{};
        bool same = false;
        if (!parse_item_line(line, item, &same)) return false;
        as_written = as_written && same;
        if (!same) clean_record(item);
        count_new_item(db);

        const std::string_view number = field(item.item_number);
        if (!layered.contains(number)) {
            const FifoLayer layer =
                make_layer(number, field(item.quantity), field(item.standard_unit_cost), today_text, "INITIAL");
            // A layer that cannot be added is logged by the append; the item loads all the same.
            if (append_layer(db, layer)) layered.insert(number);
        }
        return true;
    });
    if (!read_all) return 0;
    Loaded loaded;
    loaded.layers_unchanged = layers_adopted && db.layers.count == layers_in_file;
    loaded.layers_read = layers_text;
    // Lines that formatting would give back unchanged need not be formatted at all.
    loaded.items_unchanged = as_written;
    if (as_written) {
        db.item_lines.adopt(std::move(text));
    } else {
        loaded.items_read = text;
    }
    return save_loaded(db, loaded);
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
