// Free-text searches: every query word must occur somewhere (case-insensitively) in the item or invoice.
#include "server/handlers/search_ops.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/protocol.h"
#include "common/text_field.h"
#include "platform/table_storage.h"

namespace stk::server {

namespace {

// "-" counts as a blank so that "bolt-10" finds BOLT and 10 anywhere. Every single blank ends a word, so a
// leading blank or two blanks in a row give an empty word, which matches everything.
std::vector<std::string> query_words(std::string_view query) {
    std::string text = upper_1252(query);
    for (char& c : text) {
        if (c == '-') c = ' ';
    }
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t blank = text.find(' ', pos);
        if (blank == std::string::npos) blank = text.size();
        words.emplace_back(text.substr(pos, blank - pos));
        pos = blank + 1;
    }
    return words;
}

bool contains(std::string_view text, std::string_view word) { return text.find(word) != std::string_view::npos; }

void append_int32(std::string& out, std::int32_t v) {
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

void append_packed_item(std::string& out, const InventoryRecord& r) {
    const std::string_view fields[15] = {
        field(r.item_number),   field(r.description),        field(r.remark),
        field(r.unit_price),    field(r.quantity),           field(r.minimum_quantity),
        field(r.sold_quantity), field(r.unaccounted_quantity), field(r.category),
        field(r.location),      field(r.standard_unit_cost), field(r.gross_profit),
        field(r.markup),        field(r.note),               field(r.last_audit_date),
    };
    out += '\0';
    for (std::string_view f : fields) out += static_cast<char>(static_cast<std::uint8_t>(f.size()));
    for (std::string_view f : fields) out.append(f);
}

// Written straight into the answer, its length filled in after; the invoice's own parts come from its kept
// search texts, and only the previewed line from the record.
void append_invoice_row(std::string& out, const InvoiceSearchText& texts, const InvoiceRecord& inv, int index,
                        int preview_line) {
    append_int32(out, index);
    append_int32(out, preview_line);
    const std::size_t length_at = out.size();
    append_int32(out, 0);
    out.append(texts.row_head());
    if (used_lines(inv) > 0) {
        const InvoiceLine& line = inv.lines[preview_line - 1];
        if (!field_empty(line.item_number)) out.append(field(line.item_number)).append(1, ' ');
        out.append(field(line.description));
        if (!field_empty(line.remark)) out.append(1, ' ').append(field(line.remark));
    }
    out.append(texts.row_tail());
    out += '\0';
    const auto length = static_cast<std::int32_t>(out.size() - length_at - 4);
    std::memcpy(out.data() + length_at, &length, sizeof length);
}

}  // namespace

int search_inventory(ServerDatabase& db, std::string_view query, std::string& blocks) {
    const int count = db.inventory.count;
    std::vector<std::uint8_t> marks(static_cast<std::size_t>(count) + 1, 0);
    if (query == "*") {
        std::fill(marks.begin() + 1, marks.end(), 1);
    } else if (!query.empty()) {
        const std::vector<std::string> words = query_words(query);
        // Reused for every item, so the scan does not allocate per record.
        std::string number;
        std::string rest;
        for (int i = 1; i <= count; ++i) {
            const InventoryRecord& r = db.inventory[i];
            number.assign(field(r.item_number));
            upper_1252_in_place(number.data(), number.size());
            rest.clear();
            rest.append(field(r.description)).append(1, ' ');
            rest.append(field(r.remark)).append(1, ' ');
            rest.append(field(r.category)).append(1, ' ');
            rest.append(field(r.location)).append(1, ' ');
            rest.append(field(r.note)).append(1, ' ');
            rest.append(field(r.last_audit_date));
            upper_1252_in_place(rest.data(), rest.size());
            bool match = true;
            for (const std::string& w : words) {
                if (!contains(number, w) && !contains(rest, w)) {
                    match = false;
                    break;
                }
            }
            marks[i] = match ? 1 : 0;
        }
    }

    // The marks live beside the inventory for the list that shows the answer; keep them when they can be had.
    const std::size_t needed = marks.size();
    if (db.search_marks.reserved() && (platform::committed_bytes(db.search_marks.data()) >= needed ||
                                       db.search_marks.commit_for(count))) {
        std::memcpy(db.search_marks.data(), marks.data(), marks.size());
    }

    int found = 0;
    for (int i = 1; i <= count; ++i) {
        if (!marks[i]) continue;
        append_packed_item(blocks, db.inventory[i]);
        ++found;
    }
    return found;
}

int search_invoices(const ServerDatabase& db, std::string_view query, int unpaid_only, std::string& blocks) {
    const std::vector<std::string> words = query_words(query);
    int found = 0;
    for (int index = 1; index <= db.invoices.count; ++index) {
        const InvoiceRecord& inv = db.invoices[index];
        if (unpaid_only == 1) {
            if (inv.payment != PAYMENT_UNPAID) continue;
        } else if (unpaid_only != 0) {
            continue;
        }
        // The preview is the first line holding the last word that a line holds.
        const InvoiceSearchText& texts = db.invoice_index.search_text(db.invoices, index);
        int preview = 1;
        bool hit = true;
        for (const std::string& w : words) {
            const SearchTextHit found = texts.find(w);
            if (!found.found) {
                hit = false;
                break;
            }
            if (found.line != 0) preview = found.line;
        }
        if (!hit) continue;
        append_invoice_row(blocks, texts, inv, index, preview);
        ++found;
    }
    return found;
}

}  // namespace stk::server
