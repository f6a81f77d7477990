// "A Stockavelle server runs on this computer": every running server holds a shared lock on one lock file in
// the pipe folder (local_pipe.h) for its whole life. Anyone can ask whether such a lock is held.
#pragma once

namespace stk::platform {

// true when some process holds the server instance lock. Call before hold_server_instance() in a server.
bool server_instance_running();

// Takes the shared lock for the life of this process (idempotent). false when the lock file cannot be used.
bool hold_server_instance();

// Gives the lock back (tests; a process that ends gives it back anyway).
void release_server_instance();

}  // namespace stk::platform
