#include "server/shell/server_settings.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/number_text.h"
#include "common/text_field.h"
#include "platform/durable_file.h"

namespace stk::server {

namespace {

constexpr std::size_t kMaxLineLength = 3328;

// The integer part of a capacity, kept inside int: a value past the int range is no capacity anyone meant,
// and converting it would be undefined.
bool capacity_from(std::string_view value, int& capacity) {
    double v = 0.0;
    if (!is_number(value, &v)) return false;
    v = std::trunc(v);
    if (v > std::numeric_limits<int>::max()) v = std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) v = std::numeric_limits<int>::min();
    capacity = static_cast<int>(v);
    return true;
}

void apply_line(std::string_view line, ServerSettings& s) {
    if (line.size() >= kMaxLineLength) return;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = line.substr(eq + 1);
    if (equal_ci(key, "ServerName")) {
        if (value.size() <= kMaxNameLength) s.server_name = std::string(value);
    } else if (equal_ci(key, "ClientName")) {
        if (value.size() <= kMaxNameLength) s.client_name = std::string(value);
    } else if (equal_ci(key, "MAX_INVOICES")) {
        capacity_from(value, s.max_invoices);
    } else if (equal_ci(key, "MAX_ITEMS")) {
        capacity_from(value, s.max_items);
    }
}

// Locale-free, and without the exponent "%g" would give a large capacity.
std::string decimal(int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

void apply_settings_text(std::string_view text, ServerSettings& settings) {
    // The file was read as C text: nothing after a NUL counts.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = text.find("\r\n", at);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        apply_line(text.substr(at, stop - at), settings);
        if (end == std::string_view::npos) break;
        at = end + 2;
    }
}

int load_settings(const std::string& path, ServerSettings& settings) {
    std::string text;
    if (path.empty() || !platform::read_whole_file(path, text) || text.empty()) return 0;
    apply_settings_text(text, settings);
    return 1;
}

std::string settings_text(const ServerSettings& s) {
    std::string out;
    out += "ServerName=" + s.server_name + "\r\n";
    out += "ClientName=" + s.client_name + "\r\n";
    out += "MAX_INVOICES=" + decimal(s.max_invoices) + "\r\n";
    out += "MAX_ITEMS=" + decimal(s.max_items) + "\r\n";
    return out;
}

int save_settings(const std::string& path, const ServerSettings& settings) {
    if (path.empty()) return 0;
    return platform::write_file_durably_unless_same(path, settings_text(settings)) ? 1 : 0;
}

}  // namespace stk::server
