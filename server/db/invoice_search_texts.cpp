#include "server/db/invoice_search_texts.h"

#include "common/protocol.h"
#include "common/text_field.h"
#include "server/db/database.h"

namespace stk::server {

namespace {

void append_text(std::string& out, std::string_view text, bool upper) {
    const std::size_t from = out.size();
    out.append(text);
    if (upper) upper_1252_in_place(out.data() + from, text.size());
    out += '\0';
}

// The row shows codes 0-5 only; FINANCED is known to the matching alone.
std::string_view row_payment_word(std::int32_t payment) {
    return payment >= PAYMENT_UNPAID && payment <= PAYMENT_WARRANTY ? payment_word(payment) : std::string_view();
}

std::string_view row_status_word(std::int32_t status) {
    if (status == STATUS_INCOMPLETE) return "INCOMPLETE";
    if (status == STATUS_COMPLETE) return "COMPLETE";
    return {};
}

}  // namespace

void InvoiceSearchText::build(const InvoiceRecord& inv) {
    text_.clear();
    lines_ = used_lines(inv);
    for (int n = 0; n < lines_; ++n) {
        const InvoiceLine& line = inv.lines[n];
        for (std::string_view t :
             {field(line.item_number), field(line.description), field(line.remark), field(line.note)}) {
            append_text(text_, t, true);
        }
        line_ends_[static_cast<std::size_t>(n)] = static_cast<std::uint16_t>(text_.size());
    }
    // The invoice number is compared as stored: only its capitals and non-letters can match an upper-cased word.
    append_text(text_, field(inv.invoice_number), false);
    for (std::string_view t : {field(inv.account_number), field(inv.customer_name), field(inv.customer_phone_number),
                               field(inv.customer_address), field(inv.customer_city), field(inv.customer_state),
                               field(inv.customer_zip_code), field(inv.order_number), field(inv.date), field(inv.time),
                               field(inv.total), payment_word(inv.payment), field(inv.note), field(inv.salesperson)}) {
        append_text(text_, t, true);
    }
    search_end_ = static_cast<std::uint32_t>(text_.size());
    for (std::string_view t : {field(inv.invoice_number), field(inv.date), field(inv.time), field(inv.customer_name),
                               field(inv.customer_phone_number)}) {
        text_.append(t).append(1, '\t');
    }
    head_end_ = static_cast<std::uint32_t>(text_.size());
    text_.append(1, '\t').append(field(inv.total)).append(1, '\t');
    text_.append(row_status_word(inv.status)).append(1, '\t');
    text_.append(row_payment_word(inv.payment)).append(1, '\t');
    text_.append(field(inv.salesperson));
    text_.shrink_to_fit();
}

SearchTextHit InvoiceSearchText::find(std::string_view word) const {
    const std::size_t at = std::string_view(text_).substr(0, search_end_).find(word);
    if (at == std::string_view::npos) return {};
    for (int n = 0; n < lines_; ++n) {
        if (at < line_ends_[static_cast<std::size_t>(n)]) return {true, n + 1};
    }
    return {true, 0};
}

const InvoiceSearchText& InvoiceSearchTexts::of(const Table<InvoiceRecord>& invoices, int n) {
    const auto at = static_cast<std::size_t>(n);
    if (texts_.size() <= at) {
        const auto size = static_cast<std::size_t>(invoices.count) + 1;
        texts_.resize(size > at ? size : at + 1);
        current_.resize(texts_.size(), 0);
    }
    if (!current_[at]) {
        texts_[at].build(invoices[n]);
        current_[at] = 1;
    }
    return texts_[at];
}

void InvoiceSearchTexts::stale(int n) {
    if (n >= 0 && static_cast<std::size_t>(n) < current_.size()) current_[static_cast<std::size_t>(n)] = 0;
}

void InvoiceSearchTexts::forget() {
    texts_.clear();
    texts_.shrink_to_fit();
    current_.clear();
    current_.shrink_to_fit();
}

}  // namespace stk::server
