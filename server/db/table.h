// A table of the server's database: fixed-size records in address space reserved once.
#pragma once

#include <algorithm>
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
        committed_slots_ = 0;
        count = 0;
    }
    bool reserved() const { return base_ != nullptr; }
    std::size_t reserved_slots() const { return reserved_slots_; }

    // Commits exactly the pages for slots 0..n; the count itself is the caller's to change.
    bool commit_for(int n) {
        if (!base_ || n < 0 || static_cast<std::size_t>(n) + 1 > reserved_slots_) return false;
        if (platform::resize_table(base_, (static_cast<std::size_t>(n) + 1) * sizeof(T)) != 1) return false;
        committed_slots_ = static_cast<std::size_t>(n) + 1;
        return true;
    }
    // Slots 0..n committed, keeping whatever is committed beyond them: a load that knows how many records are
    // coming commits once for all of them.
    bool make_room(int n) {
        if (n >= 0 && static_cast<std::size_t>(n) + 1 <= committed_slots_) return true;
        return commit_for(n);
    }
    // Makes room for one more record (slots 0..count+1); the new slot is not counted yet. Commits a stretch
    // ahead, so that loading a table record by record does not change the mapping once per record; pages
    // committed and never written cost no memory.
    bool grow_for_one() {
        const auto needed = static_cast<std::size_t>(count) + 2;
        if (count >= 0 && needed <= committed_slots_) return true;
        if (!base_ || count < 0 || needed > reserved_slots_) return false;
        const std::size_t wanted = std::min(reserved_slots_, needed + stretch());
        return commit_for(static_cast<int>(wanted - 1));
    }
    // After records were removed: gives back what is committed beyond slots 0..count only when it is more than
    // two stretches of growth, so that a delete and an add in turn do not give back and take again the same
    // pages every time.
    bool trim() {
        if (count < 0) return false;
        const std::size_t needed = static_cast<std::size_t>(count) + 1;
        if (committed_slots_ <= needed + 2 * stretch()) return true;
        return commit_for(count);
    }

    T& operator[](int slot) { return base_[slot]; }
    const T& operator[](int slot) const { return base_[slot]; }
    T* data() { return base_; }
    const T* data() const { return base_; }

    int count = 0;

private:
    static constexpr std::size_t kGrowBytes = std::size_t{1} << 20;
    static constexpr std::size_t stretch() { return std::max<std::size_t>(1, kGrowBytes / sizeof(T)); }

    T* base_ = nullptr;
    std::size_t reserved_slots_ = 0;
    std::size_t committed_slots_ = 0;
};

}  // namespace stk::server
