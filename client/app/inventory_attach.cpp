#include "client/app/inventory_attach.h"

#include <QLineEdit>
#include <QTreeView>

#include "client/import/import_items.h"
#include "client/inventory/inventory_item_editor.h"
#include "client/inventory/inventory_pane.h"
#include "client/inventory/price_update.h"
#include "client/invoice/invoice_workspace.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/file_picker.h"
#include "client/ui/strings.h"

namespace stk::client {
namespace {

BackorderDesk backorder_desk(MainWindow& w, InvoiceWorkspace* invoice) {
    BackorderDesk desk;
    desk.show_line = [&w, invoice](int index, int line) {
        if (!invoice->load_invoice(index, true)) return false;
        QTreeView* lines = w.invoice_lines();
        const QModelIndex row = lines->model() ? lines->model()->index(line - 1, 0) : QModelIndex();
        if (row.isValid()) {
            lines->setCurrentIndex(row);
            lines->scrollTo(row);
        }
        lines->setFocus();
        return true;
    };
    desk.fill = [invoice](int index, int line, const InvoiceLine& offered, double* applied) {
        int result = kTransportFailed;
        invoice->fill_backorder(index, line, offered, applied, &result);
        return result;
    };
    desk.reload = [invoice] { invoice->reload(); };
    return desk;
}

// The requests of the import and the price update are seen where the editor's are.
RequestObserver editor_observer(InventoryItemEditor& editor) {
    return [&editor](int opcode, std::string_view text) {
        if (editor.on_request) editor.on_request(opcode, text);
    };
}

void attach_import(MainWindow& w, ServerApi& api, InventoryItemEditor& editor, InventoryPane& inventory,
                   const SaleSettings& settings) {
    w.set_command_handler(ids::kMenuImportItems, [&w, &api, &editor, &inventory, settings] {
        ItemImport import{api, editor, inventory, &w};
        if (settings.data_set_folder) import.folder = settings.data_set_folder();
        import.on_request = editor_observer(editor);
        if (import_items(import) == 0) show_string(&w, str::kCannotOpenFile, MsgIcon::Error);
    });
}

void attach_price_update(MainWindow& w, ServerApi& api, InventoryItemEditor& editor, InventoryPane& inventory,
                         const SaleSettings& settings) {
    for (int mode : {ids::kCtxUpdatePrices, ids::kCtxUpdateDescriptionsAndPrices}) {
        w.set_command_handler(mode, [&w, &api, &editor, &inventory, settings, mode] {
            const QString data_set = settings.data_set_folder ? settings.data_set_folder() : QString();
            // The chosen file closes the picker; the walk over the selected rows follows.
            const QString path = run_file_picker(&w, data_set, mode, [](const QString&) { return true; });
            if (path.isEmpty()) return;
            PriceUpdate update{api, editor, inventory, w.inventory_list(),
                               settings.tax_percentage ? settings.tax_percentage() : std::string()};
            update.on_request = editor_observer(editor);
            update_prices(update, path, mode == ids::kCtxUpdateDescriptionsAndPrices);
        });
    }
}

}  // namespace

InventoryItemEditor* attach_inventory_items(MainWindow& w, ServerApi& api, const SaleWorkspace& sale,
                                            const SaleSettings& settings) {
    auto* editor = new InventoryItemEditor(api, *sale.inventory, sale_widgets(w), &w);
    editor->setObjectName(QStringLiteral("InventoryItemEditor"));
    editor->backorders = backorder_desk(w, sale.invoice);
    for (int mode : {ids::kAddToInventory, ids::kCtxAddSimilarItem, ids::kCtxEditViewItem})
        w.set_command_handler(mode, [editor, mode] { editor->open(mode); });
    attach_import(w, api, *editor, *sale.inventory, settings);
    attach_price_update(w, api, *editor, *sale.inventory, settings);
    return editor;
}

InventoryItemEditor* inventory_item_editor(MainWindow& w) {
    return w.findChild<InventoryItemEditor*>(QStringLiteral("InventoryItemEditor"), Qt::FindDirectChildrenOnly);
}

}  // namespace stk::client
