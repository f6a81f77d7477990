// A stable sort for list rows whose comparison need not be a strict ordering: the lists compare number
// cells by value and text cells as text, so a column of mixed cells has no consistent order, which the
// standard sorts are allowed to punish. This one stays in bounds whatever `less` answers.
#pragma once

#include <algorithm>
#include <vector>

namespace stk::client {

// Bottom-up merge sort of `v` by `less(a, b)`; equal elements keep their order.
template <class T, class Less>
void stable_merge_sort(std::vector<T>& v, Less less) {
    std::vector<T> buf(v.size());
    for (std::size_t width = 1; width < v.size(); width *= 2) {
        for (std::size_t lo = 0; lo < v.size(); lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, v.size());
            const std::size_t hi = std::min(lo + 2 * width, v.size());
            std::size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) buf[k++] = less(v[j], v[i]) ? v[j++] : v[i++];
            while (i < mid) buf[k++] = v[i++];
            while (j < hi) buf[k++] = v[j++];
        }
        v.swap(buf);
    }
}

}  // namespace stk::client
