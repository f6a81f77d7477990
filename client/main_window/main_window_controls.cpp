// The placement table: every control of the client area, where it sits and how it follows the window's size.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/upper_case_validator.h"

namespace stk::client {

void MainWindow::build_controls() {
    // The placements are made for a compact 8-point dialog font; prefer a narrow face so captions fit.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans Condensed"), font.family()});
    font.setPixelSize(kLargestCaptionPixels);
    client_->setFont(font);

    toolbar_band_ = new QWidget(client_);
    toolbar_band_->setObjectName(QStringLiteral("toolbar_band"));
    // The toolbar is drawn on the client area itself and answers its mouse messages.
    toolbar_band_->setAttribute(Qt::WA_TransparentForMouseEvents);
    placed_.push_back({toolbar_band_, 0, 0, -1, kToolbarBandHeight, kFixed});

    // Creation order is stacking and focus order: labels first, then the controls in tab order.
    build_captions();
    build_entry_controls();
    build_lists();
    build_footer_controls();
    set_tab_order();

    client_->setStyleSheet(
        QStringLiteral("QPushButton[flat_style=\"true\"] { border: 1px solid #8a97a8; border-radius: 2px;"
                       "  background: #f4f6f9; padding: 0 1px; }"
                       "QPushButton[flat_style=\"true\"]:hover { background: #e3ecf7; border-color: #3d6fb6; }"
                       "QPushButton[flat_style=\"true\"]:pressed { background: #c9daf0; }"
                       "QPushButton[flat_style=\"true\"]:focus { border-color: #3d6fb6; }"));
}

QLabel* MainWindow::add_caption(const char* text, int x, int y, int w, int h, int anchor) {
    auto* l = new QLabel(QString::fromLatin1(text), client_);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placed_.push_back({l, x, y, w, h, anchor});
    captions_.push_back(l);
    return l;
}

QLabel* MainWindow::add_value(int x, int y, int w, int h, const char* name) {
    auto* l = new QLabel(client_);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placed_.push_back({l, x, y, w, h, kBottomRight});
    return l;
}

QLineEdit* MainWindow::add_edit(int id, int x, int y, int w, int h, int limit, int anchor, bool upper_case,
                                bool right_aligned) {
    auto* e = new QLineEdit(client_);
    e->setObjectName(QStringLiteral("edit%1").arg(id));
    e->setMaxLength(limit);
    e->setFrame(true);
    if (upper_case) e->setValidator(new UpperCaseValidator(e));
    if (right_aligned) e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edits_[id] = e;
    controls_[id] = e;
    placed_.push_back({e, x, y, w, h, anchor});
    return e;
}

QPushButton* MainWindow::add_button(int id, const char* text, int x, int y, int w, int h) {
    auto* b = new QPushButton(QString::fromLatin1(text), client_);
    b->setObjectName(QStringLiteral("button%1").arg(id));
    b->setProperty("flat_style", true);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::StrongFocus);
    b->installEventFilter(this);  // Enter presses it (eventFilter)
    buttons_[id] = b;
    controls_[id] = b;
    placed_.push_back({b, x, y, w, h, kFixed});
    return b;
}

QTreeView* MainWindow::add_list(int id) {
    auto* v = new QTreeView(client_);
    v->setObjectName(QStringLiteral("list%1").arg(id));
    v->setRootIsDecorated(false);
    v->setItemsExpandable(false);
    v->setUniformRowHeights(true);
    v->setAllColumnsShowFocus(true);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->header()->setSectionsMovable(true);
    v->header()->setStretchLastSection(false);
    v->setFocusPolicy(Qt::StrongFocus);
    controls_[id] = v;
    return v;
}

QComboBox* MainWindow::add_combo(int id, std::initializer_list<const char*> items, int x, int y) {
    auto* c = new QComboBox(client_);
    c->setObjectName(QStringLiteral("combo%1").arg(id));
    for (const char* item : items) c->addItem(QString::fromLatin1(item));
    c->setCurrentIndex(0);
    c->setMaxVisibleItems(8);
    controls_[id] = c;
    placed_.push_back({c, x, y, 100, 23, kBottomRight});
    return c;
}

void MainWindow::build_captions() {
    add_caption("Customer", 2, 57, 76, 19, kFixed);
    add_caption("Phone Number", 2, 80, 76, 19, kFixed);
    add_caption("Invoice Number", 385, 57, 80, 19, kFixed);
    add_caption("Order Number", 385, 80, 80, 19, kFixed);
    add_caption("Invoice Date", 588, 57, 62, 19, kFixed);
    add_caption("Invoice Time", 588, 80, 62, 19, kFixed);
    add_caption("Order Quantity", 2, 110, 96, 19, kFixed);
    add_caption("Backorder Quantity", 2, 133, 96, 19, kFixed);
    add_caption("Item Number", 161, 110, 65, 19, kFixed);
    add_caption("Description", 161, 133, 65, 19, kFixed);
    add_caption("Remark", 161, 156, 65, 19, kFixed);
    add_caption("Unit Price", 529, 110, 51, 19, kFixed);
    add_caption("Unit Cost", 529, 133, 51, 19, kFixed);
    add_caption("Tax %", 529, 156, 51, 19, kFixed);
    add_caption("Salesperson", 2, -59, 60, 19, kBottom);
    add_caption("Note", 2, -36, 50, 19, kBottom);
    add_caption("Status", -453, -59, 50, 19, kBottomRight);
    add_caption("Payment", -453, -36, 50, 19, kBottomRight);
    add_caption("Cash Received", -297, -59, 78, 19, kBottomRight);
    add_caption("Change", -297, -36, 78, 19, kBottomRight);
    add_caption("Subtotal", -153, -62, 50, 19, kBottomRight);
    add_caption("Tax", -153, -43, 50, 19, kBottomRight);
    add_caption("Total", -153, -24, 50, 19, kBottomRight);
    change_value_ = add_value(-219, -36, 59, 19, "change_value");
    change_value_->setText(QStringLiteral("0.00"));
    subtotal_value_ = add_value(-103, -62, 100, 19, "subtotal_value");
    tax_value_ = add_value(-103, -43, 100, 19, "tax_value");
    total_value_ = add_value(-103, -24, 100, 19, "total_value");
}

