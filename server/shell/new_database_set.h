// Creating a new database set in the chosen folder, empty or carrying over the current set's databases.
#pragma once

#include <string>

#include "server/db/database.h"
#include "server/shell/startup_ui.h"

namespace stk::server {

// Runs after the tables are reserved and before the databases are loaded; db.paths already names the new
// folder. `program_folder` holds "default server settings.txt". 1 or 0.
int create_database_set(ServerDatabase& db, const NewSetChoice& choice, const std::string& program_folder);

}  // namespace stk::server
