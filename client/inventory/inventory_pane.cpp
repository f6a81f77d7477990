#include "client/inventory/inventory_pane.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTreeView>

#include "client/inventory/item_fields.h"
#include "client/ui/control_ids.h"
#include "client/ui/list_menu.h"
#include "client/ui/list_views.h"
#include "client/ui/shell_open.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {
InventoryPane::InventoryPane(ServerApi& api, SaleSettings settings, SaleWidgets widgets, QObject* parent)
    : QObject(parent), api_(api), settings_(std::move(settings)), w_(std::move(widgets)), model_(this) {
    timer_.setSingleShot(true);
    timer_.setInterval(kTypeAheadMs);
    connect(&timer_, &QTimer::timeout, this, &InventoryPane::type_ahead_fired);
    open_file = [](const QString& path) { return shell_open(path); };
}

void InventoryPane::note(int opcode, std::string_view text) const {
    if (on_request) on_request(opcode, text);
}

void InventoryPane::connect_widgets(bool own_type_ahead_timer) {
    if (own_type_ahead_timer) {
        if (QLineEdit* e = w_.edit(ids::kItemNumber))
            connect(e, &QLineEdit::textChanged, this, [this] { arm_type_ahead(); });
        if (QLineEdit* e = w_.edit(ids::kDescription))
            connect(e, &QLineEdit::textChanged, this, [this] {
                QLineEdit* item = w_.edit(ids::kItemNumber);
                if (!item || item->text().isEmpty()) arm_type_ahead();
            });
    }
    QAbstractItemView* v = w_.inventory_list;
    if (!v) return;
    v->setModel(&model_);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (auto* t = qobject_cast<QTreeView*>(v)) {
        t->setRootIsDecorated(false);
        t->setUniformRowHeights(true);
        t->setSortingEnabled(false);
    } else if (auto* t = qobject_cast<QTableView*>(v)) {
        t->setSortingEnabled(false);
        t->verticalHeader()->hide();
    }
    if (QHeaderView* h = header_of(v)) {
        h->setSectionsClickable(true);
        h->setSectionsMovable(true);
        h->setStretchLastSection(false);
        for (int c = 0; c < InventoryModel::kColumns; ++c) h->resizeSection(c, InventoryModel::width(c));
        connect(h, &QHeaderView::sectionClicked, this, [this](int c) { sort_by_column(c); });
    }
    // Double click or Enter (in the key filter); not `activated`, which some desktop styles raise on a single
    // click and would then overwrite the entry fields whenever a row is merely selected.
    connect(v, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) { copy_to_entry(i.row()); });
    install_list_keys(v, this, [this] { delete_selected(); }, [this] { copy_to_entry(current_row()); });
    attach_list_menu(v, this, [this] { return menu_entries(); }, [this](int command) { run_menu_command(command); });
}

ListMenuEntries InventoryPane::menu_entries() const {
    QItemSelectionModel* selection = w_.inventory_list ? w_.inventory_list->selectionModel() : nullptr;
    const bool one = selection && selection->selectedRows().size() == 1;
    ListMenuEntries entries;
    if (one) {
        entries.push_back({"Edit/View...", ids::kCtxEditViewItem});
        entries.push_back({"Add Similar Item...", ids::kCtxAddSimilarItem});
        entries.push_back({"View Image...", ids::kCtxViewImage});
    }
    entries.push_back({"Update Prices...", ids::kCtxUpdatePrices});
    entries.push_back({"Update Description(s) and Prices...", ids::kCtxUpdateDescriptionsAndPrices});
    if (one) {
        entries.push_back(kListMenuSeparator);
        entries.push_back({"Delete", ids::kCtxDeleteItem});
    }
    return entries;
}

void InventoryPane::run_menu_command(int command) {
    if (context_command) {
        context_command(command);
    } else if (command == ids::kCtxViewImage) {
        view_image(current_row());
    } else if (command == ids::kCtxDeleteItem) {
        delete_selected();
    }
}

int InventoryPane::current_row() const {
    if (!w_.inventory_list) return -1;
    const QModelIndex i = w_.inventory_list->currentIndex();
    return i.isValid() ? i.row() : -1;
}

// ------------------------------------------------------------------------------------------ search

void InventoryPane::arm_type_ahead() { timer_.start(kTypeAheadMs); }

std::string InventoryPane::type_ahead_text() const {
    QString text;
    if (QLineEdit* e = w_.edit(ids::kItemNumber)) text = e->text();
    if (text.isEmpty())
        if (QLineEdit* e = w_.edit(ids::kDescription)) text = e->text();
    return to_1252(text.left(255));
}

