#include "client/inventory/inventory_item_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/inventory/item_fields.h"
#include "client/ui/id_lookup.h"
#include "client/ui/text_1252.h"
#include "common/dates.h"

namespace stk::client {
namespace {

using D = InventoryItemDialog;

enum class Right { Editable, Disabled, ReadOnly };

struct Row {
    const char* label;
    int current_id;
    int edited_id;
    int max_chars;
    int field;
    Right right;
};

constexpr Row kRows[] = {
    {"Item Number", D::kCurrentItemNumber, D::kItemNumber, 63, item_field::kItemNumber, Right::Editable},
    {"Description", D::kCurrentDescription, D::kDescription, 63, item_field::kDescription, Right::Editable},
    {"Remark", D::kCurrentRemark, D::kRemark, 63, item_field::kRemark, Right::Editable},
    {"Unit Price", D::kCurrentUnitPrice, D::kUnitPrice, 31, item_field::kUnitPrice, Right::Editable},
    {"Standard Unit Cost", D::kCurrentStandardUnitCost, D::kStandardUnitCost, 31, item_field::kStandardUnitCost,
     Right::Editable},
    {"Inventory Quantity", D::kCurrentQuantity, D::kQuantity, 31, item_field::kQuantity, Right::Editable},
    {"Sold Quantity", D::kCurrentSoldQuantity, D::kSoldQuantity, 31, item_field::kSoldQuantity, Right::Disabled},
    {"Minimum Quantity", D::kCurrentMinimumQuantity, D::kMinimumQuantity, 31, item_field::kMinimumQuantity,
     Right::Editable},
    {"Unaccounted Quantity", D::kCurrentUnaccountedQuantity, D::kUnaccountedQuantity, 31,
     item_field::kUnaccountedQuantity, Right::ReadOnly},
    {"Category", D::kCurrentCategory, D::kCategory, 63, item_field::kCategory, Right::Editable},
    {"Location", D::kCurrentLocation, D::kLocation, 63, item_field::kLocation, Right::Editable},
    {"Note", D::kCurrentNote, D::kNote, 63, item_field::kNote, Right::Editable},
    {"Last Audit Date", D::kCurrentLastAuditDate, D::kLastAuditDate, 63, item_field::kLastAuditDate, Right::Editable},
};

// "Unit Cost" of "New Inventory" has no limit of its own; this many characters of it are read.
constexpr int kNewUnitCostChars = 63;

QLineEdit* make_edit(QWidget* parent, int id, int max_chars, std::map<int, QLineEdit*>& edits) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::number(id));
    if (max_chars > 0) e->setMaxLength(max_chars);
    e->setMinimumWidth(190);
    edits[id] = e;
    return e;
}

// Read-only edits take the window's colour, so the columns show at a glance what can be typed into.
void show_read_only(QLineEdit* e) {
    e->setReadOnly(true);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    e->setPalette(p);
}

QPushButton* make_button(QWidget* parent, const char* text, int id, std::map<int, QPushButton*>& buttons) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::number(id));
    buttons[id] = b;
    return b;
}

QLabel* heading(const char* text, QWidget* parent) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

}  // namespace

InventoryItemDialog::InventoryItemDialog(QWidget* parent, const InventoryItemForm& form) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Inventory Item"));
    build(form);
}

void InventoryItemDialog::build(const InventoryItemForm& form) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    grid->addWidget(heading("Current Item Information", this), 0, 1);
    grid->addWidget(heading("Item Information", this), 0, 2);
    int r = 1;
    for (const Row& row : kRows) {
        grid->addWidget(new QLabel(QString::fromLatin1(row.label), this), r, 0);
        QLineEdit* left = make_edit(this, row.current_id, row.max_chars, edits_);
        show_read_only(left);
        left->setFocusPolicy(Qt::ClickFocus);
        left->setText(from_1252(item_field_text(form.current, row.field)));
        left->setCursorPosition(0);
        grid->addWidget(left, r, 1);
        QLineEdit* right = make_edit(this, row.edited_id, row.max_chars, edits_);
        right->setText(from_1252(item_field_text(form.edited, row.field)));
        right->setCursorPosition(0);
        right->setEnabled(row.right != Right::Disabled);
        if (row.right == Right::ReadOnly) show_read_only(right);
        grid->addWidget(right, r, 2);
        ++r;
    }
    edits_[kQuantity]->setEnabled(!form.quantity_locked);
    QPushButton* today_button = make_button(this, "Use Today's Date", kUseTodaysDate, buttons_);
    grid->addWidget(today_button, r - 1, 3);
    connect(today_button, &QPushButton::clicked, this, [this] { edits_[kLastAuditDate]->setText(from_1252(today())); });
    layout->addLayout(grid);

    auto* group = new QGroupBox(QStringLiteral("New Inventory"), this);
    auto* received = new QHBoxLayout(group);
    received->addWidget(new QLabel(QStringLiteral("Quantity"), group));
    make_edit(group, kNewQuantity, 31, edits_)->setText(from_1252(form.new_quantity));
    received->addWidget(edits_[kNewQuantity]);
    received->addSpacing(16);
    received->addWidget(new QLabel(QStringLiteral("Unit Cost"), group));
    make_edit(group, kNewUnitCost, 0, edits_)->setText(from_1252(form.new_unit_cost));
    received->addWidget(edits_[kNewUnitCost]);
    received->addStretch();
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = make_button(this, "OK", kOk, buttons_);
    QPushButton* cancel = make_button(this, "Cancel", kCancel, buttons_);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &InventoryItemDialog::press_ok);
    connect(cancel, &QPushButton::clicked, this, &InventoryItemDialog::reject);
    edits_[kItemNumber]->setFocus();
}

void InventoryItemDialog::press_ok() {
    if (!on_ok || on_ok(*this)) done(kClosed);
}

void InventoryItemDialog::reject() { done(kCancelled); }

void InventoryItemDialog::closeEvent(QCloseEvent* event) {
    // The close box ends the dialog as OK does, without saving; a walk over several items goes on.
    done(kClosed);
    event->accept();
}

std::string InventoryItemDialog::read(int id, int max_chars) const {
    return trimmed(to_1252(edits_.at(id)->text().left(max_chars)));
}

InventoryRecord InventoryItemDialog::edited_item() const {
    InventoryRecord item{};
    for (const Row& row : kRows) {
        if (row.right == Right::ReadOnly) continue;
        set_item_field(item, row.field, read(row.edited_id, row.max_chars));
    }
    return item;
}

std::string InventoryItemDialog::new_quantity() const { return read(kNewQuantity, 63); }
std::string InventoryItemDialog::new_unit_cost() const { return read(kNewUnitCost, kNewUnitCostChars); }

void InventoryItemDialog::show_current(const InventoryRecord& item) {
    for (const Row& row : kRows) {
        QLineEdit* e = edits_.at(row.current_id);
        e->setText(from_1252(item_field_text(item, row.field)));
        e->setCursorPosition(0);
    }
}

QLineEdit* InventoryItemDialog::edit(int id) const { return find_by_id(edits_, id); }
QPushButton* InventoryItemDialog::button(int id) const { return find_by_id(buttons_, id); }

}  // namespace stk::client
