// What the kill harness compares: the files of two database sets, and the stock rule every set must keep.
#pragma once

#include <string>

namespace stk::crash {

// The four database files of the set in `folder`, side by side, with the server-given message time stamps
// blanked (two servers stamp the same message a minute apart now and then).
std::string comparable_files(const std::string& folder);

// The names of the files that differ between two sets ("" when none does).
std::string differing_files(const std::string& folder_a, const std::string& folder_b);

// Items whose stock on hand (a number, not below 0) is not what their cost layers still hold, as
// "number: stock vs layers" lines. The layer refit makes the two equal whenever it runs; a receipt after a
// filled backorder took the stock below zero leaves them apart.
std::string stock_layer_mismatches(const std::string& folder);

}  // namespace stk::crash
