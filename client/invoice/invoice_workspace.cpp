#include "client/invoice/invoice_workspace.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTime>
#include <QTreeView>
#include <QTableView>
#include <cstring>

#include "client/inventory/inventory_pane.h"
#include "client/invoice/invoice_dialogs.h"
#include "client/shell/strings.h"
#include "client/shell/text_1252.h"
#include "client/shell/control_ids.h"
#include "client/shell/dialog_seam.h"
#include "common/dates.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

namespace id = ids;

namespace {

// "%d" without the C library's locale.
std::string decimal(long long v) {
    const bool negative = v < 0;
    unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + u % 10));
        u /= 10;
    } while (u != 0);
    return negative ? "-" + digits : digits;
}

// Filters key presses of the lines list: Delete removes the selected line, Enter copies it to the entry
// fields as a double click does.
class LinesKeyFilter : public QObject {
public:
    LinesKeyFilter(InvoiceWorkspace* ws) : QObject(ws), ws_(ws) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Delete) {
                ws_->delete_selected_line();
                return true;
            }
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                const int row = ws_->selected_line_row();
                if (row >= 0) ws_->copy_line_to_entry(row);
                return true;
            }
        }
        return QObject::eventFilter(o, e);
    }

private:
    InvoiceWorkspace* ws_;
};

// The customer fields as SET_INVOICE_CUSTOMER and the customer dialog know them, in dialog order.
template <class Fn>
void for_customer_fields(InvoiceRecord& r, Fn fn) {
    fn(r.account_number, 31);
    fn(r.customer_name, 63);
    fn(r.customer_phone_number, 63);
    fn(r.customer_address, 63);
    fn(r.customer_city, 63);
    fn(r.customer_state, 63);
    fn(r.customer_zip_code, 63);
}

}  // namespace

InvoiceWorkspace::InvoiceWorkspace(ServerApi& api, SaleSettings settings, SaleWidgets widgets, QObject* parent)
    : QObject(parent), api_(api), settings_(std::move(settings)), w_(std::move(widgets)) {
    lines_model_.set_record(&copy_);
}

void InvoiceWorkspace::note(int opcode, std::string_view text) const {
    if (on_request) on_request(opcode, text);
}

// ------------------------------------------------------------------------------------------ widgets

void InvoiceWorkspace::set_guard(bool on) {
    guard_ = on;
    if (w_.loading_guard) *w_.loading_guard = on;
}

void InvoiceWorkspace::connect_widgets(bool own_field_signals) {
    for (int fid : id::kInvoiceFieldIds) {
        if (!own_field_signals) break;
        if (QLineEdit* e = w_.edit(fid))
            connect(e, &QLineEdit::textChanged, this, [this, fid] { on_edit_changed(fid); });
    }
    // activated: only the user's choice, never a programmatic selection.
    if (w_.payment && own_field_signals)
        connect(w_.payment, &QComboBox::activated, this, [this](int i) { change_payment(i); });
    if (w_.status && own_field_signals)
        connect(w_.status, &QComboBox::activated, this, [this](int i) {
            if (!loading_guard()) return;
            if (!change_status(i) && w_.status) w_.status->setFocus();
        });
    if (QAbstractItemView* v = w_.invoice_lines) {
        v->setModel(&lines_model_);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setIconSize(QSize(16, 16));
        QHeaderView* header = nullptr;
        if (auto* t = qobject_cast<QTreeView*>(v)) {
            t->setRootIsDecorated(false);
            t->setUniformRowHeights(true);
            header = t->header();
        } else if (auto* t = qobject_cast<QTableView*>(v)) {
            header = t->horizontalHeader();
            t->setShowGrid(false);
            t->verticalHeader()->hide();
            t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
        }
        if (header) {
            header->setSectionsClickable(false);
            header->setSectionsMovable(true);
            header->setStretchLastSection(false);
            for (int c = 0; c < InvoiceLinesModel::kColumns; ++c) header->resizeSection(c, InvoiceLinesModel::width(c));
        }
        // Not `activated`: some desktop styles activate on a single click, which would overwrite the entry
        // fields whenever a line is merely selected.
        connect(v, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) { copy_line_to_entry(i.row()); });
        v->installEventFilter(new LinesKeyFilter(this));
        v->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& pos) {
            const QModelIndex hit = v->indexAt(pos);
            if (!hit.isValid()) return;
            v->setCurrentIndex(hit);
            QMenu menu(v);
            QAction* edit = menu.addAction(QStringLiteral("Edit/View..."));
            menu.addSeparator();
            QAction* del = menu.addAction(QStringLiteral("Delete"));
            QAction* chosen = menu.exec(v->viewport()->mapToGlobal(pos));
            if (chosen == edit) edit_selected_line();
            else if (chosen == del) delete_selected_line();
        });
    }
}

