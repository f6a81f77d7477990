#include "tests/support/fault_file_system.h"

#include <cerrno>
#include <cstdio>
#include <fstream>

namespace stk::test {

namespace {

using platform::IoStatus;

constexpr std::size_t kSector = 512;

class FaultFile final : public platform::File {
public:
    FaultFile(FaultFileSystem& files, std::unique_ptr<platform::File> base, int node)
        : File(base->path()), files_(files), base_(std::move(base)), node_(node) {}

    IoStatus read_at(std::uint64_t offset, void* data, std::size_t size, std::size_t* got) override {
        return base_->read_at(offset, data, size, got);
    }

    IoStatus write_at(std::uint64_t offset, const void* data, std::size_t size) override {
        int error = 0;
        const FaultFileSystem::Verdict verdict =
            files_.next_call("pwrite " + std::to_string(size) + " " + path(), &error);
        std::uint64_t have = 0;
        if (verdict == FaultFileSystem::Verdict::Ok && files_.disk_full() && base_->size(&have) &&
            offset + size > have) {
            return IoStatus::failure("pwrite", ENOSPC, path());
        }
        switch (verdict) {
            case FaultFileSystem::Verdict::Ok: return base_->write_at(offset, data, size);
            case FaultFileSystem::Verdict::Fail: return IoStatus::failure("pwrite", error, path());
            case FaultFileSystem::Verdict::Torn:
                // A write inside one sector lands whole or not at all, as disks guarantee; a larger one is cut
                // halfway.
                if (size > kSector) (void)base_->write_at(offset, data, size / 2);
                return IoStatus::failure("pwrite", EIO, path());
        }
        return {};
    }

    IoStatus sync() override { return record_sync("fsync"); }
    IoStatus sync_data() override { return record_sync("fdatasync"); }

    IoStatus truncate(std::uint64_t size) override {
        int error = 0;
        if (files_.next_call("ftruncate " + path(), &error) != FaultFileSystem::Verdict::Ok) {
            return IoStatus::failure("ftruncate", error, path());
        }
        return base_->truncate(size);
    }

    IoStatus reserve(std::uint64_t size) override {
        int error = 0;
        if (files_.next_call("posix_fallocate " + path(), &error) != FaultFileSystem::Verdict::Ok) {
            return IoStatus::failure("posix_fallocate", error, path());
        }
        if (files_.disk_full()) return IoStatus::failure("posix_fallocate", ENOSPC, path());
        return base_->reserve(size);
    }

    IoStatus size(std::uint64_t* out) override { return base_->size(out); }
    IoStatus close() override { return base_->close(); }

private:
    // The disk is never asked: the file system notes what a sync would have made durable.
    IoStatus record_sync(std::string_view call) {
        int error = 0;
        if (files_.next_call(std::string(call) + " " + path(), &error) != FaultFileSystem::Verdict::Ok) {
            return IoStatus::failure(call, error, path());
        }
        std::uint64_t size = 0;
        IoStatus s = base_->size(&size);
        std::string contents(static_cast<std::size_t>(size), '\0');
        if (s) s = base_->read_exact_at(0, contents.data(), contents.size());
        if (s) files_.synced(node_, std::move(contents));
        return s;
    }

