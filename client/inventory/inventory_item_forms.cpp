#include "client/inventory/inventory_item_forms.h"

#include "common/text_field.h"

namespace stk::client {

InventoryItemForm form_for_entry(const EntryFields& entry, const InventoryRecord* stored) {
    InventoryItemForm form;
    if (stored) {
        form.current = *stored;
        form.edited = *stored;
    } else {
        set_field(form.edited.item_number, entry.item_number);
        set_field(form.edited.description, entry.description);
        set_field(form.edited.remark, entry.remark);
        set_field(form.edited.unit_price, entry.unit_price);
        set_field(form.edited.standard_unit_cost, entry.unit_cost);
        set_field(form.edited.quantity, "0");
        set_field(form.edited.sold_quantity, "0");
        form.quantity_locked = true;
    }
    form.new_quantity = entry.order_quantity;
    form.new_unit_cost = entry.unit_cost;
    return form;
}

InventoryItemForm form_for_similar(const InventoryRecord& listed) {
    InventoryItemForm form;
    InventoryRecord& e = form.edited;
    set_field(e.description, field(listed.description));
    set_field(e.remark, field(listed.remark));
    set_field(e.unit_price, field(listed.unit_price));
    set_field(e.minimum_quantity, field(listed.minimum_quantity));
    set_field(e.category, field(listed.category));
    set_field(e.location, field(listed.location));
    set_field(e.standard_unit_cost, field(listed.standard_unit_cost));
    set_field(e.note, field(listed.note));
    set_field(e.quantity, "0");
    set_field(e.sold_quantity, "0");
    set_field(e.unaccounted_quantity, "0");
    form.quantity_locked = true;
    form.new_quantity = std::string(field(listed.quantity));
    return form;
}

InventoryItemForm form_for_edit(const InventoryRecord* stored) {
    InventoryItemForm form;
    if (stored) {
        form.current = *stored;
        form.edited = *stored;
    }
    return form;
}

InventoryItemForm form_for_price_update(const InventoryRecord& current, const InventoryRecord& edited) {
    InventoryItemForm form;
    form.current = current;
    form.edited = edited;
    return form;
}

InventoryItemForm form_for_import(const InventoryRecord& current, const InventoryRecord& edited,
                                  const std::string& preset_quantity) {
    InventoryItemForm form = form_for_price_update(current, edited);
    if (!field_empty(current.standard_unit_cost))
        set_field(form.edited.standard_unit_cost, field(current.standard_unit_cost));
    form.new_quantity = preset_quantity;
    form.new_unit_cost = std::string(field(edited.standard_unit_cost));
    return form;
}

}  // namespace stk::client
