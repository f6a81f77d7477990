#include "client/main_window/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>

#include "client/main_window/about_dialog.h"
#include "client/ui/artwork.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/id_lookup.h"
#include "client/ui/shell_open.h"
#include "client/ui/strings.h"
#include "client/ui/toolbar.h"

namespace stk::client {

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
}

MainWindow::~MainWindow() = default;

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
        if (filling_fields || !on_status_selected) return;
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
        case ids::kMenuExit: close(); return true;
        case ids::kMenuNewInvoice:
            if (!on_new_invoice) return false;
            if (on_new_invoice() != 1) show_string(this, str::kCheckServer, MsgIcon::Information);
            return true;
        case ids::kMenuViewHelp: open_help(); return true;
        case ids::kMenuAbout: show_about(); return true;
        default: return false;
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
    edits_[ids::kTaxPercent]->setText(default_tax_percent ? default_tax_percent() : QString());
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
    // Inside a modal dialog (a wait for the server among them) the search would start a request within
    // another; it runs once the dialog has closed.
    if (QApplication::activeModalWidget()) {
        arm_type_ahead();
        return;
    }
    type_ahead_timer_->stop();
    last_search_text = type_ahead_text();
    const QString text = last_search_text;
    emit type_ahead_search(text);
    if (on_inventory_search) on_inventory_search(text);
}

void MainWindow::invoice_field_changed(int id) {
    if (filling_fields) return;
    QLineEdit* e = edits_[id];
    if (id == ids::kCustomerName && e->text().isEmpty()) {
        if (ask_string(this, str::kRemoveCustomer, false)) {
            if (on_clear_customer) on_clear_customer();
            return;
        }
    }
    if (on_save_field && on_save_field(id) == 0) e->setFocus();
}

void MainWindow::open_help() {
    const QString path = help_file ? help_file() : QString();
    if (!QFileInfo(path).isFile()) {
        show_string(this, str::kDocumentationMissing, MsgIcon::Warning, MsgButtons::Ok, MsgAnswer::Ok, path);
        return;
    }
    shell_open(path);
}

void MainWindow::show_about() {
    AboutDialog dialog(this, registered_company ? registered_company() : QString());
    DialogSeam::exec(dialog);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter and keypad Enter press the focused button, as in any dialog; Space already does.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        auto* b = qobject_cast<QPushButton*>(watched);
        if (enter && b && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && b->isEnabled()) {
            b->click();
            return true;
        }
    }
    if (watched == client_ && toolbar_ && toolbar_->surface_event(*client_, event)) return true;
    if (watched == client_ && event->type() == QEvent::Resize) {
        const auto* e = static_cast<QResizeEvent*>(event);
        layout_controls(e->size().width(), e->size().height());
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    type_ahead_timer_->stop();
    if (toolbar_) toolbar_->hover_timer()->stop();
    if (on_close) on_close();
    event->accept();
}

}  // namespace stk::client
