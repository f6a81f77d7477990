// The text of "inventory.txt" or "inventory fifo.txt" kept between saves, line by line, so that a save formats
// only the lines of the records that changed since the last one.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/huge_page_allocator.h"

namespace stk::server {

// Line n is the text of record n, CR LF included. Whoever changes a record marks its line (mark, removed);
// refresh() then formats the marked lines and the lines of records appended since, and nothing else. An image
// that was never refreshed, or was forgotten, formats every line at its next refresh.
class LineImage {
public:
    // Record `slot` changed.
    void mark(int slot) { marked_.insert(slot); }
    // Record `slot` was removed and every later record moved down one slot; its line goes, the later lines
    // (and their marks) move with their records.
    void removed(int slot);
    // Every line is formatted again at the next refresh.
    void forget();
    // The image becomes `text`: lines that each end in CR LF and are already, record by record from record 1,
    // what formatting the records would give (a file just loaded that was written so). Nothing is marked.
    void adopt(platform::BigText&& text);

    // Brings the image to `count` lines. `format(slot, out)` appends record `slot`'s line to `out`, CR LF
    // included. May throw std::bad_alloc, after which the image is forgotten.
    template <class Format>
    void refresh(int count, Format format);

    // Up to date with a table of `count` records: refreshed, and nothing marked since.
    bool current(int count) const { return !whole_ && marked_.empty() && lines() == count; }
    // The whole text, and line `slot` without its CR LF; as of the last refresh.
    std::string_view text() const { return text_; }
    std::string_view line(int slot) const {
        const std::size_t from = ends_[static_cast<std::size_t>(slot) - 1];
        return std::string_view(text_).substr(from, ends_[static_cast<std::size_t>(slot)] - from - 2);
    }

private:
    int lines() const { return static_cast<int>(ends_.size()) - 1; }
    // Puts the fresh texts of the marked lines (ascending, all within the image) in place.
    void replace_lines(const std::vector<std::pair<int, std::string>>& fresh);

    platform::BigText text_;
    platform::BigText spare_;           // the other buffer of a rewrite, kept for its capacity
    std::string scratch_;               // one line being formatted
    std::vector<std::size_t> ends_{0};  // ends_[n]: where line n ends (after its CR LF); ends_[0] = 0
    std::set<int> marked_;
    bool whole_ = true;  // nothing kept: format every line
};

template <class Format>
void LineImage::refresh(int count, Format format) {
    try {
        if (whole_) {
            text_.clear();
            ends_.assign(1, 0);
            marked_.clear();
            whole_ = false;
        }
        if (count < lines()) {
            text_.resize(ends_[static_cast<std::size_t>(count)]);
            ends_.resize(static_cast<std::size_t>(count) + 1);
        }
        std::vector<std::pair<int, std::string>> fresh;
        for (int slot : marked_) {
            if (slot < 1 || slot > lines()) continue;  // gone, or formatted below with the new ones
            std::string text;
            format(slot, text);
            fresh.emplace_back(slot, std::move(text));
        }
        marked_.clear();
        if (!fresh.empty()) replace_lines(fresh);
        for (int slot = lines() + 1; slot <= count; ++slot) {
            scratch_.clear();
            format(slot, scratch_);
            text_.append(scratch_.data(), scratch_.size());
            ends_.push_back(text_.size());
        }
    } catch (...) {
        forget();
        throw;
    }
}

}  // namespace stk::server
