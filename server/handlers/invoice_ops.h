// Invoice requests: each change is checked against the client's copy and written through.
#pragma once

#include <string>
#include <string_view>

#include "common/protocol.h"
#include "server/db/database.h"

namespace stk::server {

// The changing requests answer RESULT_FAILED (0) for a request they refuse, RESULT_CHANGED (2) when the
// client's copy of the invoice is out of date (or, for REMOVE, the line is gone), RESULT_OK (1) when the change
// is made and on disk, and RESULT_SAVE_FAILED (4) when it is made in memory but a file could not be written.
// Each writes through write_through (server/db/write_through.h): a journal record, then the inventory files
// when the request touches the inventory, then the invoice's slot in place.

// NEW_INVOICE: the index of the new or reused invoice in *index. A reused empty slot is not written.
Result new_invoice(ServerDatabase& db, int* index);
Result add_invoice_item(ServerDatabase& db, int index, int take_from_stock, const InvoiceRecord& copy,
                        const InvoiceLine& line);
// FILL_BACKORDER: *filled = quantity taken off the backorder.
Result fill_backorder(ServerDatabase& db, int index, int line, const InvoiceRecord& copy, const InvoiceLine& delivered,
                      double* filled);
Result remove_invoice_item(ServerDatabase& db, int index, int line, int return_to_stock, const InvoiceRecord& copy);
// REPLACE_INVOICE_ITEM and SET_INVOICE_PAYMENT always save the inventory as well.
Result replace_invoice_item(ServerDatabase& db, int index, int line, const InvoiceRecord& copy,
                            const InvoiceLine& new_line);
// SET_INVOICE_FIELD: on 1 with field 400, *change = the invoice's new change text.
Result set_invoice_field(ServerDatabase& db, int index, int field_code, std::string_view text,
                         const InvoiceRecord& copy, std::string* change);
Result set_invoice_payment(ServerDatabase& db, int index, int payment, const InvoiceRecord& copy);
Result set_invoice_status(ServerDatabase& db, int index, int status, const InvoiceRecord& copy);
Result set_invoice_customer(ServerDatabase& db, int index, const InvoiceRecord& copy, const InvoiceRecord& header);

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
