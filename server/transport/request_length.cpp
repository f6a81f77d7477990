// Where a request ends. Requests carry no length of their own: the opcode fixes which records follow the
// header, so the listener can tell a whole request from a part of one before the dispatcher sees it.
#include "common/text_field.h"
#include "server/transport/dispatcher.h"

namespace stk::server {

namespace {

constexpr std::size_t kInvoice = sizeof(InvoiceRecord);
constexpr std::size_t kLine = sizeof(InvoiceLine);
constexpr std::size_t kItem = sizeof(InventoryRecord);
constexpr std::size_t kMessage = sizeof(MessageRecord);

struct RequestBlocks {
    Opcode opcode;
    std::size_t bytes;  // the records that follow the header, in all
};

// The "blocks in" column of the opcode table; the dispatcher's receive() calls read exactly these.
constexpr RequestBlocks kRequestBlocks[] = {
    {ADD_INVOICE_ITEM, kInvoice + kLine},
    {FILL_BACKORDER, kInvoice + kLine},
    {ADD_INVENTORY_ITEM, kItem},
    {NEW_INVOICE, 0},
    {SAVE_MESSAGE, 2 * kMessage},
    {DELETE_INVENTORY_ITEM, kItem},
    {REMOVE_INVOICE_ITEM, kInvoice},
    {DELETE_MESSAGE, kMessage},
    {GET_INVENTORY_ITEM, 0},
    {GET_FIFO_COST, 0},
    {GET_INVOICE, 0},
    {GET_INVOICE_COUNT, 0},
    {GET_INVOICE_ITEM, 0},
    {GET_INVOICE_TOTALS, 0},
    {LIST_MESSAGES, 0},
    {FIND_BACKORDER, 0},
    {NON_INVENTORY_SALES_REPORT, 0},
    {SALES_REPORT, 0},
    {SUGGESTED_ORDER_REPORT, 0},
    {SEARCH_INVENTORY, 0},
    {SEARCH_INVOICES, 0},
    {UPDATE_INVENTORY_ITEM, 2 * kItem},
    {SET_INVOICE_FIELD, kInvoice},
    {REPLACE_INVOICE_ITEM, kInvoice + kLine},
    {SET_INVOICE_PAYMENT, kInvoice},
    {SET_INVOICE_STATUS, kInvoice},
    {SET_INVOICE_CUSTOMER, 2 * kInvoice},
};

}  // namespace

std::size_t Dispatcher::request_length(const RequestHeader& header) const {
    if (header.version != kProtocolVersion || field(header.client_name) != config_.client_name)
        return sizeof(RequestHeader);
    for (const RequestBlocks& r : kRequestBlocks) {
        if (r.opcode == header.opcode) return sizeof(RequestHeader) + r.bytes;
    }
    return sizeof(RequestHeader);
}

}  // namespace stk::server
