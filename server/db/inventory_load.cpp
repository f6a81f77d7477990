// Loading "inventory.txt" and "inventory fifo.txt" into the tables, and the save that ends a load.
#include <bit>
#include <exception>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "common/dates.h"
#include "common/text_field.h"
#include "platform/durable_file.h"
#include "platform/huge_page_allocator.h"
#include "server/db/inventory_file.h"
#include "server/db/inventory_text.h"

namespace stk::server {

namespace {

namespace it = inventory_text;

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

// "inventory.txt" as read and put into the inventory table.
struct ItemsFile {
    it::ReadOutcome outcome = it::ReadOutcome::CannotOpen;
    platform::BigText text;
    bool parsed = false;      // the lines below were taken
    bool read_all = false;    // every line was taken
    bool as_written = false;  // every line is as a save writes it
};

// The item lines into the inventory table and its search marks, and nothing else of the database, so that a
// thread of its own may take them while the layers load.
void parse_items(ServerDatabase& db, ItemsFile& file) {
    const std::string_view text = file.text;
    const int lines = it::line_count_at_most(text, db.max_items);
    (void)(db.inventory.make_room(lines) && db.search_marks.make_room(lines));  // else record by record
    file.as_written = it::ends_every_line(text);
    file.read_all = it::for_each_line(text, [&](std::string_view line) {
        if (line.size() >= it::kMaxLineLength) return false;
        if (db.inventory.count >= db.max_items || !grow_inventory_for_one(db)) return false;
        InventoryRecord& item = db.inventory[db.inventory.count + 1];
        item = InventoryRecord{};
        bool same = false;
        if (!parse_item_line(line, item, &same)) return false;
        file.as_written = file.as_written && same;
        if (!same) clean_record(item);
        count_new_item(db);
        return true;
    });
    file.parsed = true;
}

// Reads and parses an existing "inventory.txt" on the real files, beside the layers' load. A missing file is
// left to the load, which creates it once the layers have loaded, as it always did.
void read_and_parse_items(ServerDatabase& db, const std::string& path, ItemsFile* file) {
    try {
        file->outcome = it::read_or_create(platform::posix_file_system(), path, file->text, /*create=*/false);
        if (file->outcome == it::ReadOutcome::Ok && !file->text.empty()) parse_items(db, *file);
    } catch (const std::exception&) {
        file->outcome = it::ReadOutcome::NoMemory;
        file->parsed = false;
    }
}

// Every item that owns no layer gets one: its stock at its standard cost, dated today.
void add_initial_layers(ServerDatabase& db) {
    (void)db.layers.make_room(std::min(db.layers.count + db.inventory.count, 2 * db.max_items));
    NumberSet layered(static_cast<std::size_t>(db.layers.count + db.inventory.count));
    for (int i = 1; i <= db.layers.count; ++i) layered.insert(field(db.layers[i].item_number));
    const std::string today_text = today();
    for (int slot = 1; slot <= db.inventory.count; ++slot) {
        const InventoryRecord& item = db.inventory[slot];
        const std::string_view number = field(item.item_number);
        if (layered.contains(number)) continue;
        const FifoLayer layer =
            make_layer(number, field(item.quantity), field(item.standard_unit_cost), today_text, "INITIAL");
        // A layer that cannot be added is logged by the append; the item loads all the same.
        if (append_layer(db, layer)) layered.insert(number);
    }
}

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

    // On the real files the items are read and parsed beside the layers (at capacity each takes some 50 ms);
    // a test's stand-in file system counts its calls one after the other, and gets them so.
    ItemsFile items;
    std::thread reader;
    if (db.files == &platform::posix_file_system()) {
        reader = std::thread(read_and_parse_items, std::ref(db), inventory_path, &items);
    }
    platform::BigText layers_text;
    const bool layers_loaded = load_layers(db, layers_path, &layers_text);
    if (reader.joinable()) reader.join();
    if (!layers_loaded) {
        // As if the items had never been read.
        db.inventory.count = 0;
        db.search_marks.count = 0;
        db.log_line("Unable to load inventory fifo data.\r\n");
        return 0;
    }
    const int layers_in_file = db.layers.count;
    const bool layers_adopted = db.layer_lines.current(layers_in_file);

    if (!items.parsed) {
        items.outcome = it::read_or_create(*db.files, inventory_path, items.text);
        switch (items.outcome) {
            case it::ReadOutcome::Ok: break;
            case it::ReadOutcome::NoMemory:
                db.log_line("Unable to allocate memory for loading inventory.\r\n");
                return 0;
            default: return 0;
        }
        if (items.text.empty()) return 1;
        parse_items(db, items);
    }
    if (!items.read_all) return 0;
    add_initial_layers(db);

    Loaded loaded;
    loaded.layers_unchanged = layers_adopted && db.layers.count == layers_in_file;
    loaded.layers_read = layers_text;
    // Lines that formatting would give back unchanged need not be formatted at all.
    loaded.items_unchanged = items.as_written;
    if (items.as_written) {
        db.item_lines.adopt(std::move(items.text));
    } else {
        loaded.items_read = items.text;
    }
    return save_loaded(db, loaded);
}

}  // namespace stk::server