int InvoiceWorkspace::selected_line_row() const {
    if (!w_.invoice_lines) return -1;
    const QModelIndex i = w_.invoice_lines->currentIndex();
    return i.isValid() ? i.row() : -1;
}

std::string InvoiceWorkspace::read_edit(int eid, int max_chars) const {
    QLineEdit* e = w_.edit(eid);
    if (!e) return {};
    return to_1252(e->text().left(max_chars));
}

void InvoiceWorkspace::set_edit(int eid, std::string_view text) {
    if (QLineEdit* e = w_.edit(eid)) e->setText(from_1252(text));
}

void InvoiceWorkspace::on_edit_changed(int fid) {
    if (!loading_guard()) return;
    if (fid == id::kCustomerName) {
        QLineEdit* e = w_.edit(fid);
        if (e && e->text().isEmpty() && ask_string(owner(), 36, false)) {
            clear_customer();
            return;
        }
    }
    if (!save_field(fid)) {
        if (QLineEdit* e = w_.edit(fid)) e->setFocus();
    }
}

// ------------------------------------------------------------------------------------------ loading

void InvoiceWorkspace::fill_fields() {
    set_guard(false);
    set_edit(id::kInvoiceNumber, field(copy_.invoice_number));
    set_edit(id::kInvoiceDate, field(copy_.date));
    set_edit(id::kInvoiceTime, field(copy_.time));
    set_edit(id::kCustomerName, field(copy_.customer_name));
    set_edit(id::kPhoneNumber, field(copy_.customer_phone_number));
    set_edit(id::kOrderNumber, field(copy_.order_number));
    set_edit(id::kSalesperson, field(copy_.salesperson));
    set_edit(id::kCashReceived, field(copy_.cash_received));
    set_edit(id::kInvoiceNote, field(copy_.note));
    if (w_.payment) w_.payment->setCurrentIndex(copy_.payment >= 0 && copy_.payment < w_.payment->count() ? copy_.payment : -1);
    if (w_.status) w_.status->setCurrentIndex(copy_.status >= 0 && copy_.status < w_.status->count() ? copy_.status : -1);
    set_guard(true);
}

int InvoiceWorkspace::load_invoice(int index, bool record) {
    if (index == index_) record = false;
    InvoiceRecord received{};
    note(GET_INVOICE);
    if (api_.get_invoice(index, &received) != RESULT_OK) return 0;
    std::memcpy(&copy_, &received, sizeof copy_);
    index_ = index;
    fill_fields();
    lines_model_.reset();
    show_totals(false);
    if (record) record_in_history();
    return 1;
}

int InvoiceWorkspace::show_totals(bool fetch) {
    if (fetch) {
        double totals[4] = {0, 0, 0, 0};
        note(GET_INVOICE_TOTALS);
        if (api_.get_invoice_totals(index_, totals) != RESULT_OK) return 0;
        set_field(copy_.change, format_2f(totals[0]));
        set_field(copy_.subtotal, format_2f(totals[1]));
        set_field(copy_.tax, format_2f(totals[2]));
        set_field(copy_.total, format_2f(totals[3]));
    }
    if (w_.change) w_.change->setText(field_text(copy_.change));
    if (w_.subtotal) w_.subtotal->setText(field_text(copy_.subtotal));
    if (w_.tax) w_.tax->setText(field_text(copy_.tax));
    if (w_.total) w_.total->setText(field_text(copy_.total));
    return 1;
}

int InvoiceWorkspace::get_invoice_count() {
    int count = 0;
    note(GET_INVOICE_COUNT);
    if (api_.get_invoice_count(&count) != RESULT_OK) return 0;
    return count;
}

void InvoiceWorkspace::record_in_history() {
    // The history holds MAX_HISTORYLENGTH entries; beyond that nothing more is recorded.
    if (top_ + 1 > settings_.max_history) return;
    ++top_;
    count_ = top_;
    if (static_cast<int>(history_.size()) <= top_) history_.resize(static_cast<std::size_t>(top_) + 1, 0);
    history_[static_cast<std::size_t>(top_)] = index_;
}

