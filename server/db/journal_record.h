// The body of a journal record: the after-images of the slots a request changed, and the record counts of the
// tables it touched (see journal.h for why, and for the record's header).
//
// Layout, in the byte order of the database files: sections one after another, each
//     uint32 table (1 inventory, 2 cost layers, 3 invoices, 4 messages)
//     int32  record count of the table after the request
//     uint32 number of images, then for each image: int32 slot, uint32 size, the image's bytes.
// Items and cost layers are imaged as their lines of "inventory.txt" and "inventory fifo.txt" (without CR LF),
// invoices and messages as their raw records: in each case exactly what their file holds for them. A request
// that touches the inventory carries both the inventory and the layer section, since both files are written.
//
// Applying a record puts every image into its slot and sets each table's count. That is all, so applying it
// again, or to tables loaded from files that already hold some or all of it, gives the same tables; and
// applying several records in order gives the tables after the last, whatever the files held.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "server/db/change_set.h"
#include "server/db/database.h"

namespace stk::server {

// The record body for `changes`, with the images taken from the tables as they are now.
std::string encode_changes(const ServerDatabase& db, const ChangeSet& changes);

// What applying records changed, so that recovery writes just those files.
struct AppliedChanges {
    bool inventory = false;
    std::set<int> invoices;
    bool messages = false;
    int records = 0;
};

// Applies one record body to the tables. false when the body does not read as a record of this program or
// does not fit the tables' capacities (checked before anything is applied), or when a table cannot get the
// memory for its new count (the record is then applied in part).
bool apply_changes(ServerDatabase& db, std::string_view body, AppliedChanges* applied);

}  // namespace stk::server
