// Fixed-layout records shared by the server and the client. These are at once the wire format and the
// storage format of the server's database files, so every size and offset is pinned below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace stk {

inline constexpr std::int32_t kProtocolVersion = 100;

struct RequestHeader {
    std::int32_t version;
    char client_name[32];
    std::int32_t opcode;
    std::int32_t flag;
    std::int32_t invoice_index;
    std::int32_t selector;
    char padding1[4];
    double reserved_real;
    char text_a[64];
    char text_b[64];
    std::int32_t reserved;
    char padding2[4];
};

struct ResponseHeader {
    std::int32_t opcode;
    std::int32_t result;
    std::int32_t value;
    std::int32_t value2;
    double real;
    char text_a[64];
    char text_b[64];
    std::int32_t payload_length;
    char padding[4];
};

struct InventoryRecord {
    char item_number[64];
    char description[64];
    char remark[64];
    char unit_price[32];
    char quantity[32];
    char minimum_quantity[32];
    char sold_quantity[32];
    char unaccounted_quantity[32];
    char category[64];
    char location[64];
    char standard_unit_cost[32];
    char gross_profit[32];
    char markup[32];
    char note[64];
    char last_audit_date[64];
};

struct FifoLayer {
    char item_number[64];
    char original_quantity[32];
    char remaining_quantity[32];
    char unit_cost[32];
    char date[64];
    char source[64];
};

struct InvoiceLine {
    char quantity[32];
    char backorder_quantity[32];
    char item_number[64];
    char description[64];
    char remark[64];
    char unit_price[32];
    char unit_cost[32];
    char amount[32];
    char tax_percent[32];
    char note[64];
    std::int32_t ordered;
};

inline constexpr int kMaxInvoiceLines = 12;

struct InvoiceRecord {
    char invoice_number[32];
    char date[32];
    char time[32];
    char account_number[32];
    char customer_name[64];
    char customer_address[64];
    char customer_city[64];
    char customer_state[64];
    char customer_zip_code[64];
    char customer_phone_number[64];
    char order_number[64];
    char salesperson[64];
    std::int32_t status;
    std::int32_t payment;
    char subtotal[32];
    char tax[32];
    char total[32];
    char cash_received[32];
    char change[32];
    char note[256];
    std::int32_t reserved;
    std::int32_t line_count;
    InvoiceLine lines[kMaxInvoiceLines];
};

struct MessageRecord {
    char timestamp[32];
    std::int32_t flags;
    char text[256];
};

// Packed item of SEARCH_INVENTORY: this block, then the field texts without separators.
struct PackedItemLengths {
    std::uint8_t reserved;
    std::uint8_t lengths[15];
};

// Head of one SEARCH_INVOICES row; the text (with its NUL) follows.
struct InvoiceSearchRowHead {
    std::int32_t invoice_index;
    std::int32_t line_number;
    std::int32_t text_length;
};

// The layouts are little-endian x86-64/ARM64 images; nothing here may be reordered or padded differently.
#define STK_LAYOUT(T, field, off) static_assert(offsetof(T, field) == (off), #T "." #field)

static_assert(std::is_standard_layout_v<RequestHeader> && sizeof(RequestHeader) == 200);
STK_LAYOUT(RequestHeader, version, 0);
STK_LAYOUT(RequestHeader, client_name, 4);
STK_LAYOUT(RequestHeader, opcode, 36);
STK_LAYOUT(RequestHeader, flag, 40);
STK_LAYOUT(RequestHeader, invoice_index, 44);
STK_LAYOUT(RequestHeader, selector, 48);
STK_LAYOUT(RequestHeader, padding1, 52);
STK_LAYOUT(RequestHeader, reserved_real, 56);
STK_LAYOUT(RequestHeader, text_a, 64);
STK_LAYOUT(RequestHeader, text_b, 128);
STK_LAYOUT(RequestHeader, reserved, 192);
STK_LAYOUT(RequestHeader, padding2, 196);

static_assert(std::is_standard_layout_v<ResponseHeader> && sizeof(ResponseHeader) == 160);
STK_LAYOUT(ResponseHeader, opcode, 0);
STK_LAYOUT(ResponseHeader, result, 4);
STK_LAYOUT(ResponseHeader, value, 8);
STK_LAYOUT(ResponseHeader, value2, 12);
STK_LAYOUT(ResponseHeader, real, 16);
STK_LAYOUT(ResponseHeader, text_a, 24);
STK_LAYOUT(ResponseHeader, text_b, 88);
STK_LAYOUT(ResponseHeader, payload_length, 152);
STK_LAYOUT(ResponseHeader, padding, 156);

