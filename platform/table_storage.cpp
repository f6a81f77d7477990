#include "platform/table_storage.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <mutex>

namespace stk::platform {

namespace {

struct Region {
    std::size_t reserved = 0;
    std::size_t committed = 0;
};

// Every reserved region with its sizes (mmap cannot be asked about a region). Never destroyed: a table held
// by an object of static storage is released while the statics are destroyed, in whatever order the
// program's end runs them (an exit() called from inside a library among them), and must find its region.
std::map<const void*, Region>& regions() {
    static auto* r = new std::map<const void*, Region>;
    return *r;
}
std::mutex& regions_mutex() {
    static auto* m = new std::mutex;
    return *m;
}

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

std::size_t round_up(std::size_t bytes) {
    const std::size_t p = page_size();
    return (bytes + p - 1) / p * p;
}

}  // namespace

std::size_t page_size() {
    static const std::size_t size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

void* reserve_table(std::size_t bytes) {
    if (bytes > SIZE_MAX - page_size()) return nullptr;
    const std::size_t size = round_up(bytes == 0 ? 1 : bytes);
    // Large tables in huge pages where the system allows it: loading the invoices at capacity then faults in
    // some 300 pages instead of 160,000, and a pass over every record misses the TLB that much less. Only a
    // hint; the table works the same without it. A huge page needs an aligned start: the reservation is
    // made a huge page longer and trimmed to one.
    const bool huge = size >= kHugePageBytes && size <= SIZE_MAX - kHugePageBytes;
    const std::size_t mapped = huge ? size + kHugePageBytes : size;
    void* at = ::mmap(nullptr, mapped, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (at == MAP_FAILED) return nullptr;
    void* base = at;
    if (huge) {
        const auto start = reinterpret_cast<std::uintptr_t>(at);
        const std::uintptr_t aligned = (start + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
        if (aligned > start) ::munmap(at, aligned - start);
        if (start + mapped > aligned + size)
            ::munmap(reinterpret_cast<void*>(aligned + size), start + mapped - (aligned + size));
        base = reinterpret_cast<void*>(aligned);
        (void)::madvise(base, size, MADV_HUGEPAGE);
    }
    std::lock_guard lock(regions_mutex());
    regions()[base] = Region{size, 0};
    return base;
}

int resize_table(void* base, std::size_t bytes) {
    std::lock_guard lock(regions_mutex());
    auto it = regions().find(base);
    if (it == regions().end()) return 0;
    Region& region = it->second;
    // Checked before rounding: a size near SIZE_MAX would wrap to 0 pages and silently decommit the table.
    if (bytes > region.reserved) return 0;
    const std::size_t needed = round_up(bytes);
    auto* start = static_cast<char*>(base);
    if (needed > region.committed) {
        if (::mprotect(start + region.committed, needed - region.committed, PROT_READ | PROT_WRITE) != 0) return 0;
    } else if (needed < region.committed) {
        // Give the pages back and make them read as zero again when they are committed anew.
        char* from = start + needed;
        const std::size_t length = region.committed - needed;
        if (::madvise(from, length, MADV_DONTNEED) != 0) return 0;
        if (::mprotect(from, length, PROT_NONE) != 0) return 0;
    }
    region.committed = needed;
    return 1;
}

std::size_t committed_bytes(const void* base) {
    std::lock_guard lock(regions_mutex());
    auto it = regions().find(base);
    return it == regions().end() ? 0 : it->second.committed;
}

void release_table(void* base) {
    if (!base) return;
    std::lock_guard lock(regions_mutex());
    auto it = regions().find(base);
    if (it == regions().end()) return;
    ::munmap(base, it->second.reserved);
    regions().erase(it);
}

}  // namespace stk::platform
