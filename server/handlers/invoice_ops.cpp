#include "server/handlers/invoice_ops.h"

#include <algorithm>
#include <cstring>

#include "common/dates.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/db/invoice_texts.h"
#include "server/db/write_through.h"
#include "server/handlers/inventory_ops.h"

namespace stk::server {

namespace {

bool valid_index(const ServerDatabase& db, int index) { return index >= 1 && index <= db.invoices.count; }

// The client must hold exactly the bytes of our record, padding and stale line slots included.
bool copy_is_current(const ServerDatabase& db, int index, const InvoiceRecord& copy) {
    return std::memcmp(&db.invoices[index], &copy, sizeof(InvoiceRecord)) == 0;
}

// Slot of the inventory item a line names; a line without an item number is a non-inventory line.
int item_of(const ServerDatabase& db, std::string_view item_number) {
    if (item_number.empty()) return 0;
    return find_item(db, item_number);
}

bool empty_invoice(const InvoiceRecord& r) {
    return r.line_count == 0 && field_empty(r.invoice_number) && field_empty(r.date) && field_empty(r.time) &&
           field_empty(r.account_number) && field_empty(r.customer_name) && field_empty(r.customer_address) &&
           field_empty(r.customer_city) && field_empty(r.customer_state) && field_empty(r.customer_zip_code) &&
           field_empty(r.customer_phone_number) && field_empty(r.order_number) && field_empty(r.cash_received) &&
           field_empty(r.note);
}

// Stock of an item moved by an invoice line; the layers then follow the new quantity.
void set_stock(ServerDatabase& db, ChangeSet& changes, int item, double quantity) {
    set_field(db.inventory[item].quantity, format_quantity(quantity));
    refit_layers(db, item);
    changes.layers_of(field(db.inventory[item].item_number));
}

// The item's figures follow the invoices (the ones this request changed are read again first); the request
// saves the inventory with them.
void refresh_item(ServerDatabase& db, ChangeSet& changes, int item) {
    db.invoice_index.changed(changes.invoices());
    refresh_statistics(db, item);
    changes.item(item);
}

}  // namespace

void recompute_invoice(ServerDatabase& db, int index) {
    if (index < 0 || index > db.invoices.count) return;
    InvoiceRecord& r = db.invoices[index];
    // The tax rate factor is the single-precision 0.01 the totals have always been computed with.
    const double percent = static_cast<double>(0.01f);
    double subtotal = 0.0;
    double tax = 0.0;
    for (int i = 0; i < used_lines(r); ++i) {
        const InvoiceLine& line = r.lines[i];
        double amount = 0.0;
        if (!is_number(field(line.amount), &amount)) continue;
        subtotal += amount;
        double rate = 0.0;
        if (is_number(field(line.tax_percent), &rate)) tax += amount * rate * percent;
    }
    set_field(r.subtotal, format_2f(subtotal));
    set_field(r.tax, format_2f(tax));
    set_field(r.total, format_2f(subtotal + tax));
    double cash = 0.0;
    if (is_number(field(r.cash_received), &cash)) {
        set_field(r.change, format_2f(cash - (subtotal + tax)));
    } else {
        set_field(r.change, "0.00");
    }
}

Result new_invoice(ServerDatabase& db, int* index) {
    *index = 0;
    for (int n = 1; n <= db.invoices.count; ++n) {
        InvoiceRecord& r = db.invoices[n];
        if (!empty_invoice(r)) continue;
        set_field(r.cash_received, "");
        set_field(r.change, "");
        set_field(r.salesperson, "");
        r.reserved = 0;
        r.payment = 0;
        r.status = 0;
        *index = n;
        // Not written, as ever; noted so that a whole save of the invoices never puts it ahead of the journal.
        db.unjournaled.invoice(n);
        db.invoice_index.changed(n);
        return RESULT_OK;
    }
    if (db.invoices.count >= db.max_invoices || db.invoices.count >= kMaxInvoicesInFile) {
        db.log_line(std::string(kInvoiceCapacityText) + "\r\n");
        return RESULT_FAILED;
    }
    if (!db.invoices.grow_for_one()) {
        db.log_line(kNoMemoryText);
        return RESULT_FAILED;
    }
    ChangeSet changes(db);
    const int n = db.invoices.count + 1;
    InvoiceRecord& r = db.invoices[n];
    std::memset(&r, 0, sizeof r);
    set_field(r.cash_received, "");
    set_field(r.change, "");
    set_field(r.subtotal, "0.00");
    set_field(r.tax, "0.00");
    set_field(r.total, "0.00");
    db.invoices.count = n;
    *index = n;
    changes.invoice(n);
    return write_through(db, changes);
}

Result add_invoice_item(ServerDatabase& db, int index, int take_from_stock, const InvoiceRecord& copy,
                        const InvoiceLine& new_line) {
    if (!valid_index(db, index)) {
        db.log_line(kAddToMissingInvoiceText);
        return RESULT_FAILED;
    }
    if (db.invoices[index].line_count >= kMaxInvoiceLines) {
        db.log_line(kAddToFullInvoiceText);
        return RESULT_FAILED;
    }
    if (field_empty(new_line.description) || field_empty(new_line.unit_cost)) {
        db.log_line(kAddIncompleteItemText);
        return RESULT_FAILED;
    }

    InvoiceLine line = new_line;
    if (take_from_stock == 1) {
        std::string cost;
        if (fifo_cost_query(db, field(line.item_number), field(line.quantity), cost)) set_field(line.unit_cost, cost);
    }
    double cost = 0.0;
    if (is_number(field(line.unit_cost), &cost)) set_field(line.unit_cost, format_2f(cost));
    double price = 0.0;
    if (is_number(field(line.unit_price), &price)) {
        set_field(line.unit_price, format_2f(price));
        double quantity = 0.0;
        set_field(line.amount, format_2f(is_number(field(line.quantity), &quantity) ? price * quantity : price));
    } else {
        set_field(line.amount, field(line.unit_price));
    }

    if (!copy_is_current(db, index, copy)) return RESULT_CHANGED;

    ChangeSet changes(db);
    changes.invoice(index);
    InvoiceRecord& r = db.invoices[index];
    r.lines[r.line_count] = line;
    r.line_count += 1;
    recompute_invoice(db, index);

    if (const int item = item_of(db, field(line.item_number))) {
        double stock = 0.0;
        if (take_from_stock == 1 && is_number(field(db.inventory[item].quantity), &stock)) {
            double left = stock - number_or(field(line.quantity), 0.0);
            if (left < kQuantityClamp) left = 0.0;
            set_stock(db, changes, item, left);
        }
        refresh_item(db, changes, item);
    }
    return write_through(db, changes);
}

Result fill_backorder(ServerDatabase& db, int index, int line_number, const InvoiceRecord& copy,
                      const InvoiceLine& delivered, double* filled) {
    *filled = 0.0;
    if (!valid_index(db, index) || line_number < 1 || line_number > db.invoices[index].line_count) {
        return RESULT_FAILED;
    }
    if (!copy_is_current(db, index, copy)) return RESULT_CHANGED;

    InvoiceLine& line = db.invoices[index].lines[line_number - 1];
    double d = 0.0;
    double b = 0.0;
    if (!is_number(field(delivered.quantity), &d) || !is_number(field(line.backorder_quantity), &b)) {
        return RESULT_FAILED;
    }
    ChangeSet changes(db);
    changes.invoice(index);
    double taken = 0.0;
    if (b > d) {
        taken = d;
        set_field(line.backorder_quantity, format_quantity(b - d));
    } else {
        taken = b;
        set_field(line.backorder_quantity, "");
    }
    *filled = taken;

    double q = 0.0;
    double c = 0.0;
    double c_new = 0.0;
    if (is_number(field(line.quantity), &q) && is_number(field(line.unit_cost), &c) &&
        is_number(field(delivered.unit_cost), &c_new)) {
        const double delivered_before = q - b;
        const double units = taken + delivered_before;
        // With nothing delivered at all there is no average; the line keeps its cost rather than "nan".
        if (units != 0.0) set_field(line.unit_cost, format_2f((delivered_before * c + c_new * taken) / units));
    }

    if (const int item = item_of(db, field(delivered.item_number))) {
        double stock = 0.0;
        if (is_number(field(db.inventory[item].quantity), &stock)) set_stock(db, changes, item, stock - taken);
        refresh_item(db, changes, item);
    }
    return write_through(db, changes);
}

Result remove_invoice_item(ServerDatabase& db, int index, int line_number, int return_to_stock,
                           const InvoiceRecord& copy) {
    if (!valid_index(db, index) || line_number < 1) return RESULT_FAILED;
    InvoiceRecord& r = db.invoices[index];
    if (line_number > r.line_count) return RESULT_CHANGED;
    if (!copy_is_current(db, index, copy)) return RESULT_CHANGED;

    ChangeSet changes(db);
    changes.invoice(index);
    const InvoiceLine removed = r.lines[line_number - 1];
    for (int i = line_number; i < r.line_count; ++i) r.lines[i - 1] = r.lines[i];
    r.line_count -= 1;
    recompute_invoice(db, index);

    double delivered = 0.0;
    double quantity = 0.0;
    if (is_number(field(removed.quantity), &quantity)) {
        double backorder = 0.0;
        delivered = is_number(field(removed.backorder_quantity), &backorder) ? quantity - backorder : quantity;
    }

    if (const int item = item_of(db, field(removed.item_number))) {
        double stock = 0.0;
        if (return_to_stock == 1 && is_number(field(db.inventory[item].quantity), &stock)) {
            set_stock(db, changes, item, stock + delivered);
        }
        refresh_item(db, changes, item);
    }
    return write_through(db, changes);
}

Result replace_invoice_item(ServerDatabase& db, int index, int line_number, const InvoiceRecord& copy,
                            const InvoiceLine& new_line) {
    if (!valid_index(db, index) || line_number < 1 || line_number > db.invoices[index].line_count ||
        field_empty(new_line.description) || field_empty(new_line.unit_cost)) {
        return RESULT_FAILED;
    }
    if (!copy_is_current(db, index, copy)) return RESULT_CHANGED;

    ChangeSet changes(db);
    changes.invoice(index);
    changes.inventory();
    db.invoices[index].lines[line_number - 1] = new_line;
    recompute_invoice(db, index);
    if (const int item = item_of(db, field(new_line.item_number))) refresh_item(db, changes, item);
    return write_through(db, changes);
}

Result set_invoice_field(ServerDatabase& db, int index, int field_code, std::string_view text,
                         const InvoiceRecord& copy, std::string* change) {
    if (!valid_index(db, index)) return RESULT_FAILED;
    if (!copy_is_current(db, index, copy)) return RESULT_CHANGED;

    ChangeSet changes(db);
    changes.invoice(index);
    InvoiceRecord& r = db.invoices[index];
    switch (field_code) {
        case FIELD_CASH_RECEIVED:
            set_field(r.cash_received, text);
            recompute_invoice(db, index);
            break;
        case FIELD_CUSTOMER_NAME: set_field(r.customer_name, text); break;
        case FIELD_DATE: set_field(r.date, text); break;
        case FIELD_INVOICE_NUMBER: set_field(r.invoice_number, text); break;
        case FIELD_NOTE: set_field(r.note, text); break;
        case FIELD_CUSTOMER_PHONE: set_field(r.customer_phone_number, text); break;
        case FIELD_ORDER_NUMBER: set_field(r.order_number, text); break;
        case FIELD_SALESPERSON: set_field(r.salesperson, text); break;
        case FIELD_TIME: set_field(r.time, text); break;
        default: break;
    }
    const Result result = write_through(db, changes);
    if (result == RESULT_OK && field_code == FIELD_CASH_RECEIVED && change) *change = std::string(field(r.change));
    return result;
}

Result set_invoice_payment(ServerDatabase& db, int index, int payment, const InvoiceRecord& copy) {
    if (!valid_index(db, index)) return RESULT_FAILED;
    if (!copy_is_current(db, index, copy)) return RESULT_CHANGED;

    InvoiceRecord& r = db.invoices[index];
    if (r.payment == payment) return RESULT_OK;
    ChangeSet changes(db);
    changes.invoice(index);
    changes.inventory();
    r.payment = payment;
    if (payment != 0) {
        r.status = STATUS_COMPLETE;
        if (field_empty(r.invoice_number)) {
            const double highest = db.invoice_index.highest_number(db.invoices);
            // Plain decimal even from one million on: "1e+06" would not read back as a number, and the next
            // invoice would be given the same number again.
            set_field(r.invoice_number, format_quantity(highest + 1));
        }
        if (field_empty(r.date)) {
            const std::tm now = local_now();
            set_field(r.date, format_date(now));
            set_field(r.time, format_invoice_time(now));
        }
    }
    // Gross profit counts paid invoices only, so every item on the invoice is affected.
    for (int i = 0; i < used_lines(r); ++i) {
        if (const int item = item_of(db, field(r.lines[i].item_number))) refresh_item(db, changes, item);
    }
    return write_through(db, changes);
}

Result set_invoice_status(ServerDatabase& db, int index, int status, const InvoiceRecord& copy) {
    if (!valid_index(db, index)) return RESULT_FAILED;
    if (!copy_is_current(db, index, copy)) return RESULT_CHANGED;
    ChangeSet changes(db);
    changes.invoice(index);
    db.invoices[index].status = status;
    return write_through(db, changes);
}

Result set_invoice_customer(ServerDatabase& db, int index, const InvoiceRecord& copy, const InvoiceRecord& header) {
    if (!valid_index(db, index)) return RESULT_FAILED;
    if (!copy_is_current(db, index, copy)) return RESULT_CHANGED;

    ChangeSet changes(db);
    changes.invoice(index);
    InvoiceRecord& r = db.invoices[index];
    set_field(r.account_number, field(header.account_number));
    set_field(r.customer_name, field(header.customer_name));
    set_field(r.customer_phone_number, field(header.customer_phone_number));
    set_field(r.customer_address, field(header.customer_address));
    set_field(r.customer_city, field(header.customer_city));
    set_field(r.customer_state, field(header.customer_state));
    set_field(r.customer_zip_code, field(header.customer_zip_code));
    set_field(r.invoice_number, field(header.invoice_number));
    set_field(r.order_number, field(header.order_number));
    set_field(r.date, field(header.date));
    set_field(r.time, field(header.time));
    set_field(r.salesperson, field(header.salesperson));
    set_field(r.note, field(header.note));
    set_field(r.cash_received, field(header.cash_received));
    set_field(r.change, field(header.change));
    recompute_invoice(db, index);
    return write_through(db, changes);
}

int get_invoice(const ServerDatabase& db, int index, InvoiceRecord& out) {
    if (!valid_index(db, index)) return RESULT_FAILED;
    out = db.invoices[index];
    return RESULT_OK;
}

int get_invoice_item(const ServerDatabase& db, int index, int line, InvoiceLine& out) {
    if (!valid_index(db, index) || line < 1 || line > used_lines(db.invoices[index])) return RESULT_FAILED;
    out = db.invoices[index].lines[line - 1];
    return RESULT_OK;
}

int get_invoice_totals(ServerDatabase& db, int index, double totals[4]) {
    totals[0] = totals[1] = totals[2] = totals[3] = 0.0;
    if (!valid_index(db, index)) return RESULT_FAILED;
    recompute_invoice(db, index);
    const InvoiceRecord& r = db.invoices[index];
    totals[0] = number_or(field(r.change), 0.0);
    totals[1] = number_or(field(r.subtotal), 0.0);
    totals[2] = number_or(field(r.tax), 0.0);
    totals[3] = number_or(field(r.total), 0.0);
    return RESULT_OK;
}

void find_backorder(const ServerDatabase& db, std::string_view item_number, int first_index, int* found_index,
                    int* found_line) {
    *found_index = 0;
    *found_line = 0;
    if (item_number.empty()) return;
    for (int n = std::max(first_index, 1); n <= db.invoices.count; ++n) {
        const InvoiceRecord& r = db.invoices[n];
        for (int i = 0; i < used_lines(r); ++i) {
            const InvoiceLine& line = r.lines[i];
            double backorder = 0.0;
            if (!equal_ci(field(line.item_number), item_number)) continue;
            if (!is_number(field(line.backorder_quantity), &backorder) || !(backorder > 0.0)) continue;
            *found_index = n;
            *found_line = i + 1;
            return;
        }
    }
}

}  // namespace stk::server
