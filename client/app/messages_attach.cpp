#include "client/app/messages_attach.h"

#include "client/app/session.h"
#include "client/main_window/main_window.h"
#include "client/messages/messages_window.h"
#include "client/ui/control_ids.h"

namespace stk::client {

void attach_messages(MainWindow& w, ServerApi& api) {
    w.set_command_handler(ids::kMenuMessages, [&w, &api] { open_messages_window(api, &w, w.client_area()->font()); });
}

void attach_messages(MainWindow& w) { attach_messages(w, session().api); }

}  // namespace stk::client
