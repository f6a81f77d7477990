#include "client/price_files/price_search.h"

#include <QLineEdit>

#include "client/price_files/price_file.h"
#include "client/ui/control_ids.h"
#include "client/ui/file_picker.h"
#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {

bool fill_entry_from_price_file(const SaleWidgets& w, const QString& path, std::string_view tax_percent) {
    QLineEdit* item_number = w.edit(ids::kItemNumber);
    if (!item_number) return false;
    const std::string sought = trimmed(to_1252(item_number->text().left(255)));
    InvoiceLine match{};
    if (look_up_price(path, sought, tax_percent, &match) != 1) return false;

    const auto set = [&w](int id, std::string_view text) {
        if (QLineEdit* e = w.edit(id)) e->setText(from_1252(text));
    };
    QLineEdit* quantity = w.edit(ids::kOrderQuantity);
    if (quantity && quantity->text().isEmpty() && !field_empty(match.description)) quantity->setText("1");
    set(ids::kDescription, field(match.description));
    set(ids::kRemark, field(match.remark));
    set(ids::kUnitPrice, field(match.unit_price));
    set(ids::kUnitCost, field(match.unit_cost));
    return !field_empty(match.item_number);
}

void search_price_files(const SaleWidgets& widgets, const SaleSettings& settings) {
    const QString data_set = settings.data_set_folder ? settings.data_set_folder() : QString();
    const std::string tax_percent = settings.tax_percentage ? settings.tax_percentage() : std::string();
    run_file_picker(widgets.window, data_set, ids::kSearchPriceFile,
                    [&](const QString& path) { return fill_entry_from_price_file(widgets, path, tax_percent); });
}

}  // namespace stk::client
