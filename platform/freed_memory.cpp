#include "platform/freed_memory.h"

#include <malloc.h>

namespace stk::platform {

void keep_freed_memory_for_reuse() {
    // Blocks up to the largest size the C library allows come from its heap rather than from a mapping of
    // their own that is unmapped when freed; up to 256 MB free at the heap's top stays there; and the heap
    // grows 64 MB at a time. Setting these also stops the library's own adjustment of them.
    (void)::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    (void)::mallopt(M_TRIM_THRESHOLD, 256 << 20);
    (void)::mallopt(M_TOP_PAD, 64 << 20);
}

}  // namespace stk::platform
