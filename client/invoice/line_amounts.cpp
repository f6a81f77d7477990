#include "client/invoice/line_amounts.h"

#include "common/number_text.h"
#include "common/records.h"

namespace stk::client {

std::string cents_if_number(std::string text) {
    double value = 0;
    return is_number(text, &value) ? format_2f(value) : text;
}

std::string price_and_amount(std::string& unit_price, const std::string& quantity) {
    double value = 0;
    if (!is_number(unit_price, &value)) return unit_price;
    unit_price = format_2f(value);
    const double price = parse_decimal_prefix(unit_price);
    double q = 0;
    return is_number(quantity, &q) ? format_2f(price * q) : format_2f(price);
}

bool money_texts_fit(const std::string& unit_price, const std::string& unit_cost, const std::string& amount) {
    const InvoiceLine l{};
    return unit_price.size() < sizeof l.unit_price && unit_cost.size() < sizeof l.unit_cost &&
           amount.size() < sizeof l.amount;
}

}  // namespace stk::client