int InvoiceWorkspace::history_entry(int i) const {
    if (i < 1 || i >= static_cast<int>(history_.size())) return 0;
    return history_[static_cast<std::size_t>(i)];
}

void InvoiceWorkspace::previous() {
    if (top_ > 1 && history_entry(top_ - 1) != 0) {
        load_invoice(history_entry(top_ - 1), false);
        --top_;
    }
}

void InvoiceWorkspace::next() {
    if (top_ < count_ && history_entry(top_ + 1) != 0) {
        load_invoice(history_entry(top_ + 1), false);
        ++top_;
    }
}

int InvoiceWorkspace::copy_line(int line, InvoiceLine* destination) const {
    if (line < 1 || line > copy_.line_count || line > kMaxInvoiceLines) return 0;
    std::memcpy(destination, &copy_.lines[line - 1], sizeof(InvoiceLine));
    return 1;
}

void InvoiceWorkspace::invoice_changed() {
    show_string(owner(), 19, MsgIcon::Information);
    reload();
}

// ------------------------------------------------------------------------------------------ lines

int InvoiceWorkspace::add_line() {
    std::string description = read_edit(id::kDescription, 63);
    if (description.empty()) {
        show_string(owner(), 7, MsgIcon::Information);
        if (QLineEdit* e = w_.edit(id::kDescription)) e->setFocus();
        return 0;
    }
    std::string unit_cost = read_edit(id::kUnitCost, 31);
    if (unit_cost.empty()) {
        show_string(owner(), 7, MsgIcon::Information);
        if (QLineEdit* e = w_.edit(id::kUnitCost)) e->setFocus();
        return 0;
    }
    std::string quantity = trimmed(read_edit(id::kOrderQuantity, 31));
    std::string backorder = trimmed(read_edit(id::kBackorderQuantity, 31));
    std::string item_number = trimmed(read_edit(id::kItemNumber, 63));
    std::string remark = trimmed(read_edit(id::kRemark, 63));
    std::string unit_price = trimmed(read_edit(id::kUnitPrice, 31));
    description = trimmed(description);
    unit_cost = trimmed(unit_cost);

    double value = 0;
    if (is_number(unit_cost, &value)) unit_cost = format_2f(value);
    std::string amount;
    if (is_number(unit_price, &value)) {
        unit_price = format_2f(value);
        const double price = parse_decimal_prefix(unit_price);
        double q = 0;
        amount = is_number(quantity, &q) ? format_2f(price * q) : format_2f(price);
    } else {
        amount = unit_price;
    }

    // Backorder rule: what the stock cannot cover is backordered, if the customer wants that.
    if (!item_number.empty() && !quantity.empty()) {
        bool ask_whole = true;
        if (w_.inventory_item && w_.inventory_item->isChecked()) {
            InventoryRecord item{};
            note(GET_INVENTORY_ITEM, item_number);
            if (api_.get_inventory_item(item_number, &item) == RESULT_OK) {
                ask_whole = false;
                double q = 0, stock = 0;
                const double shortage =
                    is_number(quantity, &q) && is_number(field(item.quantity), &stock) ? q - stock : 0.0;
                if (shortage > 0)
                    backorder = ask_string(owner(), 23, true)
                                    ? format_quantity(shortage)
                                    : std::string();
            }
        }
        if (ask_whole)
            backorder = ask_string(owner(), 23, true) ? quantity : std::string();
    }
    double q = 0, b = 0;
    if (is_number(quantity, &q) && is_number(backorder, &b) && b > q) {
        show_string(owner(), 28, MsgIcon::Information);
        return 0;
    }

    // Tax: a line given away at no cost is taxed only when the user says so.
    const std::string tax_edit = read_edit(id::kTaxPercent, 31);
    std::string tax_percent;
    if (!tax_edit.empty()) {
        if (!equal_ci(unit_cost, "0.00"))
            tax_percent = tax_edit;
        else if (ask_string(owner(), 18, true))
            tax_percent = tax_edit;
    }
    tax_percent = trimmed(tax_percent);

    std::string line_note = today();
    if (description.find("LABOR") != std::string::npos) {
        const int msec = millisecond_clock ? millisecond_clock() : QTime::currentTime().msec();
        line_note += " Claim Number: " + decimal(index_) + "-" + decimal(msec);
    }
    line_note = trimmed(line_note);

    // A full invoice continues on a new one for the same customer.
    if (copy_.line_count >= kMaxInvoiceLines) {
        InvoiceRecord scratch{};
        set_field(scratch.account_number, field(copy_.account_number));
        set_field(scratch.customer_name, field(copy_.customer_name));
        set_field(scratch.customer_phone_number, field(copy_.customer_phone_number));
        set_field(scratch.customer_address, field(copy_.customer_address));
        set_field(scratch.customer_city, field(copy_.customer_city));
        set_field(scratch.customer_state, field(copy_.customer_state));
        set_field(scratch.customer_zip_code, field(copy_.customer_zip_code));
        if (!new_invoice()) {
            show_string(owner(), 37, MsgIcon::Information);
            return 0;
        }
        set_field(scratch.salesperson, field(copy_.salesperson));
        set_invoice_customer(scratch);
    }

    if (paid()) {
        if (!ask_string(owner(), 8, false)) return 0;
        reload();
    }

    InvoiceLine line{};
    set_field(line.quantity, quantity);
    set_field(line.backorder_quantity, backorder);
    set_field(line.item_number, item_number);
    set_field(line.description, description);
    set_field(line.remark, remark);
    set_field(line.unit_price, unit_price);
    set_field(line.unit_cost, unit_cost);
    set_field(line.amount, amount);
    set_field(line.tax_percent, tax_percent);
    set_field(line.note, line_note);
    line.ordered = 0;

    const int take_from_stock = w_.inventory_item && w_.inventory_item->isChecked() ? 1 : 0;
    note(ADD_INVOICE_ITEM, item_number);
    const int r = api_.add_invoice_item(index_, take_from_stock, copy_, line);
    if (r == RESULT_CHANGED) {
        invoice_changed();
        return 0;
    }
    if (r != RESULT_OK) return 0;

    InvoiceLine stored{};
    note(GET_INVOICE_ITEM);
    if (api_.get_invoice_item(index_, copy_.line_count + 1, &stored) != RESULT_OK) return 0;
    if (copy_.line_count >= 0 && copy_.line_count < kMaxInvoiceLines) {
        ++copy_.line_count;
        std::memcpy(&copy_.lines[copy_.line_count - 1], &stored, sizeof stored);
        lines_model_.append_row();
    }
    show_totals(true);
    if (inventory_ && !item_number.empty()) inventory_->refresh_row(item_number, item_number);
    return 1;
}

