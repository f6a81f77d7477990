// "invoices.dat" read into the invoice table on a thread of its own while the inventory loads. At capacity
// the file is some 650 MB, and reading it takes about as long as loading the inventory's text: side by side,
// a start-up waits for the longer of the two instead of both. The load of the invoices then takes the slots
// it finds read, after its own checks of the header and of every slot, as if it had read them itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "common/records.h"
#include "server/db/table.h"

namespace stk::server {

class InvoicePreload {
public:
    InvoicePreload() = default;
    InvoicePreload(const InvoicePreload&) = delete;
    InvoicePreload& operator=(const InvoicePreload&) = delete;
    ~InvoicePreload() { wait(); }

    // Starts reading the real file at `path` into `table`, which nothing else may touch until wait() returns.
    void start(const std::string& path, Table<InvoiceRecord>& table);
    void wait();
    // After wait(): how many invoices (slots 1..n, with slot 0) the table holds from a file of `size` bytes,
    // or nullopt when the file read was not of that size or was not read.
    std::optional<int> invoices_read(std::uint64_t size) const;

private:
    void run(std::string path, Table<InvoiceRecord>* table);

    std::thread thread_;
    bool read_ = false;
    std::uint64_t size_ = 0;
    int invoices_ = 0;
};

}  // namespace stk::server
