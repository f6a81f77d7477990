// The money texts of an invoice line, as the line is added or edited.
#pragma once

#include <string>

namespace stk::client {

// A number rounded to cents ("%.2f"); anything else as it is.
std::string cents_if_number(std::string text);

// Rounds a numeric unit price to cents and returns the line amount: price times quantity, or the price alone
// when the quantity is no number. A price that is no number stays as typed and is the amount as well.
std::string price_and_amount(std::string& unit_price, const std::string& quantity);

// Whether a line's unit price, unit cost and amount fit their fields whole. A text cut to its field would be
// another number (an amount 10 000 times too small, say) that the totals then leave out: such a line is
// refused rather than stored.
bool money_texts_fit(const std::string& unit_price, const std::string& unit_cost, const std::string& amount);

}  // namespace stk::client
