// Adding, removing and copying invoice lines.
#include "client/invoice/invoice_workspace.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTime>
#include <cstring>

#include "client/inventory/inventory_pane.h"
#include "client/invoice/line_amounts.h"
#include "client/ui/control_ids.h"
#include "client/ui/decimal_text.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/dates.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {

namespace id = ids;

bool InvoiceWorkspace::read_required(int eid, int max_chars, std::string* text) {
    *text = read_edit(eid, max_chars);
    if (!text->empty()) return true;
    show_string(owner(), str::kEnterDescriptionAndCost, MsgIcon::Information);
    if (QLineEdit* e = w_.edit(eid)) e->setFocus();
    return false;
}

void InvoiceWorkspace::decide_backorder(const std::string& item_number, const std::string& quantity,
                                        std::string* backorder) {
    // What the stock cannot cover is backordered, if the customer wants that; an item the server does not
    // know (or one not taken from stock) is asked about as a whole.
    if (w_.inventory_item && w_.inventory_item->isChecked()) {
        InventoryRecord item{};
        note(GET_INVENTORY_ITEM, item_number);
        if (api_.get_inventory_item(item_number, &item) == RESULT_OK) {
            double q = 0, stock = 0;
            const double shortage =
                is_number(quantity, &q) && is_number(field(item.quantity), &stock) ? q - stock : 0.0;
            if (shortage > 0)
                *backorder =
                    ask_string(owner(), str::kBackorderItems, true) ? format_quantity(shortage) : std::string();
            return;
        }
    }
    *backorder = ask_string(owner(), str::kBackorderItems, true) ? quantity : std::string();
}

std::string InvoiceWorkspace::line_tax_percent(const std::string& unit_cost) {
    // A line given away at no cost is taxed only when the user says so.
    const std::string tax_edit = read_edit(id::kTaxPercent, 31);
    if (tax_edit.empty()) return {};
    if (!equal_ci(unit_cost, "0.00") || ask_string(owner(), str::kApplySalesTax, true)) return trimmed(tax_edit);
    return {};
}

std::string InvoiceWorkspace::line_note(const std::string& description) const {
    std::string text = today();
    if (description.find("LABOR") != std::string::npos) {
        const int msec = millisecond_clock ? millisecond_clock() : QTime::currentTime().msec();
        text += " Claim Number: " + decimal_text(index_) + "-" + decimal_text(msec);
    }
    return trimmed(text);
}

bool InvoiceWorkspace::continue_on_new_invoice() {
    InvoiceRecord scratch{};
    copy_customer(copy_, scratch, false);
    if (!new_invoice()) {
        show_string(owner(), str::kCheckServer, MsgIcon::Information);
        return false;
    }
    set_field(scratch.salesperson, field(copy_.salesperson));
    set_invoice_customer(scratch);
    return true;
}

int InvoiceWorkspace::add_line() {
    if (!ready_for_change(false)) return 0;
    std::string description, unit_cost;
    if (!read_required(id::kDescription, 63, &description) || !read_required(id::kUnitCost, 31, &unit_cost)) return 0;
    const std::string quantity = trimmed(read_edit(id::kOrderQuantity, 31));
    std::string backorder = trimmed(read_edit(id::kBackorderQuantity, 31));
    const std::string item_number = trimmed(read_edit(id::kItemNumber, 63));
    const std::string remark = trimmed(read_edit(id::kRemark, 63));
    std::string unit_price = trimmed(read_edit(id::kUnitPrice, 31));
    description = trimmed(description);
    unit_cost = cents_if_number(trimmed(unit_cost));
    const std::string amount = price_and_amount(unit_price, quantity);
    if (!money_texts_fit(unit_price, unit_cost, amount)) {
        show_text(owner(), text::kAmountTooLarge, MsgIcon::Information);
        return 0;
    }

    if (!item_number.empty() && !quantity.empty()) decide_backorder(item_number, quantity, &backorder);
    double q = 0, b = 0;
    if (is_number(quantity, &q) && is_number(backorder, &b) && b > q) {
        show_string(owner(), str::kBackorderOverQuantity, MsgIcon::Information);
        return 0;
    }
    const std::string tax_percent = line_tax_percent(unit_cost);
    const std::string note_text = line_note(description);

    // A full invoice continues on a new one for the same customer.
    if (copy_.line_count >= kMaxInvoiceLines && !continue_on_new_invoice()) return 0;
    if (paid()) {
        if (!ask_string(owner(), str::kInvoicePaidModify, false)) return 0;
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
    set_field(line.note, note_text);
    line.ordered = 0;
    return send_line(line, item_number);
}

int InvoiceWorkspace::send_line(const InvoiceLine& line, const std::string& item_number) {
    const int take_from_stock = w_.inventory_item && w_.inventory_item->isChecked() ? 1 : 0;
    note(ADD_INVOICE_ITEM, item_number);
    const int r = api_.add_invoice_item(index_, take_from_stock, copy_, line);
    // Answered 4, the line is on the invoice (settle_change reloaded it): the entry fields are cleared as
    // after a plain success, so that it is not added twice.
    if (r != RESULT_OK && !settle_change(r)) return 0;
    if (r == RESULT_OK) {
        InvoiceLine stored{};
        note(GET_INVOICE_ITEM);
        const bool fetched = api_.get_invoice_item(index_, copy_.line_count + 1, &stored) == RESULT_OK;
        if (fetched && copy_.line_count >= 0 && copy_.line_count < kMaxInvoiceLines) {
            ++copy_.line_count;
            std::memcpy(&copy_.lines[copy_.line_count - 1], &stored, sizeof stored);
            lines_model_.append_row();
            show_totals(true);
        } else {
            resync();  // the line is on the server; the copy holds it before the next change
        }
    }
    if (inventory_ && !item_number.empty()) inventory_->refresh_row(item_number, item_number);
    return 1;
}

int InvoiceWorkspace::remove_line(int row) {
    if (row < 0 || row >= lines_model_.rowCount()) return 0;
    if (!ready_for_change(false)) return 0;
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
            ask_string(owner(), str::kReturnItemsToInventory, false))
            flag = 1;
    }
    note(REMOVE_INVOICE_ITEM);
    const int r = api_.remove_invoice_item(index_, row + 1, flag, copy_);
    if (r != RESULT_OK && !settle_change(r)) return 0;
    if (r == RESULT_OK) {
        // The server moves the later lines down and leaves the last slot's bytes as they were; so do we, so
        // that the copy stays byte-identical to the stored record.
        const int count = copy_.line_count;
        for (int i = row; i + 1 < count && i + 1 < kMaxInvoiceLines; ++i)
            std::memcpy(&copy_.lines[i], &copy_.lines[i + 1], sizeof(InvoiceLine));
        --copy_.line_count;
        lines_model_.remove_row(row);
        show_totals(true);
    }
    if (inventory_ && !item_number.empty()) inventory_->refresh_row(item_number, item_number);
    return 1;
}

void InvoiceWorkspace::delete_selected_line() {
    const int row = selected_line_row();
    if (row < 0) return;
    if (!ask_string(owner(), paid() ? str::kInvoicePaidModify : str::kConfirmRemoveItems, false)) return;
    remove_line(row);
}

void InvoiceWorkspace::edit_selected_line() {
    const int row = selected_line_row();
    if (row < 0) return;
    if (paid() && !ask_string(owner(), str::kInvoicePaidModify, false)) return;
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

}  // namespace stk::client
