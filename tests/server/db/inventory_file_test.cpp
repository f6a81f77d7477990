#include <sys/stat.h>
#include <unistd.h>

#include "common/dates.h"
#include "server/db/inventory_file.h"
#include "tests/server/db/inventory_test_db.h"

namespace stk::server {
namespace {

using testing::InventoryDbTest;

const std::string kItemA = "A1\tHammer\tsteel\t12.50\t4\t1\t2\t\t0\tTools\tShelf 3\t8.00\t9.00\t56.25%\tnote\t01/02/2024\r\n";
const std::string kItemB = "b2\tNails\t\t0.10\t100\t\t0\t\t0\t\t\t0.05\t0.00\t100.00%\t\t\r\n";
const std::string kLayersA = "A1\t6\t4\t8.00\t01/01/2024\tINITIAL\r\n";

TEST_F(InventoryDbTest, LoadReadsBothFilesAddsMissingInitialLayersAndRewritesThem) {
    // Blanks around columns go, column 8 is ignored, the last line needs no CR LF, and a layer line with
    // three columns leaves the others empty.
    write(db.paths.inventory,
          "  A1 \tHammer \tsteel\t12.50\t4\t1\t2\tjunk\t0\tTools\tShelf 3\t8.00\t9.00\t56.25%\tnote\t01/02/2024\r\n"
          "b2\tNails\t\t0.10\t100\t\t0\t\t0\t\t\t0.05\t0.00\t100.00%");
    write(db.paths.layers, "A1\t6\t4\r\n");
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);

    ASSERT_EQ(db.inventory.count, 2);
    EXPECT_EQ(db.search_marks.count, 2);
    EXPECT_EQ(field(db.inventory[1].item_number), "A1");
    EXPECT_EQ(field(db.inventory[1].description), "Hammer");
    EXPECT_EQ(field(db.inventory[1].last_audit_date), "01/02/2024");
    EXPECT_EQ(field(db.inventory[2].quantity), "100");
    EXPECT_EQ(field(db.inventory[2].note), "");

    ASSERT_EQ(db.layers.count, 2);
    EXPECT_EQ(field(db.layers[1].unit_cost), "");
    EXPECT_EQ(field(db.layers[1].source), "");
    EXPECT_EQ(field(db.layers[2].item_number), "b2");
    EXPECT_EQ(field(db.layers[2].original_quantity), "100");
    EXPECT_EQ(field(db.layers[2].remaining_quantity), "100");
    EXPECT_EQ(field(db.layers[2].unit_cost), "0.05");
    EXPECT_EQ(field(db.layers[2].date), today());
    EXPECT_EQ(field(db.layers[2].source), "INITIAL");

    EXPECT_EQ(read(db.paths.inventory), kItemA + kItemB);
    EXPECT_EQ(read(db.paths.layers), "A1\t6\t4\t\t\t\r\nb2\t100\t100\t0.05\t" + today() + "\tINITIAL\r\n");
}

TEST_F(InventoryDbTest, LayerMatchForInitialLayerIsExactAndMissingFilesStartEmpty) {
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(db.inventory.count, 0);
    EXPECT_TRUE(std::filesystem::exists(db.paths.inventory));
    EXPECT_TRUE(std::filesystem::exists(db.paths.layers));
    EXPECT_EQ(read(db.paths.inventory), "");

    // A layer for "a1" does not count as a layer of "A1" when loading.
    write(db.paths.inventory, kItemA);
    write(db.paths.layers, "a1\t6\t4\t8.00\t01/01/2024\tINITIAL\r\n");
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    ASSERT_EQ(db.layers.count, 2);
    EXPECT_EQ(field(db.layers[2].item_number), "A1");
    EXPECT_EQ(field(db.layers[2].remaining_quantity), "4");
}

TEST_F(InventoryDbTest, ColumnAndLineLimits) {
    const std::string d63(63, 'd');
    write(db.paths.inventory, "X\t" + d63 + "\r\n");
    EXPECT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(field(db.inventory[1].description), d63);

    write(db.paths.inventory, "X\t" + d63 + "d\r\n");
    EXPECT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 0);

    // 32-byte fields take 31 characters.
    write(db.paths.inventory, "X\tY\t\t" + std::string(31, '1') + "\r\n");
    EXPECT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    write(db.paths.inventory, "X\tY\t\t" + std::string(32, '1') + "\r\n");
    EXPECT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 0);

    // Columns after the 16th are ignored, but the line as a whole must stay under 3328 characters.
    const std::string head = "X\tY" + std::string(14, '\t') + "\t";
    write(db.paths.inventory, head + std::string(3327 - head.size(), 'z') + "\r\n");
    EXPECT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    write(db.paths.inventory, head + std::string(3328 - head.size(), 'z') + "\r\n");
    EXPECT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 0);

    // A layer column too long fails the inventory load with its own log line.
    write(db.paths.inventory, kItemA);
    write(db.paths.layers, "A1\t6\t4\t8.00\t01/01/2024\t" + std::string(64, 's') + "\r\n");
    log.clear();
    EXPECT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 0);
    EXPECT_EQ(log, "Unable to load inventory fifo data.\r\n");
}

