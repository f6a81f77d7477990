// What a receipt prints: the invoice copy, the company details and the few values taken at print time, and
// the data field names by which a layout element asks for one of them.
#pragma once

#include <string>
#include <string_view>

#include "common/records.h"

namespace stk::client {

// The company details of the client settings, as Windows-1252 bytes.
struct ReceiptCompany {
    std::string name;
    std::string address;
    std::string city;
    std::string state;
    std::string zip_code;
    std::string phone_number;
};

struct ReceiptContent {
    InvoiceRecord invoice{};  // the client's copy of the invoice, printed as stored
    ReceiptCompany company;
    std::string payment_terms;  // the payment list's entry; "" when unpaid or none is selected
    std::string current_date;   // "MM/dd/yyyy"
    double row_height = 0.14;   // RowHeight: item lines are 3 x this many inches apart
};

// A data field of the layout table. Exactly one of the two readers is set: `value` for a field printed once,
// `line_value` for an item field printed for every line of the invoice.
struct ReceiptDataField {
    const char* name;
    std::string (*value)(const ReceiptContent&);
    std::string_view (*line_value)(const InvoiceLine&);
};

// The data field an element's name names, compared without regard to case; nullptr for a literal element.
const ReceiptDataField* find_data_field(std::string_view element_name);

// The lines an item field walks: the copy's line_count, kept within 0..12 whatever the copy says.
int printed_line_count(const InvoiceRecord& invoice);

// "CASH", "CHECK", ... for a paid invoice's payment code; "" for unpaid or an unknown code.
std::string payment_terms_of(const InvoiceRecord& invoice);

}  // namespace stk::client
