#include "client/contacts/contacts.h"

#include <QFile>
#include <QString>
#include <cstring>
#include <string_view>

#include "client/ui/strings.h"
#include "common/text_field.h"
#include "platform/durable_file.h"

namespace stk::client {
namespace {

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
        case 10:
            f = r.web_url;
            n = 512;
            break;
        case 11: f = r.email_address; break;
        case 12:
            f = r.note;
            n = 512;
            break;
        default: n = 0; break;
    }
    if (size) *size = n;
    return f;
}

}  // namespace

std::size_t contact_field_size(int column) {
    ContactRecord unused;
    std::size_t size = 0;
    contact_field(unused, column, &size);
    return size;
}

std::string_view contact_text(const ContactRecord& r, int column) {
    std::size_t size = 0;
    const char* f = contact_field(const_cast<ContactRecord&>(r), column, &size);
    return f ? std::string_view(f, ::strnlen(f, size - 1)) : std::string_view();
}

void set_contact_text(ContactRecord& r, int column, std::string_view text) {
    std::size_t size = 0;
    char* f = contact_field(r, column, &size);
    if (!f) return;
    const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    if (n > 0) std::memcpy(f, text.data(), n);
    f[n] = '\0';
}

void ContactTable::release() {
    ReservedArray<ContactRecord>::release();
    unread_lines_.clear();
    file_unreadable_ = false;
}

namespace {

// Splits one line into a record; false when a column is too long for its field.
bool parse_line(std::string_view line, ContactRecord& out) {
    out = ContactRecord{};
    int column = 0;
    std::size_t pos = 0;
    while (column < kContactColumns) {
        const std::size_t tab = line.find('\t', pos);
        const std::string_view text =
            line.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos);
        if (text.size() >= contact_field_size(column)) return false;
        set_contact_text(out, column, text);
        ++column;
        if (tab == std::string_view::npos) break;
        pos = tab + 1;
    }
    return true;
}

}  // namespace

int load_contacts(const std::string& path, ContactTable& table, QWidget* parent) {
    const QString qpath = QFile::decodeName(path.c_str());
    table.unread_lines_.clear();
    table.file_unreadable_ = false;
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
    if (!platform::read_whole_file(path, content)) {
        table.file_unreadable_ = true;
        return fail();
    }
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t start = pos;
        const std::size_t end = content.find("\r\n", pos);
        const std::string_view line =
            std::string_view(content).substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? content.size() : end + 2;
        // From a line that does not load on, the file is kept as it stands, to be written back behind the
        // contacts: the table in memory is only the part before it.
        auto stop_here = [&] { table.unread_lines_ = content.substr(start); };
        ContactRecord record;
        if (line.size() >= kMaxContactLine || !parse_line(line, record)) {
            stop_here();
            return fail();
        }
        if (record.name[0] == '\0') continue;
        if (table.full()) {
            stop_here();
            show_string(parent, str::kContactsFull, MsgIcon::Information);
            return fail();
        }
        if (!table.append(record)) {
            stop_here();
            return fail();
        }
    }
    return 1;
}

int save_contacts(const std::string& path, const ContactTable& table) {
    if (table.file_unreadable()) return 0;
    std::string out;
    for (int i = 1; i <= table.count(); ++i) {
        for (int c = 0; c < kContactColumns; ++c) {
            if (c > 0) out += '\t';
            // A TAB or line break typed or pasted into a field would shift the columns or split the line.
            for (char ch : contact_text(table[i], c)) out += (ch == '\t' || ch == '\r' || ch == '\n') ? ' ' : ch;
        }
        out += "\r\n";
    }
    out += table.unread_lines();
    return platform::write_file_durably(path, out) ? 1 : 0;
}

}  // namespace stk::client
