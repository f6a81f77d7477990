// What the statistics refresh, the numbering of a paid invoice and the invoice search need from all invoices,
// kept so that no request reads every invoice: per item number, the lines that name it; the invoice numbers;
// and each invoice's texts as the search compares them.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/records.h"
#include "server/db/invoice_search_texts.h"
#include "server/db/table.h"

namespace stk::server {

// Kept invoice by invoice. An invoice whose lines, payment or number changed is read again on its own once
// told (changed); invoices appended to the table are taken in when the index is next asked; forget() (a
// load, the journal applied at start-up) starts again from the table when next asked. Each part is built
// on its first use, so a start-up does not wait for it.
class InvoiceIndex {
public:
    struct Sales {
        double sold = 0;    // every line's quantity (1 when it is not a number)
        double profit = 0;  // (price - cost) x quantity of the lines of paid invoices with a price and a cost
    };

    // The sold quantity and gross profit of the lines naming `number` (without regard to case): the same
    // additions, in the same order (invoice by invoice, line by line), as a pass over every invoice makes, so
    // the same bits.
    Sales sales_of(const Table<InvoiceRecord>& invoices, std::string_view number);
    // The largest invoice number that is a number (number text check), 0 when none is.
    double highest_number(const Table<InvoiceRecord>& invoices);
    // Invoice n's texts for the search (1 <= n <= invoices.count).
    const InvoiceSearchText& search_text(const Table<InvoiceRecord>& invoices, int n) { return texts_.of(invoices, n); }

    // Invoice `n` changed; it is read again before the next answer.
    void changed(int n);
    void changed(const std::set<int>& invoices);
    void forget();

private:
    // One line naming a number. Its figures are read from the invoice when first summed.
    struct LineFigures {
        int invoice = 0;
        int line = 0;
        bool read = false;
        bool profit_counts = false;
        double quantity = 0;
        double profit = 0;
    };
    struct NumberLines {
        std::vector<LineFigures> lines;  // by invoice, then line
        bool summed = false;
        Sales sums;
    };
    // Where invoice n's lines went, so that they can be taken out again.
    struct InvoiceLines {
        std::array<NumberLines*, kMaxInvoiceLines> of_line{};
        int count = 0;
    };

    void catch_up(const Table<InvoiceRecord>& invoices);
    void add_lines(const Table<InvoiceRecord>& invoices, int n);
    void remove_lines(int n);
    void add_number(const Table<InvoiceRecord>& invoices, int n);
    void remove_number(int n);
    const Sales& sums(const Table<InvoiceRecord>& invoices, NumberLines& lines);

    bool lines_built_ = false;
    bool numbers_built_ = false;
    int indexed_ = 0;  // invoices 1..indexed_ are in the built parts
    std::vector<int> changed_;

    std::unordered_map<std::string, NumberLines> by_number_;
    std::vector<InvoiceLines> lines_of_;  // index = invoice

    std::multiset<double> numbers_;
    std::vector<std::int8_t> numbered_;  // index = invoice: 1 when its number is in numbers_
    std::vector<double> number_of_;

    InvoiceSearchTexts texts_;
};

}  // namespace stk::server
