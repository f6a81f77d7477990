// What the sale workspace (current invoice and inventory list) needs from the rest of the client: the
// request layer, a few settings, the widgets of the main window, and the contacts database. Both the inventory
// and the invoice folder build on it, so it sits below both.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "client/api/server_api.h"
#include "client/ui/id_lookup.h"
#include "common/records.h"

class QAbstractItemView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace stk::client {

struct SaleSettings {
    std::function<std::string()> tax_percentage;  // TaxPercentage (1252 bytes)
    std::function<QString()> data_set_folder;     // the client data set, without trailing separator
    int max_items = 100000;                       // MAX_ITEMS
    int max_history = 10000;                      // MAX_HISTORYLENGTH
};

// The main window's controls the workspace reads and fills. Edits are keyed by their control id.
struct SaleWidgets {
    QWidget* window = nullptr;  // owner of message boxes and dialogs
    std::map<int, QLineEdit*> edits;
    QCheckBox* inventory_item = nullptr;
    QComboBox* status = nullptr;
    QComboBox* payment = nullptr;
    QLabel* change = nullptr;
    QLabel* subtotal = nullptr;
    QLabel* tax = nullptr;
    QLabel* total = nullptr;
    QAbstractItemView* inventory_list = nullptr;
    QAbstractItemView* invoice_lines = nullptr;
    // The main window's "program is filling the invoice fields" flag, when it keeps one; the workspace then
    // raises and lowers that one instead of its own.
    bool* filling_fields = nullptr;

    QLineEdit* edit(int id) const { return find_by_id(edits, id); }
};

// The client's contacts database as the automatic contact of a paid invoice uses it.
struct ContactsAccess {
    // A contact whose name and phone number equal these (without case) exists.
    std::function<bool(std::string_view name, std::string_view phone)> contains;
    std::function<bool()> full;  // MAX_CONTACTS reached
    // Appends a contact of the invoice's seven customer texts (already trimmed).
    std::function<bool(const InvoiceRecord& customer)> append;
    std::function<bool()> save;
    std::function<QString()> file_path;
};

// Sees every request the workspace is about to send (opcode and, where it names one, the text it carries).
using RequestObserver = std::function<void(int opcode, std::string_view text)>;

}  // namespace stk::client
