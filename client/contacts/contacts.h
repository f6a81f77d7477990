// The client's own address book: a table of fixed-size contact records kept in "contacts.txt" of the data set,
// one contact per CR LF line, thirteen TAB-separated columns.
#pragma once

#include <cstddef>
#include <string>

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

using ContactTable = ReservedArray<ContactRecord>;

inline constexpr int kContactColumns = 13;
// A contacts file line this long or longer is malformed.
inline constexpr std::size_t kMaxContactLine = 3328;

// Reads `path` into `table` (appending after what it holds), creating an empty file when it is missing.
// On failure shows string 40 and/or string 42 with the path (through the dialog seam, owned by `parent`)
// and returns 0; the contacts read before the failing line stay.
int load_contacts(const std::string& path, ContactTable& table, QWidget* parent = nullptr);
// Rewrites `path` with every contact of `table`; 1 on success.
int save_contacts(const std::string& path, const ContactTable& table);

// The contact's thirteen fields in file order (for column-wise access).
char* contact_field(ContactRecord& record, int column, std::size_t* size);

}  // namespace stk::client
