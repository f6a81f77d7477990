#include "bench/requests/disk_floor.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace stk::bench {

namespace {

constexpr std::uint64_t kSlotBytes = 6496;
constexpr std::uint64_t kSlotFileBytes = 16 << 20;

double thread_cpu_ms() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Times `fn`, wall and CPU.
template <class Fn>
Cost timed(Fn fn) {
    const double cpu = thread_cpu_ms();
    const auto start = std::chrono::steady_clock::now();
    fn();
    Cost c;
    c.wall_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    c.cpu_ms = thread_cpu_ms() - cpu;
    return c;
}

void check(bool ok, const char* what) {
    if (!ok) std::perror(what);
}

void write_all(int fd, const char* data, std::uint64_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (n <= 0) {
            std::perror("pwrite");
            return;
        }
        data += n;
        size -= static_cast<std::uint64_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
}

}  // namespace

DiskFloor::DiskFloor(std::string folder) : folder_(std::move(folder)) {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    slots_fd_ = scratch("slots.dat", kSlotFileBytes);
    journal_fd_ = scratch("journal.dat", 1 << 20);
    journal_size_ = 1 << 20;
}

DiskFloor::~DiskFloor() {
    if (slots_fd_ >= 0) ::close(slots_fd_);
    if (journal_fd_ >= 0) ::close(journal_fd_);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

// A scratch file with every block written and on the disk, as a file in use is.
int DiskFloor::scratch(const std::string& name, std::uint64_t size) {
    const int fd = ::open((folder_ + "/" + name).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    check(fd >= 0, "open");
    if (fd < 0) return fd;
    write_all(fd, bytes_of(size).data(), size, 0);
    check(::fsync(fd) == 0, "fsync");
    return fd;
}

const std::string& DiskFloor::bytes_of(std::uint64_t size) {
    // Text of the kind the files hold; only its size matters.
    static const char kLine[] = "BOLT-1234\tHEX BOLT 10 MM\t\t0.45\t37\t10\t120\t\t0\tFASTENERS\tAISLE 3\r\n";
    while (text_.size() < size) text_.append(kLine);
    return text_;
}

Cost DiskFloor::run(const WritePlan& plan) {
    Cost total;
    if (plan.journal_bytes > 0) total += journal_append(plan.journal_bytes);
    if (plan.inventory_bytes > 0) total += replace_file("inventory.txt", plan.inventory_bytes);
    if (plan.layer_bytes > 0) total += replace_file("inventory fifo.txt", plan.layer_bytes);
    if (plan.invoice_slot) total += slot_write();
    return total;
}

Cost DiskFloor::replace_file(const std::string& name, std::uint64_t bytes) {
    const std::string& text = bytes_of(bytes);
    const std::string path = folder_ + "/" + name;
    const std::string temp = path + ".tmp";
    return timed([&] {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        check(fd >= 0, "open");
        write_all(fd, text.data(), bytes, 0);
        check(::fsync(fd) == 0, "fsync");
        check(::close(fd) == 0, "close");
        check(::rename(temp.c_str(), path.c_str()) == 0, "rename");
        const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        check(::fsync(dir) == 0, "fsync folder");
        ::close(dir);
    });
}

Cost DiskFloor::slot_write() {
    // A different slot each time, as the sales of a day go to different invoices.
    const std::uint64_t slot = 1 + next_slot_++ % (kSlotFileBytes / kSlotBytes - 2);
    const std::uint64_t offset = 12 + slot * kSlotBytes;
    const std::string& text = bytes_of(kSlotBytes);
    return timed([&] {
        write_all(slots_fd_, text.data(), kSlotBytes, offset);
        check(::fsync(slots_fd_) == 0, "fsync");
    });
}

Cost DiskFloor::journal_append(std::uint64_t bytes) {
    if (bytes > journal_size_) {
        // Grown once, outside the timing, as the journal keeps the size it once had.
        write_all(journal_fd_, bytes_of(bytes).data(), bytes, 0);
        check(::fsync(journal_fd_) == 0, "fsync");
        journal_size_ = bytes;
    }
    const std::string& text = bytes_of(bytes);
    return timed([&] {
        write_all(journal_fd_, text.data(), bytes, 0);
        check(::fdatasync(journal_fd_) == 0, "fdatasync");
    });
}

}  // namespace stk::bench