void MainWindow::build_entry_controls() {
    add_edit(ids::kCustomerName, 78, 55, 221, 23, 63, kFixed);
    add_edit(ids::kPhoneNumber, 78, 78, 221, 23, 63, kFixed);
    add_button(ids::kContacts, "Contacts", 299, 55, 63, 23);
    add_button(ids::kAddress, "Address", 299, 78, 63, 23);
    add_edit(ids::kInvoiceNumber, 465, 55, 100, 23, 31, kFixed);
    add_edit(ids::kOrderNumber, 465, 78, 100, 23, 63, kFixed);
    add_edit(ids::kInvoiceDate, 654, 55, 110, 23, 31, kFixed);
    add_edit(ids::kInvoiceTime, 654, 78, 110, 23, 31, kFixed);
    add_edit(ids::kOrderQuantity, 98, 108, 40, 23, 31, kFixed);
    add_edit(ids::kBackorderQuantity, 98, 131, 40, 23, 31, kFixed);
    inventory_item_ = new QCheckBox(QStringLiteral("Inventory Item"), client_);
    inventory_item_->setObjectName(QStringLiteral("check200"));
    inventory_item_->setLayoutDirection(Qt::RightToLeft);  // text left of the box
    inventory_item_->setChecked(true);
    controls_[ids::kInventoryItem] = inventory_item_;
    placed_.push_back({inventory_item_, 0, 154, 111, 23, kFixed});
    add_edit(ids::kItemNumber, 226, 108, 225, 23, 63, kFixed, true);
    add_button(ids::kSearchPriceFile, "Search...", 451, 108, 55, 23);
    add_edit(ids::kDescription, 226, 131, 280, 23, 63, kFixed, true);
    add_edit(ids::kRemark, 226, 154, 280, 23, 63, kFixed, true);
    add_edit(ids::kUnitPrice, 580, 108, 56, 23, 31, kFixed, false, true);
    add_edit(ids::kUnitCost, 580, 131, 56, 23, 31, kFixed, false, true);
    add_edit(ids::kTaxPercent, 580, 154, 56, 23, 31, kFixed, false, true);
    add_button(ids::kAddToInventory, "Add to Inventory", 660, 108, 104, 23);
    add_button(ids::kAddToInvoice, "Add to Invoice", 660, 131, 104, 23);
    add_button(ids::kClear, "Clear", 660, 154, 104, 23);
}

void MainWindow::build_lists() {
    inventory_list_ = add_list(ids::kInventoryList);
    inventory_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QPalette pal = inventory_list_->palette();
    pal.setColor(QPalette::Base, QColor(192, 255, 255));
    pal.setColor(QPalette::Text, QColor(10, 36, 106));
    inventory_list_->setPalette(pal);
    placed_.push_back({inventory_list_, 0, 178, 0, -434, kInventoryPane});

    invoice_lines_ = add_list(ids::kInvoiceLines);
    invoice_lines_->setSelectionMode(QAbstractItemView::SingleSelection);
    invoice_lines_->header()->setSectionsClickable(false);
    invoice_lines_->setIconSize(QSize(16, 16));
    placed_.push_back({invoice_lines_, 0, -255, 0, 191, kLinesPane});
}

void MainWindow::build_footer_controls() {
    add_edit(ids::kSalesperson, 65, -61, 215, 23, 63, kBottom);
    // The note field holds 255 characters, but a field save carries 63: more would show and then be lost.
    add_edit(ids::kInvoiceNote, 65, -38, 215, 23, 63, kBottom);
    status_ = add_combo(ids::kStatus, {"INCOMPLETE", "COMPLETE"}, -403, -64);
    payment_ = add_combo(ids::kPayment, {"UNPAID", "CASH", "CHECK", "CREDIT CARD", "ACCOUNT", "WARRANTY"}, -403, -41);
    add_edit(ids::kCashReceived, -219, -61, 62, 23, 31, kBottomRight, false, true);
}

void MainWindow::set_tab_order() {
    const int order[] = {
        ids::kCustomerName,  ids::kPhoneNumber,   ids::kContacts,        ids::kAddress,        ids::kInvoiceNumber,
        ids::kOrderNumber,   ids::kInvoiceDate,   ids::kInvoiceTime,     ids::kOrderQuantity,  ids::kBackorderQuantity,
        ids::kInventoryItem, ids::kItemNumber,    ids::kSearchPriceFile, ids::kDescription,    ids::kRemark,
        ids::kUnitPrice,     ids::kUnitCost,      ids::kTaxPercent,      ids::kAddToInventory, ids::kAddToInvoice,
        ids::kClear,         ids::kInventoryList, ids::kInvoiceLines,    ids::kSalesperson,    ids::kInvoiceNote,
        ids::kStatus,        ids::kPayment,       ids::kCashReceived};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(controls_[order[i - 1]], controls_[order[i]]);
}

}  // namespace stk::client
