// The Invoice Item dialog: one line of the current invoice, opened from "Edit/View..." of the invoice-lines
// list. The user changes the backorder quantity, description, remark, note, unit price, unit cost, tax
// percentage and the "Ordered" mark; the quantity and item number stay as they are. Each control's object name
// is its resource id ("1003", "1032", ...), so tests answering through the dialog seam find it.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "common/records.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace stk::client {

class InvoiceWorkspace;

// What the dialog's controls hold, in Windows-1252, each cut to its edit's limit and not trimmed.
struct InvoiceItemEntry {
    std::string backorder_quantity, description, remark, note, unit_price, unit_cost, tax_percent;
    bool ordered = false;
};

// OK's rules. Builds in *out the line that replaces `line`: the seven texts trimmed of blanks and tabs (and
// the line's own quantity, item number and amount with them); "Ordered" sets `ordered` and, unless the note
// already says "ordered" in any case, appends " Ordered " and `today` to the note (the older note text is
// shortened when both would not fit); a numeric unit price and unit cost become "%.2f" and the amount price
// times quantity. Returns 0, or the string to show when the line is not to be saved: 7 when the description
// or the unit cost is empty, 28 when the backorder quantity is greater than the quantity, or
// kLineAmountTooLarge when a money text would not fit its field whole.
inline constexpr int kLineAmountTooLarge = -1;
int edited_invoice_line(const InvoiceLine& line, const InvoiceItemEntry& typed, std::string_view today,
                        InvoiceLine* out);

class InvoiceItemDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBackorder = 1003, kDescription = 1000, kRemark = 1029, kNote = 1031, kUnitPrice = 1002,
                         kUnitCost = 1030, kTaxPercent = 1087, kOrdered = 1032, kOk = 1, kCancel = 2;

    InvoiceItemDialog(QWidget* parent, const InvoiceLine& line);

    // OK pressed: returns true when the dialog is to close. Unset: OK closes.
    std::function<bool(InvoiceItemDialog&)> on_ok;

    InvoiceItemEntry entry() const;
    QLineEdit* edit(int id) const;
    QCheckBox* ordered() const { return ordered_; }
    QPushButton* button(int id) const;

private:
    void add_edit(int id, int max_chars, std::string_view text);

    std::map<int, QLineEdit*> edits_;
    std::map<int, QPushButton*> buttons_;
    QCheckBox* ordered_ = nullptr;
};

// "Edit/View..." of line `line` (1-based) of the workspace's invoice: the dialog, and on OK the line replaced
// on the server and in the workspace. Returns 1 when the line was replaced.
int edit_invoice_line(InvoiceWorkspace& workspace, int line);

}  // namespace stk::client