int InvoiceWorkspace::remove_line(int row) {
    if (row < 0 || row >= lines_model_.rowCount()) return 0;
    const std::string quantity = to_1252(lines_model_.cell(row, 0));
    const std::string backorder = to_1252(lines_model_.cell(row, 1));
    const std::string item_number = to_1252(lines_model_.cell(row, 2));

    double delivered = 0, q = 0, b = 0;
    if (is_number(quantity, &q)) delivered = is_number(backorder, &b) ? q - b : q;

    int flag = 0;
    if (delivered > 0 && !item_number.empty()) {
        InventoryRecord item{};
        note(GET_INVENTORY_ITEM, item_number);
        if (api_.get_inventory_item(item_number, &item) == RESULT_OK &&
            ask_string(owner(), 9, false))
            flag = 1;
    }
    note(REMOVE_INVOICE_ITEM);
    const int r = api_.remove_invoice_item(index_, row + 1, flag, copy_);
    if (r == RESULT_CHANGED) {
        invoice_changed();
        return 0;
    }
    if (r != RESULT_OK) return 0;
    // The server moves the later lines down and leaves the last slot's bytes as they were; so do we, so that
    // the copy stays byte-identical to the stored record.
    const int count = copy_.line_count;
    for (int i = row; i + 1 < count && i + 1 < kMaxInvoiceLines; ++i)
        std::memcpy(&copy_.lines[i], &copy_.lines[i + 1], sizeof(InvoiceLine));
    --copy_.line_count;
    lines_model_.remove_row(row);
    show_totals(true);
    if (inventory_ && !item_number.empty()) inventory_->refresh_row(item_number, item_number);
    return 1;
}

void InvoiceWorkspace::delete_selected_line() {
    const int row = selected_line_row();
    if (row < 0) return;
    if (!ask_string(owner(), paid() ? 8 : 2, false)) return;
    remove_line(row);
}

