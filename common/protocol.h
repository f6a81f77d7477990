// Opcodes, result codes and the code words of the wire protocol.
#pragma once

#include <cstdint>
#include <string_view>

namespace stk {

enum Opcode : std::int32_t {
    ADD_INVOICE_ITEM = 10,
    FILL_BACKORDER = 20,
    ADD_INVENTORY_ITEM = 30,
    NEW_INVOICE = 40,
    SAVE_MESSAGE = 50,
    DELETE_INVENTORY_ITEM = 60,
    REMOVE_INVOICE_ITEM = 70,
    DELETE_MESSAGE = 80,
    GET_INVENTORY_ITEM = 90,
    GET_FIFO_COST = 100,
    GET_INVOICE = 110,
    GET_INVOICE_COUNT = 120,
    GET_INVOICE_ITEM = 130,
    GET_INVOICE_TOTALS = 140,
    LIST_MESSAGES = 150,
    FIND_BACKORDER = 160,
    NON_INVENTORY_SALES_REPORT = 170,
    SALES_REPORT = 180,
    SUGGESTED_ORDER_REPORT = 190,
    SEARCH_INVENTORY = 200,
    SEARCH_INVOICES = 210,
    UPDATE_INVENTORY_ITEM = 220,
    SET_INVOICE_FIELD = 230,
    REPLACE_INVOICE_ITEM = 240,
    SET_INVOICE_PAYMENT = 250,
    SET_INVOICE_STATUS = 260,
    SET_INVOICE_CUSTOMER = 270,
};

enum Result : std::int32_t {
    RESULT_FAILED = 0,
    RESULT_OK = 1,
    RESULT_CHANGED = 2,
    RESULT_EXISTS = 3,
    RESULT_SAVE_FAILED = 4,
};

enum InvoiceStatus : std::int32_t { STATUS_INCOMPLETE = 0, STATUS_COMPLETE = 1 };

enum PaymentCode : std::int32_t {
    PAYMENT_UNPAID = 0,
    PAYMENT_CASH = 1,
    PAYMENT_CHECK = 2,
    PAYMENT_CREDIT_CARD = 3,
    PAYMENT_ACCOUNT = 4,
    PAYMENT_WARRANTY = 5,
    PAYMENT_FINANCED = 6,  // known to the invoice search only; clients never set it
};

// Field codes of SET_INVOICE_FIELD.
enum InvoiceField : std::int32_t {
    FIELD_CASH_RECEIVED = 400,
    FIELD_CUSTOMER_NAME = 401,
    FIELD_DATE = 402,
    FIELD_INVOICE_NUMBER = 404,
    FIELD_NOTE = 406,
    FIELD_CUSTOMER_PHONE = 407,
    FIELD_ORDER_NUMBER = 408,
    FIELD_SALESPERSON = 412,
    FIELD_TIME = 414,
};

// "INCOMPLETE" / "COMPLETE"; any other status reads as "INCOMPLETE".
std::string_view status_word(std::int32_t status);
// The payment word, or "" for a code outside 0..6.
std::string_view payment_word(std::int32_t payment);

inline constexpr std::string_view kDefaultServerName = "stockavelle server 1.0";
inline constexpr std::string_view kDefaultClientName = "stockavelle client 1.0";

}  // namespace stk
