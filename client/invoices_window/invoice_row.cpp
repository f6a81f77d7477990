#include "client/invoices_window/invoice_row.h"

#include <cstring>

#include "common/text_field.h"

namespace stk::client {

namespace {

// Calls f(field) with the row's field of a column.
template <class Row, class F>
void with_field(Row& row, int column, F&& f) {
    switch (column) {
        case kColInvoice: f(row.invoice_number); break;
        case kColDate: f(row.date); break;
        case kColTime: f(row.time); break;
        case kColCustomer: f(row.customer); break;
        case kColPhoneNumber: f(row.phone_number); break;
        case kColPreview: f(row.preview); break;
        case kColAmount: f(row.amount); break;
        case kColStatus: f(row.status); break;
        case kColPayment: f(row.payment); break;
        case kColSalesperson: f(row.salesperson); break;
        default: break;
    }
}

}  // namespace

InvoiceRow make_invoice_row(const InvoiceSearchRow& hit) {
    InvoiceRow row;
    std::memset(&row, 0, sizeof row);
    row.invoice_index = hit.invoice_index;
    row.line_number = hit.line_number;
    std::string_view rest = hit.text;
    for (int column = 0; column < kInvoiceColumns; ++column) {
        const std::size_t tab = rest.find('\t');
        set_column_text(row, column, rest.substr(0, tab));
        if (tab == std::string_view::npos) break;
        rest.remove_prefix(tab + 1);
    }
    return row;
}

std::string_view column_text(const InvoiceRow& row, int column) {
    std::string_view text;
    with_field(row, column, [&](const auto& f) { text = field(f); });
    return text;
}

void set_column_text(InvoiceRow& row, int column, std::string_view text) {
    with_field(row, column, [&](auto& f) { set_field(f, text); });
}

}  // namespace stk::client
