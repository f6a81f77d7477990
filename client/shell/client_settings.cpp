#include "client/shell/client_settings.h"

#include <cmath>
#include <cstdint>
#include <limits>

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

void apply_line(std::string_view line, ClientSettings& s) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = line.substr(eq + 1);
    auto is = [&](const char* name) { return equal_ci(key, name); };
    if (is("WindowTitle")) take_text(s.window_title, value);
    else if (is("CompanyName")) take_text(s.company_name, value);
    else if (is("Address")) take_text(s.address, value);
    else if (is("City")) take_text(s.city, value);
    else if (is("State")) take_text(s.state, value);
    else if (is("ZipCode")) take_text(s.zip_code, value);
    else if (is("PhoneNumber")) take_text(s.phone_number, value);
    else if (is("TaxPercentage")) take_text(s.tax_percentage, value);
    else if (is("ServerName")) take_text(s.server_name, value);
    else if (is("ClientName")) take_text(s.client_name, value);
    else if (is("ConnectToRemoteComputer")) take_text(s.connect_to_remote_computer, value);
    else if (is("RemoteComputerName")) take_text(s.remote_computer_name, value);
    else if (is("ViewSalesTotalsReport")) take_text(s.view_sales_totals_report, value);
    else if (is("RowHeight")) take_text(s.row_height, value);
    else if (is("MAX_CONTACTS")) take_number(s.max_contacts, value);
    else if (is("MAX_HISTORYLENGTH")) take_number(s.max_history_length, value);
    else if (is("MAX_INVOICES")) take_number(s.max_invoices, value);
    else if (is("MAX_ITEMS")) take_number(s.max_items, value);
}

std::string int_text(int v) {
    // Locale-free "%d".
    std::string digits;
    std::int64_t n = v;
    const bool negative = n < 0;
    if (negative) n = -n;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + n % 10));
        n /= 10;
    } while (n > 0);
    return negative ? "-" + digits : digits;
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
    line("WindowTitle", field(s.window_title));
    line("CompanyName", field(s.company_name));
    line("Address", field(s.address));
    line("City", field(s.city));
    line("State", field(s.state));
    line("ZipCode", field(s.zip_code));
    line("PhoneNumber", field(s.phone_number));
    line("TaxPercentage", field(s.tax_percentage));
    line("ServerName", field(s.server_name));
    line("ClientName", field(s.client_name));
    line("ConnectToRemoteComputer", field(s.connect_to_remote_computer));
    line("RemoteComputerName", field(s.remote_computer_name));
    line("ViewSalesTotalsReport", field(s.view_sales_totals_report));
    line("RowHeight", field(s.row_height));
    line("MAX_CONTACTS", int_text(s.max_contacts));
    line("MAX_HISTORYLENGTH", int_text(s.max_history_length));
    line("MAX_INVOICES", int_text(s.max_invoices));
    line("MAX_ITEMS", int_text(s.max_items));
    return out;
}

int write_settings_file(const std::string& path, const ClientSettings& settings) {
    return platform::write_file_durably(path, settings_file_text(settings)) ? 1 : 0;
}

}  // namespace stk::client
