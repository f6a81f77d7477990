// PLACEHOLDER: replaced by the new-database-set work.
#include "server/shell/new_database_set.h"
namespace stk::server {
int create_database_set(ServerDatabase&, const NewSetChoice&, const std::string&) { return 0; }
}  // namespace stk::server
