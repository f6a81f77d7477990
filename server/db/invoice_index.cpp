#include "server/db/invoice_index.h"

#include <algorithm>

#include "common/number_text.h"
#include "common/text_field.h"
#include "server/db/database.h"

namespace stk::server {

InvoiceIndex::Sales InvoiceIndex::sales_of(const Table<InvoiceRecord>& invoices, std::string_view number) {
    catch_up(invoices);
    if (!lines_built_) {
        lines_built_ = true;
        for (int n = 1; n <= indexed_; ++n) add_lines(invoices, n);
    }
    const auto it = by_number_.find(upper_1252(number));
    return it == by_number_.end() ? Sales{} : sums(invoices, it->second);
}

double InvoiceIndex::highest_number(const Table<InvoiceRecord>& invoices) {
    catch_up(invoices);
    if (!numbers_built_) {
        numbers_built_ = true;
        for (int n = 1; n <= indexed_; ++n) add_number(invoices, n);
    }
    // A pass keeping the larger of each number and what it had, starting from 0, ends at this.
    const double top = numbers_.empty() ? 0.0 : *numbers_.rbegin();
    return top > 0.0 ? top : 0.0;
}

void InvoiceIndex::changed(int n) {
    texts_.stale(n);
    if (lines_built_ || numbers_built_) changed_.push_back(n);
}

void InvoiceIndex::changed(const std::set<int>& invoices) {
    for (int n : invoices) changed(n);
}

void InvoiceIndex::forget() {
    lines_built_ = false;
    numbers_built_ = false;
    indexed_ = 0;
    changed_.clear();
    by_number_.clear();
    lines_of_.clear();
    numbers_.clear();
    numbered_.clear();
    number_of_.clear();
    texts_.forget();
}

void InvoiceIndex::catch_up(const Table<InvoiceRecord>& invoices) {
    if (invoices.count < indexed_) forget();  // invoices are never removed; the table was replaced
    for (int n = indexed_ + 1; n <= invoices.count; ++n) {
        if (lines_built_) add_lines(invoices, n);
        if (numbers_built_) add_number(invoices, n);
    }
    indexed_ = invoices.count;
    for (int n : changed_) {
        if (n < 1 || n > indexed_) continue;
        if (lines_built_) {
            remove_lines(n);
            add_lines(invoices, n);
        }
        if (numbers_built_) {
            remove_number(n);
            add_number(invoices, n);
        }
    }
    changed_.clear();
}

void InvoiceIndex::add_lines(const Table<InvoiceRecord>& invoices, int n) {
    if (lines_of_.size() <= static_cast<std::size_t>(n)) lines_of_.resize(static_cast<std::size_t>(n) + 1);
    InvoiceLines& at = lines_of_[static_cast<std::size_t>(n)];
    const InvoiceRecord& r = invoices[n];
    at.count = 0;
    for (int i = 0; i < used_lines(r); ++i) {
        NumberLines& named = by_number_[upper_1252(field(r.lines[i].item_number))];
        LineFigures f;
        f.invoice = n;
        f.line = i;
        // Kept in the order a pass over the invoices meets them.
        const auto at_or_after =
            std::upper_bound(named.lines.begin(), named.lines.end(), f, [](const LineFigures& a, const LineFigures& b) {
                return a.invoice != b.invoice ? a.invoice < b.invoice : a.line < b.line;
            });
        named.lines.insert(at_or_after, f);
        named.summed = false;
        at.of_line[static_cast<std::size_t>(at.count++)] = &named;
    }
}

void InvoiceIndex::remove_lines(int n) {
    InvoiceLines& at = lines_of_[static_cast<std::size_t>(n)];
    for (int i = 0; i < at.count; ++i) {
        std::vector<LineFigures>& lines = at.of_line[static_cast<std::size_t>(i)]->lines;
        const auto [from, to] =
            std::equal_range(lines.begin(), lines.end(), LineFigures{n},
                             [](const LineFigures& a, const LineFigures& b) { return a.invoice < b.invoice; });
        lines.erase(from, to);
        at.of_line[static_cast<std::size_t>(i)]->summed = false;
    }
    at.count = 0;
}

void InvoiceIndex::add_number(const Table<InvoiceRecord>& invoices, int n) {
    if (numbered_.size() <= static_cast<std::size_t>(n)) {
        numbered_.resize(static_cast<std::size_t>(n) + 1, 0);
        number_of_.resize(static_cast<std::size_t>(n) + 1, 0.0);
    }
    double value = 0.0;
    if (!is_number(field(invoices[n].invoice_number), &value)) return;
    numbers_.insert(value);
    numbered_[static_cast<std::size_t>(n)] = 1;
    number_of_[static_cast<std::size_t>(n)] = value;
}

void InvoiceIndex::remove_number(int n) {
    if (!numbered_[static_cast<std::size_t>(n)]) return;
    numbers_.erase(numbers_.find(number_of_[static_cast<std::size_t>(n)]));
    numbered_[static_cast<std::size_t>(n)] = 0;
}

const InvoiceIndex::Sales& InvoiceIndex::sums(const Table<InvoiceRecord>& invoices, NumberLines& named) {
    if (named.summed) return named.sums;
    Sales s;
    for (LineFigures& f : named.lines) {
        if (!f.read) {
            const InvoiceRecord& invoice = invoices[f.invoice];
            const InvoiceLine& line = invoice.lines[f.line];
            f.quantity = number_or(field(line.quantity), 1.0);
            double price = 0.0;
            double cost = 0.0;
            f.profit_counts = invoice.payment != 0 && is_number(field(line.unit_price), &price) &&
                              is_number(field(line.unit_cost), &cost);
            if (f.profit_counts) f.profit = (price - cost) * f.quantity;
            f.read = true;
        }
        s.sold += f.quantity;
        if (f.profit_counts) s.profit += f.profit;
    }
    named.sums = s;
    named.summed = true;
    return named.sums;
}

}  // namespace stk::server
