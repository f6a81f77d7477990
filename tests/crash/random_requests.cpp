#include "tests/crash/random_requests.h"

#include <vector>

#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::crash {

namespace {

using client::kTransportFailed;
using client::ServerApi;

InvoiceLine make_line(std::string_view item, int quantity, int backorder) {
    InvoiceLine line{};
    set_field(line.item_number, item);
    set_field(line.description, item.empty() ? std::string("Labour") : "Item " + std::string(item));
    set_field(line.quantity, std::to_string(quantity));
    if (backorder > 0) set_field(line.backorder_quantity, std::to_string(backorder));
    set_field(line.unit_price, item.empty() ? "35" : "12.5");
    set_field(line.unit_cost, "1");
    set_field(line.tax_percent, "7");
    return line;
}

// A request on invoice `index`, made with the copy the server it runs on holds.
template <class Fn>
std::function<int(ServerApi&)> on_invoice(int index, Fn fn) {
    return [index, fn](ServerApi& api) {
        InvoiceRecord copy{};
        const int got = api.get_invoice(index, &copy);
        if (got != RESULT_OK) return got;
        // An invoice is dated before anything else is done to it: a payment would date it by the clock.
        if (field_empty(copy.date)) return api.set_invoice_field(index, FIELD_DATE, "12/01/2026", copy);
        return fn(api, copy);
    };
}

// A request on the item `number`, made with the copy the server it runs on holds.
template <class Fn>
std::function<int(ServerApi&)> on_item(const std::string& number, Fn fn) {
    return [number, fn](ServerApi& api) {
        InventoryRecord item{};
        const int got = api.get_inventory_item(number, &item);
        if (got != RESULT_OK) return got;
        return fn(api, item);
    };
}

// A request on the message at position `k` (counted round) of the list the server gives.
template <class Fn>
std::function<int(ServerApi&)> on_message(int k, Fn fn) {
    return [k, fn](ServerApi& api) {
        std::vector<MessageRecord> messages;
        const int got = api.list_messages(&messages);
        if (got != RESULT_OK || messages.empty()) return got;
        return fn(api, messages[static_cast<std::size_t>(k) % messages.size()]);
    };
}

}  // namespace

std::string RequestMaker::some_item(ServerApi& reference) {
    std::vector<InventoryRecord> items;
    reference.search_inventory("*", &items);
    if (items.empty()) return "I0";
    return std::string(field(items[static_cast<std::size_t>(pick(0, static_cast<int>(items.size()) - 1))].item_number));
}

