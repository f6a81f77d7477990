#include "client/shell/session.h"

#include "common/text_field.h"

namespace stk::client {

ClientSession& session() {
    static ClientSession s;
    return s;
}

QString ClientSession::data_set_file(const QString& relative) const {
    return data_set.isEmpty() ? relative : data_set + QLatin1Char('/') + relative;
}

bool ClientSession::reserve_arrays() {
    const bool ok = contacts.reserve(settings.max_contacts) && invoice_results.reserve(settings.max_invoices) &&
                    inventory_results.reserve(settings.max_items) && messages.reserve(kMaxMessages) &&
                    history.reserve(settings.max_history_length) && receipt_elements.reserve(kMaxReceiptElements);
    return ok;
}

void ClientSession::release_arrays() {
    contacts.release();
    invoice_results.release();
    inventory_results.release();
    messages.release();
    history.release();
    receipt_elements.release();
}

void ClientSession::apply_connection_settings() {
    ServerAddress address;
    address.server_name = std::string(field(settings.server_name));
    if (settings.remote()) address.remote_computer = std::string(field(settings.remote_computer_name));
    api.set_address(std::move(address));
    api.set_client_name(std::string(field(settings.client_name)));
}

}  // namespace stk::client
