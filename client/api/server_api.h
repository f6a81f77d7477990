// The typed request layer: one method per operation, each one exchange on a connection of its own
// (connect, write the request header and blocks, read the answer, close). Used by the client's windows,
// the tests and the benchmarks alike.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/protocol.h"
#include "common/records.h"

class QIODevice;

namespace stk::client {

// The exchange did not complete (no connection, or a read or write failed); no result code was received.
inline constexpr int kTransportFailed = -1;

struct ServerAddress {
    std::string server_name;      // the server's pipe name
    std::string remote_computer;  // "" for this computer; else "host" or "host:port" (TCP)
    // With a remote computer: the file that holds the shop key (platform/shop_key.h), read at every
    // connection, so a key copied in while the client runs is used from the next attempt on.
    std::string shop_key_file = {};
};

struct InvoiceSearchRow {
    int invoice_index = 0;
    int line_number = 0;
    std::string text;  // ten TAB-separated columns, without the NUL
};

class ServerApi {
public:
    ServerApi(ServerAddress address, std::string client_name);

    const ServerAddress& address() const { return address_; }
    void set_address(ServerAddress address) { address_ = std::move(address); }
    const std::string& client_name() const { return client_name_; }
    void set_client_name(std::string name) { client_name_ = std::move(name); }

    // Called when a connection cannot be made; returning true tries again (the client shows its waiting
    // dialog here). Unset: fail at once.
    std::function<bool()> on_unreachable;
    // Called when an answer has not begun to arrive within answer_notice_ms: waits, for at most `timeout_ms`,
    // until `device` has bytes to read or the server has gone, without freezing the client (it shows its
    // waiting dialog here). Returns false when the user gave up waiting. Unset: the read simply blocks.
    std::function<bool(QIODevice& device, int timeout_ms)> on_slow_answer;
    // Milliseconds to wait for a busy server before a connect attempt counts as failed.
    int connect_timeout_ms = 2000;
    // Milliseconds without progress after which a read of the answer fails. The request may then have been
    // carried out without the client knowing: callers treat their copy of what it changed as unknown.
    int read_timeout_ms = 30000;
    // Milliseconds an answer may take before on_slow_answer is called.
    int answer_notice_ms = 400;

    // A stand-in between this client and the server for tests, as a relay would be: it gets each request's
    // opcode and a function that makes the real exchange and returns its result, and returns the result the
    // caller sees. It may answer without asking the server (the answer's blocks then stay unread), or change
    // the server's result. Unset: every request goes straight through.
    std::function<int(std::int32_t opcode, const std::function<int()>& exchange)> relay;

    // A request header built the standard way: version 100, the client name, everything else zero or "".
    RequestHeader new_request(std::int32_t opcode) const;

    // Every method returns the answer's result code (0..4), or kTransportFailed.
    int add_invoice_item(int index, int take_from_stock, const InvoiceRecord& copy, const InvoiceLine& line);
    int fill_backorder(int index, int line, const InvoiceRecord& copy, const InvoiceLine& delivered,
                       double* filled = nullptr);
    int add_inventory_item(const InventoryRecord& item, std::string_view quantity, std::string_view unit_cost);
    int new_invoice(int* index);
    int save_message(const MessageRecord& old_message, const MessageRecord& new_message);
    int delete_inventory_item(const InventoryRecord& copy);
    int remove_invoice_item(int index, int line, int return_to_stock, const InvoiceRecord& copy);
    int delete_message(const MessageRecord& message);
    int get_inventory_item(std::string_view item_number, InventoryRecord* out);
    int get_fifo_cost(std::string_view item_number, std::string_view quantity, std::string* unit_cost);
    int get_invoice(int index, InvoiceRecord* out);
    int get_invoice_count(int* count);
    int get_invoice_item(int index, int line, InvoiceLine* out);
    // totals: change, subtotal, tax, total.
    int get_invoice_totals(int index, double totals[4]);
    // *out is replaced once the answer says 1; an answer that breaks off leaves the messages that arrived, and
    // no answer leaves *out as it was.
    int list_messages(std::vector<MessageRecord>* out);
    // The answer's result stays 0 by protocol; *found_index is 0 when nothing was found.
    int find_backorder(std::string_view item_number, int first_index, int* found_index, int* found_line);
    // Report documents without their trailing NUL.
    int non_inventory_sales_report(std::string* document);
    int sales_report(std::string* document);
    int suggested_order_report(std::string_view category, std::string_view order_value, std::string* document);
    // Items of the answer, in the server's order. With max_count >= 0 an answer announcing more than that many
    // items is not read and leaves `items` empty; a broken answer leaves the items read before the break.
    int search_inventory(std::string_view query, std::vector<InventoryRecord>* items, long long max_count = -1);
    // Rows of the answer, in the server's order: at most max_rows of them when max_rows >= 0 (the rest of the
    // answer is left unread); a broken answer leaves the rows read before the break.
    int search_invoices(std::string_view query, int unpaid_only, std::vector<InvoiceSearchRow>* rows,
                        long long max_rows = -1);
    int update_inventory_item(const InventoryRecord& old_copy, const InventoryRecord& new_record,
                              std::string_view received_quantity, std::string_view unit_cost);
    // On result 1 with field 400, *change receives the server's new change text.
    int set_invoice_field(int index, int field_code, std::string_view text, const InvoiceRecord& copy,
                          std::string* change = nullptr);
    int replace_invoice_item(int index, int line, const InvoiceRecord& copy, const InvoiceLine& new_line);
    int set_invoice_payment(int index, int payment, const InvoiceRecord& copy);
    int set_invoice_status(int index, int status, const InvoiceRecord& copy);
    int set_invoice_customer(int index, const InvoiceRecord& copy, const InvoiceRecord& header);

    // Raw exchange for tests: writes `request` (any bytes) and reads everything the server sends until it
    // disconnects. false when no connection could be made.
    bool raw_exchange(std::string_view request, std::string* answer);

private:
    ServerAddress address_;
    std::string client_name_;
};

}  // namespace stk::client
