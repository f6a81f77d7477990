#include "platform/huge_page_allocator.h"

#include <sys/mman.h>

#include <cstdint>

namespace stk::platform {

namespace {

std::size_t whole_huge_pages(std::size_t bytes) {
    return (bytes + kHugeBlockBytes - 1) / kHugeBlockBytes * kHugeBlockBytes;
}

}  // namespace

void* allocate_block(std::size_t bytes) {
    if (bytes < kHugeBlockBytes) return ::operator new(bytes);
    if (bytes > SIZE_MAX - 2 * kHugeBlockBytes) throw std::bad_alloc();
    const std::size_t size = whole_huge_pages(bytes);
    // Mapped with a huge page to spare, then trimmed to an aligned stretch of exactly `size` bytes, so that
    // release_block can unmap it knowing only its size.
    const std::size_t mapped = size + kHugeBlockBytes;
    void* at = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(at);
    const std::uintptr_t aligned = (start + kHugeBlockBytes - 1) / kHugeBlockBytes * kHugeBlockBytes;
    if (aligned > start) ::munmap(at, aligned - start);
    const std::uintptr_t end = start + mapped;
    if (end > aligned + size) ::munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    (void)::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void release_block(void* block, std::size_t bytes) noexcept {
    if (!block) return;
    if (bytes < kHugeBlockBytes) {
        ::operator delete(block);
        return;
    }
    ::munmap(block, whole_huge_pages(bytes));
}

}  // namespace stk::platform
