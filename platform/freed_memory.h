// How the C library treats memory the program frees.
#pragma once

namespace stk::platform {

// Keeps large freed blocks for the program's own reuse instead of giving them back to the system at once. The
// server builds a few big buffers for every request (an answer of 100,000 invoice rows, an 8 MB journal record
// for a delete at capacity) and frees them after it; given back each time, the next request has the kernel
// fault in and zero every page again, which costs more than the request's own work (twice the time of a large
// search, in a virtual machine). Call once, before the first large allocation.
void keep_freed_memory_for_reuse();

}  // namespace stk::platform
