#include "client/contacts/contacts.h"

#include <QFile>
#include <QString>
#include <cstring>
#include <string_view>

#include "client/ui/strings.h"
#include "common/text_field.h"
#include "platform/durable_file.h"

namespace stk::client {

char* contact_field(ContactRecord& r, int column, std::size_t* size) {
    char* f = nullptr;
    std::size_t n = 64;
    switch (column) {
    case 0: f = r.account_number; break;
    case 1: f = r.name; break;
    case 2: f = r.contact; break;
    case 3: f = r.phone_number; break;
    case 4: f = r.fax_number; break;
    case 5: f = r.mobile_number; break;
    case 6: f = r.address; break;
    case 7: f = r.city; break;
    case 8: f = r.state; break;
    case 9: f = r.zip_code; break;
    case 10: f = r.web_url; n = 512; break;
    case 11: f = r.email_address; break;
    case 12: f = r.note; n = 512; break;
    default: n = 0; break;
    }
    if (size) *size = n;
    return f;
}

namespace {

const char* field_of(const ContactRecord& r, int column, std::size_t* size) {
    return contact_field(const_cast<ContactRecord&>(r), column, size);
}

// Splits one line into a record; false when a column is too long for its field.
bool parse_line(std::string_view line, ContactRecord& out) {
    out = ContactRecord{};
    int column = 0;
    std::size_t pos = 0;
    while (column < kContactColumns) {
        const std::size_t tab = line.find('\t', pos);
        const std::string_view text = line.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos);
        std::size_t size = 0;
        char* f = contact_field(out, column, &size);
        if (text.size() >= size) return false;
        std::memcpy(f, text.data(), text.size());
        f[text.size()] = '\0';
        ++column;
        if (tab == std::string_view::npos) break;
        pos = tab + 1;
    }
    return true;
}

}  // namespace

int load_contacts(const std::string& path, ContactTable& table, QWidget* parent) {
    const QString qpath = QFile::decodeName(path.c_str());
    auto fail = [&] {
        show_string(parent, str::kCannotOpenContacts, MsgIcon::Warning, MsgButtons::Ok, MsgAnswer::Ok,
                    QStringLiteral("\r\n") + qpath);
        return 0;
    };
    QFile file(qpath);
    if (!file.exists()) {
        // A missing file is created empty: a new data set simply has no contacts yet.
        if (!file.open(QIODevice::WriteOnly)) return fail();
        file.close();
        return 1;
    }
    std::string content;
    if (!platform::read_whole_file(path, content)) return fail();
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t end = content.find("\r\n", pos);
        const std::string_view line = std::string_view(content).substr(
            pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? content.size() : end + 2;
        if (line.size() >= kMaxContactLine) return fail();
        ContactRecord record;
        if (!parse_line(line, record)) return fail();
        if (record.name[0] == '\0') continue;
        if (table.full()) {
            show_string(parent, str::kContactsFull, MsgIcon::Information);
            return fail();
        }
        if (!table.append(record)) return fail();
    }
    return 1;
}

int save_contacts(const std::string& path, const ContactTable& table) {
    std::string out;
    for (int i = 1; i <= table.count(); ++i) {
        for (int c = 0; c < kContactColumns; ++c) {
            if (c > 0) out += '\t';
            std::size_t size = 0;
            const char* f = field_of(table[i], c, &size);
            out.append(f, ::strnlen(f, size - 1));
        }
        out += "\r\n";
    }
    return platform::write_file_durably(path, out) ? 1 : 0;
}

}  // namespace stk::client
