#include "client/app/contacts_attach.h"

#include <QLineEdit>
#include <cstring>

#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/contacts/contact_rules.h"
#include "client/contacts/contacts_window.h"
#include "client/invoice/invoice_workspace.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"

namespace stk::client {

void attach_contacts(MainWindow& w, ContactTable& table, QString file_path, QString& kept_search) {
    auto open = [&w, &table, file_path, &kept_search] {
        ContactsContext context;
        context.table = &table;
        context.file_path = file_path;
        context.kept_search = &kept_search;
        context.font = w.client_area()->font();
        context.invoice_has_customer = [&w] {
            const QLineEdit* name = w.edit(ids::kCustomerName);
            const QLineEdit* phone = w.edit(ids::kPhoneNumber);
            return (name && !name->text().isEmpty()) || (phone && !phone->text().isEmpty());
        };
        context.apply_to_invoice = [&w](const ContactRecord& contact) {
            InvoiceWorkspace* invoice = sale_workspace(w).invoice;
            if (!invoice) return;
            InvoiceRecord scratch;
            std::memcpy(&scratch, &invoice->copy(), sizeof scratch);
            put_contact_on_invoice(contact, scratch);
            invoice->set_invoice_customer(scratch);
        };
        open_contacts_window(std::move(context), &w);
    };
    w.set_command_handler(ids::kContacts, open);
    w.set_command_handler(ids::kMenuContacts, open);
}

void attach_contacts(MainWindow& w) {
    ClientSession& s = session();
    attach_contacts(w, s.contacts, s.contacts_path, s.contact_search);
}

}  // namespace stk::client
