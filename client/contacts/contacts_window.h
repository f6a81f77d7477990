// The Contacts window (dialog 124): find a contact as you type, create, view, change and delete contacts, open
// a contact's web site, and put a contact on the current invoice. Opened modally from the main window.
#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <functional>

#include "client/contacts/contacts.h"
#include "client/contacts/contacts_model.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace stk::client {

// What the window works on. The table and the kept search text belong to the client and outlive the window.
struct ContactsContext {
    ContactTable* table = nullptr;
    QString file_path;               // "contacts.txt" of the data set
    QString* kept_search = nullptr;  // the last search text, kept for the life of the client
    // The main window's customer name or phone number box holds text.
    std::function<bool()> invoice_has_customer;
    // Puts the contact's customer fields on the current invoice (SET_INVOICE_CUSTOMER); the invoice shown
    // afterwards is the one the server holds, whatever it answered.
    std::function<void(const ContactRecord&)> apply_to_invoice;
    // The font of the window's controls: the main window's, so that the columns fit the same texts; a default
    // font leaves the desktop's.
    QFont font;
};

class ContactsWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSearchBox = 1006, kCreateButton = 1036, kList = 500;
    static constexpr int kSearchLimit = 255;
    // Commands of the list's right-click menu.
    static constexpr int kApplyCommand = 4000, kDeleteCommand = 4001, kEditCommand = 4002, kWebsiteCommand = 4003;

    ContactsWindow(ContactsContext context, QWidget* parent);

    QLineEdit* search_box() const { return search_; }
    QTreeView* list() const { return list_; }
    ContactsModel& model() { return model_; }
    // The slot of the selected row's contact, or 0.
    int selected_slot() const;
    void select_slot(int slot);

    // 4000..4003 as the right-click menu sends them.
    void run_command(int id);
    // "Create New Contact...": the contact dialog for a new contact, or string 40 when the table is full.
    void create_contact();
    // The contact dialog for a contact; the list is filled again and the file saved after OK.
    void edit_contact(int slot);
    // Asks string 2, then removes the selected contact and saves.
    void delete_selected();
    void open_website();
    void apply_to_invoice();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void search_changed(const QString& text);
    void refill();

    ContactsContext context_;
    ContactsModel model_;
    QLabel* search_label_ = nullptr;
    QLineEdit* search_ = nullptr;
    QPushButton* create_ = nullptr;
    QTreeView* list_ = nullptr;
};

// Opens the Contacts window modally, owned by `owner`.
void open_contacts_window(ContactsContext context, QWidget* owner);

}  // namespace stk::client