    FaultFileSystem& files_;
    std::unique_ptr<platform::File> base_;
    int node_;
};

bool changes_files(platform::OpenMode mode) { return mode != platform::OpenMode::Read; }

}  // namespace

void FaultFileSystem::reset() {
    calls_ = 0;
    call_log_.clear();
    fail_at_ = 0;
    fail_onwards_ = false;
    crash_after_ = 0;
    torn_ = false;
    crashed_ = false;
}

void FaultFileSystem::fail_call(int n, int error, bool and_every_later_call) {
    fail_at_ = n;
    fail_error_ = error;
    fail_onwards_ = and_every_later_call;
}

void FaultFileSystem::crash_after(int n, bool torn_write) {
    crash_after_ = n;
    torn_ = torn_write;
}

bool FaultFileSystem::tearable(int n) const {
    if (n < 1 || n > static_cast<int>(call_log_.size())) return false;
    const std::string& call = call_log_[static_cast<std::size_t>(n - 1)];
    return call.rfind("pwrite ", 0) == 0 && std::stoul(call.substr(7)) > kSector;
}

FaultFileSystem::Verdict FaultFileSystem::next_call(std::string what, int* error) {
    *error = EIO;
    if (crashed_) return Verdict::Fail;
    const int n = ++calls_;
    call_log_.push_back(std::move(what));
    if (n == crash_after_) {
        crashed_ = true;
        return torn_ ? Verdict::Torn : Verdict::Ok;
    }
    if (fail_at_ > 0 && (n == fail_at_ || (fail_onwards_ && n > fail_at_))) {
        *error = fail_error_;
        return Verdict::Fail;
    }
    return Verdict::Ok;
}

void FaultFileSystem::synced(int node, std::string contents) {
    if (node > 0) nodes_[node].synced = std::move(contents);
}

int FaultFileSystem::known_node(const std::string& path) {
    if (!seen_.insert(path).second) return node_of(path);
    // First sight: a file that is there is as durable as it is.
    std::unique_ptr<platform::File> file;
    if (!base_.open(path, platform::OpenMode::Read, &file)) return 0;
    std::string contents;
    std::uint64_t size = 0;
    if (file->size(&size)) {
        contents.resize(static_cast<std::size_t>(size));
        if (!file->read_exact_at(0, contents.data(), contents.size())) contents.clear();
    }
    const int node = next_node_++;
    nodes_[node].synced = std::move(contents);
    names_[path] = node;
    durable_names_[path] = node;
    return node;
}

int FaultFileSystem::node_of(const std::string& path) {
    const auto it = names_.find(path);
    return it == names_.end() ? 0 : it->second;
}

platform::IoStatus FaultFileSystem::open(const std::string& path, platform::OpenMode mode,
                                         std::unique_ptr<platform::File>* out) {
    out->reset();
    if (changes_files(mode)) {
        int error = 0;
        if (next_call("open " + path, &error) != Verdict::Ok) return IoStatus::failure("open", error, path);
    }
    int node = known_node(path);
    // Opened for reading as well, so that a sync can note what the file holds.
    std::unique_ptr<platform::File> file;
    const bool truncate = mode == platform::OpenMode::WriteTruncate;
    IoStatus s = base_.open(path, truncate ? platform::OpenMode::ReadWriteCreate : mode, &file);
    if (s && truncate) s = file->truncate(0);
    if (!s) return s;
    if (node == 0) {
        node = next_node_++;
        nodes_[node];  // never synced: a power cut leaves it empty, or without its name
        names_[path] = node;
    }
    *out = std::make_unique<FaultFile>(*this, std::move(file), node);
    return {};
}

platform::IoStatus FaultFileSystem::rename(const std::string& from, const std::string& to) {
    int error = 0;
    if (next_call("rename " + from + " " + to, &error) != Verdict::Ok) return IoStatus::failure("rename", error, to);
    known_node(from);
    known_node(to);
    IoStatus s = base_.rename(from, to);
    if (!s) return s;
    names_[to] = names_[from];
    names_.erase(from);
    return {};
}

platform::IoStatus FaultFileSystem::remove(const std::string& path) {
    int error = 0;
    if (next_call("unlink " + path, &error) != Verdict::Ok) return IoStatus::failure("unlink", error, path);
    known_node(path);
    IoStatus s = base_.remove(path);
    if (s) names_.erase(path);
    return s;
}

platform::IoStatus FaultFileSystem::sync_folder(const std::string& folder) {
    int error = 0;
    if (next_call("fsync folder " + folder, &error) != Verdict::Ok) return IoStatus::failure("fsync", error, folder);
    for (const std::string& path : seen_) {
        if (platform::folder_of(path) != folder) continue;
        const auto now = names_.find(path);
        if (now == names_.end()) {
            durable_names_.erase(path);
        } else {
            durable_names_[path] = now->second;
        }
    }
    return {};
}

void FaultFileSystem::drop_unsynced() {
    for (const std::string& path : seen_) {
        const auto durable = durable_names_.find(path);
        if (durable == durable_names_.end()) {
            std::remove(path.c_str());
            continue;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        const std::string& contents = nodes_[durable->second].synced;
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    }
    names_ = durable_names_;
}

}  // namespace stk::test
