#include "client/app/sale_attach.h"

#include <QComboBox>
#include <QFile>
#include <QTreeView>

#include "client/app/inventory_attach.h"
#include "client/app/session.h"
#include "client/contacts/contact_rules.h"
#include "client/contacts/contacts.h"
#include "client/inventory/inventory_pane.h"
#include "client/invoice/invoice_item_dialog.h"
#include "client/invoice/invoice_workspace.h"
#include "client/main_window/main_window.h"
#include "client/price_files/price_search.h"
#include "client/ui/artwork.h"
#include "client/ui/control_ids.h"
#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {

SaleWidgets sale_widgets(MainWindow& w) {
    SaleWidgets s;
    s.window = &w;
    for (int id : {ids::kCashReceived, ids::kCustomerName, ids::kInvoiceDate, ids::kDescription, ids::kInvoiceNumber,
                   ids::kItemNumber, ids::kInvoiceNote, ids::kPhoneNumber, ids::kOrderNumber, ids::kOrderQuantity,
                   ids::kBackorderQuantity, ids::kRemark, ids::kSalesperson, ids::kInvoiceTime, ids::kUnitPrice,
                   ids::kUnitCost, ids::kTaxPercent}) {
        if (QLineEdit* e = w.edit(id)) s.edits[id] = e;
    }
    s.inventory_item = w.inventory_item_check();
    s.status = w.status_list();
    s.payment = w.payment_list();
    s.change = w.change_value();
    s.subtotal = w.subtotal_value();
    s.tax = w.tax_value();
    s.total = w.total_value();
    s.inventory_list = w.inventory_list();
    s.invoice_lines = w.invoice_lines();
    s.filling_fields = &w.filling_fields;
    return s;
}

SaleWorkspace attach_sale(MainWindow& w, ServerApi& api, SaleSettings settings, ContactsAccess contacts) {
    const SaleWidgets widgets = sale_widgets(w);
    auto* inventory = new InventoryPane(api, settings, widgets, &w);
    inventory->setObjectName(QStringLiteral("InventoryPane"));
    auto* invoice = new InvoiceWorkspace(api, settings, widgets, &w);
    invoice->setObjectName(QStringLiteral("InvoiceWorkspace"));
    invoice->set_inventory(inventory);
    invoice->set_contacts(std::move(contacts));
    invoice->lines_model().set_icons(small_image(0), small_image(1));

    // The window routes the edits, the two lists and the type-ahead timer; we set up the list views.
    inventory->connect_widgets(false);
    invoice->connect_widgets();
    inventory->context_command = [&w](int command) { w.run_command(command); };

    w.on_add_to_invoice = [invoice, inventory] {
        inventory->sort_by_stock = false;
        return invoice->add_line();
    };
    w.on_save_field = [invoice](int id) { return invoice->save_field(id); };
    w.on_clear_customer = [invoice] { invoice->clear_customer(); };
    w.on_payment_selected = [invoice](int index) { invoice->change_payment(index); };
    w.on_status_selected = [invoice](int index) { return invoice->change_status(index); };
    w.on_inventory_search = [inventory](const QString& text) {
        inventory->set_last_search_text(to_1252(text));
        inventory->refresh();
    };
    w.on_load_invoice = [invoice](int index) { return invoice->load_invoice(index, true); };
    w.on_new_invoice = [invoice] { return invoice->new_invoice(); };
    w.on_previous_invoice = [invoice] { invoice->previous(); };
    w.on_next_invoice = [invoice] { invoice->next(); };

    w.set_command_handler(ids::kAddress, [invoice] { invoice->edit_customer(); });
    w.set_command_handler(ids::kMenuRefresh, [invoice] { invoice->refresh_all(); });
    w.set_command_handler(ids::kCtxDeleteItem, [inventory] { inventory->delete_selected(); });
    w.set_command_handler(ids::kCtxViewImage, [inventory] { inventory->view_image(inventory->current_row()); });
    w.set_command_handler(ids::kCtxEditLine, [invoice] { invoice->edit_selected_line(); });
    w.set_command_handler(ids::kCtxDeleteLine, [invoice] { invoice->delete_selected_line(); });
    attach_inventory_items(w, api, {invoice, inventory}, settings);
    invoice->edit_line = [invoice](int line) { edit_invoice_line(*invoice, line); };
    w.set_command_handler(ids::kSearchPriceFile, [widgets, settings] { search_price_files(widgets, settings); });
    return {invoice, inventory};
}

SaleWorkspace attach_sale(MainWindow& w) {
    ClientSession& s = session();
    SaleSettings settings;
    settings.tax_percentage = [] { return std::string(field(session().settings.tax_percentage)); };
    settings.data_set_folder = [] { return session().data_set; };
    settings.max_items = s.settings.max_items;
    settings.max_history = s.settings.max_history_length;

    ContactsAccess contacts;
    contacts.contains = [](std::string_view name, std::string_view phone) {
        return find_contact(session().contacts, name, phone) != 0;
    };
    contacts.full = [] { return session().contacts.full(); };
    contacts.append = [](const InvoiceRecord& c) { return session().contacts.append(contact_of_customer(c)); };
    contacts.save = [] {
        return save_contacts(QFile::encodeName(session().contacts_path).toStdString(), session().contacts) == 1;
    };
    contacts.file_path = [] { return session().contacts_path; };
    return attach_sale(w, s.api, std::move(settings), std::move(contacts));
}

SaleWorkspace sale_workspace(MainWindow& w) {
    return {w.findChild<InvoiceWorkspace*>(QStringLiteral("InvoiceWorkspace"), Qt::FindDirectChildrenOnly),
            w.findChild<InventoryPane*>(QStringLiteral("InventoryPane"), Qt::FindDirectChildrenOnly)};
}

}  // namespace stk::client
