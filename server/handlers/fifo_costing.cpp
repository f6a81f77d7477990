// First-in-first-out costing: the cost query, the layer refit and the statistics refresh of an item.
#include <cmath>
#include <string>
#include <vector>

#include "common/dates.h"
#include "common/number_text.h"
#include "common/text_field.h"
#include "server/db/inventory_file.h"
#include "server/handlers/inventory_ops.h"

namespace stk::server {

namespace {

bool valid_slot(const ServerDatabase& db, int slot) { return slot >= 1 && slot <= db.inventory.count; }

}  // namespace

bool fifo_cost_query(const ServerDatabase& db, std::string_view item_number, std::string_view quantity,
                     std::string& unit_cost) {
    double q = 0.0;
    if (find_item(db, item_number) == 0 || !is_number(quantity, &q) || !(q > 0.0)) return false;
    double taken = 0.0;
    double cost = 0.0;
    for (int slot : db.layer_index.of(db.layers, item_number)) {
        if (!(taken + kLayerWalkTolerance < q)) break;
        const FifoLayer& layer = db.layers[slot];
        double remaining = 0.0;
        double layer_cost = 0.0;
        if (!is_number(field(layer.remaining_quantity), &remaining) || !is_number(field(layer.unit_cost), &layer_cost)) {
            continue;
        }
        const double need = q - taken;
        if (need <= remaining) {
            cost += need * layer_cost;
            taken = q;
        } else {
            cost += remaining * layer_cost;
            taken += remaining;
        }
    }
    if (std::fabs(taken) <= kCostQueryMinimum) return false;
    unit_cost = format_2f(cost / taken);
    return true;
}

void refit_layers(ServerDatabase& db, int item_slot) {
    if (!valid_slot(db, item_slot)) return;
    const InventoryRecord& item = db.inventory[item_slot];
    double q = 0.0;
    if (!is_number(field(item.quantity), &q)) return;
    const std::vector<int>& slots = db.layer_index.of(db.layers, field(item.item_number));

    // The stock on hand is taken to be the newest units: walk from the newest layer back.
    double held = 0.0;
    for (auto it = slots.rbegin(); it != slots.rend(); ++it) {
        FifoLayer& layer = db.layers[*it];
        if (q - kLayerWalkTolerance <= held) {
            set_field(layer.remaining_quantity, "0");
            continue;
        }
        double remaining = 0.0;
        if (!is_number(field(layer.remaining_quantity), &remaining)) continue;
        const double need = q - held;
        if (need <= remaining) {
            set_field(layer.remaining_quantity, format_quantity(need));
            held = q;
            continue;
        }
        double original = 0.0;
        if (!is_number(field(layer.original_quantity), &original)) continue;
        if (need < original) {
            set_field(layer.remaining_quantity, format_quantity(need));
            held = q;
        } else {
            set_field(layer.remaining_quantity, format_quantity(original));
            held += original;
        }
    }

    if (q - kLayerWalkTolerance > held) {
        const FifoLayer layer = make_layer(field(item.item_number), format_quantity(q - held),
                                           field(item.standard_unit_cost), today(), "DIRECT INCREASE");
        append_layer(db, layer);  // logs its own failure
    }
}

void refresh_statistics(ServerDatabase& db, int item_slot) {
    if (!valid_slot(db, item_slot)) return;
    InventoryRecord& item = db.inventory[item_slot];

    // Every line naming the item: quantities of all invoices, profit of the paid ones.
    const InvoiceIndex::Sales sales = db.invoice_index.sales_of(db.invoices, field(item.item_number));
    set_field(item.sold_quantity, format_quantity(sales.sold));
    set_field(item.gross_profit, format_2f(sales.profit));

    set_field(item.markup, "");
    double price = 0.0;
    double standard = 0.0;
    if (is_number(field(item.unit_price), &price) && is_number(field(item.standard_unit_cost), &standard) &&
        std::fabs(standard) > kMarkupMinimumCost) {
        set_field(item.markup, format_2f((price - standard) / standard * 100.0) + "%");
    }

    double in_stock = 0.0;
    double sold_now = 0.0;
    const bool q_ok = is_number(field(item.quantity), &in_stock);
    const bool s_ok = is_number(field(item.sold_quantity), &sold_now);
    double layered = 0.0;
    if (q_ok && s_ok) {
        for (int slot : db.layer_index.of(db.layers, field(item.item_number))) {
            double original = 0.0;
            if (is_number(field(db.layers[slot].original_quantity), &original)) layered += original;
        }
    }
    const double unaccounted = layered - sold_now - in_stock;
    set_field(item.unaccounted_quantity, unaccounted < kQuantityClamp ? std::string("0") : format_quantity(unaccounted));
}

bool same_item(const InventoryRecord& a, const InventoryRecord& b) {
    return field(a.item_number) == field(b.item_number) && field(a.description) == field(b.description) &&
           field(a.remark) == field(b.remark) && field(a.unit_price) == field(b.unit_price) &&
           field(a.quantity) == field(b.quantity) && field(a.minimum_quantity) == field(b.minimum_quantity) &&
           field(a.sold_quantity) == field(b.sold_quantity) && field(a.category) == field(b.category) &&
           field(a.location) == field(b.location) && field(a.standard_unit_cost) == field(b.standard_unit_cost) &&
           field(a.note) == field(b.note) && field(a.last_audit_date) == field(b.last_audit_date);
}

}  // namespace stk::server
