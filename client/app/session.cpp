#include "client/app/session.h"

#include <QFile>

#include "client/api/connection.h"
#include "common/text_field.h"
#include "platform/shop_key.h"

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

void ClientSession::reset() {
    release_arrays();
    program_folder.clear();
    files_folder.clear();
    data_set.clear();
    settings_path.clear();
    help_path.clear();
    server_path.clear();
    contacts_path.clear();
    contact_search.clear();
    default_layout_path.clear();
    sales_report_path.clear();
    non_inventory_sales_report_path.clear();
    suggested_order_report_path.clear();
    settings = ClientSettings{};
    exit_requested = false;
    api.set_address(ServerAddress{});
    api.set_client_name(std::string());
    api.on_unreachable = nullptr;
    api.on_slow_answer = nullptr;
    api.relay = nullptr;
    Connection::drop_kept_connection();
    main_window = nullptr;
    invoices_window_placement = QRect();
}

void ClientSession::apply_connection_settings() {
    ServerAddress address;
    address.server_name = std::string(field(settings.server_name));
    if (settings.remote()) {
        address.remote_computer = std::string(field(settings.remote_computer_name));
        address.shop_key_file = platform::shop_key_path(QFile::encodeName(data_set).toStdString());
    }
    api.set_address(std::move(address));
    api.set_client_name(std::string(field(settings.client_name)));
}

}  // namespace stk::client
