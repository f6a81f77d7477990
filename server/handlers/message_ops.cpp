// PLACEHOLDER: replaced by the messages work.
#include "server/handlers/message_ops.h"
namespace stk::server {
int save_message(ServerDatabase&, const MessageRecord&, const MessageRecord&) { return 0; }
int delete_message(ServerDatabase&, const MessageRecord&) { return 0; }
int list_messages(const ServerDatabase&, std::string&) { return 0; }
}  // namespace stk::server
