#include "common/dates.h"

#include <cstdio>

namespace stk {

std::string format_date(const std::tm& t) {
    char b[32];
    std::snprintf(b, sizeof b, "%02d/%02d/%04d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900);
    return b;
}

std::string format_invoice_time(const std::tm& t) {
    char b[32];
    std::snprintf(b, sizeof b, "%d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return b;
}

std::string format_message_timestamp(const std::tm& t) {
    char b[48];
    std::snprintf(b, sizeof b, "%02d/%02d/%04d at %d:%02d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900, t.tm_hour,
                  t.tm_min);
    return b;
}

std::tm local_now() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return t;
}

}  // namespace stk
