#include "client/contacts/contact_rules.h"

#include <string>

#include "client/ui/locale_compare.h"
#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::client {

bool contact_matches(const ContactRecord& c, std::string_view search) {
    if (search.empty()) return true;
    const std::string wanted = upper_1252(search);
    for (std::string_view text :
         {field(c.account_number), field(c.address), field(c.city), field(c.contact), field(c.mobile_number),
          field(c.name), field(c.note), field(c.phone_number), field(c.state), field(c.web_url)}) {
        if (upper_1252(text).find(wanted) != std::string::npos) return true;
    }
    return false;
}

int compare_contact_texts(std::string_view a, std::string_view b) {
    double va = 0, vb = 0;
    if (is_number(a, &va) && is_number(b, &vb)) return va < vb ? -1 : 1;
    return compare_locale_text(a, b);
}

int find_contact(const ContactTable& table, std::string_view name, std::string_view phone) {
    const std::string_view wanted_name = trim_blanks(name);
    const std::string_view wanted_phone = trim_blanks(phone);
    for (int i = 1; i <= table.count(); ++i) {
        if (equal_ci(trim_blanks(field(table[i].name)), wanted_name) &&
            equal_ci(trim_blanks(field(table[i].phone_number)), wanted_phone))
            return i;
    }
    return 0;
}

ContactRecord contact_of_customer(const InvoiceRecord& c) {
    ContactRecord r{};
    set_field(r.account_number, trim_blanks(field(c.account_number)));
    set_field(r.name, trim_blanks(field(c.customer_name)));
    set_field(r.phone_number, trim_blanks(field(c.customer_phone_number)));
    set_field(r.address, trim_blanks(field(c.customer_address)));
    set_field(r.city, trim_blanks(field(c.customer_city)));
    set_field(r.state, trim_blanks(field(c.customer_state)));
    set_field(r.zip_code, trim_blanks(field(c.customer_zip_code)));
    return r;
}

void put_contact_on_invoice(const ContactRecord& contact, InvoiceRecord& invoice) {
    set_field(invoice.account_number, field(contact.account_number));
    set_field(invoice.customer_name, field(contact.name));
    set_field(invoice.customer_phone_number, field(contact.phone_number));
    set_field(invoice.customer_address, field(contact.address));
    set_field(invoice.customer_city, field(contact.city));
    set_field(invoice.customer_state, field(contact.state));
    set_field(invoice.customer_zip_code, field(contact.zip_code));
}

}  // namespace stk::client
