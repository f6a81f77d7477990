#include "client/api/server_api.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "client/api/connection.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

// Answers larger than this are taken as garbage rather than allocated.
constexpr std::int32_t kMaxPayload = 256 * 1024 * 1024;

struct Block {
    const void* data;
    std::size_t size;
};

template <class T>
Block block(const T& record) {
    return Block{&record, sizeof(T)};
}

bool connect(ServerApi& api, Connection& c) {
    for (;;) {
        if (c.open(api.address(), api.connect_timeout_ms)) return true;
        if (!api.on_unreachable || !api.on_unreachable()) return false;
    }
}

// One exchange: connect, send the header and the blocks, read the response header, then let `read_answer`
// read the blocks that this opcode promises for the result. The connection is closed on every path.
template <class ReadAnswer>
int exchange(ServerApi& api, const RequestHeader& request, std::initializer_list<Block> blocks,
             ReadAnswer&& read_answer) {
    const auto run = [&]() -> int {
        Connection c;
        if (!connect(api, c)) return kTransportFailed;
        c.set_slow_read_wait(api.on_slow_answer, api.answer_notice_ms);
        std::string out(reinterpret_cast<const char*>(&request), sizeof(RequestHeader));
        for (const Block& b : blocks) out.append(static_cast<const char*>(b.data), b.size);
        if (!c.write_all(out.data(), out.size(), api.read_timeout_ms)) return kTransportFailed;
        ResponseHeader response;
        if (!c.read_exactly(&response, sizeof(response), api.read_timeout_ms)) return kTransportFailed;
        if (!read_answer(c, response)) return kTransportFailed;
        return response.result;
    };
    return api.relay ? api.relay(request.opcode, run) : run();
}

int exchange(ServerApi& api, const RequestHeader& request, std::initializer_list<Block> blocks = {}) {
    return exchange(api, request, blocks, [](Connection&, const ResponseHeader&) { return true; });
}

int report(ServerApi& api, const RequestHeader& request, std::string* document) {
    return exchange(api, request, {}, [&](Connection& c, const ResponseHeader& r) {
        if (r.result != RESULT_OK) return true;
        if (r.payload_length < 0 || r.payload_length > kMaxPayload) return false;
        std::string bytes(static_cast<std::size_t>(r.payload_length), '\0');
        if (!c.read_exactly(bytes.data(), bytes.size(), api.read_timeout_ms)) return false;
        const auto nul = bytes.find('\0');
        if (nul != std::string::npos) bytes.resize(nul);
        if (document) *document = std::move(bytes);
        return true;
    });
}

void unpack_item(const PackedItemLengths& head, const char* text, InventoryRecord& item) {
    std::memset(&item, 0, sizeof(item));
    std::size_t at = 0;
    auto take = [&](auto& f, int i) {
        const std::size_t n = head.lengths[i];
        set_field(f, std::string_view(text + at, n));
        at += n;
    };
    take(item.item_number, 0);
    take(item.description, 1);
    take(item.remark, 2);
    take(item.unit_price, 3);
    take(item.quantity, 4);
    take(item.minimum_quantity, 5);
    take(item.sold_quantity, 6);
    take(item.unaccounted_quantity, 7);
    take(item.category, 8);
    take(item.location, 9);
    take(item.standard_unit_cost, 10);
    take(item.gross_profit, 11);
    take(item.markup, 12);
    take(item.note, 13);
    take(item.last_audit_date, 14);
}

}  // namespace

ServerApi::ServerApi(ServerAddress address, std::string client_name)
    : address_(std::move(address)), client_name_(std::move(client_name)) {}

RequestHeader ServerApi::new_request(std::int32_t opcode) const {
    RequestHeader h;
    std::memset(&h, 0, sizeof(h));
    h.version = kProtocolVersion;
    set_field(h.client_name, client_name_);
    h.opcode = opcode;
    h.reserved_real = 0.0;
    return h;
}

