#include "client/contacts/contacts_window.h"

#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "client/contacts/contact_dialog.h"
#include "client/contacts/web_address.h"
#include "client/ui/dialog_buttons.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/list_menu.h"
#include "client/ui/list_views.h"
#include "client/ui/shell_open.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"

namespace stk::client {
namespace {

// The band above the list that holds the search box and the button.
constexpr int kBandHeight = 39;

const QString kNotAWebPage = QStringLiteral(
    "Stockavelle opens only web pages, whose addresses begin with http:// or https://. This address was not "
    "opened:\r\n");

}  // namespace

ContactsWindow::ContactsWindow(ContactsContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), model_(*context_.table, this) {
    setWindowTitle(QStringLiteral("Contacts"));
    setObjectName(QStringLiteral("dialog124"));
    setSizeGripEnabled(true);
    if (context_.font != QFont()) setFont(context_.font);
    // The band's controls follow the caption's width, which depends on the desktop's font.
    search_label_ = new QLabel(QStringLiteral("Search for:"), this);
    search_label_->adjustSize();
    search_label_->move(8, (kBandHeight - search_label_->height()) / 2);
    search_ = new QLineEdit(this);
    search_->setObjectName(QString::number(kSearchBox));
    search_->setMaxLength(kSearchLimit);
    search_->setGeometry(search_label_->geometry().right() + 6, 8, 240, 23);
    search_label_->setBuddy(search_);
    create_ = id_button(this, QStringLiteral("Create New Contact..."), kCreateButton);
    create_->setAutoDefault(false);
    create_->adjustSize();
    create_->setGeometry(search_->geometry().right() + 10, 7, std::max(150, create_->width()), 25);

    list_ = new QTreeView(this);
    list_->setObjectName(QString::number(kList));
    list_->setModel(&model_);
    set_up_row_list(list_);
    list_->header()->setSectionsMovable(true);
    list_->header()->setSectionsClickable(true);
    list_->header()->setSortIndicatorShown(true);
    for (int c = 0; c < ContactsModel::kColumns; ++c) list_->setColumnWidth(c, ContactsModel::width(c));

    connect(search_, &QLineEdit::textChanged, this, &ContactsWindow::search_changed);
    connect(create_, &QPushButton::clicked, this, &ContactsWindow::create_contact);
    connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        model_.sort_rows(column);
        // Always ascending: a click on the sorted heading sorts the same way again.
        list_->header()->setSortIndicator(column, Qt::AscendingOrder);
    });
    // Activation opens the contact on the row; with no row there is nothing to open.
    const auto open_selected = [this] {
        if (const int slot = selected_slot()) edit_contact(slot);
    };
    connect(list_, &QTreeView::doubleClicked, this, open_selected);
    attach_list_menu(list_, this,
                     ListMenuEntries{{"Edit/View...", kEditCommand},
                                     {"Apply to Current Invoice", kApplyCommand},
                                     {"Go to Website...", kWebsiteCommand},
                                     kListMenuSeparator,
                                     {"Delete", kDeleteCommand}},
                     [this](int command) { run_command(command); });
    install_list_keys(
        list_, this, [this] { delete_selected(); }, open_selected);

    resize(700, 420);
    // The kept search fills the list through the change notification; an empty one lists every contact.
    if (context_.kept_search && !context_.kept_search->isEmpty())
        search_->setText(*context_.kept_search);
    else
        refill();
    search_->setFocus();
}

void ContactsWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    list_->setGeometry(0, kBandHeight, width(), std::max(0, height() - kBandHeight));
}

void ContactsWindow::search_changed(const QString& text) {
    if (context_.kept_search) *context_.kept_search = text.left(kSearchLimit);
    refill();
}

void ContactsWindow::refill() {
    model_.fill(to_1252(search_->text()));
    list_->header()->setSortIndicator(ContactsModel::kNameColumn, Qt::AscendingOrder);
}

int ContactsWindow::selected_slot() const {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : model_.slot_of_row(rows.first().row());
}

void ContactsWindow::select_slot(int slot) {
    const int row = model_.row_of_slot(slot);
    if (row < 0) return;
    const QModelIndex index = model_.index(row, 0);
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(index);
}

void ContactsWindow::run_command(int id) {
    switch (id) {
        case kApplyCommand: apply_to_invoice(); break;
        case kDeleteCommand: delete_selected(); break;
        case kEditCommand:
            if (const int slot = selected_slot()) edit_contact(slot);
            break;
        case kWebsiteCommand: open_website(); break;
        default: break;
    }
}

void ContactsWindow::create_contact() {
    if (context_.table->full()) {
        show_string(this, str::kContactsFull, MsgIcon::Information);
        return;
    }
    edit_contact(0);
}

void ContactsWindow::edit_contact(int slot) {
    ContactTable& table = *context_.table;
    const bool existing = slot >= 1 && slot <= table.count();
    ContactDialog dialog(this, existing ? &table[slot] : nullptr);
    if (DialogSeam::exec(dialog) != QDialog::Accepted) return;
    if (existing) {
        table[slot] = dialog.record();
    } else if (table.full() || !table.append(dialog.record())) {
        show_string(this, str::kContactsFull, MsgIcon::Information);
        return;
    } else {
        slot = table.count();
    }
    refill();
    select_slot(slot);
    if (!save_contacts(QFile::encodeName(context_.file_path).toStdString(), table))
        show_string(this, str::kCannotSaveContacts, MsgIcon::Error, MsgButtons::Ok, MsgAnswer::Ok,
                    QStringLiteral("\r\n") + context_.file_path);
}

void ContactsWindow::delete_selected() {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    const int row = rows.first().row();
    if (!ask_string(this, str::kConfirmRemoveItems, false)) return;
    model_.remove_contact(row);
    if (model_.rowCount() > 0) select_slot(model_.slot_of_row(std::min(row, model_.rowCount() - 1)));
    if (!save_contacts(QFile::encodeName(context_.file_path).toStdString(), *context_.table))
        show_string(this, str::kCannotSaveContacts, MsgIcon::Error);
}

void ContactsWindow::open_website() {
    const int slot = selected_slot();
    if (slot < 1 || slot > context_.table->count()) return;
    const std::string_view address = field((*context_.table)[slot].web_url);
    if (address.empty()) return;
    const QUrl url = website_url(address);
    if (url.isValid())
        shell_open_url(url);
    else
        DialogSeam::message(this, kNotAWebPage + from_1252(address), MsgIcon::Information, MsgButtons::Ok,
                            MsgAnswer::Ok);
}

void ContactsWindow::apply_to_invoice() {
    const int slot = selected_slot();
    if (slot < 1 || slot > context_.table->count()) return;
    if (context_.invoice_has_customer && context_.invoice_has_customer() &&
        !ask_string(this, str::kReplaceCustomerWithContact, false))
        return;
    if (context_.apply_to_invoice) context_.apply_to_invoice((*context_.table)[slot]);
    accept();
}

void open_contacts_window(ContactsContext context, QWidget* owner) {
    ContactsWindow window(std::move(context), owner);
    DialogSeam::exec(window);
}

}  // namespace stk::client
