#include "tests/crash/set_files.h"

#include <cmath>
#include <cstring>
#include <map>
#include <string_view>
#include <vector>

#include "common/number_text.h"
#include "common/records.h"
#include "common/text_field.h"
#include "platform/durable_file.h"

namespace stk::crash {

namespace {

constexpr const char* kFiles[] = {"inventory.txt", "inventory fifo.txt", "invoices.dat", "messages.dat"};

std::string read(const std::string& folder, const char* name) {
    std::string bytes;
    platform::read_whole_file(folder + "/" + name, bytes);
    if (std::strcmp(name, "messages.dat") == 0) {
        for (std::size_t at = 12; at + sizeof(MessageRecord) <= bytes.size(); at += sizeof(MessageRecord)) {
            std::memset(bytes.data() + at + offsetof(MessageRecord, timestamp), 0, sizeof(MessageRecord::timestamp));
        }
    }
    return bytes;
}

std::vector<std::vector<std::string_view>> rows(std::string_view text) {
    std::vector<std::vector<std::string_view>> out;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        std::string_view line = text.substr(0, end);
        std::vector<std::string_view> columns;
        for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1)) {
            columns.push_back(line.substr(0, tab));
        }
        columns.push_back(line);
        out.push_back(std::move(columns));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 2);
    }
    return out;
}

std::string_view column(const std::vector<std::string_view>& row, std::size_t i) {
    return i < row.size() ? row[i] : std::string_view();
}

}  // namespace

std::string comparable_files(const std::string& folder) {
    std::string all;
    for (const char* name : kFiles) all += read(folder, name) + "\n--\n";
    return all;
}

std::string differing_files(const std::string& folder_a, const std::string& folder_b) {
    std::string names;
    for (const char* name : kFiles) {
        if (read(folder_a, name) != read(folder_b, name)) names += std::string(names.empty() ? "" : ", ") + name;
    }
    return names;
}

std::string stock_layer_mismatches(const std::string& folder) {
    const std::string items = read(folder, "inventory.txt");
    const std::string layers = read(folder, "inventory fifo.txt");
    std::map<std::string, double> held;
    for (const auto& layer : rows(layers)) {
        double remaining = 0.0;
        if (is_number(column(layer, 2), &remaining)) held[upper_1252(column(layer, 0))] += remaining;
    }
    std::string out;
    for (const auto& item : rows(items)) {
        double stock = 0.0;
        if (!is_number(column(item, 4), &stock) || stock < 0.0) continue;
        const double in_layers = held[upper_1252(column(item, 0))];
        if (std::fabs(in_layers - stock) > 0.001) {
            out += std::string(column(item, 0)) + ": " + std::string(column(item, 4)) + " vs " +
                   std::to_string(in_layers) + "\n";
        }
    }
    return out;
}

}  // namespace stk::crash