int ServerApi::add_invoice_item(int index, int take_from_stock, const InvoiceRecord& copy, const InvoiceLine& line) {
    RequestHeader h = new_request(ADD_INVOICE_ITEM);
    h.invoice_index = index;
    h.flag = take_from_stock;
    return exchange(*this, h, {block(copy), block(line)});
}

int ServerApi::fill_backorder(int index, int line, const InvoiceRecord& copy, const InvoiceLine& delivered,
                              double* filled) {
    RequestHeader h = new_request(FILL_BACKORDER);
    h.invoice_index = index;
    h.selector = line;
    return exchange(*this, h, {block(copy), block(delivered)}, [&](Connection&, const ResponseHeader& r) {
        if (filled) *filled = r.real;
        return true;
    });
}

int ServerApi::add_inventory_item(const InventoryRecord& item, std::string_view quantity, std::string_view unit_cost) {
    RequestHeader h = new_request(ADD_INVENTORY_ITEM);
    set_field(h.text_a, quantity);
    set_field(h.text_b, unit_cost);
    return exchange(*this, h, {block(item)});
}

int ServerApi::new_invoice(int* index) {
    return exchange(*this, new_request(NEW_INVOICE), {}, [&](Connection&, const ResponseHeader& r) {
        if (index) *index = r.value;
        return true;
    });
}

int ServerApi::save_message(const MessageRecord& old_message, const MessageRecord& new_message) {
    return exchange(*this, new_request(SAVE_MESSAGE), {block(old_message), block(new_message)});
}

int ServerApi::delete_inventory_item(const InventoryRecord& copy) {
    return exchange(*this, new_request(DELETE_INVENTORY_ITEM), {block(copy)});
}

int ServerApi::remove_invoice_item(int index, int line, int return_to_stock, const InvoiceRecord& copy) {
    RequestHeader h = new_request(REMOVE_INVOICE_ITEM);
    h.invoice_index = index;
    h.selector = line;
    h.flag = return_to_stock;
    return exchange(*this, h, {block(copy)});
}

int ServerApi::delete_message(const MessageRecord& message) {
    return exchange(*this, new_request(DELETE_MESSAGE), {block(message)});
}

int ServerApi::get_inventory_item(std::string_view item_number, InventoryRecord* out) {
    RequestHeader h = new_request(GET_INVENTORY_ITEM);
    set_field(h.text_a, item_number);
    return exchange(*this, h, {}, [&](Connection& c, const ResponseHeader& r) {
        if (r.result != RESULT_OK) return true;
        InventoryRecord item;
        if (!c.read_exactly(&item, sizeof(item), read_timeout_ms)) return false;
        if (out) *out = item;
        return true;
    });
}

int ServerApi::get_fifo_cost(std::string_view item_number, std::string_view quantity, std::string* unit_cost) {
    RequestHeader h = new_request(GET_FIFO_COST);
    set_field(h.text_a, item_number);
    set_field(h.text_b, quantity);
    return exchange(*this, h, {}, [&](Connection&, const ResponseHeader& r) {
        if (unit_cost) *unit_cost = std::string(field(r.text_a));
        return true;
    });
}

int ServerApi::get_invoice(int index, InvoiceRecord* out) {
    RequestHeader h = new_request(GET_INVOICE);
    h.invoice_index = index;
    return exchange(*this, h, {}, [&](Connection& c, const ResponseHeader&) {
        InvoiceRecord record;
        if (!c.read_exactly(&record, sizeof(record), read_timeout_ms)) return false;
        if (out) *out = record;
        return true;
    });
}

int ServerApi::get_invoice_count(int* count) {
    return exchange(*this, new_request(GET_INVOICE_COUNT), {}, [&](Connection&, const ResponseHeader& r) {
        if (count) *count = r.value;
        return true;
    });
}

