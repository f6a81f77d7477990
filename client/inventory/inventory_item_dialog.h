// The Inventory Item dialog: the item as stored ("Current Item Information", read-only) beside the values to
// save ("Item Information"), and the "New Inventory" group for stock being received. The dialog only shows
// and reads; what OK sends, and whether the dialog then closes, is decided by its `on_ok`. Each control's
// object name is its resource id ("1008", "1110", ...), so tests answering through the dialog seam find it.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>

#include "common/records.h"

class QLineEdit;
class QPushButton;

namespace stk::client {

// What one opening shows.
struct InventoryItemForm {
    InventoryRecord current{};  // left column; all zero for an item that is not stored yet
    InventoryRecord edited{};   // right column
    std::string new_quantity;   // "New Inventory"
    std::string new_unit_cost;
    // "Inventory Quantity" is disabled: a new item starts without stock of its own, and what it receives
    // goes through "New Inventory".
    bool quantity_locked = false;
};

class InventoryItemDialog : public QDialog {
    Q_OBJECT
public:
    // Right column (edited item).
    static constexpr int kItemNumber = 1008, kDescription = 1000, kRemark = 1029, kUnitPrice = 1022,
                         kStandardUnitCost = 1101, kQuantity = 1018, kSoldQuantity = 1019, kMinimumQuantity = 1021,
                         kUnaccountedQuantity = 1037, kCategory = 1017, kLocation = 1016, kNote = 1012,
                         kLastAuditDate = 1024;
    // Left column (current item).
    static constexpr int kCurrentItemNumber = 1009, kCurrentDescription = 1001, kCurrentRemark = 1031,
                         kCurrentUnitPrice = 1023, kCurrentStandardUnitCost = 1032, kCurrentQuantity = 1026,
                         kCurrentSoldQuantity = 1027, kCurrentMinimumQuantity = 1028,
                         kCurrentUnaccountedQuantity = 1036, kCurrentCategory = 1033, kCurrentLocation = 1034,
                         kCurrentNote = 1013, kCurrentLastAuditDate = 1035;
    static constexpr int kUseTodaysDate = 1110, kNewQuantity = 1020, kNewUnitCost = 1030, kOk = 1, kCancel = 2;
    // How the dialog ends: OK that saved, or the close box (callers take both as OK), or Cancel.
    static constexpr int kClosed = 1, kCancelled = 2;

    InventoryItemDialog(QWidget* parent, const InventoryItemForm& form);

    // OK pressed: returns true when the dialog is to close. Unset: OK closes.
    std::function<bool(InventoryItemDialog&)> on_ok;

    // The right column as a record, each field trimmed of blanks and tabs; the computed fields (unaccounted
    // quantity, gross profit, markup) stay empty.
    InventoryRecord edited_item() const;
    // The "New Inventory" texts, trimmed.
    std::string new_quantity() const;
    std::string new_unit_cost() const;
    // Shows another stored copy in the left column (the right column keeps what the user typed).
    void show_current(const InventoryRecord& item);

    QLineEdit* edit(int id) const;
    QPushButton* button(int id) const;

    // Esc, like Cancel: a walk over several items stops here.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build(const InventoryItemForm& form);
    void press_ok();
    std::string read(int id, int max_chars) const;

    std::map<int, QLineEdit*> edits_;
    std::map<int, QPushButton*> buttons_;
};

}  // namespace stk::client
