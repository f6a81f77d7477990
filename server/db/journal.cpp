#include "server/db/journal.h"

#include <zlib.h>

#include <cstring>
#include <random>

namespace stk::server {

namespace {

constexpr char kMagic[4] = {'S', 'J', 'R', '1'};

struct RecordHeader {
    char magic[4];
    std::uint32_t body_size;
    std::uint64_t run;
    std::uint64_t sequence;
    std::uint32_t body_crc;
    std::uint32_t header_crc;  // of everything above
};
static_assert(sizeof(RecordHeader) == 32);
static_assert(offsetof(RecordHeader, header_crc) == 28);

std::uint32_t crc_of(const void* data, std::size_t size) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    const auto* p = static_cast<const Bytef*>(data);
    // zlib takes lengths as uInt; bodies are far below 4 GiB, but feed it in pieces all the same.
    while (size > 0) {
        const uInt n = size > (1u << 30) ? (1u << 30) : static_cast<uInt>(size);
        crc = ::crc32(crc, p, n);
        p += n;
        size -= n;
    }
    return static_cast<std::uint32_t>(crc);
}

std::uint32_t header_crc_of(const RecordHeader& h) { return crc_of(&h, offsetof(RecordHeader, header_crc)); }

}  // namespace

platform::IoStatus Journal::open_file(platform::FileSystem& files, const std::string& path) {
    close();
    const bool existed = files.exists(path);
    std::unique_ptr<platform::File> file;
    platform::IoStatus s = files.open(path, platform::OpenMode::ReadWriteCreate, &file);
    if (!s) return s;
    s = file->size(&size_);
    if (!s) return s;
    if (size_ < reserved_bytes_) {
        // Without the reserve a full disk also refuses the journal; the journal still works, so go on.
        if (file->reserve(reserved_bytes_)) size_ = reserved_bytes_;
    }
    if (!existed) {
        // A new journal that vanishes with its folder entry would take its records with it.
        s = file->sync();
        if (s) s = files.sync_folder(platform::folder_of(path));
        if (!s) return s;
    }
    file_ = std::move(file);
    files_ = &files;
    path_ = path;
    end_ = 0;
    return {};
}

platform::IoStatus Journal::open(platform::FileSystem& files, const std::string& path,
                                 std::vector<std::string>* records) {
    records->clear();
    platform::IoStatus s = open_file(files, path);
    if (!s) return s;
    new_run();
    read_records(records);
    return {};
}

platform::IoStatus Journal::open_fresh(platform::FileSystem& files, const std::string& path) {
    platform::IoStatus s = open_file(files, path);
    if (s) new_run();
    return s;
}

void Journal::close() {
    if (file_) (void)file_->close();  // nothing was written since the last sync
    file_.reset();
    path_.clear();
    end_ = 0;
}

void Journal::new_run() {
    std::random_device random;
    run_ = (static_cast<std::uint64_t>(random()) << 32) ^ random();
    next_sequence_ = 1;
}

void Journal::read_records(std::vector<std::string>* records) {
    std::uint64_t offset = 0;
    for (;;) {
        RecordHeader h{};
        std::size_t got = 0;
        if (!file_->read_at(offset, &h, sizeof h, &got) || got < sizeof h) break;
        if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || h.header_crc != header_crc_of(h)) break;
        if (!records->empty() && (h.run != run_ || h.sequence != next_sequence_)) break;
        if (h.body_size > size_ - offset - sizeof h) break;
        std::string body(h.body_size, '\0');
        if (!file_->read_at(offset + sizeof h, body.data(), body.size(), &got) || got < body.size()) break;
        if (crc_of(body.data(), body.size()) != h.body_crc) break;
        run_ = h.run;
        next_sequence_ = h.sequence + 1;
        records->push_back(std::move(body));
        offset += sizeof h + h.body_size;
    }
    end_ = offset;
}

platform::IoStatus Journal::append(std::string_view body) {
    if (!file_) return platform::IoStatus::failure("open", EBADF, path_);
    RecordHeader h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.body_size = static_cast<std::uint32_t>(body.size());
    h.run = run_;
    h.sequence = next_sequence_;
    h.body_crc = crc_of(body.data(), body.size());
    h.header_crc = header_crc_of(h);

    std::string record(reinterpret_cast<const char*>(&h), sizeof h);
    record.append(body);
    platform::IoStatus s = file_->write_at(end_, record.data(), record.size());
    if (s) s = file_->sync_data();
    if (!s) return s;
    end_ += record.size();
    if (end_ > size_) size_ = end_;
    next_sequence_ += 1;
    return {};
}

void Journal::restart() { end_ = 0; }

platform::IoStatus Journal::clear() {
    end_ = 0;
    if (!file_) return {};
    const RecordHeader none{};
    platform::IoStatus s = file_->write_at(0, &none, sizeof none);
    if (s) s = file_->sync_data();
    new_run();
    return s;
}

}  // namespace stk::server