Request RequestMaker::next(ServerApi& reference) {
    int count = 0;
    reference.get_invoice_count(&count);
    const int invoice = count > 0 ? pick(1, count) : 0;
    const int line = pick(1, 4);
    const int choice = pick(0, 29);

    if (choice < 2 || count == 0) {
        return {"NEW_INVOICE", [](ServerApi& api) {
                    int index = 0;
                    return api.new_invoice(&index);
                }};
    }
    if (choice < 4) {
        // Dates the newest invoice when a NEW_INVOICE left it without (every request on an invoice does).
        return {"SET_INVOICE_FIELD date",
                on_invoice(count, [](ServerApi&, const InvoiceRecord&) { return static_cast<int>(RESULT_OK); })};
    }
    if (choice < 10) {
        const std::string item = some_item(reference);
        const int quantity = pick(1, 4);
        const int backorder = pick(0, 3) == 0 ? pick(1, quantity) : 0;
        return {"ADD_INVOICE_ITEM from stock", on_invoice(invoice, [=](ServerApi& api, const InvoiceRecord& copy) {
                    return api.add_invoice_item(invoice, 1, copy, make_line(item, quantity, backorder));
                })};
    }
    if (choice < 12) {
        return {"ADD_INVOICE_ITEM labour", on_invoice(invoice, [=](ServerApi& api, const InvoiceRecord& copy) {
                    return api.add_invoice_item(invoice, 0, copy, make_line("", line, 0));
                })};
    }
    if (choice < 14) {
        return {"REMOVE_INVOICE_ITEM", on_invoice(invoice, [=](ServerApi& api, const InvoiceRecord& copy) {
                    return api.remove_invoice_item(invoice, line, 1, copy);
                })};
    }
    if (choice < 15) {
        const std::string item = some_item(reference);
        return {"REPLACE_INVOICE_ITEM", on_invoice(invoice, [=](ServerApi& api, const InvoiceRecord& copy) {
                    return api.replace_invoice_item(invoice, line, copy, make_line(item, 2, 0));
                })};
    }
    if (choice < 17) {
        const std::string item = some_item(reference);
        const int delivered = pick(1, 3);
        return {"FILL_BACKORDER", on_invoice(invoice, [=](ServerApi& api, const InvoiceRecord& copy) {
                    InvoiceLine sent = make_line(item, delivered, 0);
                    set_field(sent.unit_cost, "2");
                    return api.fill_backorder(invoice, line, copy, sent);
                })};
    }
    if (choice < 18) {
        const std::string cash = std::to_string(pick(0, 200));
        return {"SET_INVOICE_FIELD cash", on_invoice(invoice, [=](ServerApi& api, const InvoiceRecord& copy) {
                    return api.set_invoice_field(invoice, FIELD_CASH_RECEIVED, cash, copy);
                })};
    }
    if (choice < 19) {
        const int payment = pick(0, 5);
        return {"SET_INVOICE_PAYMENT", on_invoice(invoice, [=](ServerApi& api, const InvoiceRecord& copy) {
                    return api.set_invoice_payment(invoice, payment, copy);
                })};
    }
    if (choice < 20) {
        const int status = pick(0, 2);
        const std::string customer = "Customer " + std::to_string(pick(1, 99));
        return {"SET_INVOICE_STATUS or CUSTOMER", on_invoice(invoice, [=](ServerApi& api, const InvoiceRecord& copy) {
                    if (status < 2) return api.set_invoice_status(invoice, status, copy);
                    InvoiceRecord header = copy;
                    set_field(header.customer_name, customer);
                    return api.set_invoice_customer(invoice, copy, header);
                })};
    }
    if (choice < 22) {
        InventoryRecord item{};
        set_field(item.item_number, "I" + std::to_string(next_item_++));
        set_field(item.description, "Part " + std::to_string(next_item_));
        set_field(item.unit_price, "12.5");
        set_field(item.standard_unit_cost, "1.25");
        const std::string quantity = std::to_string(pick(0, 30));
        return {"ADD_INVENTORY_ITEM", [=](ServerApi& api) { return api.add_inventory_item(item, quantity, "1.25"); }};
    }
    if (choice < 25) {
        const std::string number = some_item(reference);
        const int received = pick(0, 2) == 0 ? 0 : pick(1, 10);
        const int counted = pick(0, 25);
        return {"UPDATE_INVENTORY_ITEM", on_item(number, [=](ServerApi& api, const InventoryRecord& shown) {
                    InventoryRecord edited = shown;
                    if (received == 0) set_field(edited.quantity, std::to_string(counted));
                    return api.update_inventory_item(shown, edited, received > 0 ? std::to_string(received) : "",
                                                     "2.5");
                })};
    }
    if (choice < 26) {
        const std::string number = some_item(reference);
        return {"DELETE_INVENTORY_ITEM", on_item(number, [](ServerApi& api, const InventoryRecord& shown) {
                    return api.delete_inventory_item(shown);
                })};
    }
    if (choice < 28) {
        MessageRecord m{};
        set_field(m.text, "Note " + std::to_string(next_message_++));
        return {"SAVE_MESSAGE new", [m](ServerApi& api) { return api.save_message(MessageRecord{}, m); }};
    }
    const int k = pick(0, 50);
    if (choice < 29) {
        return {"SAVE_MESSAGE edit", on_message(k, [](ServerApi& api, const MessageRecord& shown) {
                    MessageRecord edited = shown;
                    set_field(edited.text, std::string(field(shown.text)) + "+");
                    return api.save_message(shown, edited);
                })};
    }
    return {"DELETE_MESSAGE",
            on_message(k, [](ServerApi& api, const MessageRecord& shown) { return api.delete_message(shown); })};
}

}  // namespace stk::crash
