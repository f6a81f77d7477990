// One row of the Invoices window: a hit of the invoice search with its ten texts, each in a field sized to
// hold what the server sends. The rows live in a reserved array of fixed 648-byte slots, so these are plain
// fixed-layout records like the wire's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "client/api/server_api.h"

namespace stk::client {

struct InvoiceRow {
    std::int32_t invoice_index;  // 1-based slot of the invoice on the server
    std::int32_t line_number;    // the line the preview shows
    char invoice_number[32];
    char date[32];
    char time[32];
    char customer[64];
    char phone_number[64];
    char preview[192];
    char amount[32];
    char status[64];
    char payment[64];
    char salesperson[64];
};

static_assert(std::is_standard_layout_v<InvoiceRow> && std::is_trivially_copyable_v<InvoiceRow>);
static_assert(sizeof(InvoiceRow) == 648);
static_assert(offsetof(InvoiceRow, invoice_number) == 8 && offsetof(InvoiceRow, preview) == 232 &&
              offsetof(InvoiceRow, salesperson) == 584);

// The columns of the list, in the order of the texts of a hit.
enum InvoiceColumn {
    kColInvoice,
    kColDate,
    kColTime,
    kColCustomer,
    kColPhoneNumber,
    kColPreview,
    kColAmount,
    kColStatus,
    kColPayment,
    kColSalesperson,
    kInvoiceColumns
};

// A row from a hit: the text is cut at its tab characters into at most ten pieces, one per column in order;
// pieces past the tenth are dropped, and each piece is cut to its field.
InvoiceRow make_invoice_row(const InvoiceSearchRow& hit);

// The text of a column ("" for a column outside 0..9).
std::string_view column_text(const InvoiceRow& row, int column);
// Stores a column's text, cut to its field.
void set_column_text(InvoiceRow& row, int column, std::string_view text);

}  // namespace stk::client