static_assert(std::is_standard_layout_v<InventoryRecord> && sizeof(InventoryRecord) == 704);
STK_LAYOUT(InventoryRecord, item_number, 0);
STK_LAYOUT(InventoryRecord, description, 64);
STK_LAYOUT(InventoryRecord, remark, 128);
STK_LAYOUT(InventoryRecord, unit_price, 192);
STK_LAYOUT(InventoryRecord, quantity, 224);
STK_LAYOUT(InventoryRecord, minimum_quantity, 256);
STK_LAYOUT(InventoryRecord, sold_quantity, 288);
STK_LAYOUT(InventoryRecord, unaccounted_quantity, 320);
STK_LAYOUT(InventoryRecord, category, 352);
STK_LAYOUT(InventoryRecord, location, 416);
STK_LAYOUT(InventoryRecord, standard_unit_cost, 480);
STK_LAYOUT(InventoryRecord, gross_profit, 512);
STK_LAYOUT(InventoryRecord, markup, 544);
STK_LAYOUT(InventoryRecord, note, 576);
STK_LAYOUT(InventoryRecord, last_audit_date, 640);

static_assert(std::is_standard_layout_v<FifoLayer> && sizeof(FifoLayer) == 288);
STK_LAYOUT(FifoLayer, item_number, 0);
STK_LAYOUT(FifoLayer, original_quantity, 64);
STK_LAYOUT(FifoLayer, remaining_quantity, 96);
STK_LAYOUT(FifoLayer, unit_cost, 128);
STK_LAYOUT(FifoLayer, date, 160);
STK_LAYOUT(FifoLayer, source, 224);

static_assert(std::is_standard_layout_v<InvoiceLine> && sizeof(InvoiceLine) == 452);
STK_LAYOUT(InvoiceLine, quantity, 0);
STK_LAYOUT(InvoiceLine, backorder_quantity, 32);
STK_LAYOUT(InvoiceLine, item_number, 64);
STK_LAYOUT(InvoiceLine, description, 128);
STK_LAYOUT(InvoiceLine, remark, 192);
STK_LAYOUT(InvoiceLine, unit_price, 256);
STK_LAYOUT(InvoiceLine, unit_cost, 288);
STK_LAYOUT(InvoiceLine, amount, 320);
STK_LAYOUT(InvoiceLine, tax_percent, 352);
STK_LAYOUT(InvoiceLine, note, 384);
STK_LAYOUT(InvoiceLine, ordered, 448);

static_assert(std::is_standard_layout_v<InvoiceRecord> && sizeof(InvoiceRecord) == 6496);
STK_LAYOUT(InvoiceRecord, invoice_number, 0);
STK_LAYOUT(InvoiceRecord, date, 32);
STK_LAYOUT(InvoiceRecord, time, 64);
STK_LAYOUT(InvoiceRecord, account_number, 96);
STK_LAYOUT(InvoiceRecord, customer_name, 128);
STK_LAYOUT(InvoiceRecord, customer_address, 192);
STK_LAYOUT(InvoiceRecord, customer_city, 256);
STK_LAYOUT(InvoiceRecord, customer_state, 320);
STK_LAYOUT(InvoiceRecord, customer_zip_code, 384);
STK_LAYOUT(InvoiceRecord, customer_phone_number, 448);
STK_LAYOUT(InvoiceRecord, order_number, 512);
STK_LAYOUT(InvoiceRecord, salesperson, 576);
STK_LAYOUT(InvoiceRecord, status, 640);
STK_LAYOUT(InvoiceRecord, payment, 644);
STK_LAYOUT(InvoiceRecord, subtotal, 648);
STK_LAYOUT(InvoiceRecord, tax, 680);
STK_LAYOUT(InvoiceRecord, total, 712);
STK_LAYOUT(InvoiceRecord, cash_received, 744);
STK_LAYOUT(InvoiceRecord, change, 776);
STK_LAYOUT(InvoiceRecord, note, 808);
STK_LAYOUT(InvoiceRecord, reserved, 1064);
STK_LAYOUT(InvoiceRecord, line_count, 1068);
STK_LAYOUT(InvoiceRecord, lines, 1072);

static_assert(std::is_standard_layout_v<MessageRecord> && sizeof(MessageRecord) == 292);
STK_LAYOUT(MessageRecord, timestamp, 0);
STK_LAYOUT(MessageRecord, flags, 32);
STK_LAYOUT(MessageRecord, text, 36);

static_assert(sizeof(PackedItemLengths) == 16);
static_assert(sizeof(InvoiceSearchRowHead) == 12);

#undef STK_LAYOUT

static_assert(std::is_trivially_copyable_v<InvoiceRecord> && std::is_trivially_copyable_v<InventoryRecord>);

}  // namespace stk