void InvoiceWorkspace::edit_selected_line() {
    const int row = selected_line_row();
    if (row < 0) return;
    if (paid() && !ask_string(owner(), 8, false)) return;
    if (edit_line) edit_line(row + 1);
}

void InvoiceWorkspace::copy_line_to_entry(int row) {
    InvoiceLine line{};
    if (!copy_line(row + 1, &line)) return;
    set_edit(id::kOrderQuantity, field(line.quantity));
    set_edit(id::kBackorderQuantity, field(line.backorder_quantity));
    set_edit(id::kItemNumber, field(line.item_number));
    set_edit(id::kDescription, field(line.description));
    set_edit(id::kRemark, field(line.remark));
    set_edit(id::kUnitPrice, field(line.unit_price));
    set_edit(id::kUnitCost, field(line.unit_cost));
    set_edit(id::kTaxPercent, field(line.tax_percent));
    if (w_.inventory_item) w_.inventory_item->setChecked(true);
}

// ------------------------------------------------------------------------------------------ header fields

int InvoiceWorkspace::save_field(int fid) {
    // text_a holds 63 characters; the note edit takes more, but only these reach the server.
    const std::string text = read_edit(fid, 63);
    std::string change;
    note(SET_INVOICE_FIELD, text);
    const int r = api_.set_invoice_field(index_, fid, text, copy_, &change);
    if (r == RESULT_OK) {
        switch (fid) {
        case FIELD_CASH_RECEIVED:
            set_field(copy_.cash_received, text);
            set_field(copy_.change, change);
            if (w_.change) w_.change->setText(field_text(copy_.change));
            break;
        case FIELD_CUSTOMER_NAME: set_field(copy_.customer_name, text); break;
        case FIELD_DATE: set_field(copy_.date, text); break;
        case FIELD_INVOICE_NUMBER: set_field(copy_.invoice_number, text); break;
        case FIELD_NOTE: set_field(copy_.note, text); break;
        case FIELD_CUSTOMER_PHONE: set_field(copy_.customer_phone_number, text); break;
        case FIELD_ORDER_NUMBER: set_field(copy_.order_number, text); break;
        case FIELD_SALESPERSON: set_field(copy_.salesperson, text); break;
        case FIELD_TIME: set_field(copy_.time, text); break;
        default: break;
        }
        return 1;
    }
    if (r == RESULT_CHANGED) invoice_changed();
    else if (r == RESULT_SAVE_FAILED) show_string(owner(), 37, MsgIcon::Information);
    return 0;
}

int InvoiceWorkspace::change_payment(int payment) {
    if (field_empty(copy_.salesperson)) identify_salesperson();
    note(SET_INVOICE_PAYMENT);
    const int r = api_.set_invoice_payment(index_, payment, copy_);
    if (r == RESULT_CHANGED) {
        invoice_changed();
        return 0;
    }
    if (r != RESULT_OK) return 0;
    reload();

    // A paying customer with a name and a phone number goes into the contacts, once.
    if (paid() && !field_empty(copy_.customer_name) && !field_empty(copy_.customer_phone_number) &&
        contacts_.contains && !contacts_.contains(field(copy_.customer_name), field(copy_.customer_phone_number))) {
        if (contacts_.full && contacts_.full()) {
            show_string(owner(), 40, MsgIcon::Information);
        } else if (contacts_.append) {
            InvoiceRecord customer{};
            set_field(customer.account_number, trim_blanks(field(copy_.account_number)));
            set_field(customer.customer_name, trim_blanks(field(copy_.customer_name)));
            set_field(customer.customer_phone_number, trim_blanks(field(copy_.customer_phone_number)));
            set_field(customer.customer_address, trim_blanks(field(copy_.customer_address)));
            set_field(customer.customer_city, trim_blanks(field(copy_.customer_city)));
            set_field(customer.customer_state, trim_blanks(field(copy_.customer_state)));
            set_field(customer.customer_zip_code, trim_blanks(field(copy_.customer_zip_code)));
            contacts_.append(customer);
        }
        if (contacts_.save && !contacts_.save()) {
            const QString path = contacts_.file_path ? contacts_.file_path() : QString();
            show_string(owner(), 16, MsgIcon::Error, MsgButtons::Ok, MsgAnswer::Ok, QStringLiteral("\r\n") + path);
        }
    }
    if (inventory_) inventory_->refresh();
    return 1;
}