TEST_F(InventoryDbTest, LoadStopsAtCapacity) {
    db.release();
    open_db(2, 1);
    write(db.paths.inventory, kItemA + kItemB + "c3\tThird\r\n");
    EXPECT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 0);
    EXPECT_EQ(db.inventory.count, 2);  // what was read so far stays
    EXPECT_EQ(db.search_marks.count, 2);
}

TEST_F(InventoryDbTest, SaveAndLoadRoundTripIsByteIdentical) {
    const std::string inventory = kItemA + kItemB;
    const std::string layers = kLayersA + "b2\t100\t100\t0.05\t03/04/2024\tRECEIVED\r\n";
    write(db.paths.inventory, inventory);
    write(db.paths.layers, layers);
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(read(db.paths.inventory), inventory);
    EXPECT_EQ(read(db.paths.layers), layers);
    ASSERT_EQ(save_inventory(db, db.paths.inventory), 1);
    EXPECT_EQ(read(db.paths.inventory), inventory);
    EXPECT_EQ(read(db.paths.layers), layers);

    // Another folder through save_inventory_to gets the same bytes.
    const auto other = DatabasePaths::in_folder(folder + "/copy");
    std::filesystem::create_directory(other.folder);
    ASSERT_EQ(save_inventory_to(db, other), 1);
    EXPECT_EQ(read(other.inventory), inventory);
    EXPECT_EQ(read(other.layers), layers);
}

TEST_F(InventoryDbTest, CompactingSaveKeepsOnlyLayersWithStockOfExistingItems) {
    write(db.paths.inventory, kItemA + kItemB);
    write(db.paths.layers,
          "A1\t6\t4\t8.00\t01/01/2024\tINITIAL\r\n"   // kept, starts again at 4
          "A1\t5\t0\t8.50\t01/02/2024\tRECEIVED\r\n"  // spent
          "gone\t5\t5\t1.00\t01/02/2024\tINITIAL\r\n" // item no longer there
          "B2\t9\t\t1.00\t01/03/2024\tRECEIVED\r\n"   // empty remaining
          "b2\t9\tmany\t1.00\t01/03/2024\tRECEIVED\r\n"
          "B2\t9\t7\t0.05\t01/04/2024\tRECEIVED\r\n");  // kept: the item lookup ignores case
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    ASSERT_EQ(db.layers.count, 6);
    ASSERT_EQ(save_inventory(db, db.paths.inventory, LayerSaveMode::Compacting), 1);
    EXPECT_EQ(read(db.paths.layers),
              "A1\t4\t4\t8.00\t01/01/2024\tINITIAL\r\nB2\t7\t7\t0.05\t01/04/2024\tRECEIVED\r\n");
    EXPECT_EQ(db.layers.count, 6);
    EXPECT_EQ(field(db.layers[1].original_quantity), "4");
    EXPECT_EQ(field(db.layers[2].original_quantity), "5");  // left out of the file, unchanged in memory
}

TEST_F(InventoryDbTest, FindItemIgnoresCaseAndTakesTheFirstSlot) {
    write(db.paths.inventory, "abc\tx\r\n\xC4" "BC\ty\r\nABC\tz\r\n");  // Windows-1252 "ÄBC"
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(find_item(db, "ABC"), 1);
    EXPECT_EQ(find_item(db, "abc"), 1);
    EXPECT_EQ(find_item(db, "\xE4" "bc"), 2);
    EXPECT_EQ(find_item(db, "AB"), 0);
    EXPECT_EQ(find_item(db, ""), 0);
}

TEST_F(InventoryDbTest, SavingWithNoItemsWritesEmptyFiles) {
    write(db.paths.inventory, kItemA);
    write(db.paths.layers, kLayersA);
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    db.inventory.count = 0;
    db.search_marks.count = 0;
    ASSERT_EQ(save_inventory(db, db.paths.inventory), 1);
    EXPECT_EQ(read(db.paths.inventory), "");
    EXPECT_EQ(read(db.paths.layers), "");
    // What the server holds is what a restart loads.
    EXPECT_EQ(db.layers.count, 0);
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(db.inventory.count, 0);
    EXPECT_EQ(db.layers.count, 0);
}

TEST_F(InventoryDbTest, SavesReplaceTheFilesInsteadOfOverwritingThem) {
    write(db.paths.inventory, kItemA);
    write(db.paths.layers, kLayersA);
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);

    // A second name for the old files keeps the old bytes: the new contents went into a new file that
    // was renamed over the old name, so a crash mid-write can never leave a half-written list.
    const std::string old_inventory = folder + "/old inventory";
    const std::string old_layers = folder + "/old layers";
    ASSERT_EQ(::link(db.paths.inventory.c_str(), old_inventory.c_str()), 0);
    ASSERT_EQ(::link(db.paths.layers.c_str(), old_layers.c_str()), 0);
    set_field(db.inventory[1].description, "Claw hammer");
    ASSERT_EQ(save_inventory(db, db.paths.inventory), 1);
    EXPECT_EQ(read(old_inventory), kItemA);
    EXPECT_EQ(read(old_layers), kLayersA);
    EXPECT_NE(read(db.paths.inventory), kItemA);
    EXPECT_FALSE(std::filesystem::exists(db.paths.inventory + ".tmp"));

    // A save that cannot write leaves the old file whole and reports the failure.
    const auto missing = DatabasePaths::in_folder(folder + "/no such folder");
    EXPECT_EQ(save_inventory_to(db, missing), 0);
}

