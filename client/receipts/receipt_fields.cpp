#include "client/receipts/receipt_fields.h"

#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

// City + ", " + state + " " + zip code; nothing at all when the city is empty.
std::string city_state_zip(std::string_view city, std::string_view state, std::string_view zip) {
    if (city.empty()) return {};
    std::string text(city);
    text += ", ";
    text += state;
    text += ' ';
    text += zip;
    return text;
}

#define STK_INVOICE_FIELD(member) [](const ReceiptContent& c) { return std::string(field(c.invoice.member)); }
#define STK_LINE_FIELD(member) [](const InvoiceLine& l) { return field(l.member); }

const ReceiptDataField kFields[] = {
    {"INVOICE NUMBER FIELD", STK_INVOICE_FIELD(invoice_number), nullptr},
    {"BUSINESS NAME FIELD", [](const ReceiptContent& c) { return c.company.name; }, nullptr},
    {"BUSINESS ADDRESS FIELD", [](const ReceiptContent& c) { return c.company.address; }, nullptr},
    {"BUSINESS CITY STATE ZIPCODE FIELD",
     [](const ReceiptContent& c) { return city_state_zip(c.company.city, c.company.state, c.company.zip_code); },
     nullptr},
    {"BUSINESS PHONE NUMBER FIELD", [](const ReceiptContent& c) { return c.company.phone_number; }, nullptr},
    {"CURRENT DATE FIELD", [](const ReceiptContent& c) { return c.current_date; }, nullptr},
    {"CUSTOMER NAME FIELD", STK_INVOICE_FIELD(customer_name), nullptr},
    {"CUSTOMER ADDRESS FIELD", STK_INVOICE_FIELD(customer_address), nullptr},
    {"CUSTOMER CITY STATE ZIPCODE FIELD",
     [](const ReceiptContent& c) {
         return city_state_zip(field(c.invoice.customer_city), field(c.invoice.customer_state),
                               field(c.invoice.customer_zip_code));
     },
     nullptr},
    {"CUSTOMER PHONE NUMBER FIELD", STK_INVOICE_FIELD(customer_phone_number), nullptr},
    {"DATE FIELD", STK_INVOICE_FIELD(date), nullptr},
    {"TIME FIELD", STK_INVOICE_FIELD(time), nullptr},
    {"ACCOUNT NUMBER FIELD", STK_INVOICE_FIELD(account_number), nullptr},
    {"ORDER NUMBER FIELD", STK_INVOICE_FIELD(order_number), nullptr},
    {"SALESPERSON FIELD", STK_INVOICE_FIELD(salesperson), nullptr},
    {"PAYMENT TERMS FIELD", [](const ReceiptContent& c) { return c.payment_terms; }, nullptr},
    {"CASH RECEIVED FIELD", STK_INVOICE_FIELD(cash_received), nullptr},
    {"CHANGE FIELD", STK_INVOICE_FIELD(change), nullptr},
    {"NOTE FIELD", STK_INVOICE_FIELD(note), nullptr},
    {"SUBTOTAL FIELD", STK_INVOICE_FIELD(subtotal), nullptr},
    {"TAX FIELD", STK_INVOICE_FIELD(tax), nullptr},
    {"TOTAL FIELD", STK_INVOICE_FIELD(total), nullptr},
    {"ITEM QUANTITY FIELD", nullptr, STK_LINE_FIELD(quantity)},
    {"ITEM BACKORDER QUANTITY FIELD", nullptr, STK_LINE_FIELD(backorder_quantity)},
    {"ITEM NUMBER FIELD", nullptr, STK_LINE_FIELD(item_number)},
    {"ITEM DESCRIPTION FIELD", nullptr, STK_LINE_FIELD(description)},
    {"ITEM REMARK FIELD", nullptr, STK_LINE_FIELD(remark)},
    {"ITEM UNIT PRICE FIELD", nullptr, STK_LINE_FIELD(unit_price)},
    {"ITEM AMOUNT FIELD", nullptr, STK_LINE_FIELD(amount)},
    {"ITEM TAX FIELD", nullptr, STK_LINE_FIELD(tax_percent)},
    {"ITEM NOTE FIELD", nullptr, STK_LINE_FIELD(note)},
    {"ITEM UNIT COST FIELD", nullptr, STK_LINE_FIELD(unit_cost)},
};

#undef STK_INVOICE_FIELD
#undef STK_LINE_FIELD

static_assert(std::size(kFields) == 32);

}  // namespace

const ReceiptDataField* find_data_field(std::string_view element_name) {
    for (const ReceiptDataField& f : kFields) {
        if (equal_ci(element_name, f.name)) return &f;
    }
    return nullptr;
}

int printed_line_count(const InvoiceRecord& invoice) {
    // A damaged or hostile copy may claim any count; the record has room for twelve lines.
    if (invoice.line_count < 0) return 0;
    return invoice.line_count > kMaxInvoiceLines ? kMaxInvoiceLines : invoice.line_count;
}

std::string payment_terms_of(const InvoiceRecord& invoice) {
    if (invoice.payment <= PAYMENT_UNPAID || invoice.payment > PAYMENT_WARRANTY) return {};
    return std::string(payment_word(invoice.payment));
}

}  // namespace stk::client
