#include "client/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QTreeView>
#include <QValidator>
#include <algorithm>

#include "client/shell/session.h"
#include "client/ui/artwork.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/id_lookup.h"
#include "client/ui/shell_open.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "client/ui/toolbar.h"

namespace stk::client {

namespace {

enum Anchor { kFixed = 0, kBottom = 1, kBottomRight = 2, kInventoryPane = 3, kLinesPane = 4 };

// Upper-cases what is typed, character for character, like an upper-case edit control.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (QChar& c : input) {
            const QChar u = c.toUpper();
            // Only take the upper-case form when it is a single character Windows-1252 can hold too.
            if (u != c && to_1252(QString(u)) != "?") c = u;
        }
        return Acceptable;
    }
};

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent) : QDialog(parent), picture_(about_picture()) {
        setWindowTitle(QStringLiteral("About Stockavelle"));
        setObjectName(QStringLiteral("dialog121"));
        setFixedSize(480, 420);
        auto* text = new QLabel(this);
        text->setObjectName(QStringLiteral("control1105"));
        text->setGeometry(16, 10, 448, 84);
        text->setWordWrap(true);
        // The picture below carries the name and version; the text says whose copy this is.
        const QString company = field_text(session().settings.company_name).toHtmlEscaped();
        text->setText(QStringLiteral("<b>Stockavelle Inventory And Invoice Management System</b><br>") +
                      (company.isEmpty() ? QString() : QStringLiteral("Registered to %1<br>").arg(company)) +
                      QStringLiteral("Click anywhere to close."));
        if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - 480) / 2, area.y() + (area.height() - 420) / 2);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(QRect(0, 100, 480, 320), picture_);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) accept();
    }

private:
    QPixmap picture_;
};

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("STOCKAVELLE"));
    setWindowTitle(kCaption);
    setWindowIcon(icon_resource(130));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client_area"));
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    type_ahead_timer_ = new QTimer(this);
    type_ahead_timer_->setSingleShot(true);
    type_ahead_timer_->setInterval(kTypeAheadDelayMs);
    connect(type_ahead_timer_, &QTimer::timeout, this, &MainWindow::fire_type_ahead);

    build_controls();
    build_menu();
    connect_controls();
    build_toolbar();
    fit_caption_font();
    resize(900, 640);
    layout_controls(client_->width(), client_->height());

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        session().invoices_window_placement =
            QRect(area.x() + (area.width() - 790) / 2, area.y() + (area.height() - 400) / 2, 790, 400);
    }
}

MainWindow::~MainWindow() = default;

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

    client_->setStyleSheet(QStringLiteral(
        "QPushButton[flat_style=\"true\"] { border: 1px solid #8a97a8; border-radius: 2px;"
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
    add_edit(ids::kInvoiceNote, 65, -38, 215, 23, 127, kBottom);
    status_ = add_combo(ids::kStatus, {"INCOMPLETE", "COMPLETE"}, -403, -64);
    payment_ = add_combo(ids::kPayment, {"UNPAID", "CASH", "CHECK", "CREDIT CARD", "ACCOUNT", "WARRANTY"}, -403, -41);
    add_edit(ids::kCashReceived, -219, -61, 62, 23, 31, kBottomRight, false, true);
}

void MainWindow::set_tab_order() {
    const int order[] = {ids::kCustomerName, ids::kPhoneNumber, ids::kContacts, ids::kAddress,
                         ids::kInvoiceNumber, ids::kOrderNumber, ids::kInvoiceDate, ids::kInvoiceTime,
                         ids::kOrderQuantity, ids::kBackorderQuantity, ids::kInventoryItem, ids::kItemNumber,
                         ids::kSearchPriceFile, ids::kDescription, ids::kRemark, ids::kUnitPrice, ids::kUnitCost,
                         ids::kTaxPercent, ids::kAddToInventory, ids::kAddToInvoice, ids::kClear,
                         ids::kInventoryList, ids::kInvoiceLines, ids::kSalesperson, ids::kInvoiceNote,
                         ids::kStatus, ids::kPayment, ids::kCashReceived};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(controls_[order[i - 1]], controls_[order[i]]);
}

void MainWindow::build_menu() {
    auto add = [&](QMenu* menu, const char* text, int id) {
        QAction* a = menu->addAction(QString::fromLatin1(text));
        a->setData(id);
        a->setObjectName(QStringLiteral("menu%1").arg(id));
        actions_[id] = a;
        connect(a, &QAction::triggered, this, [this, id] { run_command(id); });
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, "New Invoice...", ids::kMenuNewInvoice);
    add(file, "Import Items...", ids::kMenuImportItems);
    add(file, "&Print...", ids::kMenuPrint);
    file->addSeparator();
    add(file, "E&xit", ids::kMenuExit);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, "Refresh", ids::kMenuRefresh);
    view->addSeparator();
    add(view, "Contacts", ids::kMenuContacts);
    add(view, "Invoices", ids::kMenuInvoices);
    add(view, "Messages", ids::kMenuMessages);
    reports_menu_ = view->addMenu(QStringLiteral("Reports"));
    add(reports_menu_, "Sales", ids::kMenuSalesReport)->setEnabled(false);
    add(reports_menu_, "Non-Inventory Sales", ids::kMenuNonInventorySalesReport);
    add(reports_menu_, "Suggested Order", ids::kMenuSuggestedOrderReport);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, "View Help", ids::kMenuViewHelp);
    add(help, "About Stockavelle Inventory And Invoice Management System", ids::kMenuAbout);
}

