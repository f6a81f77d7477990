// Table storage: address space reserved once for a table's whole capacity, pages committed on demand,
// so slots never move while the table grows and shrinks.
#pragma once

#include <cstddef>

namespace stk::platform {

// Reserves `bytes` of address space (nothing committed). nullptr on failure.
void* reserve_table(std::size_t bytes);

// Makes exactly the pages covering the first `bytes` bytes at `base` committed (newly committed pages read
// as zero). Returns 1, or 0 when `base` is not a reserved table or a commit failed.
int resize_table(void* base, std::size_t bytes);

// Bytes currently committed at `base` (0 for an unknown base).
std::size_t committed_bytes(const void* base);

// Gives all of a table's memory back. Unknown or null bases are ignored.
void release_table(void* base);

std::size_t page_size();

}  // namespace stk::platform
