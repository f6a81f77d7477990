#include "common/protocol.h"

namespace stk {

std::string_view status_word(std::int32_t status) { return status == STATUS_COMPLETE ? "COMPLETE" : "INCOMPLETE"; }

std::string_view payment_word(std::int32_t payment) {
    static constexpr std::string_view words[] = {"UNPAID",  "CASH",     "CHECK",   "CREDIT CARD",
                                                 "ACCOUNT", "WARRANTY", "FINANCED"};
    if (payment < 0 || payment > 6) return "";
    return words[payment];
}

}  // namespace stk
