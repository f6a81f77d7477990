// The current invoice: the client's byte-exact copy of it, its display in the main window, the navigation
// history, and every command that changes it. Every change is made by the server; the copy travels with each
// request so that the server can refuse a change made against an outdated copy (result 2).
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "client/invoice/invoice_lines_model.h"
#include "client/ui/sale_context.h"

namespace stk::client {

class InventoryPane;

class InvoiceWorkspace : public QObject {
    Q_OBJECT
public:
    InvoiceWorkspace(ServerApi& api, SaleSettings settings, SaleWidgets widgets, QObject* parent = nullptr);

    // Sets up the lines list (model, columns, Delete key, activation, context menu). The main window routes
    // the invoice-field edits and the two drop-down lists to the commands below.
    void connect_widgets();
    void set_inventory(InventoryPane* inventory) { inventory_ = inventory; }
    void set_contacts(ContactsAccess contacts) { contacts_ = std::move(contacts); }
    RequestObserver on_request;
    // The millisecond part (0-999) of the local time, for the claim number of labour lines; replaced by tests.
    std::function<int()> millisecond_clock;
    // Invoice Item dialog for a line (1-based); owned elsewhere.
    std::function<void(int line)> edit_line;

    // --- state
    const InvoiceRecord& copy() const { return copy_; }
    int current_index() const { return index_; }
    // True while fill_fields puts the copy into the widgets: their change notifications are then ignored.
    bool filling_fields() const { return w_.filling_fields ? *w_.filling_fields : own_filling_; }
    bool paid() const { return copy_.payment != 0; }
    InvoiceLinesModel& lines_model() { return lines_model_; }
    const SaleWidgets& widgets() const { return w_; }

    // --- loading and display
    int load_invoice(int index, bool record_in_history);
    int reload() { return load_invoice(index_, false); }
    int show_totals(bool fetch);
    int get_invoice_count();
    void record_in_history();
    void previous();
    void next();
    int history_top() const { return top_; }
    int history_count() const { return count_; }
    int history_entry(int i) const;
    int copy_line(int line, InvoiceLine* destination) const;

    // --- keeping the copy equal to the server's record
    // Call before sending a change. When an earlier change got no answer, the copy is unknown and is reloaded
    // first. false when the change is not to be sent: the reload failed, or, for a change that must not be
    // made twice (`repeatable` false: a line added, changed or removed), the reloaded invoice differs from the
    // copy, so that the user, told so, sees what it holds now before deciding again.
    bool ready_for_change(bool repeatable);
    // Settles a change request's answer: 2 -> string 19 and reload; 4 (the server made the change but could
    // not write it) -> a message and reload; no answer -> the copy is unknown until the next change reloads
    // it; 0 -> nothing changed. Returns whether the change was made (1 or 4); after 4 the copy already holds it.
    // Messages go over `message_owner`, or the main window when it is null.
    bool settle_change(int result, QWidget* message_owner = nullptr);
    bool copy_unknown() const { return copy_unknown_; }

    // --- editing commands (1 on success, 0 otherwise)
    int add_line();
    int remove_line(int row);     // after the caller's confirmation
    void delete_selected_line();  // Delete key / context "Delete": asks, then removes
    void edit_selected_line();    // context "Edit/View...": asks when paid, then the line dialog
    // Replaces line `line` (1-based) with `new_line` (the Invoice Item dialog's OK). Other answers than 1 are
    // settled as for every change, their messages over `message_owner`; a refusal reloads too, so the screen
    // shows what is stored. 1 when the line was replaced (also when the server could not save it).
    int replace_line(int line, const InvoiceLine& new_line, QWidget* message_owner);
    void copy_line_to_entry(int row);
    int save_field(int field_id);
    int change_payment(int payment);
    int change_status(int status);
    int edit_customer();
    int clear_customer();
    void identify_salesperson();
    int new_invoice();
    // Result in *result, the quantity applied in *filled.
    int fill_backorder(int index, int line, const InvoiceLine& delivered, double* filled = nullptr,
                       int* result = nullptr);
    int set_invoice_customer(const InvoiceRecord& scratch);

    void refresh_all();  // View > Refresh

    // The row of the lines list that has the selection mark, or -1.
    int selected_line_row() const;

private:
    void note(int opcode, std::string_view text = {}) const;
    void show_line_menu(const QPoint& pos);
    void fill_fields();
    void show_choices();  // the status and payment lists from the copy
    void resync();        // reload; when that fails too, the copy is unknown
    void set_filling(bool on);
    void invoice_changed(QWidget* message_owner);  // result 2: tell and reload
    void restore_typed_text(int field_id, const QString& text, int cursor);
    std::string read_edit(int id, int max_chars) const;
    // add_line's steps.
    bool read_required(int id, int max_chars, std::string* text);  // string 7 and focus when empty
    void decide_backorder(const std::string& item_number, const std::string& quantity, std::string* backorder);
    std::string line_tax_percent(const std::string& unit_cost);
    std::string line_note(const std::string& description) const;
    bool continue_on_new_invoice();
    int send_line(const InvoiceLine& line, const std::string& item_number);
    // The seven customer texts of `from` into `to` (cut to their fields), trimmed of blanks when `trim`.
    static void copy_customer(const InvoiceRecord& from, InvoiceRecord& to, bool trim);
    void set_edit(int id, std::string_view text);
    QWidget* owner() const { return w_.window; }

    ServerApi& api_;
    SaleSettings settings_;
    SaleWidgets w_;
    InventoryPane* inventory_ = nullptr;
    ContactsAccess contacts_;

    InvoiceRecord copy_{};
    int index_ = 0;
    // A change was sent and no answer came: the server may or may not have made it.
    bool copy_unknown_ = false;
    bool own_filling_ = false;  // used only when the widgets bring no flag of their own
    InvoiceLinesModel lines_model_;

    std::vector<int> history_{0};  // entry 0 unused
    int top_ = 0;
    int count_ = 0;
};

}  // namespace stk::client
