#include "client/invoices_window/invoices_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "client/ui/dialog_seam.h"
#include "client/ui/list_views.h"
#include "client/ui/text_1252.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "platform/durable_file.h"

namespace stk::client {

namespace {

constexpr int kDefaultWidth = 790;
constexpr int kDefaultHeight = 400;

template <class W>
W* named(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

}  // namespace

InvoicesWindow::InvoicesWindow(QWidget* owner, InvoicesWindowContext context)
    : QDialog(owner), context_(std::move(context)), model_(*context_.rows, this) {
    setWindowTitle(QStringLiteral("Invoices"));
    setObjectName(QStringLiteral("dialog105"));
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setFont(context_.font);
    build_controls();
    connect_controls();

    if (context_.placement && context_.placement->isValid()) {
        setGeometry(*context_.placement);
    } else {
        resize(kDefaultWidth, kDefaultHeight);
    }

    const InvoicesWindowMemory& memory = *context_.memory;
    unpaid_only_->setChecked(memory.unpaid_only);
    if (memory.sort_column > 0) model_.sort_rows(memory.sort_column);
    show_sort_indicator(memory.sort_column > 0 ? memory.sort_column : -1);
    // Putting the remembered text into the edit counts as a change even when it is empty or unchanged: the
    // window searches once, 750 ms after it opens.
    search_->setText(memory.search_text);
    arm_search();
    search_->setFocus();
}

void InvoicesWindow::build_controls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* band = new QWidget(this);
    band->setFixedHeight(kBandHeight);
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(8, 0, 8, 0);
    row->setSpacing(8);
    row->addWidget(new QLabel(QStringLiteral("Search for:"), band));
    search_ = named(new QLineEdit(band), kSearchEdit);
    search_->setMaxLength(kMaxSearchText);
    search_->setMinimumWidth(120);
    row->addWidget(search_, 2);
    unpaid_only_ = named(new QCheckBox(QStringLiteral("Search unpaid invoices only"), band), kUnpaidOnly);
    row->addWidget(unpaid_only_);
    save_ = named(new QPushButton(QStringLiteral("Save Search Results..."), band), kSaveResults);
    // Enter in the search edit must not press this button.
    save_->setAutoDefault(false);
    row->addWidget(save_);
    total_ = named(new QLabel(band), kSelectionTotal);
    total_->setMinimumWidth(total_->fontMetrics().horizontalAdvance(QStringLiteral("Selection Total: $000,000.00")));
    total_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(total_, 1);
    layout->addWidget(band);

    list_ = named(new QTreeView(this), kList);
    list_->setModel(&model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setAllColumnsShowFocus(true);
    QHeaderView* header = list_->header();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setStretchLastSection(false);
    for (int c = 0; c < kInvoiceColumns; ++c) header->resizeSection(c, InvoiceRowsModel::width(c));
    layout->addWidget(list_, 1);

    search_timer_ = new QTimer(this);
    search_timer_->setSingleShot(true);
    search_timer_->setInterval(kSearchDelayMs);
    total_timer_ = new QTimer(this);
    total_timer_->setSingleShot(true);
    total_timer_->setInterval(kTotalDelayMs);
}

void InvoicesWindow::connect_controls() {
    connect(search_timer_, &QTimer::timeout, this, &InvoicesWindow::search_now);
    connect(total_timer_, &QTimer::timeout, this, &InvoicesWindow::show_selection_total);
    connect(search_, &QLineEdit::textChanged, this, &InvoicesWindow::arm_search);
    // clicked, not toggled: only the user's click counts, as a button-clicked command does.
    connect(unpaid_only_, &QCheckBox::clicked, this, [this](bool checked) {
        context_.memory->unpaid_only = checked;
        arm_search();
    });
    connect(save_, &QPushButton::clicked, this, &InvoicesWindow::save_search_results);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { total_timer_->start(); });
    connect(list_->header(), &QHeaderView::sectionClicked, this, &InvoicesWindow::sort_by);
    // One click opens the row's invoice; a click with Ctrl or Shift only extends the selection, so that rows
    // can be picked for the selection total without loading each of them.
    connect(list_, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (QApplication::keyboardModifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) return;
        open_row(index.row());
    });
    install_list_keys(list_, this, nullptr, [this] {
        const QModelIndex current = list_->currentIndex();
        if (current.isValid()) open_row(current.row());
    });
}

