#include "client/app/client_settings.h"

#include <cmath>
#include <limits>

#include "client/ui/decimal_text.h"
#include "common/number_text.h"
#include "common/text_field.h"
#include "platform/durable_file.h"

namespace stk::client {

namespace {

// Lines longer than this are skipped.
constexpr std::size_t kMaxLineLength = 3327;

template <std::size_t N>
void take_text(char (&f)[N], std::string_view value) {
    if (value.size() < N) set_field(f, value);
}

void take_number(int& target, std::string_view value) {
    double v = 0.0;
    if (!is_number(value, &v)) return;
    const double cut = std::trunc(v);
    // A capacity that does not fit the integer it is kept in is as malformed as "2,500".
    if (!(cut >= std::numeric_limits<int>::min() && cut <= std::numeric_limits<int>::max())) return;
    target = static_cast<int>(cut);
}

// Every key of the file with the setting it holds, in the file's order: `text` for the text fields,
// `number` for the capacities.
template <class Settings, class Text, class Number>
void for_each_setting(Settings& s, Text text, Number number) {
    text("WindowTitle", s.window_title);
    text("CompanyName", s.company_name);
    text("Address", s.address);
    text("City", s.city);
    text("State", s.state);
    text("ZipCode", s.zip_code);
    text("PhoneNumber", s.phone_number);
    text("TaxPercentage", s.tax_percentage);
    text("ServerName", s.server_name);
    text("ClientName", s.client_name);
    text("ConnectToRemoteComputer", s.connect_to_remote_computer);
    text("RemoteComputerName", s.remote_computer_name);
    text("ViewSalesTotalsReport", s.view_sales_totals_report);
    text("RowHeight", s.row_height);
    number("MAX_CONTACTS", s.max_contacts);
    number("MAX_HISTORYLENGTH", s.max_history_length);
    number("MAX_INVOICES", s.max_invoices);
    number("MAX_ITEMS", s.max_items);
}

void apply_line(std::string_view line, ClientSettings& s) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = line.substr(eq + 1);
    for_each_setting(
        s, [&](const char* name, auto& f) { if (equal_ci(key, name)) take_text(f, value); },
        [&](const char* name, int& n) { if (equal_ci(key, name)) take_number(n, value); });
}

}  // namespace

bool ClientSettings::remote() const { return equal_ci(field(connect_to_remote_computer), "TRUE"); }

bool ClientSettings::sales_report_enabled() const { return equal_ci(field(view_sales_totals_report), "TRUE"); }

void apply_settings_text(std::string_view content, ClientSettings& settings) {
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t end = content.find("\r\n", pos);
        const std::string_view line =
            content.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (line.size() <= kMaxLineLength) apply_line(line, settings);
        if (end == std::string_view::npos) break;
        pos = end + 2;
    }
}

int read_settings_file(const std::string& path, ClientSettings& settings) {
    std::string content;
    if (!platform::read_whole_file(path, content) || content.empty()) return 0;
    apply_settings_text(content, settings);
    return 1;
}

std::string settings_file_text(const ClientSettings& s) {
    std::string out;
    auto line = [&](const char* key, std::string_view value) {
        out += key;
        out += '=';
        out += value;
        out += "\r\n";
    };
    for_each_setting(
        s, [&](const char* key, const auto& f) { line(key, field(f)); },
        [&](const char* key, int n) { line(key, decimal_text(n)); });
    return out;
}

int write_settings_file(const std::string& path, const ClientSettings& settings) {
    return platform::write_file_durably(path, settings_file_text(settings)) ? 1 : 0;
}

}  // namespace stk::client
