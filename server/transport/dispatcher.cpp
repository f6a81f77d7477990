#include "server/transport/dispatcher.h"

#include <cstring>

#include "common/protocol.h"
#include "common/text_field.h"
#include "server/db/inventory_file.h"
#include "server/db/invoice_file.h"
#include "server/db/message_file.h"
#include "server/db/write_through.h"
#include "server/handlers/inventory_ops.h"
#include "server/handlers/invoice_ops.h"
#include "server/handlers/message_ops.h"
#include "server/handlers/report_ops.h"
#include "server/handlers/search_ops.h"

namespace stk::server {

namespace {

template <class T>
void zero(T& record) {
    std::memset(&record, 0, sizeof(T));
}

// The three databases in the order they are saved, with their texts.
struct SaveTarget {
    const char* name;
    bool ServerDatabase::*unsaved;
    std::string_view failure_text;
    std::string_view success_text;
    int (*save)(ServerDatabase&);
    std::string DatabasePaths::*path;
};

int save_inventory_whole(ServerDatabase& db) { return save_inventory(db, db.paths.inventory); }
int save_invoices_whole(ServerDatabase& db) { return save_invoices(db, db.paths.invoices); }
int save_messages_whole(ServerDatabase& db) { return save_messages(db, db.paths.messages); }

const SaveTarget kSaveTargets[] = {
    {"inventory", &ServerDatabase::inventory_unsaved,
     "Stockavelle was unable to save inventory. The destination drive may be full, or the destination file(s) may "
     "be inaccessible or write protected.",
     "Your inventory was successfully saved.\r\n", save_inventory_whole, &DatabasePaths::inventory},
    {"invoices", &ServerDatabase::invoices_unsaved,
     "Stockavelle was unable to save invoices. The destination drive may be full, or the destination file may be "
     "inaccessible or write protected.",
     "Your invoices were successfully saved.\r\n", save_invoices_whole, &DatabasePaths::invoices},
    {"messages", &ServerDatabase::messages_unsaved,
     "Stockavelle was unable to save messages. The destination drive may be full, or the destination file may be "
     "inaccessible or write protected.",
     "Your messages were successfully saved.\r\n", save_messages_whole, &DatabasePaths::messages},
};

// A file is only written whole once the journal holds every change in memory: a file ahead of the journal
// would be set back by the journal's older records at the next start.
bool try_save(ServerDatabase& db, const SaveTarget& t) {
    if (journal_unjournaled(db) && t.save(db) == 1) {
        db.log_line(t.success_text);
        db.log_line(db.paths.*t.path);
        db.log_line("\r\n");
        db.*t.unsaved = false;
        return true;
    }
    db.log_line(t.failure_text);
    db.log_line("\r\n");
    db.log_line(db.paths.*t.path);
    db.log_line("\r\n");  // whatever is logged next starts a line of its own
    return false;
}

}  // namespace

void save_all_databases(ServerDatabase& db, const AskRetryFn& ask_retry) {
    for (const SaveTarget& t : kSaveTargets) {
        while (!try_save(db, t)) {
            if (!ask_retry || !ask_retry(t.failure_text)) {
                // Memory and file now differ; later requests keep trying until the file is whole again.
                db.*t.unsaved = true;
                break;
            }
        }
    }
    settle_journal(db);
}

void save_unsaved_databases(ServerDatabase& db) {
    for (const SaveTarget& t : kSaveTargets) {
        if (db.*t.unsaved) try_save(db, t);
    }
    settle_journal(db);
}

bool save_before_exit(ServerDatabase& db) {
    save_unsaved_databases(db);
    std::string unsaved;
    for (const SaveTarget& t : kSaveTargets) {
        if (db.*t.unsaved) unsaved += std::string(unsaved.empty() ? "" : ", ") + t.name;
    }
    if (unsaved.empty()) {
        // Every file holds everything: the next start has nothing to apply. A journal that cannot be emptied
        // only has its records applied once more.
        (void)db.journal.clear();
        return true;
    }
    db.log_line("Stockavelle Server is ending with databases that could not be saved: " + unsaved + ".\r\n");
    if (db.unjournaled.empty() && db.journal.is_open()) {
        db.log_line("Their changes are kept in the journal and are applied at the next start:\r\n");
        db.log_line(db.journal.path() + "\r\n");
    } else {
        db.log_line("The journal could not take their latest changes either.\r\n");
    }
    if (!db.last_failure.ok()) db.log_line("Last error: " + db.last_failure.message() + "\r\n");
    return false;
}

bool Dispatcher::read_exactly(ByteStream& stream, void* buffer, std::size_t n) {
    char* out = static_cast<char*>(buffer);
    std::size_t have = 0;
    while (have < n) {
        const long got = stream.read_some(out + have, n - have);
        if (got <= 0) {
            db_.log_line(kReceiveError);
            return false;
        }
        have += static_cast<std::size_t>(got);
    }
    return true;
}

void Dispatcher::write_block(ByteStream& stream, const void* buffer, std::size_t n) {
    if (n == 0) return;
    if (stream.write(static_cast<const char*>(buffer), n) < n) db_.log_line(kSendError);
}

int Dispatcher::dispatch_request(ByteStream& stream) {
    RequestHeader request;
    if (!read_exactly(stream, &request, sizeof(request))) return -1;

    ResponseHeader response;
    zero(response);
    response.opcode = request.opcode;

    if (request.version != kProtocolVersion) {
        db_.log_line("Client version incorrect for this server.\r\n");
        return -1;
    }
    // field() never reads past the 32 bytes, whether or not the peer sent a NUL.
    if (field(request.client_name) != config_.client_name) {
        db_.log_line("Client indentification incorrect.\r\n");
        return -1;
    }

    // The header's texts, never read past their width.
    const std::string_view text_a = field(request.text_a);
    const std::string_view text_b = field(request.text_b);
    const int index = request.invoice_index;
    const int selector = request.selector;
    const int flag = request.flag;

    // The record buffers a request may carry. Each is zero-filled before use, so no stale stack bytes can reach
    // an answer or a stored record.
    InvoiceRecord invoice_a, invoice_b;
    InvoiceLine line;
    InventoryRecord item_a, item_b;
    MessageRecord message_a, message_b;

    // Reads the records that follow the header, in order, into zero-filled buffers.
    auto receive = [&](auto&... records) {
        (zero(records), ...);
        return (read_exactly(stream, &records, sizeof records) && ...);
    };

    auto answer = [&](const void* block = nullptr, std::size_t size = 0) {
        write_block(stream, &response, sizeof(response));
        if (block) write_block(stream, block, size);
        return response.result;
    };
    auto answer_blocks = [&](const std::string& blocks) {
        write_block(stream, &response, sizeof(response));
        write_block(stream, blocks.data(), blocks.size());
        return response.result;
    };
    auto report_answer = [&](bool built, const std::string& document) {
        if (!built) return -1;
        zero(response);  // the report answers are built from a fresh header: their opcode stays 0
        response.result = RESULT_OK;
        response.payload_length = static_cast<std::int32_t>(document.size() + 1);
        write_block(stream, &response, sizeof(response));
        write_block(stream, document.c_str(), document.size() + 1);
        return response.result;
    };

    switch (request.opcode) {
    case ADD_INVOICE_ITEM:
        if (!receive(invoice_a, line)) return -1;
        response.result = add_invoice_item(db_, index, flag, invoice_a, line);
        return answer();
    case FILL_BACKORDER: {
        if (!receive(invoice_a, line)) return -1;
        double filled = 0.0;
        response.result = fill_backorder(db_, index, selector, invoice_a, line, &filled);
        response.real = filled;
        return answer();
    }
    case ADD_INVENTORY_ITEM:
        if (!receive(item_a)) return -1;
        response.result = add_inventory_item(db_, item_a, text_a, text_b);
        return answer();
    case NEW_INVOICE: {
        int new_index = 0;
        response.result = new_invoice(db_, &new_index);
        response.value = new_index;
        return answer();
    }
    case SAVE_MESSAGE:
        if (!receive(message_a, message_b)) return -1;
        response.result = save_message(db_, message_a, message_b);
        return answer();
    case DELETE_INVENTORY_ITEM:
        if (!receive(item_a)) return -1;
        response.result = delete_inventory_item(db_, item_a);
        return answer();
    case REMOVE_INVOICE_ITEM:
        if (!receive(invoice_a)) return -1;
        response.result = remove_invoice_item(db_, index, selector, flag, invoice_a);
        return answer();
    case DELETE_MESSAGE:
        if (!receive(message_a)) return -1;
        response.result = delete_message(db_, message_a);
        return answer();
    case GET_INVENTORY_ITEM:
        zero(item_a);
        if (get_inventory_item(db_, text_a, item_a) == 1) {
            response.result = RESULT_OK;
            response.payload_length = sizeof(InventoryRecord);
            return answer(&item_a, sizeof item_a);
        }
        return answer();
    case GET_FIFO_COST: {
        std::string cost;
        response.result = get_fifo_cost(db_, text_a, text_b, cost);
        if (response.result == RESULT_OK) set_field(response.text_a, cost);
        return answer();
    }
    case GET_INVOICE:
        zero(invoice_a);
        // Found or not, a whole record follows (all zero when not found).
        if (get_invoice(db_, index, invoice_a) == 1) {
            response.result = RESULT_OK;
            response.payload_length = sizeof(InvoiceRecord);
        }
        return answer(&invoice_a, sizeof invoice_a);
    case GET_INVOICE_COUNT:
        response.result = RESULT_OK;
        response.value = db_.invoices.count;
        return answer();
    case GET_INVOICE_ITEM:
        zero(line);
        if (get_invoice_item(db_, index, selector, line) == 1) {
            response.result = RESULT_OK;
            response.payload_length = sizeof(InvoiceLine);
        }
        return answer(&line, sizeof line);
    case GET_INVOICE_TOTALS: {
        if (index < 1 || index > db_.invoices.count) return answer();
        double totals[4] = {0.0, 0.0, 0.0, 0.0};
        get_invoice_totals(db_, index, totals);
        response.result = RESULT_OK;
        response.payload_length = sizeof(totals);
        write_block(stream, &response, sizeof(response));
        for (double& t : totals) write_block(stream, &t, sizeof(double));
        return response.result;
    }
    case LIST_MESSAGES: {
        std::string blocks;
        const int n = list_messages(db_, blocks);
        response.result = RESULT_OK;
        response.value = n;
        return answer_blocks(blocks);
    }
    case FIND_BACKORDER: {
        int found_index = 0, found_line = 0;
        find_backorder(db_, text_a, index, &found_index, &found_line);
        response.value = found_index;
        response.value2 = found_line;
        return answer();
    }
    case NON_INVENTORY_SALES_REPORT: {
        std::string document;
        const bool built = non_inventory_sales_report(db_, document);
        return report_answer(built, document);
    }
    case SALES_REPORT: {
        std::string document;
        const bool built = sales_report(db_, document);
        return report_answer(built, document);
    }
    case SUGGESTED_ORDER_REPORT: {
        std::string document;
        const bool built = suggested_order_report(db_, text_a, text_b, document);
        return report_answer(built, document);
    }
    case SEARCH_INVENTORY: {
        std::string blocks;
        const int n = search_inventory(db_, text_a, blocks);
        response.result = RESULT_OK;
        response.value = n;
        return answer_blocks(blocks);
    }
    case SEARCH_INVOICES: {
        std::string blocks;
        const int n = search_invoices(db_, text_a, flag, blocks);
        response.result = RESULT_OK;
        response.value = n;
        return answer_blocks(blocks);
    }
    case UPDATE_INVENTORY_ITEM:
        if (!receive(item_a, item_b)) return -1;
        response.result = update_inventory_item(db_, item_a, item_b, text_a, text_b);
        return answer();
    case SET_INVOICE_FIELD: {
        if (!receive(invoice_a)) return -1;
        std::string change;
        response.result = set_invoice_field(db_, index, selector, text_a, invoice_a, &change);
        if (response.result == RESULT_OK && selector == FIELD_CASH_RECEIVED) set_field(response.text_a, change);
        return answer();
    }
    case REPLACE_INVOICE_ITEM:
        if (!receive(invoice_a, line)) return -1;
        response.result = replace_invoice_item(db_, index, selector, invoice_a, line);
        return answer();
    case SET_INVOICE_PAYMENT:
        if (!receive(invoice_a)) return -1;
        response.result = set_invoice_payment(db_, index, selector, invoice_a);
        return answer();
    case SET_INVOICE_STATUS:
        if (!receive(invoice_a)) return -1;
        response.result = set_invoice_status(db_, index, selector, invoice_a);
        return answer();
    case SET_INVOICE_CUSTOMER:
        if (!receive(invoice_a, invoice_b)) return -1;
        response.result = set_invoice_customer(db_, index, invoice_a, invoice_b);
        return answer();
    default:
        return -1;  // not an operation of this server: no answer
    }
}

void Dispatcher::serve(ByteStream& stream) {
    db_.log_line("Processing client request...\r\n");
    const int result = dispatch_request(stream);
    stream.finish();
    // The client has its answer and is gone; now bring the files back in line with memory.
    if (result == RESULT_SAVE_FAILED)
        save_all_databases(db_, config_.ask_retry);
    else
        save_unsaved_databases(db_);
    db_.log_line("Waiting for a client request\r\n");
}

}  // namespace stk::server
