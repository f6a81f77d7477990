// Staff message requests.
#pragma once

#include <string>

#include "server/db/database.h"

namespace stk::server {

int save_message(ServerDatabase& db, const MessageRecord& old_message, const MessageRecord& new_message);
int delete_message(ServerDatabase& db, const MessageRecord& message);
// LIST_MESSAGES: appends the records, newest first, to `blocks`; returns the count.
int list_messages(const ServerDatabase& db, std::string& blocks);

}  // namespace stk::server
