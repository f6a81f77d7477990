#include "server/shell/command_line.h"

namespace stk::server {

CommandLine parse_command_line(const std::vector<std::string>& args) {
    CommandLine cl;
    bool carry_given = false;
    for (std::size_t i = 0; i < args.size() && cl.error.empty(); ++i) {
        std::string option = args[i];
        std::optional<std::string> inline_value;
        if (const auto eq = option.find('='); option.rfind("--", 0) == 0 && eq != std::string::npos) {
            inline_value = option.substr(eq + 1);
            option.resize(eq);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inline_value) return inline_value;
            if (i + 1 < args.size()) return args[++i];
            cl.error = option + " needs a value";
            return std::nullopt;
        };
        if (option == "--help" && !inline_value) {
            cl.show_help = true;
        } else if (option == "--version" && !inline_value) {
            cl.show_version = true;
        } else if (option == "--headless" && !inline_value) {
            cl.headless = true;
        } else if (option == "--database-set") {
            cl.options.database_set = value();
        } else if (option == "--server-name") {
            cl.options.server_name = value();
        } else if (option == "--listen-tcp") {
            cl.options.listen_tcp = value();
        } else if (option == "--new-set") {
            cl.options.new_set = value();
        } else if (option == "--carry") {
            const std::optional<std::string> list = value();
            if (!list) break;
            carry_given = true;
            std::size_t at = 0;
            while (at <= list->size()) {
                const auto comma = list->find(',', at);
                const std::string word = list->substr(at, comma == std::string::npos ? std::string::npos : comma - at);
                if (word == "inventory")
                    cl.options.carry_inventory = true;
                else if (word == "invoices")
                    cl.options.carry_invoices = true;
                else if (word == "messages")
                    cl.options.carry_messages = true;
                else if (!word.empty())
                    cl.error = "--carry takes inventory, invoices and messages, not " + word;
                if (comma == std::string::npos) break;
                at = comma + 1;
            }
        } else {
            cl.error = "unknown argument " + args[i];
        }
    }
    if (cl.error.empty() && carry_given && !cl.options.new_set) cl.error = "--carry needs --new-set";
    if (cl.error.empty()) {
        for (const auto* v : {&cl.options.database_set, &cl.options.new_set, &cl.options.listen_tcp}) {
            if (*v && (*v)->empty()) cl.error = "an option was given an empty value";
        }
    }
    return cl;
}

}  // namespace stk::server
