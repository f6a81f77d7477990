#include "client/import/import_items.h"

#include <QFile>

#include "client/inventory/inventory_item_editor.h"
#include "client/inventory/inventory_pane.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/text_1252.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

// The file as the user chose it, whole; false when it cannot be opened or read to its end.
bool read_whole(const QString& path, QByteArray* bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const qint64 size = file.size();
    *bytes = file.readAll();
    return bytes->size() == size;
}

}  // namespace

int import_items(const ItemImport& import) {
    const QString path = DialogSeam::open_file(import.owner, QStringLiteral("Open"), import.folder,
                                               QStringLiteral("Tab Delimited Text File (.txt) (*.txt)"));
    if (path.isEmpty()) return 1;
    return import_file(import, path);
}

int import_file(const ItemImport& import, const QString& path) {
    QByteArray bytes;
    if (!read_whole(path, &bytes)) return 0;
    if (bytes.isEmpty()) return 1;
    const std::string text =
        file_text_1252(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    const ImportLines file = read_import_lines(text);
    for (const ImportLine& line : file.lines) import_line(import, line);
    import.pane.refresh();
    return file.stopped ? 0 : 1;
}

void import_line(const ItemImport& import, const ImportLine& line) {
    double quantity = 0;
    if (!is_number(line.quantity, &quantity) || !(quantity > 0)) return;
    double cost_value = 0;
    const std::string unit_cost = is_number(line.unit_cost, &cost_value) ? format_2f(cost_value) : line.unit_cost;

    InventoryRecord stored{};
    if (import.on_request) import.on_request(GET_INVENTORY_ITEM, line.item_number);
    if (import.api.get_inventory_item(line.item_number, &stored) == RESULT_OK) {
        InventoryRecord edited = stored;
        set_field(edited.standard_unit_cost, unit_cost);
        import.editor.open(form_for_import(stored, edited, line.quantity));
        return;
    }

    // Customers waiting for an item that is not stocked yet get their share before it goes on the shelf.
    InvoiceLine offer{};
    set_field(offer.quantity, line.quantity);
    set_field(offer.item_number, line.item_number);
    set_field(offer.description, line.description);
    set_field(offer.remark, line.remark);
    set_field(offer.unit_cost, unit_cost);
    const double remaining = quantity - import.editor.offer_to_backorders(offer);
    if (remaining <= 0.000001) return;
    InventoryRecord edited{};
    set_field(edited.item_number, line.item_number);
    set_field(edited.description, line.description);
    set_field(edited.remark, line.remark);
    set_field(edited.standard_unit_cost, unit_cost);
    set_field(edited.quantity, "0");
    set_field(edited.sold_quantity, "0");
    import.editor.open(form_for_import(InventoryRecord{}, edited, format_g(remaining)));
}

}  // namespace stk::client
