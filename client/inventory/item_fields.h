// The fifteen text fields of an InventoryRecord by their number in record order, which is also the order of
// the inventory list's columns and of the packed items of a search answer.
#pragma once

#include <string_view>

#include "common/records.h"
#include "common/text_field.h"

namespace stk::client {

namespace item_field {
inline constexpr int kItemNumber = 0;
inline constexpr int kDescription = 1;
inline constexpr int kRemark = 2;
inline constexpr int kUnitPrice = 3;
inline constexpr int kQuantity = 4;
inline constexpr int kMinimumQuantity = 5;
inline constexpr int kSoldQuantity = 6;
inline constexpr int kUnaccountedQuantity = 7;
inline constexpr int kCategory = 8;
inline constexpr int kLocation = 9;
inline constexpr int kStandardUnitCost = 10;
inline constexpr int kGrossProfit = 11;
inline constexpr int kMarkup = 12;
inline constexpr int kNote = 13;
inline constexpr int kLastAuditDate = 14;
inline constexpr int kCount = 15;
}  // namespace item_field

// Calls `visit` with field number `n` of the record (a char array of its width); nothing for another number.
template <class Record, class Visit>
void visit_item_field(Record& r, int n, Visit&& visit) {
    switch (n) {
        case item_field::kItemNumber: visit(r.item_number); break;
        case item_field::kDescription: visit(r.description); break;
        case item_field::kRemark: visit(r.remark); break;
        case item_field::kUnitPrice: visit(r.unit_price); break;
        case item_field::kQuantity: visit(r.quantity); break;
        case item_field::kMinimumQuantity: visit(r.minimum_quantity); break;
        case item_field::kSoldQuantity: visit(r.sold_quantity); break;
        case item_field::kUnaccountedQuantity: visit(r.unaccounted_quantity); break;
        case item_field::kCategory: visit(r.category); break;
        case item_field::kLocation: visit(r.location); break;
        case item_field::kStandardUnitCost: visit(r.standard_unit_cost); break;
        case item_field::kGrossProfit: visit(r.gross_profit); break;
        case item_field::kMarkup: visit(r.markup); break;
        case item_field::kNote: visit(r.note); break;
        case item_field::kLastAuditDate: visit(r.last_audit_date); break;
        default: break;
    }
}

// The text of field `n`, or "" for another number.
inline std::string_view item_field_text(const InventoryRecord& r, int n) {
    std::string_view text;
    visit_item_field(r, n, [&](const auto& f) { text = field(f); });
    return text;
}

// Stores text into field `n`, cut to its width.
inline void set_item_field(InventoryRecord& r, int n, std::string_view text) {
    visit_item_field(r, n, [&](auto& f) { set_field(f, text); });
}

}  // namespace stk::client
