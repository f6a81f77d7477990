// A table of the server's database: fixed-size records in address space reserved once.
#pragma once

#include <cstddef>

#include "platform/table_storage.h"

namespace stk::server {

// A 1-based table of fixed-size slots; slot 0 exists and is never a record. The slots live in address space
// reserved once for the whole capacity, so pointers into the table stay valid while it grows and shrinks.
template <class T>
class Table {
public:
    Table() = default;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    ~Table() { release(); }

    bool reserve(std::size_t reserved_slots) {
        release();
        base_ = static_cast<T*>(platform::reserve_table(reserved_slots * sizeof(T)));
        reserved_slots_ = base_ ? reserved_slots : 0;
        count = 0;
        return base_ != nullptr && commit_for(0);
    }
    void release() {
        platform::release_table(base_);
        base_ = nullptr;
        reserved_slots_ = 0;
        count = 0;
    }
    bool reserved() const { return base_ != nullptr; }
    std::size_t reserved_slots() const { return reserved_slots_; }

    // Commits exactly the pages for slots 0..n; the count itself is the caller's to change.
    bool commit_for(int n) {
        if (!base_ || n < 0 || static_cast<std::size_t>(n) + 1 > reserved_slots_) return false;
        return platform::resize_table(base_, (static_cast<std::size_t>(n) + 1) * sizeof(T)) == 1;
    }
    // Makes room for one more record (slots 0..count+1); the new slot is not counted yet.
    bool grow_for_one() { return commit_for(count + 1); }

    T& operator[](int slot) { return base_[slot]; }
    const T& operator[](int slot) const { return base_[slot]; }
    T* data() { return base_; }
    const T* data() const { return base_; }

    int count = 0;

private:
    T* base_ = nullptr;
    std::size_t reserved_slots_ = 0;
};

}  // namespace stk::server
