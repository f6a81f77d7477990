// Header fields saved as they are typed, payment, status, customer, new invoices and backorder fills.
#include "client/invoice/invoice_workspace.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cstring>

#include "client/inventory/inventory_pane.h"
#include "client/invoice/invoice_dialogs.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

namespace id = ids;

namespace {

// The customer fields as SET_INVOICE_CUSTOMER and the customer dialog know them, in dialog order.
template <class Fn>
void for_customer_fields(InvoiceRecord& r, Fn fn) {
    fn(r.account_number, 31);
    fn(r.customer_name, 63);
    fn(r.customer_phone_number, 63);
    fn(r.customer_address, 63);
    fn(r.customer_city, 63);
    fn(r.customer_state, 63);
    fn(r.customer_zip_code, 63);
}

}  // namespace

void InvoiceWorkspace::copy_customer(const InvoiceRecord& from, InvoiceRecord& to, bool trim) {
    auto put = [trim](auto& destination, const auto& source) {
        const std::string_view text = field(source);
        set_field(destination, trim ? trim_blanks(text) : text);
    };
    put(to.account_number, from.account_number);
    put(to.customer_name, from.customer_name);
    put(to.customer_phone_number, from.customer_phone_number);
    put(to.customer_address, from.customer_address);
    put(to.customer_city, from.customer_city);
    put(to.customer_state, from.customer_state);
    put(to.customer_zip_code, from.customer_zip_code);
}

void InvoiceWorkspace::restore_typed_text(int fid, const QString& text, int cursor) {
    QLineEdit* e = w_.edit(fid);
    if (!e || e->text() == text) return;
    set_filling(true);
    e->setText(text);
    e->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
    set_filling(false);
}

int InvoiceWorkspace::save_field(int fid) {
    QLineEdit* e = w_.edit(fid);
    const QString typed = e ? e->text() : QString();
    const int cursor = e ? e->cursorPosition() : 0;
    if (!ready_for_change(true)) return 0;
    // What the user typed is what is saved, whatever a reload before the save put into the edit.
    restore_typed_text(fid, typed, cursor);
    // text_a holds 63 characters.
    const std::string text = read_edit(fid, 63);
    std::string change;
    note(SET_INVOICE_FIELD, text);
    const int r = api_.set_invoice_field(index_, fid, text, copy_, &change);
    if (r == RESULT_OK) {
        switch (fid) {
            case FIELD_CASH_RECEIVED:
                set_field(copy_.cash_received, text);
                set_field(copy_.change, change);
                if (w_.change) w_.change->setText(field_text(copy_.change));
                break;
            case FIELD_CUSTOMER_NAME: set_field(copy_.customer_name, text); break;
            case FIELD_DATE: set_field(copy_.date, text); break;
            case FIELD_INVOICE_NUMBER: set_field(copy_.invoice_number, text); break;
            case FIELD_NOTE: set_field(copy_.note, text); break;
            case FIELD_CUSTOMER_PHONE: set_field(copy_.customer_phone_number, text); break;
            case FIELD_ORDER_NUMBER: set_field(copy_.order_number, text); break;
            case FIELD_SALESPERSON: set_field(copy_.salesperson, text); break;
            case FIELD_TIME: set_field(copy_.time, text); break;
            default: break;
        }
        // A character Windows-1252 cannot hold is stored as "?": the edit shows the stored text at once.
        restore_typed_text(fid, from_1252(text), cursor);
        return 1;
    }
    settle_change(r);
    return 0;
}

int InvoiceWorkspace::change_payment(int payment) {
    if (!ready_for_change(true)) {
        show_choices();
        return 0;
    }
    if (field_empty(copy_.salesperson)) identify_salesperson();
    note(SET_INVOICE_PAYMENT);
    const int r = api_.set_invoice_payment(index_, payment, copy_);
    if (!settle_change(r)) {
        show_choices();  // the list shows the payment that is stored, not the one refused
        return 0;
    }
    if (r == RESULT_OK) resync();

    // A paying customer with a name and a phone number goes into the contacts, once.
    if (paid() && !field_empty(copy_.customer_name) && !field_empty(copy_.customer_phone_number) &&
        contacts_.contains && !contacts_.contains(field(copy_.customer_name), field(copy_.customer_phone_number))) {
        if (contacts_.full && contacts_.full()) {
            show_string(owner(), str::kContactsFull, MsgIcon::Information);
        } else if (contacts_.append) {
            InvoiceRecord customer{};
            copy_customer(copy_, customer, true);
            contacts_.append(customer);
        }
        if (contacts_.save && !contacts_.save()) {
            const QString path = contacts_.file_path ? contacts_.file_path() : QString();
            show_string(owner(), str::kCannotSaveContacts, MsgIcon::Error, MsgButtons::Ok, MsgAnswer::Ok,
                        QStringLiteral("\r\n") + path);
        }
    }
    if (inventory_) inventory_->refresh();
    return 1;
}