int InvoiceWorkspace::change_status(int status) {
    note(SET_INVOICE_STATUS);
    const int r = api_.set_invoice_status(index_, status, copy_);
    if (r == RESULT_OK) {
        copy_.status = status;
        return 1;
    }
    if (r == RESULT_CHANGED) invoice_changed();
    return 0;
}

int InvoiceWorkspace::set_invoice_customer(const InvoiceRecord& scratch) {
    note(SET_INVOICE_CUSTOMER);
    const int r = api_.set_invoice_customer(index_, copy_, scratch);
    if (r == RESULT_CHANGED) show_string(owner(), 19, MsgIcon::Information);
    reload();
    return r == RESULT_OK ? 1 : 0;
}

int InvoiceWorkspace::edit_customer() {
    std::array<QString, CustomerDialog::kEdits> values;
    int i = 0;
    for_customer_fields(copy_, [&](auto& f, int) { values[static_cast<std::size_t>(i++)] = field_text(f); });
    CustomerDialog dialog(owner(), values);
    if (DialogSeam::exec(dialog) != QDialog::Accepted) return 0;
    InvoiceRecord scratch;
    std::memcpy(&scratch, &copy_, sizeof scratch);
    i = 0;
    for_customer_fields(scratch, [&](auto& f, int limit) {
        set_field(f, trim_blanks(to_1252(dialog.value(i++).left(limit))));
    });
    return set_invoice_customer(scratch);
}

int InvoiceWorkspace::clear_customer() {
    InvoiceRecord scratch;
    std::memcpy(&scratch, &copy_, sizeof scratch);
    for_customer_fields(scratch, [](auto& f, int) { set_field(f, ""); });
    return set_invoice_customer(scratch);
}

void InvoiceWorkspace::identify_salesperson() {
    SalespersonDialog dialog(owner(), field_text(copy_.salesperson));
    if (DialogSeam::exec(dialog) != QDialog::Accepted) return;
    // The salesperson edit saves itself as its text changes.
    if (QLineEdit* e = w_.edit(id::kSalesperson)) e->setText(dialog.salesperson().left(63));
}

int InvoiceWorkspace::new_invoice() {
    int index = 0;
    note(NEW_INVOICE);
    if (api_.new_invoice(&index) != RESULT_OK) return 0;
    // Asking for the salesperson of an invoice that is not on screen would name the wrong one.
    if (!load_invoice(index, true)) return 0;
    identify_salesperson();
    return 1;
}

int InvoiceWorkspace::fill_backorder(int index, int line, const InvoiceLine& delivered, double* filled, int* result) {
    double real = 0;
    note(FILL_BACKORDER);
    const int r = api_.fill_backorder(index, line, copy_, delivered, &real);
    if (filled) *filled = real;
    if (result) *result = r;
    if (r == RESULT_OK) return 1;
    if (r == kTransportFailed) {
        show_string(owner(), 38, MsgIcon::Information);
    } else if (r == RESULT_CHANGED) {
        invoice_changed();
    } else if (r == RESULT_SAVE_FAILED) {
        show_string(owner(), 37, MsgIcon::Information);
    } else {
        load_invoice(index, false);
        show_string(owner(), 38, MsgIcon::Information);
    }
    return 0;
}

// ------------------------------------------------------------------------------------------ entry fields

void InvoiceWorkspace::on_add_to_invoice() {
    if (inventory_) inventory_->sort_by_stock = false;
    if (add_line() == 1) {
        clear_entry_fields(true);
        if (QLineEdit* e = w_.edit(id::kItemNumber)) e->setFocus();
    }
}

void InvoiceWorkspace::clear_entry_fields(bool always) {
    set_edit(id::kOrderQuantity, "");
    set_edit(id::kBackorderQuantity, "");
    for (int eid : {id::kDescription, id::kItemNumber}) {
        QLineEdit* e = w_.edit(eid);
        if (e && (always || !e->text().isEmpty())) e->setText(QString());
    }
    set_edit(id::kRemark, "");
    set_edit(id::kUnitPrice, "");
    set_edit(id::kUnitCost, "");
    set_edit(id::kTaxPercent, settings_.tax_percentage ? settings_.tax_percentage() : std::string());
    if (w_.inventory_item) w_.inventory_item->setChecked(true);
}

void InvoiceWorkspace::refresh_all() {
    reload();
    if (inventory_) inventory_->refresh();
}

}  // namespace stk::client
