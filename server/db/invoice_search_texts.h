// The texts the invoice search compares, kept per invoice in the form it compares them in, so that a search
// over every invoice reads one short string each instead of some sixty fields of a 6 KB record.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "server/db/table.h"

namespace stk::server {

// Where a word was found in an invoice's texts.
struct SearchTextHit {
    bool found = false;
    int line = 0;  // 1-based line whose texts hold it first; 0 when only the invoice's own texts do
};

// One invoice's texts: each used line's item number, description, remark and note, upper-cased; then the
// invoice number as stored; then the customer's texts, order number, date, time, total, payment word, note
// and salesperson, upper-cased. Every text ends with a NUL, which no query word holds, so a word is found
// only within one text, and its first place is in the first line (in order) that holds it.
class InvoiceSearchText {
public:
    void build(const InvoiceRecord& invoice);
    // `word` upper-cased, without NUL.
    SearchTextHit find(std::string_view word) const;

    // The invoice's row in a search's answer, as of the build, around the preview of one of its lines: the
    // number, date, time, customer's name and phone, each followed by a TAB; then, after the preview, a TAB
    // and the total, status word, payment word and salesperson, TAB-separated. Kept because a search that
    // finds every invoice spent a third of its time waiting for the cache lines of ten fields of each record.
    std::string_view row_head() const { return std::string_view(text_).substr(search_end_, head_end_ - search_end_); }
    std::string_view row_tail() const { return std::string_view(text_).substr(head_end_); }

private:
    std::string text_;  // the search texts, then the row's head, then its tail
    std::uint32_t search_end_ = 0;
    std::uint32_t head_end_ = 0;
    std::array<std::uint16_t, kMaxInvoiceLines> line_ends_{};  // where each line's texts end in text_
    int lines_ = 0;
};

// The texts of every invoice, made when first searched and again after the invoice changed. Invoices appended
// to the table are made when first asked for; a changed invoice must be told (stale); forget() drops them all
// (a load, the journal applied at start-up).
class InvoiceSearchTexts {
public:
    const InvoiceSearchText& of(const Table<InvoiceRecord>& invoices, int n);
    void stale(int n);
    void forget();

private:
    std::vector<InvoiceSearchText> texts_;  // index = invoice
    std::vector<std::uint8_t> current_;     // index = invoice: 1 when texts_[n] is the invoice as it is
};

}  // namespace stk::server
