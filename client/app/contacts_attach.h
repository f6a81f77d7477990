// Opens the Contacts window from View > Contacts and the main window's "Contacts" button, on the client's
// contacts, and lets it put a contact on the current invoice of the sale workspace.
#pragma once

#include <QString>

namespace stk::client {

class ContactTable;
class MainWindow;

// With explicit parts (tests use their own table and file); the table and the search text must outlive the
// window.
void attach_contacts(MainWindow& window, ContactTable& table, QString file_path, QString& kept_search);

// With the session's contacts, file and kept search.
void attach_contacts(MainWindow& window);

}  // namespace stk::client
