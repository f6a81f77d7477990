#include "client/app/inventory_attach.h"

#include <QLineEdit>
#include <QTreeView>

#include "client/inventory/inventory_item_editor.h"
#include "client/inventory/inventory_pane.h"
#include "client/invoice/invoice_workspace.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"

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

}  // namespace

InventoryItemEditor* attach_inventory_items(MainWindow& w, ServerApi& api, const SaleWorkspace& sale) {
    auto* editor = new InventoryItemEditor(api, *sale.inventory, sale_widgets(w), &w);
    editor->setObjectName(QStringLiteral("InventoryItemEditor"));
    editor->backorders = backorder_desk(w, sale.invoice);
    for (int mode : {ids::kAddToInventory, ids::kCtxAddSimilarItem, ids::kCtxEditViewItem})
        w.set_command_handler(mode, [editor, mode] { editor->open(mode); });
    return editor;
}

InventoryItemEditor* inventory_item_editor(MainWindow& w) {
    return w.findChild<InventoryItemEditor*>(QStringLiteral("InventoryItemEditor"), Qt::FindDirectChildrenOnly);
}

}  // namespace stk::client
