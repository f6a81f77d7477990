// "messages.dat": the staff messages table.
#pragma once

#include <string>

#include "server/db/database.h"

namespace stk::server {

int load_messages(ServerDatabase& db, const std::string& path);
int save_messages(ServerDatabase& db, const std::string& path);

}  // namespace stk::server
