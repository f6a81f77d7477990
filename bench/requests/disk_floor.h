// The disk's own cost of the writes a request makes, done with nothing around them: what no server could do
// faster on this disk. Scratch files live in a folder of their own on the set's file system.
#pragma once

#include <cstdint>
#include <string>

namespace stk::bench {

struct Cost {
    double wall_ms = 0;
    double cpu_ms = 0;  // of the calling thread: the system calls' own work
    Cost& operator+=(const Cost& o) {
        wall_ms += o.wall_ms;
        cpu_ms += o.cpu_ms;
        return *this;
    }
};

// The writes of one request, by size.
struct WritePlan {
    std::uint64_t journal_bytes = 0;    // one journal record (0: none)
    std::uint64_t inventory_bytes = 0;  // "inventory.txt" replaced whole (0: not written)
    std::uint64_t layer_bytes = 0;      // "inventory fifo.txt" replaced whole (0: not written)
    bool invoice_slot = false;          // one invoice slot written in place
};

class DiskFloor {
public:
    explicit DiskFloor(std::string folder);
    ~DiskFloor();
    DiskFloor(const DiskFloor&) = delete;
    DiskFloor& operator=(const DiskFloor&) = delete;

    // All writes of the plan, one after the other.
    Cost run(const WritePlan& plan);

    // A temporary file of `bytes` bytes written, fsynced and closed, renamed over `name`, the folder fsynced.
    Cost replace_file(const std::string& name, std::uint64_t bytes);
    // One invoice slot (6496 bytes) written in place into a file whose blocks are all written, then fsynced.
    Cost slot_write();
    // A journal record of `bytes` bytes written at the start of a file whose blocks are all written, then
    // fdatasynced.
    Cost journal_append(std::uint64_t bytes);

private:
    const std::string& bytes_of(std::uint64_t size);
    int scratch(const std::string& name, std::uint64_t size);

    std::string folder_;
    std::string text_;
    int slots_fd_ = -1;
    int journal_fd_ = -1;
    std::uint64_t journal_size_ = 0;
    unsigned next_slot_ = 0;
};

}  // namespace stk::bench
