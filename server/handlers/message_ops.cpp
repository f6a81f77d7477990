// Staff messages: created, edited and deleted by content, listed newest first.
#include "server/handlers/message_ops.h"

#include <cstring>

#include "common/dates.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "server/db/message_file.h"
#include "server/db/write_through.h"

namespace stk::server {

namespace {

// Messages have no number: the first slot whose time stamp, flags and text all equal the given ones exactly.
int find_message(const ServerDatabase& db, const MessageRecord& m) {
    for (int i = 1; i <= db.messages.count; ++i) {
        const MessageRecord& r = db.messages[i];
        if (r.flags == m.flags && field(r.timestamp) == field(m.timestamp) && field(r.text) == field(m.text)) {
            return i;
        }
    }
    return 0;
}

}  // namespace

Result save_message(ServerDatabase& db, const MessageRecord& old_message, const MessageRecord& new_message) {
    ChangeSet changes(db);
    const bool is_new = field_empty(old_message.timestamp) || field_empty(old_message.text);
    if (is_new) {
        if (field_empty(new_message.text)) return RESULT_FAILED;
        if (db.messages.count >= kMaxMessages) {
            db.log_line("Messages database capacity reached.\r\n");
            return RESULT_FAILED;
        }
        if (!db.messages.grow_for_one()) {
            db.log_line(kNoMemoryText);
            return RESULT_FAILED;
        }
        const int slot = db.messages.count + 1;
        db.messages[slot] = new_message;
        set_field(db.messages[slot].timestamp, format_message_timestamp(local_now()));
        db.messages.count = slot;
        changes.message(slot);
    } else {
        const int slot = find_message(db, old_message);
        if (slot == 0) return RESULT_CHANGED;
        db.messages[slot] = new_message;
        changes.message(slot);
    }
    return write_through(db, changes);
}

Result delete_message(ServerDatabase& db, const MessageRecord& message) {
    const int slot = find_message(db, message);
    if (slot == 0) return RESULT_CHANGED;
    ChangeSet changes(db);
    changes.messages_from(slot);
    const int count = db.messages.count;
    if (slot < count) {
        std::memmove(&db.messages[slot], &db.messages[slot + 1],
                     static_cast<std::size_t>(count - slot) * sizeof(MessageRecord));
    }
    std::memset(&db.messages[count], 0, sizeof(MessageRecord));
    db.messages.count = count - 1;
    // The message is gone from memory either way, so the file follows it even when pages could not be freed.
    const bool shrunk = db.messages.commit_for(db.messages.count);
    const Result saved = write_through(db, changes);
    return shrunk ? saved : RESULT_FAILED;
}

int list_messages(const ServerDatabase& db, std::string& blocks) {
    const int count = db.messages.count;
    blocks.reserve(blocks.size() + static_cast<std::size_t>(count) * sizeof(MessageRecord));
    for (int i = count; i >= 1; --i) {
        blocks.append(reinterpret_cast<const char*>(&db.messages[i]), sizeof(MessageRecord));
    }
    return count;
}

}  // namespace stk::server
