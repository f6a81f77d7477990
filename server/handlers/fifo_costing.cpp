// First-in-first-out costing: the cost query, the layer refit and the statistics refresh of an item.
#include <cmath>
#include <string>

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
    const ItemKey key(item_number);
    double taken = 0.0;
    double cost = 0.0;
    for (int i = 1; i <= db.layers.count && taken + kLayerWalkTolerance < q; ++i) {
        const FifoLayer& layer = db.layers[i];
        if (!key.matches(layer.item_number)) continue;
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
    const ItemKey key(field(item.item_number));

    // The stock on hand is taken to be the newest units: walk from the newest layer back.
    double held = 0.0;
    for (int i = db.layers.count; i >= 1; --i) {
        FifoLayer& layer = db.layers[i];
        if (!key.matches(layer.item_number)) continue;
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
    const ItemKey key(field(item.item_number));

    double sold = 0.0;
    double profit = 0.0;
    for (int inv = 1; inv <= db.invoices.count; ++inv) {
        const InvoiceRecord& invoice = db.invoices[inv];
        for (int n = 0; n < used_lines(invoice); ++n) {
            const InvoiceLine& line = invoice.lines[n];
            if (!key.matches(line.item_number)) continue;
            const double k = number_or(field(line.quantity), 1.0);
            sold += k;
            double price = 0.0;
            double cost = 0.0;
            if (invoice.payment != 0 && is_number(field(line.unit_price), &price) &&
                is_number(field(line.unit_cost), &cost)) {
                profit += (price - cost) * k;
            }
        }
    }
    set_field(item.sold_quantity, format_quantity(sold));
    set_field(item.gross_profit, format_2f(profit));

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
        for (int i = 1; i <= db.layers.count; ++i) {
            const FifoLayer& layer = db.layers[i];
            double original = 0.0;
            if (key.matches(layer.item_number) && is_number(field(layer.original_quantity), &original)) {
                layered += original;
            }
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
