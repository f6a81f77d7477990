// What the contacts windows and the automatic contact of a paid invoice decide about contacts: which ones a
// search finds, how the list sorts, which contact an invoice's customer already is, and how a contact and an
// invoice's customer fields turn into each other.
#pragma once

#include <string_view>

#include "client/contacts/contacts.h"
#include "common/records.h"

namespace stk::client {

// The search text occurs, without regard to case, in the account number, address, city, contact, mobile
// number, name, note, phone number, state or web address (not the fax number, zip code or e-mail address).
// An empty search finds every contact.
bool contact_matches(const ContactRecord& contact, std::string_view search);

// The list's order of two texts of one column: both numbers compare by value (-1 when a is smaller, else 1,
// so equal numbers give 1); otherwise as text, by the locale and with case.
int compare_contact_texts(std::string_view a, std::string_view b);

// The slot of the first contact whose name and phone number equal these, without case and without the blanks
// and tabs around either side; 0 when there is none.
int find_contact(const ContactTable& table, std::string_view name, std::string_view phone);

// A contact of an invoice's account number and six customer texts, each trimmed of blanks and tabs.
ContactRecord contact_of_customer(const InvoiceRecord& invoice);
// Puts a contact's account number, name, phone number and address into an invoice's customer fields.
void put_contact_on_invoice(const ContactRecord& contact, InvoiceRecord& invoice);

}  // namespace stk::client
