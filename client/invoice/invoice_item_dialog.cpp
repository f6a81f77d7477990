#include "client/invoice/invoice_item_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/invoice/invoice_workspace.h"
#include "client/invoice/line_amounts.h"
#include "client/ui/id_lookup.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/dates.h"
#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

constexpr int kShortChars = 31;  // quantities and money
constexpr int kTextChars = 63;   // description, remark, note
constexpr std::string_view kOrdered = "ORDERED";

// The note with " Ordered " and the date after it, unless it says so already. The stamp is what the tick is
// for, so when both do not fit the note's 63 characters the older text gives way.
std::string note_with_order_stamp(std::string note, std::string_view today) {
    if (upper_1252(note).find(kOrdered) != std::string::npos) return note;
    const std::string stamp = " Ordered " + std::string(today);
    if (note.size() + stamp.size() > kTextChars) note.resize(stamp.size() < kTextChars ? kTextChars - stamp.size() : 0);
    return note + stamp;
}

}  // namespace

int edited_invoice_line(const InvoiceLine& line, const InvoiceItemEntry& typed, std::string_view today,
                        InvoiceLine* out) {
    const std::string description = trimmed(typed.description);
    std::string unit_cost = trimmed(typed.unit_cost);
    // Blanks alone are no description or cost: the server would refuse the line, and the change be lost.
    if (description.empty() || unit_cost.empty()) return str::kEnterDescriptionAndCost;

    const std::string quantity = trimmed(field(line.quantity));
    const std::string backorder = trimmed(typed.backorder_quantity);
    std::string note = trimmed(typed.note);
    if (typed.ordered) note = note_with_order_stamp(std::move(note), today);

    double q = 0, b = 0;
    if (is_number(quantity, &q) && is_number(backorder, &b) && b > q) return str::kBackorderOverQuantity;

    std::string unit_price = trimmed(typed.unit_price);
    const std::string amount = price_and_amount(unit_price, quantity);
    unit_cost = cents_if_number(unit_cost);
    if (!money_texts_fit(unit_price, unit_cost, amount)) return kLineAmountTooLarge;

    *out = line;
    set_field(out->quantity, quantity);
    set_field(out->backorder_quantity, backorder);
    trim_field(out->item_number);
    set_field(out->description, description);
    set_field(out->remark, trimmed(typed.remark));
    set_field(out->unit_price, unit_price);
    set_field(out->unit_cost, unit_cost);
    set_field(out->amount, amount);
    set_field(out->tax_percent, trimmed(typed.tax_percent));
    set_field(out->note, note);
    out->ordered = typed.ordered ? 1 : 0;
    return 0;
}

InvoiceItemDialog::InvoiceItemDialog(QWidget* parent, const InvoiceLine& line) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Invoice Item"));
    add_edit(kBackorder, kShortChars, field(line.backorder_quantity));
    add_edit(kDescription, kTextChars, field(line.description));
    add_edit(kRemark, kTextChars, field(line.remark));
    add_edit(kNote, kTextChars, field(line.note));
    add_edit(kUnitPrice, kShortChars, field(line.unit_price));
    add_edit(kUnitCost, kShortChars, field(line.unit_cost));
    add_edit(kTaxPercent, kShortChars, field(line.tax_percent));
    ordered_ = new QCheckBox(QStringLiteral("Ordered"), this);
    ordered_->setObjectName(QString::number(kOrdered));
    ordered_->setChecked(line.ordered == 1);

    // Backorder and its "Ordered" mark on top, the three texts across, the three money fields below.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    const auto label = [this, grid](const char* text, int row, int column) {
        grid->addWidget(new QLabel(QString::fromLatin1(text), this), row, column);
    };
    label("Backorder", 0, 0);
    grid->addWidget(edits_[kBackorder], 0, 1);
    grid->addWidget(ordered_, 0, 2, 1, 2);
    int row = 1;
    for (auto [text, id] : {std::pair{"Description", kDescription}, {"Remark", kRemark}, {"Note", kNote}}) {
        label(text, row, 0);
        grid->addWidget(edits_[id], row++, 1, 1, 5);
    }
    label("Unit Price", row, 0);
    grid->addWidget(edits_[kUnitPrice], row, 1);
    label("Unit Cost", row, 2);
    grid->addWidget(edits_[kUnitCost], row, 3);
    label("Tax %", row, 4);
    grid->addWidget(edits_[kTaxPercent], row, 5);
    for (int id : {kBackorder, kUnitPrice, kUnitCost, kTaxPercent}) edits_[id]->setFixedWidth(80);
    edits_[kDescription]->setMinimumWidth(360);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (auto [text, id] : {std::pair{"OK", kOk}, {"Cancel", kCancel}}) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::number(id));
        buttons_[id] = b;
        buttons->addWidget(b);
    }
    buttons_[kOk]->setDefault(true);
    connect(buttons_[kOk], &QPushButton::clicked, this, [this] {
        if (!on_ok || on_ok(*this)) accept();
    });
    connect(buttons_[kCancel], &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setTabOrder(edits_[kBackorder], ordered_);
    setTabOrder(ordered_, edits_[kDescription]);
    edits_[kDescription]->setFocus();
}

void InvoiceItemDialog::add_edit(int id, int max_chars, std::string_view text) {
    auto* e = new QLineEdit(from_1252(text), this);
    e->setObjectName(QString::number(id));
    e->setMaxLength(max_chars);
    e->setCursorPosition(0);
    edits_[id] = e;
}

InvoiceItemEntry InvoiceItemDialog::entry() const {
    const auto read = [this](int id) {
        const QLineEdit* e = edits_.at(id);
        return to_1252(e->text().left(e->maxLength()));
    };
    return {read(kBackorder), read(kDescription), read(kRemark),     read(kNote),
            read(kUnitPrice), read(kUnitCost),    read(kTaxPercent), ordered_->isChecked()};
}

QLineEdit* InvoiceItemDialog::edit(int id) const { return find_by_id(edits_, id); }
QPushButton* InvoiceItemDialog::button(int id) const { return find_by_id(buttons_, id); }

int edit_invoice_line(InvoiceWorkspace& workspace, int line) {
    InvoiceLine shown{};
    workspace.copy_line(line, &shown);  // without a valid line the controls stay empty
    InvoiceItemDialog dialog(workspace.widgets().window, shown);
    int replaced = 0;
    dialog.on_ok = [&](InvoiceItemDialog& d) {
        InvoiceLine base{}, edited{};
        workspace.copy_line(line, &base);
        if (const int refusal = edited_invoice_line(base, d.entry(), today(), &edited)) {
            if (refusal == kLineAmountTooLarge)
                show_text(&d, text::kAmountTooLarge, MsgIcon::Information);
            else
                show_string(&d, refusal, MsgIcon::Information);
            return false;
        }
        replaced = workspace.replace_line(line, edited, &d);
        return true;
    };
    DialogSeam::exec(dialog);
    return replaced;
}

}  // namespace stk::client
