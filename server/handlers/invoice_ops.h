// Invoice requests: each change is checked against the client's copy and written through.
#pragma once

#include <string>
#include <string_view>

#include "server/db/database.h"

namespace stk::server {

// NEW_INVOICE: result, and the index of the new or reused invoice in *index.
int new_invoice(ServerDatabase& db, int* index);
int add_invoice_item(ServerDatabase& db, int index, int take_from_stock, const InvoiceRecord& copy,
                     const InvoiceLine& line);
// FILL_BACKORDER: *filled = quantity taken off the backorder.
int fill_backorder(ServerDatabase& db, int index, int line, const InvoiceRecord& copy, const InvoiceLine& delivered,
                   double* filled);
int remove_invoice_item(ServerDatabase& db, int index, int line, int return_to_stock, const InvoiceRecord& copy);
int replace_invoice_item(ServerDatabase& db, int index, int line, const InvoiceRecord& copy,
                         const InvoiceLine& new_line);
// SET_INVOICE_FIELD: on 1 with field 400, *change = the invoice's new change text.
int set_invoice_field(ServerDatabase& db, int index, int field_code, std::string_view text, const InvoiceRecord& copy,
                      std::string* change);
int set_invoice_payment(ServerDatabase& db, int index, int payment, const InvoiceRecord& copy);
int set_invoice_status(ServerDatabase& db, int index, int status, const InvoiceRecord& copy);
int set_invoice_customer(ServerDatabase& db, int index, const InvoiceRecord& copy, const InvoiceRecord& header);

// GET_INVOICE / GET_INVOICE_ITEM: 1 and the record, else 0 and `out` untouched.
int get_invoice(const ServerDatabase& db, int index, InvoiceRecord& out);
int get_invoice_item(const ServerDatabase& db, int index, int line, InvoiceLine& out);
// GET_INVOICE_TOTALS: for a valid index recomputes the invoice and gives change, subtotal, tax, total.
int get_invoice_totals(ServerDatabase& db, int index, double totals[4]);
// FIND_BACKORDER: *found_index (0 when none) and *found_line.
void find_backorder(const ServerDatabase& db, std::string_view item_number, int first_index, int* found_index,
                    int* found_line);

// Recomputes subtotal, tax, total and change of invoice `index` in memory.
void recompute_invoice(ServerDatabase& db, int index);

}  // namespace stk::server