void InventoryPane::type_ahead_fired() {
    timer_.stop();
    last_search_ = type_ahead_text();
    search(last_search_);
}

int InventoryPane::search(std::string_view text) {
    model_.clear();
    std::vector<InventoryRecord> items;
    note(SEARCH_INVENTORY, text);
    const int r = api_.search_inventory(text, &items, settings_.max_items);
    if (r == kTransportFailed) {
        // A broken answer shows what arrived, unsorted.
        if (!items.empty()) model_.assign(std::move(items));
        return 0;
    }
    if (r != RESULT_OK) return 0;
    model_.assign(std::move(items));
    if (sort_by_stock)
        model_.sort_rows(item_field::kQuantity, true);
    else
        model_.sort_rows(item_field::kSoldQuantity, false);
    return 1;
}

void InventoryPane::refresh_row(std::string_view shown_number, std::string_view stored_number) {
    const int row = model_.find_row(shown_number);
    if (row < 0) return;
    InventoryRecord item{};
    note(GET_INVENTORY_ITEM, stored_number);
    if (api_.get_inventory_item(stored_number, &item) != RESULT_OK) return;
    model_.replace_row_item(row, item);
}

void InventoryPane::sort_by_column(int column) { model_.sort_rows(column, true); }

// ------------------------------------------------------------------------------------------ rows

void InventoryPane::copy_to_entry(int row) {
    const int slot = model_.slot_of_row(row);
    if (slot < 1 || slot > model_.count()) return;
    const InventoryRecord item = model_.item(slot);
    auto set = [this](int id, std::string_view text) {
        if (QLineEdit* e = w_.edit(id)) e->setText(from_1252(text));
    };
    set(ids::kOrderQuantity, "1");
    set(ids::kBackorderQuantity, "");
    set(ids::kItemNumber, field(item.item_number));
    set(ids::kDescription, field(item.description));
    set(ids::kRemark, field(item.remark));
    set(ids::kUnitPrice, field(item.unit_price));
    std::string cost;
    note(GET_FIFO_COST, field(item.item_number));
    if (api_.get_fifo_cost(field(item.item_number), "1", &cost) == RESULT_OK)
        set(ids::kUnitCost, cost);
    else
        set(ids::kUnitCost, field(item.standard_unit_cost));
    set(ids::kTaxPercent, settings_.tax_percentage ? settings_.tax_percentage() : std::string());
    if (w_.inventory_item) w_.inventory_item->setChecked(true);
}

void InventoryPane::delete_selected() {
    if (!ask_string(w_.window, str::kConfirmRemoveItems, false)) return;
    delete_row(current_row());
}

int InventoryPane::delete_row(int row) {
    const int slot = model_.slot_of_row(row);
    if (slot < 1 || slot > model_.count()) return 0;
    // The item as the client last received it, rebuilt from the row's cells.
    const InventoryRecord& shown = model_.item(slot);
    InventoryRecord sent{};
    for (int f = 0; f < item_field::kCount; ++f) set_item_field(sent, f, item_field_text(shown, f));
    note(DELETE_INVENTORY_ITEM, field(sent.item_number));
    const int r = api_.delete_inventory_item(sent);
    if (r == kTransportFailed) return 0;
    if (r == RESULT_OK) {
        model_.remove_row_and_slot(row);
        return 1;
    }
    if (r == RESULT_CHANGED) show_string(w_.window, str::kItemModified, MsgIcon::Information);
    refresh();
    return 0;
}

QString InventoryPane::image_path(int row) const {
    const int slot = model_.slot_of_row(row);
    if (slot < 1 || slot > model_.count()) return {};
    const QString item = from_1252(model_.cell(row, 0)).left(1023);
    // The item number becomes a file name: it must not climb out of the picture folder or name another one.
    if (item.isEmpty() || item.contains(QLatin1Char('/')) || item.contains(QLatin1Char('\\')) ||
        item.contains(QLatin1String("..")) || item.contains(QChar(0)))
        return {};
    const QString data_set = settings_.data_set_folder ? settings_.data_set_folder() : QString();
    const QString folder = QDir::cleanPath(data_set + QStringLiteral("/Reports/Inventory Images"));
    const QString path = folder + QLatin1Char('/') + item + QStringLiteral(".jpg");
    if (QDir::cleanPath(QFileInfo(path).absolutePath()) != QDir::cleanPath(QFileInfo(folder).absoluteFilePath()))
        return {};
    return path;
}

void InventoryPane::view_image(int row) {
    const QString path = image_path(row);
    if (path.isEmpty() || !open_file) return;
    open_file(path);  // a missing picture or viewer is not reported
}

}  // namespace stk::client
