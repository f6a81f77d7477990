// The client's own address book: a table of fixed-size contact records kept in "contacts.txt" of the data set,
// one contact per CR LF line, thirteen TAB-separated columns.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "client/ui/reserved_array.h"

class QWidget;

namespace stk::client {

struct ContactRecord {
    char account_number[64];
    char name[64];
    char contact[64];
    char phone_number[64];
    char fax_number[64];
    char mobile_number[64];
    char address[64];
    char city[64];
    char state[64];
    char zip_code[64];
    char web_url[512];
    char email_address[64];
    char note[512];
};
static_assert(sizeof(ContactRecord) == 1728);
static_assert(offsetof(ContactRecord, name) == 64);
static_assert(offsetof(ContactRecord, contact) == 128);
static_assert(offsetof(ContactRecord, phone_number) == 192);
static_assert(offsetof(ContactRecord, fax_number) == 256);
static_assert(offsetof(ContactRecord, mobile_number) == 320);
static_assert(offsetof(ContactRecord, address) == 384);
static_assert(offsetof(ContactRecord, city) == 448);
static_assert(offsetof(ContactRecord, state) == 512);
static_assert(offsetof(ContactRecord, zip_code) == 576);
static_assert(offsetof(ContactRecord, web_url) == 640);
static_assert(offsetof(ContactRecord, email_address) == 1152);
static_assert(offsetof(ContactRecord, note) == 1216);

// The contacts in slots 1..count, and what of their file could not be loaded. A file that failed to load
// part-way is never written back shorter than it was: save_contacts puts the part it could not read back
// behind the contacts, byte for byte, and refuses to write over a file it could not read at all.
class ContactTable : public ReservedArray<ContactRecord> {
public:
    // The file's bytes from the first line that did not load to its end; "" after a whole load.
    const std::string& unread_lines() const { return unread_lines_; }
    // The file exists but could not be read, so nothing of it is known.
    bool file_unreadable() const { return file_unreadable_; }
    // Gives the slots back and forgets the file.
    void release();

private:
    friend int load_contacts(const std::string& path, ContactTable& table, QWidget* parent);
    std::string unread_lines_;
    bool file_unreadable_ = false;
};

inline constexpr int kContactColumns = 13;
// A contacts file line this long or longer is malformed.
inline constexpr std::size_t kMaxContactLine = 3328;

// Reads `path` into `table` (appending after what it holds), creating an empty file when it is missing.
// On failure shows string 40 and/or string 42 with the path (through the dialog seam, owned by `parent`)
// and returns 0; the contacts read before the failing line stay, and the table remembers the rest of the file.
int load_contacts(const std::string& path, ContactTable& table, QWidget* parent = nullptr);
// Rewrites `path` with every contact of `table`, then the lines the load could not read; 1 on success. Returns 0
// and leaves the file alone when the write fails or when the file could not be read when it was loaded.
int save_contacts(const std::string& path, const ContactTable& table);

// Column-wise access to the thirteen fields, in file order (account number 0 ... note 12).
// The width in bytes of field `column` (0 for a column that does not exist).
std::size_t contact_field_size(int column);
// The text of field `column` ("" for a column that does not exist).
std::string_view contact_text(const ContactRecord& record, int column);
// Stores text into field `column`, cut to the field.
void set_contact_text(ContactRecord& record, int column, std::string_view text);

}  // namespace stk::client
