// "inventory.txt" and "inventory fifo.txt": loading, saving and lookups of the inventory and cost-layer tables.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>

#include "common/text_field.h"
#include "server/db/database.h"

namespace stk::server {

enum class LayerSaveMode {
    Normal,      // every layer as it is
    Compacting,  // only layers with stock left, each starting again at its remaining quantity
};

// Loads both files into the tables, then saves them back to db.paths (normal mode), leaving a file alone whose
// bytes would stay the same. 1 or 0.
int load_inventory(ServerDatabase& db, const std::string& inventory_path, const std::string& layers_path);
// Writes the inventory file and then the cost-layer file (db.paths.layers unless given), every line formatted
// afresh from the tables. 1 or 0.
int save_inventory(ServerDatabase& db, const std::string& inventory_path, LayerSaveMode mode = LayerSaveMode::Normal);
int save_inventory_to(ServerDatabase& db, const DatabasePaths& paths, LayerSaveMode mode = LayerSaveMode::Normal);
// The same into db.paths in normal mode, formatting only the lines marked in db.item_lines and db.layer_lines
// (ServerDatabase::follow marks a request's) and the lines of records added since the last save. 1 or 0.
int save_inventory_changes(ServerDatabase& db);
// Writes the files from the line images as they stand, formatting the marked lines first.
int save_inventory_lines(ServerDatabase& db, const DatabasePaths& paths, LayerSaveMode mode);
// Formats the marked lines of both images. May throw std::bad_alloc (the images are then forgotten).
void refresh_inventory_images(ServerDatabase& db);

// Loads the cost-layer file into the table. A file whose every line is as formatting would write it becomes
// db.layer_lines as it is; otherwise *text_read, when given, gets the file's bytes.
int load_layers(ServerDatabase& db, const std::string& layers_path, platform::BigText* text_read = nullptr);

// One item as its line of "inventory.txt", CR LF included, and a line (without CR LF) back into a record;
// parse_item_line is false when a column does not fit its field. The same for a cost layer and its line of
// "inventory fifo.txt".
// *as_written, when given, tells whether formatting the record gives back `line` exactly.
void append_item_line(std::string& out, const InventoryRecord& item);
bool parse_item_line(std::string_view line, InventoryRecord& item, bool* as_written = nullptr);
void append_layer_line(std::string& out, const FifoLayer& layer);
bool parse_layer_line(std::string_view line, FifoLayer& layer, bool* as_written = nullptr);
// A new cost layer: `quantity` units at `unit_cost`, none of them sold yet.
FifoLayer make_layer(std::string_view item_number, std::string_view quantity, std::string_view unit_cost,
                     std::string_view date, std::string_view source);
int append_layer(ServerDatabase& db, const FifoLayer& layer);
// Writes the cost-layer file: in normal mode from db.layer_lines (see save_inventory_lines). Called by the
// inventory saves only.
int save_layers(ServerDatabase& db, const std::string& layers_path, LayerSaveMode mode);

// Slot of the item with this number (case-insensitive), or 0.
int find_item(const ServerDatabase& db, std::string_view item_number);

// The item numbers of the whole stock, for passes that ask "is this an item?" of many numbers: the same answers
// as find_item(...) != 0, one lookup each instead of a scan of the stock.
class StockedNumbers {
public:
    explicit StockedNumbers(const ServerDatabase& db);
    bool contains(std::string_view number) const { return upper_.count(upper_1252(number)) != 0; }

private:
    std::unordered_set<std::string> upper_;
};

// Activity-log texts of the inventory and its cost layers.
inline constexpr std::string_view kInventoryFullText =
    "Please increase maximum size of inventory database and restart Stockavelle. Please see stockavelle client "
    "settings.txt and stockavelle server settings.txt.";

// Makes a record safe to store: TAB, CR and LF in its texts become blanks and the texts lose leading and
// trailing blanks, since either would otherwise break or change the line at the next start.
void clean_record(InventoryRecord& item);
void clean_layer(FifoLayer& layer);

// Commits room for one more item and its search mark (the new slot is not counted). false when it cannot.
bool grow_inventory_for_one(ServerDatabase& db);
// Counts the item already written into slot count + 1, with its search mark cleared.
void count_new_item(ServerDatabase& db);
// Forgets the last item again and gives back its pages.
void drop_last_item(ServerDatabase& db);
// Removes the item at `slot`; later items (and their search marks) move down one slot. false when the
// tables could not give back their pages (the item is removed all the same).
bool remove_item(ServerDatabase& db, int slot);

}  // namespace stk::server