void InvoicesWindow::arm_search() { search_timer_->start(); }

void InvoicesWindow::search_now() {
    search_timer_->stop();
    InvoicesWindowMemory& memory = *context_.memory;
    memory.search_text = search_->text();
    total_->clear();
    model_.clear();
    const std::string query = to_1252(memory.search_text);
    if (context_.on_request) context_.on_request(SEARCH_INVOICES, query);
    std::vector<InvoiceSearchRow> hits;
    const int result =
        context_.api->search_invoices(query, unpaid_only_->isChecked() ? 1 : 0, &hits, context_.rows->capacity());
    // A broken answer still shows the rows that arrived; a refusal shows none.
    if (result == RESULT_OK || result == kTransportFailed) model_.assign(hits);
    // The rows of a search stay in the order of the answer when the remembered column is the first one.
    if (memory.sort_column > 0) model_.sort_rows(memory.sort_column);
    show_sort_indicator(memory.sort_column > 0 ? memory.sort_column : -1);
    if (!searched_since_opening_) {
        searched_since_opening_ = true;
        select_current_invoice();
    }
}

void InvoicesWindow::select_current_invoice() {
    if (!context_.current_invoice) return;
    const int row = model_.first_row_of_invoice(context_.current_invoice());
    if (row < 0) return;
    const QModelIndex index = model_.index(row, 0);
    // The row gets the selection and the focus mark; the keyboard stays in the search edit.
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(index);
}

void InvoicesWindow::show_selection_total() {
    total_timer_->stop();
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
    total_->setText(QStringLiteral("Selection Total: $") +
                    QString::fromStdString(format_2f(model_.amount_total(rows))));
}

void InvoicesWindow::sort_by(int column) {
    context_.memory->sort_column = column;
    model_.sort_rows(column);
    show_sort_indicator(column);
}

void InvoicesWindow::show_sort_indicator(int column) {
    QHeaderView* header = list_->header();
    header->setSortIndicatorShown(column >= 0);
    // Always ascending: a click on the sorted heading sorts the same way again.
    if (column >= 0) header->setSortIndicator(column, Qt::AscendingOrder);
}

void InvoicesWindow::open_row(int row) {
    const InvoiceRow* record = model_.row_record(row);
    if (!record || !context_.open_invoice) return;
    const InvoiceRecord* loaded = context_.open_invoice(record->invoice_index, record->line_number);
    if (!loaded) return;
    model_.refresh_row(row, *loaded);
    // The amount may have changed under a selected row.
    total_timer_->start();
}

void InvoicesWindow::save_search_results() {
    QString& folder = context_.memory->results_folder;
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path =
        DialogSeam::save_file(this, QStringLiteral("Save Search Results"), folder,
                              QStringLiteral("Tab Delimited Text File (.txt) (*.txt)"), QStringLiteral("txt"));
    if (path.isEmpty()) return;
    folder = QFileInfo(path).absolutePath();
    if (model_.count() == 0) return;
    // The dialog adds the suffix itself; a name handed in any other way gets it here.
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");
    if (!platform::write_file_durably(QFile::encodeName(path).toStdString(), model_.tab_delimited_text())) {
        DialogSeam::message(this,
                            QStringLiteral("Stockavelle was unable to save the search results to this file:\r\n") +
                                QDir::toNativeSeparators(path),
                            MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok);
    }
}

void InvoicesWindow::done(int result) {
    search_timer_->stop();
    total_timer_->stop();
    // A window closed while maximized leaves the rectangle it had before it was maximized, so that it opens
    // there again rather than at the screen's corner.
    if (context_.placement) *context_.placement = isMaximized() ? normalGeometry() : geometry();
    QDialog::done(result);
}

void open_invoices_window(QWidget* owner, InvoicesWindowContext context) {
    InvoicesWindow window(owner, std::move(context));
    DialogSeam::exec(window);
}

}  // namespace stk::client