void MainWindow::connect_controls() {
    for (auto& [id, b] : buttons_) {
        const int cid = id;
        connect(b, &QPushButton::clicked, this, [this, cid] { run_command(cid); });
    }
    connect(edits_[ids::kItemNumber], &QLineEdit::textChanged, this, [this] { arm_type_ahead(); });
    connect(edits_[ids::kDescription], &QLineEdit::textChanged, this, [this] {
        if (edits_[ids::kItemNumber]->text().isEmpty()) arm_type_ahead();
    });
    for (int id : ids::kInvoiceFieldIds) {
        connect(edits_[id], &QLineEdit::textChanged, this, [this, id] { invoice_field_changed(id); });
    }
    // activated, unlike currentIndexChanged, comes only from the user, as a selection change notification does.
    connect(payment_, &QComboBox::activated, this, [this](int index) {
        if (on_payment_selected) on_payment_selected(index);
    });
    connect(status_, &QComboBox::activated, this, [this](int index) {
        if (!loading_guard || !on_status_selected) return;
        if (!on_status_selected(index)) status_->setFocus();
    });
}

QWidget* MainWindow::control(int id) const { return find_by_id(controls_, id); }

QLineEdit* MainWindow::edit(int id) const { return find_by_id(edits_, id); }

QPushButton* MainWindow::button(int id) const { return find_by_id(buttons_, id); }

QAction* MainWindow::action(int id) const { return find_by_id(actions_, id); }

void MainWindow::set_command_handler(int id, std::function<void()> handler) { handlers_[id] = std::move(handler); }

bool MainWindow::run_command(int id) {
    if (auto it = handlers_.find(id); it != handlers_.end() && it->second) {
        it->second();
        return true;
    }
    switch (id) {
    case ids::kAddToInvoice:
        if (on_add_to_invoice && on_add_to_invoice() == 1) {
            clear_entry_fields(true);
            edits_[ids::kItemNumber]->setFocus();
        }
        return static_cast<bool>(on_add_to_invoice);
    case ids::kClear:
        clear_entry_fields(false);
        edits_[ids::kItemNumber]->setFocus();
        return true;
    case ids::kMenuExit:
        close();
        return true;
    case ids::kMenuNewInvoice:
        if (!on_new_invoice) return false;
        if (on_new_invoice() != 1) show_string(this, 37, MsgIcon::Information);
        return true;
    case ids::kMenuViewHelp:
        open_help();
        return true;
    case ids::kMenuAbout:
        show_about();
        return true;
    default:
        return false;
    }
}

