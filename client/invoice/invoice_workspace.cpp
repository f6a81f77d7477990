#include "client/invoice/invoice_workspace.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTreeView>
#include <cstring>

#include "client/inventory/inventory_pane.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/list_menu.h"
#include "client/ui/list_views.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

namespace id = ids;

InvoiceWorkspace::InvoiceWorkspace(ServerApi& api, SaleSettings settings, SaleWidgets widgets, QObject* parent)
    : QObject(parent), api_(api), settings_(std::move(settings)), w_(std::move(widgets)) {
    lines_model_.set_record(&copy_);
}

void InvoiceWorkspace::note(int opcode, std::string_view text) const {
    if (on_request) on_request(opcode, text);
}

// ------------------------------------------------------------------------------------------ widgets

void InvoiceWorkspace::set_filling(bool on) { (w_.filling_fields ? *w_.filling_fields : own_filling_) = on; }

void InvoiceWorkspace::connect_widgets() {
    if (QAbstractItemView* v = w_.invoice_lines) {
        v->setModel(&lines_model_);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setIconSize(QSize(16, 16));
        if (auto* t = qobject_cast<QTreeView*>(v)) {
            t->setRootIsDecorated(false);
            t->setUniformRowHeights(true);
        } else if (auto* t = qobject_cast<QTableView*>(v)) {
            t->setShowGrid(false);
            t->verticalHeader()->hide();
            t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
        }
        if (QHeaderView* header = header_of(v)) {
            header->setSectionsClickable(false);
            header->setSectionsMovable(true);
            header->setStretchLastSection(false);
            for (int c = 0; c < InvoiceLinesModel::kColumns; ++c) header->resizeSection(c, InvoiceLinesModel::width(c));
        }
        // Not `activated`: some desktop styles activate on a single click, which would overwrite the entry
        // fields whenever a line is merely selected.
        connect(v, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex& i) { copy_line_to_entry(i.row()); });
        install_list_keys(
            v, this, [this] { delete_selected_line(); },
            [this] {
                const int row = selected_line_row();
                if (row >= 0) copy_line_to_entry(row);
            });
        v->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(v, &QWidget::customContextMenuRequested, this, &InvoiceWorkspace::show_line_menu);
    }
}

void InvoiceWorkspace::show_line_menu(const QPoint& pos) {
    static const ListMenuEntries kLineMenu = {
        {"Edit/View...", id::kCtxEditLine}, kListMenuSeparator, {"Delete", id::kCtxDeleteLine}};
    show_list_menu(w_.invoice_lines, pos, kLineMenu, [this](int command) {
        if (command == id::kCtxEditLine) edit_selected_line();
        if (command == id::kCtxDeleteLine) delete_selected_line();
    });
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

// ------------------------------------------------------------------------------------------ loading

void InvoiceWorkspace::fill_fields() {
    set_filling(true);
    set_edit(id::kInvoiceNumber, field(copy_.invoice_number));
    set_edit(id::kInvoiceDate, field(copy_.date));
    set_edit(id::kInvoiceTime, field(copy_.time));
    set_edit(id::kCustomerName, field(copy_.customer_name));
    set_edit(id::kPhoneNumber, field(copy_.customer_phone_number));
    set_edit(id::kOrderNumber, field(copy_.order_number));
    set_edit(id::kSalesperson, field(copy_.salesperson));
    set_edit(id::kCashReceived, field(copy_.cash_received));
    set_edit(id::kInvoiceNote, field(copy_.note));
    show_choices();
    set_filling(false);
}

void InvoiceWorkspace::show_choices() {
    if (w_.payment)
        w_.payment->setCurrentIndex(copy_.payment >= 0 && copy_.payment < w_.payment->count() ? copy_.payment : -1);
    if (w_.status)
        w_.status->setCurrentIndex(copy_.status >= 0 && copy_.status < w_.status->count() ? copy_.status : -1);
}

int InvoiceWorkspace::load_invoice(int index, bool record) {
    if (index == index_) record = false;
    InvoiceRecord received{};
    note(GET_INVOICE);
    if (api_.get_invoice(index, &received) != RESULT_OK) return 0;
    std::memcpy(&copy_, &received, sizeof copy_);
    index_ = index;
    copy_unknown_ = false;
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

// The position moves only with the invoice shown, so that the two never disagree.
void InvoiceWorkspace::previous() {
    if (top_ > 1 && history_entry(top_ - 1) != 0 && load_invoice(history_entry(top_ - 1), false)) --top_;
}

void InvoiceWorkspace::next() {
    if (top_ < count_ && history_entry(top_ + 1) != 0 && load_invoice(history_entry(top_ + 1), false)) ++top_;
}

int InvoiceWorkspace::copy_line(int line, InvoiceLine* destination) const {
    if (line < 1 || line > copy_.line_count || line > kMaxInvoiceLines) return 0;
    std::memcpy(destination, &copy_.lines[line - 1], sizeof(InvoiceLine));
    return 1;
}

void InvoiceWorkspace::invoice_changed(QWidget* message_owner) {
    show_string(message_owner ? message_owner : owner(), str::kInvoiceModified, MsgIcon::Information);
    resync();
}

void InvoiceWorkspace::resync() {
    if (!reload()) copy_unknown_ = true;
}

bool InvoiceWorkspace::ready_for_change(bool repeatable) {
    if (!copy_unknown_) return true;
    InvoiceRecord before;
    std::memcpy(&before, &copy_, sizeof before);
    if (!reload()) return false;
    if (repeatable || std::memcmp(&before, &copy_, sizeof before) == 0) return true;
    // Without a word the entry fields, still filled, would invite adding the line a second time.
    show_text(owner(), text::kInvoiceReloadedAfterNoAnswer, MsgIcon::Information);
    return false;
}

bool InvoiceWorkspace::settle_change(int result, QWidget* message_owner) {
    switch (result) {
        case RESULT_OK: return true;
        case RESULT_CHANGED: invoice_changed(message_owner); return false;
        case RESULT_SAVE_FAILED:
            // Made in memory only: the screen shows it like any change, and the user knows to look at the server.
            show_text(message_owner ? message_owner : owner(), text::kChangeNotSaved, MsgIcon::Error);
            resync();
            return true;
        case kTransportFailed: copy_unknown_ = true; return false;
        default: return false;
    }
}

// ------------------------------------------------------------------------------------------ commands

void InvoiceWorkspace::refresh_all() {
    reload();
    if (inventory_) inventory_->refresh();
}

}  // namespace stk::client