int ServerApi::get_invoice_item(int index, int line, InvoiceLine* out) {
    RequestHeader h = new_request(GET_INVOICE_ITEM);
    h.invoice_index = index;
    h.selector = line;
    return exchange(*this, h, {}, [&](Connection& c, const ResponseHeader&) {
        InvoiceLine record;
        if (!c.read_exactly(&record, sizeof(record), read_timeout_ms)) return false;
        if (out) *out = record;
        return true;
    });
}

int ServerApi::get_invoice_totals(int index, double totals[4]) {
    RequestHeader h = new_request(GET_INVOICE_TOTALS);
    h.invoice_index = index;
    return exchange(*this, h, {}, [&](Connection& c, const ResponseHeader& r) {
        if (r.result != RESULT_OK) return true;
        double values[4];
        if (!c.read_exactly(values, sizeof(values), read_timeout_ms)) return false;
        if (totals) std::memcpy(totals, values, sizeof(values));
        return true;
    });
}

int ServerApi::list_messages(std::vector<MessageRecord>* out) {
    std::vector<MessageRecord> unused;
    std::vector<MessageRecord>& messages = out ? *out : unused;
    return exchange(*this, new_request(LIST_MESSAGES), {}, [&](Connection& c, const ResponseHeader& r) {
        if (r.result != RESULT_OK) return true;
        if (r.value < 0) return false;
        messages.clear();
        for (int i = 0; i < r.value; ++i) {
            MessageRecord m;
            if (!c.read_exactly(&m, sizeof(m), read_timeout_ms)) return false;
            messages.push_back(m);
        }
        return true;
    });
}

int ServerApi::find_backorder(std::string_view item_number, int first_index, int* found_index, int* found_line) {
    RequestHeader h = new_request(FIND_BACKORDER);
    set_field(h.text_a, item_number);
    h.invoice_index = first_index;
    return exchange(*this, h, {}, [&](Connection&, const ResponseHeader& r) {
        if (found_index) *found_index = r.value;
        if (found_line) *found_line = r.value2;
        return true;
    });
}

int ServerApi::non_inventory_sales_report(std::string* document) {
    return report(*this, new_request(NON_INVENTORY_SALES_REPORT), document);
}

int ServerApi::sales_report(std::string* document) { return report(*this, new_request(SALES_REPORT), document); }

int ServerApi::suggested_order_report(std::string_view category, std::string_view order_value, std::string* document) {
    RequestHeader h = new_request(SUGGESTED_ORDER_REPORT);
    set_field(h.text_a, category);
    set_field(h.text_b, order_value);
    return report(*this, h, document);
}

int ServerApi::search_inventory(std::string_view query, std::vector<InventoryRecord>* items, long long max_count) {
    RequestHeader h = new_request(SEARCH_INVENTORY);
    set_field(h.text_a, query);
    std::vector<InventoryRecord> found;
    const int result = exchange(*this, h, {}, [&](Connection& c, const ResponseHeader& r) {
        // Compared unsigned, so a negative count counts as too many: nothing is read and the list stays empty.
        const auto count = static_cast<std::uint32_t>(r.value);
        if (max_count >= 0 && count > static_cast<unsigned long long>(max_count)) return true;
        if (r.value < 0) return false;
        found.reserve(std::min<std::size_t>(count, 100000));
        std::string text;
        for (std::uint32_t i = 0; i < count; ++i) {
            PackedItemLengths head;
            if (!c.read_exactly(&head, sizeof(head), read_timeout_ms)) return false;
            std::size_t total = 0;
            for (auto n : head.lengths) total += n;
            text.resize(total);
            if (total > 0 && !c.read_exactly(text.data(), total, read_timeout_ms)) return false;
            found.emplace_back();
            unpack_item(head, text.data(), found.back());
        }
        return true;
    });
    // A broken answer still hands back the items that arrived, so the list can show them.
    if (items) *items = std::move(found);
    return result;
}