void MainWindow::clear_entry_fields(bool always) {
    edits_[ids::kOrderQuantity]->setText(QString());
    edits_[ids::kBackorderQuantity]->setText(QString());
    QLineEdit* description = edits_[ids::kDescription];
    QLineEdit* item_number = edits_[ids::kItemNumber];
    const bool rearm = always && item_number->text().isEmpty() && description->text().isEmpty();
    if (always || !description->text().isEmpty()) description->setText(QString());
    if (always || !item_number->text().isEmpty()) item_number->setText(QString());
    // Emptying an already empty edit raises no textChanged; the list is still to be searched again after
    // "Add to Invoice", whether the two edits held text or not.
    if (rearm) arm_type_ahead();
    edits_[ids::kRemark]->setText(QString());
    edits_[ids::kUnitPrice]->setText(QString());
    edits_[ids::kUnitCost]->setText(QString());
    edits_[ids::kTaxPercent]->setText(field_text(session().settings.tax_percentage));
    inventory_item_->setChecked(true);
}

void MainWindow::arm_type_ahead() { type_ahead_timer_->start(kTypeAheadDelayMs); }

bool MainWindow::search_pending() const { return type_ahead_timer_->isActive(); }

QString MainWindow::type_ahead_text() const {
    QString text = edits_.at(ids::kItemNumber)->text();
    if (text.isEmpty()) text = edits_.at(ids::kDescription)->text();
    return text.left(255);
}

void MainWindow::fire_type_ahead() {
    type_ahead_timer_->stop();
    last_search_text = type_ahead_text();
    const QString text = last_search_text;
    emit type_ahead_search(text);
    if (on_inventory_search) on_inventory_search(text);
}

void MainWindow::invoice_field_changed(int id) {
    if (!loading_guard) return;
    QLineEdit* e = edits_[id];
    if (id == ids::kCustomerName && e->text().isEmpty()) {
        if (ask_string(this, 36, false)) {
            if (on_clear_customer) on_clear_customer();
            return;
        }
    }
    if (on_save_field && on_save_field(id) == 0) e->setFocus();
}

void MainWindow::layout_controls(int width, int height) {
    const int w = std::max(width, kLayoutMinWidth);
    const int h = std::max(height, kLayoutMinHeight);
    for (const Placed& p : placed_) {
        QRect r;
        switch (p.anchor) {
        case kFixed:
            r = QRect(p.x, p.y, p.w < 0 ? w : p.w, p.h);
            break;
        case kBottom:
            r = QRect(p.x, h + p.y, p.w, p.h);
            break;
        case kBottomRight:
            r = QRect(w + p.x, h + p.y, p.w, p.h);
            break;
        case kInventoryPane:
            r = QRect(0, 178, w, h - 434);
            break;
        case kLinesPane:
            r = QRect(0, h - 255, w, 191);
            break;
        }
        p.widget->setGeometry(r);
    }
}

void MainWindow::set_sales_report_enabled(bool enabled) { actions_[ids::kMenuSalesReport]->setEnabled(enabled); }

void MainWindow::open_help() {
    QString path = session().help_path;
    if (path.isEmpty()) path = session().program_folder + QStringLiteral("/Documentation/documentation.html");
    if (!QFileInfo(path).isFile()) {
        show_string(this, 11, MsgIcon::Warning, MsgButtons::Ok, MsgAnswer::Ok, path);
        return;
    }
    shell_open(path);
}

bool MainWindow::captions_fit(const QFont& font) const {
    const QFontMetrics fm(font);
    QStyle* style = client_->style();
    for (const Placed& p : placed_) {
        int needed = 0;
        if (auto* label = qobject_cast<QLabel*>(p.widget)) {
            if (std::find(captions_.begin(), captions_.end(), label) == captions_.end()) continue;
            needed = fm.horizontalAdvance(label->text()) + 1;
            if (fm.height() > p.h) return false;
        } else if (auto* b = qobject_cast<QPushButton*>(p.widget)) {
            // One pixel of border and one of padding on each side (the style sheet), one to spare.
            needed = fm.horizontalAdvance(b->text()) + 5;
        } else if (auto* c = qobject_cast<QCheckBox*>(p.widget)) {
            needed = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, c) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, c) +
                     fm.horizontalAdvance(c->text()) + 4;
        } else if (auto* c = qobject_cast<QComboBox*>(p.widget)) {
            int widest = 0;
            for (int i = 0; i < c->count(); ++i) widest = std::max(widest, fm.horizontalAdvance(c->itemText(i)));
            QStyleOptionComboBox option;
            option.initFrom(c);
            needed = style->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widest, fm.height()), c).width();
        } else {
            continue;
        }
        if (needed > p.w) return false;
    }
    return true;
}