int InvoiceWorkspace::change_status(int status) {
    if (!ready_for_change(true)) {
        show_choices();
        return 0;
    }
    note(SET_INVOICE_STATUS);
    const int r = api_.set_invoice_status(index_, status, copy_);
    if (r == RESULT_OK) {
        copy_.status = status;
        return 1;
    }
    if (settle_change(r)) return 1;
    show_choices();  // the list shows the status that is stored, not the one refused
    return 0;
}

int InvoiceWorkspace::set_invoice_customer(const InvoiceRecord& header) {
    InvoiceRecord scratch;
    std::memcpy(&scratch, &header, sizeof scratch);
    if (copy_unknown_) {
        if (!ready_for_change(true)) return 0;
        // The header was built on a copy that was not current: its customer is the caller's, the rest of it
        // is what is stored now.
        std::memcpy(&scratch, &copy_, sizeof scratch);
        copy_customer(header, scratch, false);
    }
    note(SET_INVOICE_CUSTOMER);
    const int r = api_.set_invoice_customer(index_, copy_, scratch);
    // The screen shows the stored customer after every answer, also when the user emptied the name edit and
    // the change was refused. Answers 2 and 4 reload in settle_change; no answer leaves the copy unknown.
    const bool made = settle_change(r);
    if (r == RESULT_OK || r == RESULT_FAILED) resync();
    return made ? 1 : 0;
}

int InvoiceWorkspace::edit_customer() {
    if (!ready_for_change(true)) return 0;
    std::array<QString, CustomerDialog::kEdits> values;
    int i = 0;
    for_customer_fields(copy_, [&](auto& f, int) { values[static_cast<std::size_t>(i++)] = field_text(f); });
    CustomerDialog dialog(owner(), values);
    if (DialogSeam::exec(dialog) != QDialog::Accepted) return 0;
    InvoiceRecord scratch;
    std::memcpy(&scratch, &copy_, sizeof scratch);
    i = 0;
    for_customer_fields(scratch,
                        [&](auto& f, int limit) { set_field(f, trim_blanks(to_1252(dialog.value(i++).left(limit)))); });
    return set_invoice_customer(scratch);
}

int InvoiceWorkspace::clear_customer() {
    if (!ready_for_change(true)) return 0;
    InvoiceRecord scratch;
    std::memcpy(&scratch, &copy_, sizeof scratch);
    for_customer_fields(scratch, [](auto& f, int) { set_field(f, ""); });
    return set_invoice_customer(scratch);
}

void InvoiceWorkspace::identify_salesperson() {
    SalespersonDialog dialog(owner(), field_text(copy_.salesperson));
    if (DialogSeam::exec(dialog) != QDialog::Accepted) return;
    // The salesperson edit saves itself as its text changes.
    if (QLineEdit* e = w_.edit(id::kSalesperson)) e->setText(dialog.salesperson().left(63));
}

int InvoiceWorkspace::new_invoice() {
    int index = 0;
    note(NEW_INVOICE);
    const int r = api_.new_invoice(&index);
    if (r != RESULT_OK && r != RESULT_SAVE_FAILED) return 0;
    // Answered 4, the invoice exists in the server's memory: it is the clerk's to sell on, like any new one.
    if (r == RESULT_SAVE_FAILED) show_text(owner(), text::kChangeNotSaved, MsgIcon::Error);
    // Asking for the salesperson of an invoice that is not on screen would name the wrong one.
    if (!load_invoice(index, true)) return 0;
    identify_salesperson();
    return 1;
}

int InvoiceWorkspace::fill_backorder(int index, int line, const InvoiceLine& delivered, double* filled, int* result) {
    double real = 0;
    note(FILL_BACKORDER);
    const int r = api_.fill_backorder(index, line, copy_, delivered, &real);
    if (filled) *filled = real;
    if (result) *result = r;
    if (r == RESULT_OK) return 1;
    if (r == kTransportFailed) {
        copy_unknown_ = true;
        show_string(owner(), str::kCannotUpdateBackorder, MsgIcon::Information);
    } else if (r == RESULT_CHANGED || r == RESULT_SAVE_FAILED) {
        settle_change(r);
    } else {
        load_invoice(index, false);
        show_string(owner(), str::kCannotUpdateBackorder, MsgIcon::Information);
    }
    return 0;
}

}  // namespace stk::client