int ServerApi::search_invoices(std::string_view query, int unpaid_only, std::vector<InvoiceSearchRow>* rows,
                               long long max_rows) {
    RequestHeader h = new_request(SEARCH_INVOICES);
    set_field(h.text_a, query);
    h.flag = unpaid_only;
    std::vector<InvoiceSearchRow> found;
    const int result = exchange(*this, h, {}, [&](Connection& c, const ResponseHeader& r) {
        if (r.value < 0) return false;
        for (int i = 0; i < r.value && (max_rows < 0 || static_cast<long long>(found.size()) < max_rows); ++i) {
            InvoiceSearchRowHead head;
            if (!c.read_exactly(&head, sizeof(head), read_timeout_ms)) return false;
            if (head.text_length < 0 || head.text_length > kMaxPayload) return false;
            std::string text(static_cast<std::size_t>(head.text_length), '\0');
            if (!text.empty() && !c.read_exactly(text.data(), text.size(), read_timeout_ms)) return false;
            const auto nul = text.find('\0');
            if (nul != std::string::npos) text.resize(nul);
            found.push_back(InvoiceSearchRow{head.invoice_index, head.line_number, std::move(text)});
        }
        return true;
    });
    // A broken answer still hands back the rows that arrived, so the list can show them.
    if (rows) *rows = std::move(found);
    return result;
}

int ServerApi::update_inventory_item(const InventoryRecord& old_copy, const InventoryRecord& new_record,
                                     std::string_view received_quantity, std::string_view unit_cost) {
    RequestHeader h = new_request(UPDATE_INVENTORY_ITEM);
    set_field(h.text_a, received_quantity);
    set_field(h.text_b, unit_cost);
    return exchange(*this, h, {block(old_copy), block(new_record)});
}

int ServerApi::set_invoice_field(int index, int field_code, std::string_view text, const InvoiceRecord& copy,
                                 std::string* change) {
    RequestHeader h = new_request(SET_INVOICE_FIELD);
    h.invoice_index = index;
    h.selector = field_code;
    set_field(h.text_a, text);
    return exchange(*this, h, {block(copy)}, [&](Connection&, const ResponseHeader& r) {
        if (change && r.result == RESULT_OK && field_code == FIELD_CASH_RECEIVED)
            *change = std::string(field(r.text_a));
        return true;
    });
}

int ServerApi::replace_invoice_item(int index, int line, const InvoiceRecord& copy, const InvoiceLine& new_line) {
    RequestHeader h = new_request(REPLACE_INVOICE_ITEM);
    h.invoice_index = index;
    h.selector = line;
    return exchange(*this, h, {block(copy), block(new_line)});
}

int ServerApi::set_invoice_payment(int index, int payment, const InvoiceRecord& copy) {
    RequestHeader h = new_request(SET_INVOICE_PAYMENT);
    h.invoice_index = index;
    h.selector = payment;
    return exchange(*this, h, {block(copy)});
}

int ServerApi::set_invoice_status(int index, int status, const InvoiceRecord& copy) {
    RequestHeader h = new_request(SET_INVOICE_STATUS);
    h.invoice_index = index;
    h.selector = status;
    return exchange(*this, h, {block(copy)});
}

int ServerApi::set_invoice_customer(int index, const InvoiceRecord& copy, const InvoiceRecord& header) {
    RequestHeader h = new_request(SET_INVOICE_CUSTOMER);
    h.invoice_index = index;
    return exchange(*this, h, {block(copy), block(header)});
}

bool ServerApi::raw_exchange(std::string_view request, std::string* answer) {
    Connection c;
    if (!connect(*this, c)) return false;
    if (!request.empty()) c.write_all(request.data(), request.size(), read_timeout_ms);
    std::string got;
    c.read_to_end(&got, read_timeout_ms);
    if (answer) *answer = std::move(got);
    return true;
}

}  // namespace stk::client