void MainWindow::fit_caption_font(int largest_pixel_size) {
    QFont font = client_->font();
    // Narrowing the face a little is hardly seen, a pixel less in height is, so that comes last. (An explicit
    // stretch is measured against the family's normal width, and condensed faces already sit near 87.)
    constexpr int kStretches[] = {QFont::AnyStretch, 84, 80, 76};
    bool fitted = false;
    for (int size = std::max(largest_pixel_size, kSmallestCaptionPixels); !fitted; --size) {
        for (int stretch : kStretches) {
            font.setPixelSize(size);
            font.setStretch(stretch);
            fitted = size == kSmallestCaptionPixels || captions_fit(font);
            if (fitted) break;
        }
    }
    client_->setFont(font);
    // Each control gets the font itself: once the style sheet has polished them, a parent's font no
    // longer reaches them by inheritance.
    for (const Placed& p : placed_) p.widget->setFont(font);
    QFont bold = font;
    bold.setBold(true);
    total_value_->setFont(bold);
}

void MainWindow::show_about() {
    AboutDialog dialog(this);
    DialogSeam::exec(dialog);
}

void MainWindow::build_toolbar() {
    toolbar_ = new Toolbar(this);
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    client_->setMouseTracking(true);
    toolbar_->invalidate = [this](const QRect& r) { client_->update(r); };
    toolbar_->run_command = [this](int index, int command) { run_toolbar_command(index, command); };
    toolbar_->pointer_on_surface = [this] {
        const QPoint global = QCursor::pos();
        QWidget* under = QApplication::widgetAt(global);
        if (under != client_ && under != toolbar_band_) return false;
        const QPoint at = client_->mapFromGlobal(global);
        return at.x() >= 0 && at.y() >= 0 && at.x() <= client_->width() && at.y() <= client_->height();
    };
    const QPixmap band = toolbar_band_picture();
    for (const MainToolbarEntry& e : kMainToolbar) {
        const int index = toolbar_->add_button(e.command, e.left, kToolbarButtonTop, kToolbarButtonWidth,
                                               kToolbarButtonHeight, 0, 1);
        toolbar_->set_bitmaps(index, band, toolbar_picture(e.hot_bitmap), toolbar_picture(e.pressed_bitmap));
    }
}

void MainWindow::run_toolbar_command(int index, int command) {
    switch (command) {
    case kToolbarPrevious:
        if (on_previous_invoice) on_previous_invoice();
        break;
    case kToolbarNext:
        if (on_next_invoice) on_next_invoice();
        break;
    case kToolbarNewInvoice:
        if (on_new_invoice && on_new_invoice() != 1) show_string(this, 37, MsgIcon::Information);
        break;
    case kToolbarRefresh:
        run_command(ids::kMenuRefresh);
        break;
    case kToolbarInvoices:
        if (on_invoices_window) on_invoices_window();
        break;
    case kToolbarPrint:
        // Printing may open dialogs and take a while; the button should not stay lit meanwhile.
        toolbar_->draw_button(index, Toolbar::kRest);
        if (on_print_invoice) on_print_invoice();
        break;
    default:
        break;
    }
}

bool MainWindow::toolbar_event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(client_);
        toolbar_->paint_band(painter, static_cast<QPaintEvent*>(event)->rect());
        return false;  // the client area paints nothing else
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {  // a quick second click is just another press
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        toolbar_->button_down(e->button(), at.x(), at.y());
        e->accept();
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        toolbar_->mouse_move(at.x(), at.y());
        e->accept();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        toolbar_->button_up(e->button(), at.x(), at.y());
        e->accept();
        return true;
    }
    default:
        return false;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && toolbar_ && toolbar_event(event)) return true;
    if (watched == client_ && event->type() == QEvent::Resize) {
        const auto* e = static_cast<QResizeEvent*>(event);
        layout_controls(e->size().width(), e->size().height());
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    type_ahead_timer_->stop();
    if (toolbar_) toolbar_->hover_timer()->stop();
    session().release_arrays();
    event->accept();
}

}  // namespace stk::client
