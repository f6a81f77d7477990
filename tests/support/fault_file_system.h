// A file system for tests that breaks on purpose, over the real files.
//
// It numbers every call that changes something on disk (an open that may create or truncate, a write, a
// truncate, a reserve, a sync, a rename, a removal, a folder sync), from 1, and can
//   - fail the n-th such call with an errno (once, or from there on: a disk that stays full);
//   - stop the world after the n-th call: that call and every one before it took effect, every later call
//     fails and changes nothing (the process was killed there), optionally with the n-th call, when it is a
//     write larger than a disk sector, cut in half (a torn write);
//   - then put the files back the way a power cut would leave them (drop_unsynced): each file as it was at its
//     last sync, and files created, renamed or removed since their folder's last sync as they were before.
//
// It keeps its own account of what is durable, so it never asks the disk to sync (which also keeps tests
// fast). Files that existed before it first saw them count as durable as they are.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace stk::test {

class FaultFileSystem : public platform::FileSystem {
public:
    explicit FaultFileSystem(platform::FileSystem& base = platform::posix_file_system()) : base_(base) {}

    // Changing calls counted so far, and what each was ("pwrite 6496 /x/invoices.dat"), oldest first.
    int calls() const { return calls_; }
    const std::vector<std::string>& call_log() const { return call_log_; }
    // Whether the n-th call (from 1) was a write that a crash could tear.
    bool tearable(int n) const;
    // Counting starts again at 0 and no fault is armed; what is durable is kept.
    void reset();

    void fail_call(int n, int error, bool and_every_later_call = false);
    void crash_after(int n, bool torn_write = false);
    bool crashed() const { return crashed_; }
    // A full disk: a write that would take a file beyond the bytes it already has fails with ENOSPC, and so
    // does a reserve; writing over bytes a file has (a slot in place, a reserved journal) still works.
    void set_disk_full(bool full) { disk_full_ = full; }
    bool disk_full() const { return disk_full_; }
    // Rewrites the real files to what a power cut at this moment would leave. Open files must not be used
    // afterwards.
    void drop_unsynced();

    platform::IoStatus open(const std::string& path, platform::OpenMode mode,
                            std::unique_ptr<platform::File>* out) override;
    platform::IoStatus rename(const std::string& from, const std::string& to) override;
    platform::IoStatus remove(const std::string& path) override;
    platform::IoStatus sync_folder(const std::string& folder) override;
    bool exists(const std::string& path) override { return base_.exists(path); }

    // For FaultFile: the verdict on the next changing call. Ok: go ahead; Fail: answer `error`; Torn: write
    // half, then fail.
    enum class Verdict { Ok, Fail, Torn };
    Verdict next_call(std::string what, int* error);
    // A file's contents reached the disk (its node is the file open at `path` when it was opened).
    void synced(int node, std::string contents);
    int node_of(const std::string& path);

private:
    int known_node(const std::string& path);

    platform::FileSystem& base_;
    int calls_ = 0;
    std::vector<std::string> call_log_;
    int fail_at_ = 0;
    int fail_error_ = 0;
    bool fail_onwards_ = false;
    int crash_after_ = 0;
    bool torn_ = false;
    bool crashed_ = false;
    bool disk_full_ = false;

    // A node is one file's contents, whatever name it has now.
    struct Node {
        std::string synced;  // contents at its last sync ("" when never synced)
    };
    std::map<int, Node> nodes_;
    int next_node_ = 1;
    std::map<std::string, int> names_;          // path -> node, as the folder stands now
    std::map<std::string, int> durable_names_;  // path -> node, as of the folder's last sync
    std::set<std::string> seen_;                // every path this file system has dealt with
};

}  // namespace stk::test
