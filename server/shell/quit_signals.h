// SIGTERM and SIGINT end the server the way closing its window does: the event loop quits and main() runs the
// orderly end. The handler only writes a byte to a pipe; the event loop picks it up.
#pragma once

class QCoreApplication;

namespace stk::server {

// Installs the handlers; false when the pipe cannot be made.
bool quit_on_termination_signals(QCoreApplication& app);

}  // namespace stk::server