TEST_F(InventoryDbTest, LoadedTextThatWouldBreakALineIsCleaned) {
    // A lone LF or CR inside a column (a hand-edited file) is stored as a blank.
    write(db.paths.inventory, "A1\tHam\nmer\tx\rz\r\n");
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(field(db.inventory[1].description), "Ham mer");
    EXPECT_EQ(field(db.inventory[1].remark), "x z");

    InventoryRecord r{};
    set_field(r.item_number, "\tK9\r\n");
    set_field(r.note, " a\tb ");
    clean_record(r);
    EXPECT_EQ(field(r.item_number), "K9");
    EXPECT_EQ(field(r.note), "a b");
}

// Every line formatted afresh from the tables: what the kept images must equal after a load.
std::pair<std::string, std::string> formatted_afresh(const ServerDatabase& db) {
    std::string items, layers;
    for (int i = 1; i <= db.inventory.count; ++i) append_item_line(items, db.inventory[i]);
    for (int i = 1; i <= db.layers.count; ++i) append_layer_line(layers, db.layers[i]);
    return {items, layers};
}

ino_t inode_of(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST_F(InventoryDbTest, AFileAsWrittenIsKeptAndAnyOtherLineIsFormattedAfresh) {
    // Written as a save writes them: neither file is replaced, and a later save formats only what changed.
    const std::string layers = kLayersA + "b2\t100\t100\t0.05\t03/04/2024\tRECEIVED\r\n";
    write(db.paths.inventory, kItemA + kItemB);
    write(db.paths.layers, layers);
    const ino_t items_file = inode_of(db.paths.inventory), layers_file = inode_of(db.paths.layers);
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    EXPECT_EQ(inode_of(db.paths.inventory), items_file);
    EXPECT_EQ(inode_of(db.paths.layers), layers_file);
    EXPECT_EQ(std::string(db.item_lines.text()), kItemA + kItemB);
    EXPECT_EQ(std::string(db.layer_lines.text()), layers);
    set_field(db.inventory[2].quantity, "99");
    db.item_lines.mark(2);
    ASSERT_EQ(save_inventory_changes(db), 1);
    EXPECT_EQ(read(db.paths.inventory), formatted_afresh(db).first);

    // A layer file as written that lacks an item's layer gets it, after the ones it holds.
    write(db.paths.layers, kLayersA);
    ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1);
    ASSERT_EQ(db.layers.count, 2);
    EXPECT_EQ(read(db.paths.layers), formatted_afresh(db).second);
    EXPECT_EQ(std::string(db.layer_lines.text()), formatted_afresh(db).second);

    // Each of these lines differs from its record's line; the images and the files must not keep any of them.
    auto line = [](const std::string& description) {
        return "A1\t" + description + "\tsteel\t12.50\t4\t1\t2\t\t0\tTools\tShelf 3\t8.00\t9.00\t56.25%\tnote\t01/02/2024";
    };
    const std::string odd_items[] = {
        line("Hammer ") + "\r\n",                                   // a blank after a column
        line("Hammer") + "\textra\r\n",                             // a seventeenth column
        line("Hammer").substr(0, line("Hammer").rfind('\t')) + "\r\n",  // fifteen columns
        "A1\tHammer\tsteel\t12.50\t4\t1\t2\tjunk\t0\t\t\t\t\t\t\t\r\n",  // the eighth column filled
        line("Ham\rmer") + "\r\n",                                  // a lone CR inside a column
        line(std::string("Ham\0mer", 7)) + "\r\n",                  // a NUL inside a column
        line("Hammer"),                                              // no CR LF at the end
    };
    ASSERT_EQ(line("Hammer") + "\r\n", kItemA);
    for (const std::string& odd : odd_items) {
        write(db.paths.inventory, kItemB + odd);
        write(db.paths.layers, "A1\t6\t4\r\n" + layers);
        ASSERT_EQ(load_inventory(db, db.paths.inventory, db.paths.layers), 1) << odd;
        const auto [items_afresh, layers_afresh] = formatted_afresh(db);
        EXPECT_EQ(std::string(db.item_lines.text()), items_afresh) << odd;
        EXPECT_EQ(std::string(db.layer_lines.text()), layers_afresh) << odd;
        EXPECT_EQ(read(db.paths.inventory), items_afresh) << odd;
        EXPECT_EQ(read(db.paths.layers), layers_afresh) << odd;
    }
}

}  // namespace
}  // namespace stk::server
