// Staff message requests.
#pragma once

#include <string>

#include "common/protocol.h"
#include "server/db/database.h"

namespace stk::server {

// SAVE_MESSAGE and DELETE_MESSAGE: 1 when the change is made and "messages.dat" written (through
// write_through), 4 when it is made in memory only, 2 when the message to edit or delete is not there, 0 when
// refused.
Result save_message(ServerDatabase& db, const MessageRecord& old_message, const MessageRecord& new_message);
Result delete_message(ServerDatabase& db, const MessageRecord& message);
// LIST_MESSAGES: appends the records, newest first, to `blocks`; returns the count.
int list_messages(const ServerDatabase& db, std::string& blocks);

}  // namespace stk::server
