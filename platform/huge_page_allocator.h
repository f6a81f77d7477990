// Memory for big texts in transparent huge pages. A start-up reads and keeps some 20 MB of inventory text;
// in 4 KB pages that is thousands of page faults and TLB misses, which cost more than the bytes themselves,
// above all in a virtual machine.
#pragma once

#include <cstddef>
#include <new>
#include <string>

namespace stk::platform {

// Blocks of at least kHugeBlockBytes come from their own mapping, aligned to 2 MB and marked for huge pages
// (a hint: without them the block works the same); smaller ones from operator new.
inline constexpr std::size_t kHugeBlockBytes = std::size_t{2} << 20;
void* allocate_block(std::size_t bytes);
void release_block(void* block, std::size_t bytes) noexcept;

template <class T>
struct HugePageAllocator {
    using value_type = T;
    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) {}  // NOLINT: converting, as allocators are

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(allocate_block(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { release_block(p, n * sizeof(T)); }

    friend bool operator==(const HugePageAllocator&, const HugePageAllocator&) { return true; }
};

// A text that may grow to megabytes: a file read whole, the kept image of a table's file.
using BigText = std::basic_string<char, std::char_traits<char>, HugePageAllocator<char>>;

}  // namespace stk::platform
