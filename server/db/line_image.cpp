#include "server/db/line_image.h"

#include <cstring>

namespace stk::server {

void LineImage::removed(int slot) {
    std::set<int> moved;
    for (int marked : marked_) {
        if (marked != slot) moved.insert(marked > slot ? marked - 1 : marked);
    }
    marked_ = std::move(moved);
    if (whole_ || slot < 1 || slot > lines()) return;
    const auto at = static_cast<std::size_t>(slot);
    const std::size_t from = ends_[at - 1];
    const std::size_t length = ends_[at] - from;
    text_.erase(from, length);
    ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(at));
    for (std::size_t n = at; n < ends_.size(); ++n) ends_[n] -= length;
}

void LineImage::forget() {
    text_.clear();
    text_.shrink_to_fit();
    spare_.clear();
    spare_.shrink_to_fit();
    ends_.assign(1, 0);
    marked_.clear();
    whole_ = true;
}

void LineImage::adopt(platform::BigText&& text) {
    forget();
    text_ = std::move(text);
    for (std::size_t at = text_.find("\r\n"); at != std::string::npos; at = text_.find("\r\n", at + 2)) {
        ends_.push_back(at + 2);
    }
    whole_ = false;
}

void LineImage::replace_lines(const std::vector<std::pair<int, std::string>>& fresh) {
    bool same_lengths = true;
    for (const auto& [slot, text] : fresh) {
        const auto at = static_cast<std::size_t>(slot);
        same_lengths = same_lengths && text.size() == ends_[at] - ends_[at - 1];
    }
    if (same_lengths) {
        // The usual case of a sale: "37" becomes "36". Nothing moves.
        for (const auto& [slot, text] : fresh) {
            std::memcpy(text_.data() + ends_[static_cast<std::size_t>(slot) - 1], text.data(), text.size());
        }
        return;
    }
    // One pass through the whole text, into the buffer kept from the last pass (its pages already there).
    spare_.clear();
    spare_.reserve(text_.size() + 4096);
    std::size_t copied = 0;  // of the old text
    std::ptrdiff_t shift = 0;
    std::size_t next = 0;  // in fresh
    const auto first = static_cast<std::size_t>(fresh.front().first);
    std::size_t old_start = ends_[first - 1];
    for (std::size_t n = first; n < ends_.size(); ++n) {
        const std::size_t old_end = ends_[n];
        if (next < fresh.size() && static_cast<std::size_t>(fresh[next].first) == n) {
            const std::string& text = fresh[next++].second;
            spare_.append(text_, copied, old_start - copied);
            spare_.append(text.data(), text.size());
            copied = old_end;
            shift += static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(old_end - old_start);
        }
        ends_[n] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(old_end) + shift);
        old_start = old_end;
    }
    spare_.append(text_, copied, std::string::npos);
    text_.swap(spare_);
}

}  // namespace stk::server
