// Opens the Messages window from View > Messages.
#pragma once

namespace stk::client {

class MainWindow;
class ServerApi;

// With an explicit request layer (tests use their own); it must outlive the window.
void attach_messages(MainWindow& window, ServerApi& api);

// With the session's request layer.
void attach_messages(MainWindow& window);

}  // namespace stk::client
