// A 1-based growable array of fixed-size slots (slot 0 present and empty) in address space reserved once for
// its capacity, so slots never move while it grows and shrinks.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "platform/table_storage.h"

namespace stk::client {

template <typename T>
class ReservedArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    ReservedArray() = default;
    ReservedArray(const ReservedArray&) = delete;
    ReservedArray& operator=(const ReservedArray&) = delete;
    ~ReservedArray() { release(); }

    // Reserves room for `capacity` slots plus slot 0; false when the address space is not available.
    bool reserve(long capacity) {
        release();
        if (capacity < 0) return false;
        const std::size_t bytes = (static_cast<std::size_t>(capacity) + 1) * sizeof(T);
        base_ = static_cast<T*>(platform::reserve_table(bytes));
        if (!base_) return false;
        capacity_ = capacity;
        count_ = 0;
        if (!platform::resize_table(base_, sizeof(T))) {
            release();
            return false;
        }
        return true;
    }
    void release() {
        if (base_) platform::release_table(base_);
        base_ = nullptr;
        capacity_ = 0;
        count_ = 0;
    }
    bool reserved() const { return base_ != nullptr; }
    long capacity() const { return capacity_; }
    int count() const { return count_; }
    bool full() const { return count_ >= capacity_; }

    T& operator[](int i) { return base_[i]; }
    const T& operator[](int i) const { return base_[i]; }
    T* data() { return base_; }

    // Commits (or gives back) the pages for slots 0..n; false past the reservation or when a commit fails.
    bool resize(int n) {
        if (!base_ || n < 0 || n > capacity_) return false;
        if (!platform::resize_table(base_, (static_cast<std::size_t>(n) + 1) * sizeof(T))) return false;
        if (n > count_) std::memset(static_cast<void*>(base_ + count_ + 1), 0, (n - count_) * sizeof(T));
        count_ = n;
        return true;
    }
    bool append(const T& value) {
        if (!resize(count_ + 1)) return false;
        base_[count_] = value;
        return true;
    }
    // Removes slot i; later slots move down by one.
    void remove(int i) {
        if (i < 1 || i > count_) return;
        std::memmove(static_cast<void*>(base_ + i), base_ + i + 1, (count_ - i) * sizeof(T));
        resize(count_ - 1);
    }
    void clear() { resize(0); }

private:
    T* base_ = nullptr;
    long capacity_ = 0;
    int count_ = 0;
};

}  // namespace stk::client
